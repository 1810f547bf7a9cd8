#pragma once

#include <QHBoxLayout>

namespace qrv::gui {

class WorkbenchControls;

// The command buttons share one row: each product shows its own. The program's version closes it.
class CommandButtons : public QHBoxLayout {
    Q_OBJECT
  public:
    explicit CommandButtons(WorkbenchControls& controls);
};

}  // namespace qrv::gui
