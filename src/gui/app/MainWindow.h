#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "base/Date.h"
#include "gui/history/RunHistoryWindow.h"
#include "gui/language/Language.h"
#include "gui/window/QtUi.h"
#include "gui/window/WorkerUi.h"
#include "io/AppPaths.h"
#include "store/TableStore.h"
#include "workbench/Workbench.h"

class QAction;
class QDialog;
class QFrame;
class QMdiArea;
class QMenu;
class QMdiSubWindow;

namespace qrv::gui {

class AccountDialog;
class LoginDialog;
class RememberedWork;
class SourceViewer;
class WorkbenchWindow;

// The main window: a multiple-document frame, captioned "Convertor", that holds the workbench (opened
// maximized at once) and the reference-data windows. It owns the table store, the workbench model and
// the window's Ui, and creates the log-in and account dialogs hidden.
// Told when another language is chosen: the windows show it from the next start.
inline constexpr const char* kLanguageNextStart =
    "The language changes when Convertor QRV starts again.\n"
    "ภาษาที่เลือกจะแสดงเมื่อเปิด Convertor QRV ครั้งถัดไป";

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    struct Options {
        AppPaths paths;
        const Clock* clock = nullptr;  // the system clock when none
        QtUi::Hooks hooks;             // dialogs replaced (tests)
        QString settingsFile;          // what the program remembers; empty: the platform's store
    };

    explicit MainWindow(Options options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // "Reformat Data": shows the workbench and brings it to the front.
    void showWorkbench();
    // "Log in": the log-in dialog, modally; its boxes are emptied after it closes.
    void logIn();
    // What a successful log-in opens (the bank window); nothing until that window exists.
    void setOpenBankWindow(std::function<void()> open) { openBankWindow_ = std::move(open); }

    QMdiArea* mdiArea() const { return mdi_; }
    QMdiSubWindow* workbenchWindow() const { return workbenchWindow_; }
    WorkbenchWindow* workbench() const { return reformat_; }
    LoginDialog* password() const { return password_; }
    AccountDialog* account() const { return account_; }
    QFrame* commandPanel() const { return panel_; }
    QtUi& ui() { return ui_; }
    RememberedWork& remembered() { return *remembered_; }
    QMenu* recentMenu() const { return recent_; }
    // The user guide shipped beside the report layouts.
    QString userGuidePath() const;
    // "Help > User Guide" (F1): the guide in a window of the program.
    void showUserGuide();
    QDialog* userGuide() const { return guide_; }
    // "Window > Open upload file...": the file chosen, read back and checked in the upload viewer.
    void chooseUploadFile();
    // The upload viewer over `file`; nothing when the file cannot be read (the person is told).
    SourceViewer* openUploadFile(const QString& file);
    // "Help > About": version and the licences of the libraries used.
    void showAbout();
    // "View > Run history": the history window, opened or brought to the front.
    void showRunHistory();
    RunHistoryWindow* runHistory() const { return history_; }
    Workbench& model() { return wb_; }
    TableStore& store() { return store_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool askAccount(AccountEntryDialog& dialog);
    void buildMenus();
    void buildLanguageMenu();
    void chooseLanguage(Language language);
    void fillRecentMenu();
    std::unique_ptr<Clock> ownClock_;
    const Clock& clock_;
    QtUi ui_;
    WorkerUi workerUi_{ui_};  // the workbench's Ui: a command on the worker thread reaches ui_ through it
    std::unique_ptr<RememberedWork> remembered_;
    AppPaths paths_;
    TableStore store_;
    Workbench wb_;
    QMdiArea* mdi_ = nullptr;
    QFrame* panel_ = nullptr;
    WorkbenchWindow* reformat_ = nullptr;
    QMdiSubWindow* workbenchWindow_ = nullptr;
    LoginDialog* password_ = nullptr;
    AccountDialog* account_ = nullptr;
    QMenu* recent_ = nullptr;
    QDialog* guide_ = nullptr;
    QPointer<RunHistoryWindow> history_;
    std::vector<QAction*> lockedWhileBusy_;  // what would use the store or the fields during a run
    std::function<void()> openBankWindow_ = [] {};
};

}  // namespace qrv::gui
