#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "convert/source/SourceForm.h"
#include "sheet/SheetRow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace qrv {
class Workbench;
}  // namespace qrv

namespace qrv::gui {

class QtUi;
struct SheetRun;

// Maps a customer's spreadsheet to the source file of the workbench's product: the sheet's first rows,
// a choice per field (a column or a fixed value), how dates are read, and the rows that cannot be
// placed. Checking and building are the core's build-source operation, run on a thread of its own; OK
// builds the file beside the sheet (its name with ".txt") and keeps the mapping for the company and
// product, which is offered the next time.
class SheetMappingDialog : public QDialog {
    Q_OBJECT
  public:
    SheetMappingDialog(std::filesystem::path sheet, Workbench& workbench, QtUi& ui,
                       QWidget* parent = nullptr);
    ~SheetMappingDialog() override;

    // The file OK built, and the core's words for it; nothing before.
    const std::optional<std::filesystem::path>& built() const { return built_; }
    const std::string& builtMessage() const { return builtMessage_; }
    const std::filesystem::path& destination() const { return destination_; }
    // The mapping as chosen, as its INI text.
    std::string mappingText() const;
    bool running() const { return worker_.joinable(); }

    QTableWidget* preview() const { return preview_; }
    // A field's choice (not mapped, a fixed value, or a column) and its fixed value.
    QComboBox* fieldChoice(const QString& field) const;
    QLineEdit* fieldValue(const QString& field) const;
    QComboBox* dateOrder() const { return dates_; }
    QComboBox* yearEra() const { return years_; }
    // What becomes of rows the workbook hides: stop (the default), leave them out, or include them.
    QComboBox* hiddenRows() const { return hidden_; }
    // What the last check or build told: its messages, the rows that cannot be placed among them.
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
        MappedField field;
        QComboBox* choice;
        QLineEdit* value;
    };

    void readSheet();
    void buildForm();
    void offerMapping();
    void start(bool dryRun);
    void finish(const std::shared_ptr<SheetRun>& run);
    void setRunning(bool running);

    std::filesystem::path sheet_;
    std::filesystem::path destination_;
    Workbench& workbench_;
    QtUi& ui_;
    std::string product_;
    std::string companyId_;
    const SourceForm* form_;
    std::vector<SheetRow> rows_;
    int headerIndex_ = 0;  // the preview row that heads the columns
    int columnCount_ = 0;
    std::int64_t lastRow_ = 0;  // the sheet's last row, once a check read it all

    QLabel* about_;
    QTableWidget* preview_;
    std::vector<FieldRow> fields_;
    QComboBox* dates_;
    QComboBox* years_;
    QComboBox* hidden_;
    QListWidget* messages_;
    QProgressBar* progress_;
    QPushButton* check_;
    QPushButton* ok_;
    QPushButton* cancel_;

    std::jthread worker_;
    bool building_ = false;
    std::optional<std::filesystem::path> built_;
    std::string builtMessage_;
};

}  // namespace qrv::gui
