#include "gui/window/WorkbenchCommands.h"

#include "workbench/Workbench.h"

namespace qrv::gui {

const std::vector<WorkbenchCommand>& workbenchCommands() {
    static const std::vector<WorkbenchCommand> table = {
        {Control::reformat, &Workbench::reformat, true},
        {Control::generateHash, &Workbench::generateHash},
        {Control::coverLetter, &Workbench::coverLetter},
        {Control::compareReturnFile, [](Workbench& wb) { wb.compareReturnFile(); }, true},
        {Control::chooseComparisonFile, &Workbench::chooseComparisonFile},
        {Control::convertTo100M, [](Workbench& wb) { wb.convertTo100M(); }, true},
        {Control::tierRateReport, &Workbench::tierRateReport},
        {Control::mediaDetailReport, &Workbench::mediaDetailReport},
    };
    return table;
}

}  // namespace qrv::gui
