#include "gui/app/LoginDialog.h"

#include <openssl/evp.h>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>
#include <array>

namespace qrv::gui {

namespace {

constexpr const char* kAdminUser = "KOVRA";
// SHA-256 of the administrator's password; the password itself is not kept in the program.
constexpr std::array<unsigned char, 32> kAdminPasswordDigest = {
    0x79, 0x02, 0x69, 0x9b, 0xe4, 0x2c, 0x8a, 0x8e, 0x46, 0xfb, 0xbb, 0x45, 0x01, 0x72, 0x65, 0x17,
    0xe8, 0x6b, 0x22, 0xc5, 0x6a, 0x18, 0x9f, 0x76, 0x25, 0xa6, 0xda, 0x49, 0x08, 0x1b, 0x24, 0x51};

// Turns every letter into upper case as it is typed.
class UpperCaseValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

bool sha256Equals(const QByteArray& bytes, const std::array<unsigned char, 32>& expected) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_Digest(bytes.constData(), static_cast<size_t>(bytes.size()), digest.data(), &length, EVP_sha256(),
                   nullptr) != 1 ||
        length != expected.size()) {
        return false;
    }
    unsigned char diff = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        diff |= static_cast<unsigned char>(digest[i] ^ expected[i]);
    }
    return diff == 0;
}

}  // namespace

LoginDialog::LoginDialog(QWidget* parent)
    : QDialog(parent),
      user_(new QLineEdit(this)),
      password_(new QLineEdit(this)),
      ok_(new QPushButton(tr("&OK"), this)) {
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Log in"));
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

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setTabOrder(user_, password_);
    setTabOrder(password_, ok_);
    setTabOrder(ok_, cancel);
}

bool LoginDialog::isAdministrator(const QString& user, const QString& password) {
    return user == QLatin1String(kAdminUser) && sha256Equals(password.toUtf8(), kAdminPasswordDigest);
}

void LoginDialog::clearFields() {
    user_->clear();
    password_->clear();
}

void LoginDialog::confirmLogIn() {
    if (!isAdministrator(user_->text(), password_->text())) {
        return;  // no message: the dialog stays open as it is
    }
    accept();
    if (onSuccess_) {
        onSuccess_();
    }
}

}  // namespace qrv::gui
