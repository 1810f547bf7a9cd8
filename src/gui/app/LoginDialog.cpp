#include "gui/app/LoginDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

namespace qrv::gui {

namespace {

// Turns every letter into upper case as it is typed.
class UpperCaseValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

}  // namespace

LoginDialog::LoginDialog(QWidget* parent)
    : QDialog(parent),
      user_(new QLineEdit(this)),
      password_(new QLineEdit(this)),
      ok_(new QPushButton(tr("&OK"), this)),
      message_(new QLabel(this)),
      countdown_(new QTimer(this)) {
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(tr("Log in"));
    setModal(true);

    user_->setObjectName(QStringLiteral("edtUser"));
    user_->setValidator(new UpperCaseValidator(user_));
    user_->setAccessibleName(QStringLiteral("User Name"));
    password_->setObjectName(QStringLiteral("edtPassword"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));  // "*"
    password_->setAccessibleName(QStringLiteral("Password"));

    auto* userLabel = new QLabel(tr("&User Name"), this);
    userLabel->setBuddy(user_);
    auto* passwordLabel = new QLabel(tr("&Password"), this);
    passwordLabel->setBuddy(password_);
    auto* form = new QFormLayout();
    form->addRow(userLabel, user_);
    form->addRow(passwordLabel, password_);

    // What a wrong attempt did; read by screen readers as it changes.
    message_->setObjectName(QStringLiteral("lblMessage"));
    message_->setAccessibleName(QStringLiteral("Message"));
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("QLabel { color: #b00000; }"));

    ok_->setObjectName(QStringLiteral("bntOk"));
    ok_->setAccessibleName(QStringLiteral("OK"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("bntCancel"));
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ok_, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    // OK checks before closing; Cancel closes.
    disconnect(buttons, nullptr, this, nullptr);
    connect(ok_, &QPushButton::clicked, this, &LoginDialog::confirmLogIn);
    connect(cancel, &QPushButton::clicked, this, &LoginDialog::reject);
    countdown_->setInterval(1000);
    connect(countdown_, &QTimer::timeout, this, &LoginDialog::showPause);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(message_);
    layout->addWidget(buttons);
    setTabOrder(user_, password_);
    setTabOrder(password_, ok_);
    setTabOrder(ok_, cancel);
    // Wide enough for its title beside the title bar's buttons (about six title heights) and for the
    // longest message.
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    const QFontMetrics text(message_->font());
    setMinimumWidth(
        std::max({title.horizontalAdvance(windowTitle()) + 6 * title.height() + 40,
                  text.horizontalAdvance(tr("Three wrong attempts: try again in 30 seconds.")) + 40,
                  sizeHint().width()}));
}

void LoginDialog::clearFields() {
    user_->clear();
    password_->clear();
    if (logIn_.secondsLocked(now_()) == 0) {
        message_->clear();
    }
}

void LoginDialog::confirmLogIn() {
    switch (logIn_.attempt(user_->text().toStdString(), password_->text().toStdString(), now_())) {
        case AdministratorLogIn::Outcome::Accepted:
            message_->clear();
            accept();
            if (onSuccess_) {
                onSuccess_();
            }
            return;
        case AdministratorLogIn::Outcome::Refused:
            message_->setText(tr("Wrong user name or password."));
            password_->setFocus();
            password_->selectAll();
            return;
        case AdministratorLogIn::Outcome::LockedOut:
            showPause();
            countdown_->start();
            return;
    }
}

void LoginDialog::showPause() {
    const int seconds = logIn_.secondsLocked(now_());
    if (seconds > 0 && ok_->hasFocus()) {
        // A disabled OK would hand its focus on to Cancel, which then takes Enter: a person pressing Enter
        // during the pause would close the dialog.
        password_->setFocus();
    }
    ok_->setEnabled(seconds == 0);
    if (seconds == 0) {
        countdown_->stop();
        message_->setText(tr("You can log in again."));
        password_->setFocus();
        password_->selectAll();
        return;
    }
    message_->setText(seconds == 1 ? tr("Three wrong attempts: try again in 1 second.")
                                   : tr("Three wrong attempts: try again in %1 seconds.").arg(seconds));
}

}  // namespace qrv::gui
