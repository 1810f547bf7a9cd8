#include "gui/workbench/WorkbenchCommands.h"

#include "workbench/Workbench.h"

namespace qrv::gui {

const std::vector<WorkbenchCommand>& workbenchCommands() {
    static const std::vector<WorkbenchCommand> table = {
        {"btnAction", &Workbench::reformat},
        {"btnGenHash", &Workbench::generateHash},
        {"btnCoverLetter", &Workbench::coverLetter},
        {"Button2", [](Workbench& wb) { wb.compareReturnFile(); }},
        {"Button3", &Workbench::chooseComparisonFile},
        {"btnConvert", [](Workbench& wb) { wb.convertTo100M(); }},
        {"calculateTierRate", &Workbench::tierRateReport},
        {"Button1", &Workbench::mediaDetailReport},
    };
    return table;
}

}  // namespace qrv::gui
