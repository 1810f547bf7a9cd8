#include "gui/workbench/WorkbenchCommands.h"

#include "workbench/Workbench.h"

namespace qrv::gui {

const std::vector<WorkbenchCommand>& workbenchCommands() {
    static const std::vector<WorkbenchCommand> table = {
        {"btnAction", &Workbench::btnActionClick},
        {"btnGenHash", &Workbench::btnGenHashClick},
        {"btnCoverLetter", &Workbench::btnCoverLetterClick},
        {"Button2", [](Workbench& wb) { wb.Button2Click(); }},
        {"Button3", &Workbench::Button3Click},
        {"btnConvert", [](Workbench& wb) { wb.btnConvertClick(); }},
        {"calculateTierRate", &Workbench::calculateTierRateClick},
        {"Button1", &Workbench::Button1Click},
    };
    return table;
}

}  // namespace qrv::gui
