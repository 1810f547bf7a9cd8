#pragma once

#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "workbench/Ui.h"

class QMessageBox;
class QProgressBar;
class QWidget;

namespace qrv {
class ReportSnapshot;
}  // namespace qrv

namespace qrv::gui {

class RememberedWork;

// The application title: owner of every message box.
inline const QString kAppTitle = QStringLiteral("Convertor QRV");

// Widens a message box so that its title shows whole beside the window's buttons.
void FitTitle(QMessageBox& box);

// Turns "Text File|*.txt|All File|*.*" into Qt's "Text File (*.txt);;All File (*.*)".
QString QtFileFilter(const std::string& filter);

// Sizes a file dialog so that its list shows names whole: most of the screen, within reason.
void FitFileDialog(QWidget& dialog);

// The window's side of the core's Ui port: message boxes under the application title, file dialogs,
// the workbench's progress bar and the report preview. Each kind of dialog can be replaced by a hook,
// so that tests (and later front ends) can answer without a modal box.
class QtUi final : public Ui {
  public:
    struct Hooks {
        std::function<void(MessageKind, const QString&)> message;
        std::function<bool(const QString&)> question;
        std::function<std::optional<QString>(const QString& filter)> openFile;
        std::function<std::optional<QString>(const QString& filter, const QString& proposed)> saveFile;
        // Receives the rendered page instead of a preview window.
        std::function<void(const ShownReport&, const QString& html)> report;
        // Shows the account entry dialog over the core's model; true when it was confirmed.
        std::function<bool(AccountEntryDialog&)> accountEntry;
    };

    QtUi() = default;
    explicit QtUi(Hooks hooks) : hooks_(std::move(hooks)) {}

    // The window that owns the dialogs and the progress bar that setProgress moves.
    void attach(QWidget* window, QProgressBar* progress);
    Hooks& hooks() { return hooks_; }
    // Where the file dialogs start and what they remember; none: the working folder.
    void setRemembered(RememberedWork* remembered) { remembered_ = remembered; }
    // Where the report layouts are: a report shown in Thai takes the Thai copy of its layout from there.
    void setLayoutFolder(std::filesystem::path folder) { layoutFolder_ = std::move(folder); }
    // The dialog about to be asked for (the button's name) and the product it writes for.
    void setDialogContext(const QString& dialog, const QString& product) {
        dialog_ = dialog;
        product_ = product;
    }
    // The files of the command about to run: a report's PDF is proposed beside them.
    void setRunFiles(const QString& destination, const QString& source) {
        destination_ = destination;
        source_ = source;
    }
    // The folder the next file dialog starts in.
    QString dialogFolder() const;
    // Whether the command about to run may write `path`: yes when no file is there, when it is the
    // product's earlier output or was chosen in the Save dialog; otherwise the person is asked, No
    // being the default.
    bool mayReplace(const QString& path);
    // A Yes/No question whose default is No (what a stray Enter answers).
    bool askDefaultNo(const QString& question, MessageKind kind = MessageKind::Confirmation);

    void showMessage(MessageKind kind, const std::string& text) override;
    bool askConfirmation(const std::string& text) override;
    void setProgress(int percent) override;
    // The report with the layout of the window's language, where there is one (any thread).
    ShownReport inWindowLanguage(const ShownReport& report) const;
    // Takes the report's snapshot from its store, then shows it (showSnapshot), in the window's language.
    void showReport(const ShownReport& report) override;
    // Opens the preview of a snapshot, blocking when modal; on the window's thread only (a snapshot
    // can be taken on another).
    void showSnapshot(std::shared_ptr<const ReportSnapshot> snapshot, bool modal);
    std::optional<std::string> chooseOpenFile(const std::string& filter) override;
    std::optional<std::string> chooseSaveFile(const std::string& filter,
                                              const std::string& proposedName) override;
    bool askAccountEntry(AccountEntryDialog& dialog) override;
    // The switch warning with OK (clear the form) and Cancel.
    bool askClearForm(const std::string& text) override;
    // The mapping dialog over the sheet; its message names the file built.
    std::optional<std::string> sourceFromSheet(SheetMappingForm& form) override;

  private:
    Hooks hooks_;
    QPointer<QWidget> window_;
    QPointer<QProgressBar> progress_;
    RememberedWork* remembered_ = nullptr;
    std::filesystem::path layoutFolder_;
    QString dialog_;
    QString product_;
    QString destination_;
    QString source_;
    QString approved_;  // the file last chosen in the Save dialog: replacing it was agreed there
};

}  // namespace qrv::gui
