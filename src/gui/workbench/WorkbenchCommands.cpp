#include "workbench/WorkbenchCommands.h"

#include "workbench/Workbench.h"

namespace qrv::gui {

const std::vector<WorkbenchCommand>& workbenchCommands() {
    static const std::vector<WorkbenchCommand> table = {
        {"btnAction", &Workbench::btnActionClick},
        {"Button1", &Workbench::Button1Click},
    };
    return table;
}

}  // namespace qrv::gui
