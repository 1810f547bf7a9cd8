#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QHBoxLayout;
class QLineEdit;
class QPushButton;

namespace qrv::gui {

// What the account entry dialog holds when OK is pressed: the four parts of the account number
// (3-1-5-1 digits) and the company's account name, as typed (UTF-8).
struct AccountInput {
    std::array<std::string, 4> parts;
    std::string name;
};

// The account entry dialog of the cover letter. It has no title-bar buttons and is left only through
// OK or EXIT. The checks of OK belong to the core: the opener gives them as the OK handler, which
// shows its own messages and returns true to close the dialog.
class AccountDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AccountDialog(QWidget* parent = nullptr);

    void setOkHandler(std::function<bool(const AccountInput&)> handler) { okHandler_ = std::move(handler); }
    // Empties the five boxes, shows the dialog modally; the input when OK closed it, nothing on EXIT.
    std::optional<AccountInput> ask();
    AccountInput input() const;

    QLineEdit* part(int index) const { return parts_.at(static_cast<size_t>(index)); }
    QLineEdit* nameEdit() const { return name_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* exitButton() const { return exit_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QHBoxLayout* buildNumberRow(const QString& caption);
    QHBoxLayout* buildButtons();
    void confirmClicked();
    void exitClicked();
    void clearFields();

    std::array<QLineEdit*, 4> parts_{};
    QLineEdit* name_;
    QPushButton* ok_;
    QPushButton* exit_;
    std::function<bool(const AccountInput&)> okHandler_;
    bool leaving_ = false;
};

}  // namespace qrv::gui
