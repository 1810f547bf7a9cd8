#pragma once

#include <functional>
#include <vector>

#include "workbench/ProductControls.h"

namespace qrv {
class Workbench;
}

namespace qrv::gui {

// A command button of the workbench and the core handler it runs.
struct WorkbenchCommand {
    Control button;  // the button, by its domain name (its object name comes from controlName())
    std::function<void(Workbench&)> run;
    bool writesDestination = false;  // replaces the file the destination field names
};

// The product commands whose buttons the window wires; a button without an entry does nothing.
const std::vector<WorkbenchCommand>& workbenchCommands();

}  // namespace qrv::gui
