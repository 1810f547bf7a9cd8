#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLineEdit;
class QPushButton;

namespace qrv::gui {

// The log-in dialog that guards the reference-data windows: only the administrator's user name and
// password pass. A wrong attempt says nothing and leaves the dialog open.
class LoginDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LoginDialog(QWidget* parent = nullptr);

    // Runs after a successful log-in, once the dialog has closed (opens the bank window).
    void setOnSuccess(std::function<void()> onSuccess) { onSuccess_ = std::move(onSuccess); }
    // Empties both boxes, so that the next opening starts blank.
    void clearFields();
    // True when the two texts are the administrator's (the user name compared exactly).
    static bool isAdministrator(const QString& user, const QString& password);

    QLineEdit* userEdit() const { return user_; }
    QLineEdit* passwordEdit() const { return password_; }
    QPushButton* okButton() const { return ok_; }

  private:
    void confirmLogIn();

    QLineEdit* user_;
    QLineEdit* password_;
    QPushButton* ok_;
    std::function<void()> onSuccess_;
};

}  // namespace qrv::gui
