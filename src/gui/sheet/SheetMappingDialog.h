#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "workbench/SheetMappingForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace qrv::gui {

class QtUi;
struct SheetRun;

// The mapping dialog over its model (SheetMappingForm): the sheet's first rows, the header row, a list
// per field (a column, typed or chosen, or a fixed value), how dates are read, which rows are left out,
// and what the check finds, checked again as the choices change. It only shows the model and hands it
// what the person chose; the model's check or build runs on a thread of the dialog's own. OK builds the
// file (another name when the person keeps the existing one).
class SheetMappingDialog : public QDialog {
    Q_OBJECT
  public:
    SheetMappingDialog(SheetMappingForm& form, QtUi& ui, QWidget* parent = nullptr);
    ~SheetMappingDialog() override;

    // The window's words for the file built; empty before.
    const std::string& builtMessage() const { return builtMessage_; }
    const std::filesystem::path& destination() const { return form_.destination(); }
    const std::optional<std::filesystem::path>& built() const { return form_.built(); }
    bool running() const { return worker_.joinable(); }

    QTableWidget* preview() const { return preview_; }
    QComboBox* headerRow() const { return header_; }
    // A field's list (not mapped, a fixed value, or a column) and its fixed value.
    QComboBox* fieldChoice(const QString& field) const;
    QLineEdit* fieldValue(const QString& field) const;
    QComboBox* dateOrder() const { return dates_; }
    QComboBox* yearEra() const { return years_; }
    // What becomes of rows the workbook hides: stop (the default), leave them out, or include them.
    QComboBox* hiddenRows() const { return hidden_; }
    QCheckBox* skipBadRows() const { return skip_; }
    // Leaves out the rows selected in the preview (a total row), or takes them back.
    QPushButton* leaveOutButton() const { return leaveOut_; }
    QLabel* leftOutRows() const { return leftOutLabel_; }
    // Why the choices cannot be checked yet, then what the last check or build told.
    QListWidget* messages() const { return messages_; }
    QPushButton* checkButton() const { return check_; }
    QPushButton* okButton() const { return ok_; }

  signals:
    // A check or build ended (or was cancelled).
    void runFinished();

  public slots:
    void accept() override;
    void reject() override;

  private:
    struct FieldRow {
        size_t index;  // in the form's fields
        QComboBox* choice;
        QLineEdit* value;
    };

    void showPreview();
    void buildForm();
    QWidget* fieldsPane();
    void showChoices();
    void fillColumnLists();
    void takeChoice(const FieldRow& row);
    void takeTyped(const FieldRow& row);
    void toggleLeftOut();
    void changed();
    void start(bool dryRun);
    void finish(const std::shared_ptr<SheetRun>& run);
    void setRunning(bool running);
    bool chooseDestination();
    void fitToScreen();

    SheetMappingForm& form_;
    QtUi& ui_;
    SheetMapping offered_;  // the mapping as the dialog opened, to tell whether the person changed it

    QLabel* about_;
    QTableWidget* preview_;
    QComboBox* header_;
    std::vector<FieldRow> fields_;
    QComboBox* dates_;
    QComboBox* years_;
    QComboBox* hidden_;
    QCheckBox* skip_;
    QPushButton* leaveOut_;
    QLabel* leftOutLabel_;
    QListWidget* messages_;
    QProgressBar* progress_;
    QPushButton* check_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QTimer* recheck_;

    std::jthread worker_;
    bool showing_ = false;  // the lists are being filled from the model: no change of the person's
    std::string builtMessage_;
};

}  // namespace qrv::gui
