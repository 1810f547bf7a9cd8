#include "gui/window/ProductChoices.h"

#include <QRadioButton>

#include "gui/window/WorkbenchControls.h"
#include "workbench/Workbench.h"

namespace qrv::gui {

ProductChoices::ProductChoices(WorkbenchControls& controls, std::function<void(Choice)> chosen)
    : controls_(controls) {
    int index = 0;
    for (const ChoiceInfo& info : choices()) {
        QRadioButton* r = controls.radioButton(info);
        addWidget(r, index / 4, index % 4);
        ++index;
        const Choice choice = info.choice;
        connect(r, &QRadioButton::toggled, r, [chosen, choice](bool checked) {
            if (checked) {
                chosen(choice);
            }
        });
    }
    controls.add(Control::directContractChoice, controls.radio(Choice::DirectContract));
}

void ProductChoices::show(const Workbench& wb) {
    for (const auto& [choice, r] : controls_.radios()) {
        r->setEnabled(wb.isEnabled(choice));
        r->setAutoExclusive(false);
        r->setChecked(choice == wb.selected());
        r->setAutoExclusive(true);
    }
}

}  // namespace qrv::gui
