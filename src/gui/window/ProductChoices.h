#pragma once

#include <QGridLayout>
#include <functional>

#include "workbench/ProductChoice.h"

namespace qrv {
class Workbench;
}

namespace qrv::gui {

class WorkbenchControls;

// The product choices, radio buttons in the window's order, four to a row.
class ProductChoices : public QGridLayout {
    Q_OBJECT
  public:
    // `chosen` is called when a choice is checked by any means: a click, the arrow keys, a screen
    // reader's toggle.
    ProductChoices(WorkbenchControls& controls, std::function<void(Choice)> chosen);

    // Each choice enabled as the settings say; the selected one checked, none when none is.
    void show(const Workbench& wb);

  private:
    WorkbenchControls& controls_;
};

}  // namespace qrv::gui
