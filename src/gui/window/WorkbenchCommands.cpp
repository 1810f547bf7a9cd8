#include "gui/window/WorkbenchCommands.h"

#include "workbench/Workbench.h"

namespace qrv::gui {

const std::vector<WorkbenchCommand>& workbenchCommands() {
    static const std::vector<WorkbenchCommand> table = {
        {"btnAction", &Workbench::reformat, true},
        {"btnGenHash", &Workbench::generateHash},
        {"btnCoverLetter", &Workbench::coverLetter},
        {"Button2", [](Workbench& wb) { wb.compareReturnFile(); }, true},
        {"Button3", &Workbench::chooseComparisonFile},
        {"btnConvert", [](Workbench& wb) { wb.convertTo100M(); }, true},
        {"calculateTierRate", &Workbench::tierRateReport},
        {"Button1", &Workbench::mediaDetailReport},
    };
    return table;
}

}  // namespace qrv::gui
