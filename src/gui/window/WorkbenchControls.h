#pragma once

#include <QString>
#include <map>
#include <string>

#include "workbench/ProductChoice.h"
#include "workbench/ProductControls.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qrv::gui {

// The caption as shown, in the window's language, with its mnemonic marked ("&Browse"). A translated
// caption that holds none of the control's letters shows its first letter after it ("เรียกดู (&B)").
QString withMnemonic(const QString& name, const std::string& caption);
// The text as a screen reader reads it: the mnemonic's mark gone, a doubled "&" single again.
QString withoutMnemonic(const QString& text);
// The width a field needs for `chars` digits in its font, with room for its frame.
int widthForChars(const QWidget* w, int chars);

// The workbench's controls by their domain names. Each is made as a child of the form, with its object
// name (the legacy name: automation and screen readers find it by that), its first caption and mnemonic.
class WorkbenchControls {
  public:
    explicit WorkbenchControls(QWidget* form);

    QWidget* form() const { return form_; }
    // The control; nullptr for one not made.
    QWidget* at(Control c) const;
    template <class W>
    W* as(Control c) const {
        return static_cast<W*>(at(c));
    }
    QRadioButton* radio(Choice c) const;
    const std::map<Control, QWidget*>& all() const { return controls_; }
    const std::map<Choice, QRadioButton*>& radios() const { return radios_; }

    QLabel* label(Control c);
    // A text field; with `maxLength`, limited to it and as wide as that many digits.
    QLineEdit* edit(Control c, int maxLength);
    // A read-only box that shows a value the workbench works out.
    QLabel* display(Control c);
    QPushButton* button(Control c);
    QCheckBox* checkBox(Control c);
    QRadioButton* radioButton(const ChoiceInfo& info);
    // A control made elsewhere, known by its domain name from now on.
    void add(Control c, QWidget* w);

    // The caption of a label or button, with its mnemonic; unchanged text is not set again.
    void setCaption(Control c, const std::string& caption);
    // Buttons and choices are named by their text as shown.
    void nameButtons();

  private:
    QWidget* form_;
    ControlStates initial_;
    std::map<Control, QWidget*> controls_;
    std::map<Choice, QRadioButton*> radios_;
};

}  // namespace qrv::gui
