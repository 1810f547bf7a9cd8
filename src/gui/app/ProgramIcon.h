#pragma once

#include <QIcon>

namespace qrv::gui {

// The program's icon, drawn as data/desktop/convertor-qrv.svg draws it (the desktop entry's icon), in
// the sizes window managers ask for; no image plug-in is needed.
QIcon ProgramIcon();

}  // namespace qrv::gui
