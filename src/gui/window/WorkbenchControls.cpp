#include "gui/window/WorkbenchControls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/language/SystemTexts.h"

namespace qrv::gui {

namespace {

// The mnemonic letters of each control, in order of preference: the first that its caption holds is
// underlined. Chosen so that no two controls that a layout shows together share one.
const std::map<QString, QString>& mnemonicLetters() {
    static const std::map<QString, QString> letters = {
        {"lblComId", "I"},
        {"lblV5CorporateId", "I"},
        {"lblDebitAcct", "A"},
        {"lblFeeAcct", "e"},
        {"lblCreditAccount", "C"},
        {"btnCopyAcct", "y"},
        {"btncopyAccDDP", "t"},
        {"lblCompanyCode", "C"},
        {"lblSource", "Sy"},
        {"btnBrowse", "B"},
        {"lblThirdLine", "g5"},
        {"lblInvoice", "l"},
        {"btnInvoice", "e"},
        {"lblDestination", "n"},
        {"bntDestination", "o"},
        {"CheckBox1", "P"},
        {"lblHashValue", "V"},
        {"btnAction", "R"},
        {"bntClearForm", "F"},
        {"btnGenHash", "G"},
        {"btnCoverLetter", "L"},
        {"btnConvert", "e"},
        {"Button2", "0"},
        {"Button3", "a"},
        {"calculateTierRate", "u"},
        {"rbtDirect10m", "D"},
        {"rbtPay", "1"},
        {"rbtPay2", "2"},
        {"rbtPay3", "3"},
        {"rbtMedia", "M"},
        {"rbtMcp", "q"},
    };
    return letters;
}

QString nameOf(Control c) {
    return QString::fromLatin1(controlName(c));
}

}  // namespace

QString withMnemonic(const QString& name, const std::string& caption) {
    const QString original = QString::fromStdString(caption).trimmed();
    // A caption's blanks at its ends are not shown ("Copy Credit Account ").
    QString text = ShownText(caption).trimmed();
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const auto it = mnemonicLetters().find(name);
    if (it == mnemonicLetters().end()) {
        return text;
    }
    for (const QChar letter : it->second) {
        qsizetype at = text.indexOf(letter);
        if (at < 0) {
            at = text.indexOf(letter, 0, Qt::CaseInsensitive);
        }
        if (at >= 0) {
            return text.insert(at, QLatin1Char('&'));
        }
    }
    if (text != original && !text.isEmpty()) {
        return text + QStringLiteral(" (&") + it->second.front().toUpper() + QLatin1Char(')');
    }
    return text;
}

QString withoutMnemonic(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    s.remove(QLatin1Char('&'));
    s.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return s;
}

int widthForChars(const QWidget* w, int chars) {
    return w->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 18;
}

WorkbenchControls::WorkbenchControls(QWidget* form) : form_(form), initial_(initialControlStates()) {}

QWidget* WorkbenchControls::at(Control c) const {
    const auto it = controls_.find(c);
    return it == controls_.end() ? nullptr : it->second;
}

QRadioButton* WorkbenchControls::radio(Choice c) const {
    const auto it = radios_.find(c);
    return it == radios_.end() ? nullptr : it->second;
}

void WorkbenchControls::add(Control c, QWidget* w) {
    w->setObjectName(nameOf(c));
    controls_[c] = w;
}

QLabel* WorkbenchControls::label(Control c) {
    auto* l = new QLabel(withMnemonic(nameOf(c), initial_.at(c).caption), form_);
    add(c, l);
    return l;
}

QLineEdit* WorkbenchControls::edit(Control c, int maxLength) {
    auto* e = new QLineEdit(form_);
    if (maxLength > 0) {
        e->setMaxLength(maxLength);
        e->setFixedWidth(widthForChars(e, maxLength));
    }
    add(c, e);
    return e;
}

QLabel* WorkbenchControls::display(Control c) {
    auto* l = new QLabel(form_);
    l->setMinimumWidth(widthForChars(l, 3));
    l->setFrameShape(QFrame::StyledPanel);
    l->setTextFormat(Qt::PlainText);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    add(c, l);
    return l;
}

QPushButton* WorkbenchControls::button(Control c) {
    auto* b = new QPushButton(withMnemonic(nameOf(c), initial_.at(c).caption), form_);
    b->setAutoDefault(false);
    add(c, b);
    return b;
}

QCheckBox* WorkbenchControls::checkBox(Control c) {
    auto* box = new QCheckBox(withMnemonic(nameOf(c), initial_.at(c).caption), form_);
    add(c, box);
    return box;
}

QRadioButton* WorkbenchControls::radioButton(const ChoiceInfo& info) {
    auto* r = new QRadioButton(withMnemonic(QLatin1String(info.control), info.caption), form_);
    r->setObjectName(QLatin1String(info.control));
    radios_[info.choice] = r;
    return r;
}

void WorkbenchControls::setCaption(Control c, const std::string& caption) {
    const QString shown = withMnemonic(nameOf(c), caption);
    if (auto* l = qobject_cast<QLabel*>(at(c))) {
        if (l->text() != shown) {
            l->setText(shown);
        }
    } else if (auto* b = qobject_cast<QAbstractButton*>(at(c))) {
        if (b->text() != shown) {
            b->setText(shown);
        }
    }
}

void WorkbenchControls::nameButtons() {
    for ([[maybe_unused]] const auto& [c, w] : controls_) {
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            b->setAccessibleName(withoutMnemonic(b->text()));
        }
    }
    for ([[maybe_unused]] const auto& [choice, r] : radios_) {
        r->setAccessibleName(withoutMnemonic(r->text()));
    }
}

}  // namespace qrv::gui
