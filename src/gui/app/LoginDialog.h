#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "refdata/AdministratorLogIn.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace qrv::gui {

// The log-in dialog that guards the reference-data windows: only the administrator's user name and
// password pass. A wrong attempt is said on the dialog's message line and leaves it open with what was
// typed; after three in a row OK waits 30 seconds, counting down (AdministratorLogIn).
class LoginDialog : public QDialog {
    Q_OBJECT
  public:
    using Now = std::function<AdministratorLogIn::Clock::time_point()>;

    explicit LoginDialog(QWidget* parent = nullptr);

    // Runs after a successful log-in, once the dialog has closed (opens the bank window).
    void setOnSuccess(std::function<void()> onSuccess) { onSuccess_ = std::move(onSuccess); }
    // Empties both boxes and the message line, so that the next opening starts blank.
    void clearFields();
    // The time the attempts are counted in (tests).
    void setClock(Now now) { now_ = std::move(now); }

    QLineEdit* userEdit() const { return user_; }
    QLineEdit* passwordEdit() const { return password_; }
    QPushButton* okButton() const { return ok_; }
    QLabel* messageLine() const { return message_; }

  private:
    void confirmLogIn();
    // OK waits while the pause lasts; the message line counts the seconds down.
    void showPause();

    QLineEdit* user_;
    QLineEdit* password_;
    QPushButton* ok_;
    QLabel* message_;
    QTimer* countdown_;
    AdministratorLogIn logIn_;
    Now now_ = [] { return AdministratorLogIn::Clock::now(); };
    std::function<void()> onSuccess_;
};

}  // namespace qrv::gui
