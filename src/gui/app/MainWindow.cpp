#include "gui/app/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <tuple>

#include "base/Version.h"
#include "gui/app/AccountDialog.h"
#include "gui/app/LoginDialog.h"
#include "gui/app/ProgramIcon.h"
#include "gui/language/Language.h"
#include "gui/refdata/BankWindow.h"
#include "gui/window/RememberedWork.h"
#include "gui/window/SourceViewer.h"
#include "gui/window/UploadViewer.h"
#include "gui/window/WorkbenchWindow.h"
#include "io/SystemClock.h"
#include "refdata/ReferenceSeed.h"
#include "workbench/AccountEntryDialog.h"

namespace qrv::gui {

namespace {

std::unique_ptr<Clock> clockUnless(const Clock* given) {
    return given != nullptr ? nullptr : std::make_unique<SystemClock>();
}

}  // namespace

MainWindow::MainWindow(Options options, QWidget* parent)
    : QMainWindow(parent),
      ownClock_(clockUnless(options.clock)),
      clock_(options.clock != nullptr ? *options.clock : *ownClock_),
      ui_(std::move(options.hooks)),
      remembered_(std::make_unique<RememberedWork>(options.settingsFile)),
      paths_(options.paths),
      store_(options.paths.dataFolder, ReferenceSeed(options.paths.dataFolder)),
      wb_(workerUi_, store_, clock_, options.paths) {
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Convertor"));
    setWindowIcon(ProgramIcon());
    resize(662, 505);

    // The command panel of "Reformat Data", hidden: the menu reaches the same command.
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    panel_ = new QFrame(central);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameShape(QFrame::Box);
    panel_->setFixedWidth(125);
    auto* panelLayout = new QVBoxLayout(panel_);
    auto* panelButton = new QPushButton(tr("Reformat Data"), panel_);
    panelButton->setObjectName(QStringLiteral("Button1"));
    QFont bold = panelButton->font();
    bold.setBold(true);
    panelButton->setFont(bold);
    panelLayout->addWidget(panelButton);
    panelLayout->addStretch(1);
    connect(panelButton, &QPushButton::clicked, this, &MainWindow::showWorkbench);
    panel_->hide();
    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    // The frame does not grow with its child: a screen smaller than the workbench scrolls it.
    mdi_->setMinimumSize(200, 150);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    row->addWidget(panel_);
    row->addWidget(mdi_, 1);
    setCentralWidget(central);

    buildMenus();
    ui_.setRemembered(remembered_.get());
    ui_.setLayoutFolder(paths_.reportFolder);

    // The table store, created and given the sample reference data on first use.
    try {
        store_.open();
    } catch (const std::exception& e) {
        ui_.showMessage(MessageKind::Error, e.what());
    }

    // The workbench, maximized inside the frame at once.
    reformat_ = new WorkbenchWindow(wb_, ui_, workerUi_);
    // No close button of its own (nor the menu that holds one): closing would only shrink it into a
    // corner, and the program's own window closes the program.
    workbenchWindow_ = mdi_->addSubWindow(reformat_, Qt::SubWindow | Qt::CustomizeWindowHint |
                                                         Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
    workbenchWindow_->setObjectName(QStringLiteral("frmReformatWindow"));
    workbenchWindow_->setWindowTitle(reformat_->windowTitle());
    workbenchWindow_->installEventFilter(this);
    // The workbench is not closed by a key: one Ctrl+W too many after closing a report would otherwise
    // minimize it to a bar.
    for (QAction* action : workbenchWindow_->systemMenu()->actions()) {
        if (action->shortcuts().contains(QKeySequence(QKeySequence::Close))) {
            action->setShortcuts({});
        }
    }
    reformat_->setRemembered(remembered_.get());
    // While a command runs, Exit and Help still answer; what would use the store beside the run (log in,
    // the reference-data windows already open) waits.
    connect(reformat_, &WorkbenchWindow::busyChanged, this, [this](bool busy) {
        for (QAction* action : lockedWhileBusy_) {
            action->setEnabled(!busy);
        }
        for (QMdiSubWindow* window : mdi_->subWindowList()) {
            if (window != workbenchWindow_) {
                window->widget()->setEnabled(!busy);
            }
        }
    });
    reformat_->loadSettings();
    workbenchWindow_->showMaximized();

    password_ = new LoginDialog(this);
    password_->setOnSuccess([this] { openBankWindow_(); });
    account_ = new AccountDialog(this);
    if (!ui_.hooks().accountEntry) {
        ui_.hooks().accountEntry = [this](AccountEntryDialog& dialog) { return askAccount(dialog); };
    }
    openBankWindow_ = [this] { BankWindow::open(mdi_, store_, ui_); };
}

void MainWindow::buildMenus() {
    QMenu* menu = menuBar()->addMenu(tr("&Window"));
    QAction* logIn = menu->addAction(tr("&Log in"));
    logIn->setObjectName(QStringLiteral("actLogIn"));
    connect(logIn, &QAction::triggered, this, &MainWindow::logIn);
    QAction* showWorkbench = menu->addAction(tr("&Reformat Data"));
    showWorkbench->setObjectName(QStringLiteral("actReformatData"));
    connect(showWorkbench, &QAction::triggered, this, &MainWindow::showWorkbench);
    // In this menu rather than a File menu of its own: a menu needs its key, and each letter of "File" is
    // taken by a control of the workbench.
    QAction* openUpload = menu->addAction(tr("Open &upload file..."));
    openUpload->setObjectName(QStringLiteral("actOpenUploadFile"));
    connect(openUpload, &QAction::triggered, this, &MainWindow::chooseUploadFile);
    recent_ = menu->addMenu(tr("Recent &Files"));
    recent_->setObjectName(QStringLiteral("menuRecentFiles"));
    lockedWhileBusy_ = {logIn, recent_->menuAction()};
    connect(recent_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    menu->addSeparator();
    QAction* quit = menu->addAction(tr("E&xit"));
    quit->setObjectName(QStringLiteral("actExit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    // No mnemonic: every letter of its name is taken by a control of the workbench.
    QMenu* view = menuBar()->addMenu(tr("View"));
    view->setObjectName(QStringLiteral("menuView"));
    QAction* history = view->addAction(tr("&Run history"));
    history->setObjectName(QStringLiteral("actRunHistory"));
    connect(history, &QAction::triggered, this, &MainWindow::showRunHistory);

    buildLanguageMenu();

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* guide = help->addAction(tr("&User Guide"));
    guide->setObjectName(QStringLiteral("actUserGuide"));
    guide->setShortcut(QKeySequence::HelpContents);
    guide->setShortcutContext(Qt::ApplicationShortcut);
    connect(guide, &QAction::triggered, this, &MainWindow::showUserGuide);
    QAction* about = help->addAction(tr("&About Convertor QRV"));
    about->setObjectName(QStringLiteral("actAbout"));
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::showRunHistory() {
    if (history_ == nullptr) {
        history_ = new RunHistoryWindow(store_, clock_.today(), ui_);
        QMdiSubWindow* sub = mdi_->addSubWindow(history_);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // A run that ends shows in it at once.
        connect(reformat_, &WorkbenchWindow::busyChanged, history_, [this](bool busy) {
            if (!busy) {
                history_->refresh();
            }
        });
    }
    auto* sub = qobject_cast<QMdiSubWindow*>(history_->parentWidget());
    sub->showMaximized();
    mdi_->setActiveSubWindow(sub);
}

void MainWindow::chooseUploadFile() {
    const QString file = QFileDialog::getOpenFileName(this, tr("Open upload file"));
    if (!file.isEmpty()) {
        openUploadFile(file);
    }
}

SourceViewer* MainWindow::openUploadFile(const QString& file) {
    try {
        SourceViewer* viewer = OpenUploadViewer(file, this);
        viewer->show();
        return viewer;
    } catch (const std::exception& e) {
        ui_.showMessage(MessageKind::Error, e.what());
    }
    return nullptr;
}

void MainWindow::buildLanguageMenu() {
    // No mnemonic: every letter of its name is taken by a control of the workbench.
    QMenu* menu = menuBar()->addMenu(tr("Language"));
    menu->setObjectName(QStringLiteral("menuLanguage"));
    auto* group = new QActionGroup(menu);
    // Each language is named in its own words, so that a person can find theirs whatever is shown.
    const Language shown = InstalledLanguage();
    for (const auto& [language, name, object] :
         {std::tuple{Language::English, QStringLiteral("English"), QStringLiteral("actEnglish")},
          std::tuple{Language::Thai, QStringLiteral("ไทย"), QStringLiteral("actThai")}}) {
        QAction* action = menu->addAction(name);
        action->setObjectName(object);
        action->setCheckable(true);
        action->setChecked(language == shown);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, language = language] { chooseLanguage(language); });
    }
}

void MainWindow::chooseLanguage(Language language) {
    if (ChosenLanguage(*remembered_) == language && InstalledLanguage() == language) {
        return;
    }
    remembered_->setLanguage(LanguageCode(language));
    // The windows take their texts when they are built: the choice shows from the next start. Said in
    // both languages, as the person may read only the one chosen.
    if (InstalledLanguage() != language) {
        ui_.showMessage(MessageKind::Information, kLanguageNextStart);
    }
}

void MainWindow::fillRecentMenu() {
    recent_->clear();
    const QStringList files = remembered_->recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* item =
            recent_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        item->setEnabled(QFileInfo::exists(path));
        connect(item, &QAction::triggered, this, [this, path] {
            showWorkbench();
            reformat_->openRecent(path);
        });
    }
    if (files.isEmpty()) {
        recent_->addAction(tr("(none)"))->setEnabled(false);
    }
}

QString MainWindow::userGuidePath() const {
    return QDir(QString::fromStdString(paths_.reportFolder.string()))
        .absoluteFilePath(QStringLiteral("../user-guide.md"));
}

void MainWindow::showUserGuide() {
    const QString guide = QDir::cleanPath(userGuidePath());
    QFile file(guide);
    if (!file.open(QIODevice::ReadOnly)) {
        ui_.showMessage(MessageKind::Error, "Cannot open the user guide \"" + guide.toStdString() + "\"");
        return;
    }
    // Shown here, as the desktop may have no program for a Markdown file.
    if (guide_ == nullptr) {
        guide_ = new QDialog(this);
        guide_->setObjectName(QStringLiteral("userGuide"));
        guide_->setWindowTitle(tr("Convertor QRV: user guide"));
        guide_->setWindowFlags(guide_->windowFlags() | Qt::WindowMinMaxButtonsHint);
        auto* text = new QTextBrowser(guide_);
        text->setObjectName(QStringLiteral("guideText"));
        text->setAccessibleName(QStringLiteral("User guide"));
        text->setOpenExternalLinks(true);
        auto* layout = new QVBoxLayout(guide_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(text);
        auto* close = new QAction(guide_);
        close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
        connect(close, &QAction::triggered, guide_, &QDialog::close);
        guide_->addAction(close);
        const QRect screen =
            this->screen() != nullptr ? this->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
        guide_->resize(std::min(900, screen.width() * 9 / 10), std::min(800, screen.height() * 9 / 10));
    }
    // Read as the page of its file, so that its pictures and its links to the pages beside it (shown as
    // Markdown too, with Alt+Left back) are found in its folder.
    auto* text = guide_->findChild<QTextBrowser*>(QStringLiteral("guideText"));
    text->setSearchPaths({QFileInfo(guide).absolutePath()});
    text->setSource(QUrl::fromLocalFile(guide), QTextDocument::MarkdownResource);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

void MainWindow::showAbout() {
    QMessageBox box(this);
    box.setWindowTitle(tr("About Convertor QRV"));
    box.setIconPixmap(ProgramIcon().pixmap(64, 64));
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<b>Convertor QRV</b> %1").arg(QString::fromUtf8(kVersion)));
    QString libraries = tr("<p>Turns payment text files into upload files for the bank's host system V5.</p>"
                           "<p>Built with these libraries, under their licences:</p><ul>"
                           "<li>Qt %1: GNU LGPL version 3</li>"
                           "<li>SQLite: public domain</li>"
                           "<li>libzip: BSD 3-clause licence</li>"
                           "<li>OpenSSL (libcrypto): Apache License 2.0</li>"
                           "<li>Mustache for C++ (kainjow): Boost Software License 1.0</li>"
                           "<li>inih: BSD 3-clause licence</li>"
                           "<li>JSON for Modern C++ (nlohmann): MIT licence</li>"
                           "<li>CLI11 (command-line tool): BSD 3-clause licence</li>"
                           "<li>GNU C library iconv: GNU LGPL version 2.1 or later</li>")
                            .arg(QString::fromLatin1(qVersion()));
    libraries += tr("<li>Expat (reading spreadsheets): MIT licence</li>");
#ifdef QRV_HAVE_QPDF
    libraries += tr("<li>qpdf (joining the parts of a large PDF): Apache License 2.0</li>");
#endif
    box.setInformativeText(libraries + QStringLiteral("</ul>"));
    box.setObjectName(QStringLiteral("aboutBox"));
    FitTitle(box);
    box.exec();
}

bool MainWindow::askAccount(AccountEntryDialog& dialog) {
    // The window's OK runs the core's checks with the typed parts; EXIT leaves the dialog unconfirmed.
    account_->setOkHandler([this, &dialog](const AccountInput& input) {
        dialog.setText(AccountField::accountPart1, input.parts[0]);
        dialog.setText(AccountField::accountPart2, input.parts[1]);
        dialog.setText(AccountField::accountPart3, input.parts[2]);
        dialog.setText(AccountField::accountPart4, input.parts[3]);
        dialog.setText(AccountField::accountName, input.name);
        return dialog.confirm(ui_);
    });
    if (!account_->ask()) {
        dialog.exit();
        return false;
    }
    return dialog.Accepted;
}

MainWindow::~MainWindow() {
    // The windows refer to the workbench model: they go before it.
    delete password_;
    delete account_;
    delete takeCentralWidget();
}

void MainWindow::showWorkbench() {
    // Restored first: with Qt's Windows platform a minimized sub-window asked straight for maximized ends
    // up in its normal size.
    if (workbenchWindow_->isMinimized()) {
        workbenchWindow_->showNormal();
    }
    workbenchWindow_->showMaximized();
    mdi_->setActiveSubWindow(workbenchWindow_);
    workbenchWindow_->raise();
}

void MainWindow::logIn() {
    password_->exec();
    password_->clearFields();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Closing the workbench only minimizes it; "Reformat Data" shows it again.
    if (watched == workbenchWindow_ && event->type() == QEvent::Close) {
        event->ignore();
        workbenchWindow_->showMinimized();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (reformat_ != nullptr) {
        // Exit, Ctrl+Q and the title bar alike: during a run the person is asked first.
        if (!reformat_->mayClose()) {
            event->ignore();
            return;
        }
        // A running command is cancelled and ends before the window goes.
        reformat_->endRun();
        reformat_->rememberFields();
    }
    QMainWindow::closeEvent(event);
}

}  // namespace qrv::gui
