#include "gui/app/TfmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "convert/debit/AccountEntryDialog.h"
#include "gui/app/TForm1.h"
#include "gui/app/TfrmPassword.h"
#include "gui/refdata/TfmBank.h"
#include "gui/workbench/TfrmReformat.h"
#include "refdata/ReferenceSeed.h"

namespace qrv::gui {

namespace {

std::unique_ptr<Clock> clockUnless(const Clock* given) {
    return given != nullptr ? nullptr : std::make_unique<SystemClock>();
}

}  // namespace

TfmMain::TfmMain(Options options, QWidget* parent)
    : QMainWindow(parent),
      ownClock_(clockUnless(options.clock)),
      clock_(options.clock != nullptr ? *options.clock : *ownClock_),
      ui_(std::move(options.hooks)),
      store_(options.paths.dataFolder, ReferenceSeed(options.paths.dataFolder)),
      wb_(ui_, store_, clock_, options.paths) {
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Convertor"));
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
    connect(panelButton, &QPushButton::clicked, this, &TfmMain::Button1Click);
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

    QMenu* menu = menuBar()->addMenu(tr("&Window"));
    QAction* logIn = menu->addAction(tr("&Log in"));
    logIn->setObjectName(QStringLiteral("actLogIn"));
    connect(logIn, &QAction::triggered, this, &TfmMain::Button2Click);
    QAction* showWorkbench = menu->addAction(tr("&Reformat Data"));
    showWorkbench->setObjectName(QStringLiteral("actReformatData"));
    connect(showWorkbench, &QAction::triggered, this, &TfmMain::Button1Click);
    menu->addSeparator();
    QAction* quit = menu->addAction(tr("E&xit"));
    quit->setObjectName(QStringLiteral("actExit"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    // The table store, created and given the sample reference data on first use.
    try {
        store_.open();
    } catch (const std::exception& e) {
        ui_.showMessage(MessageKind::Error, e.what());
    }

    // The workbench, maximized inside the frame at once.
    reformat_ = new TfrmReformat(wb_, ui_);
    workbenchWindow_ = mdi_->addSubWindow(reformat_);
    workbenchWindow_->setObjectName(QStringLiteral("frmReformatWindow"));
    workbenchWindow_->setWindowTitle(reformat_->windowTitle());
    workbenchWindow_->installEventFilter(this);
    connect(reformat_, &TfrmReformat::busyChanged, this, [this](bool busy) { menuBar()->setEnabled(!busy); });
    reformat_->formCreate();
    workbenchWindow_->showMaximized();

    password_ = new TfrmPassword(this);
    password_->setOnSuccess([this] { openBankWindow_(); });
    account_ = new TForm1(this);
    if (!ui_.hooks().accountEntry) {
        ui_.hooks().accountEntry = [this](AccountEntryDialog& dialog) { return askAccount(dialog); };
    }
    openBankWindow_ = [this] { TfmBank::open(mdi_, store_, ui_); };
}

bool TfmMain::askAccount(AccountEntryDialog& dialog) {
    // The window's OK runs the core's checks with the typed parts; EXIT leaves the dialog unconfirmed.
    account_->setOkHandler([this, &dialog](const AccountInput& input) {
        dialog.setText(AccountField::edtAccNum1, input.parts[0]);
        dialog.setText(AccountField::edtAccNum2, input.parts[1]);
        dialog.setText(AccountField::edtAccNum3, input.parts[2]);
        dialog.setText(AccountField::edtAccNum4, input.parts[3]);
        dialog.setText(AccountField::NameAccount, input.name);
        return dialog.btnOKClick(ui_);
    });
    if (!account_->ask()) {
        dialog.Button1Click();
        return false;
    }
    return dialog.Accepted;
}

TfmMain::~TfmMain() {
    // The windows refer to the workbench model: they go before it.
    delete password_;
    delete account_;
    delete takeCentralWidget();
}

void TfmMain::Button1Click() {
    workbenchWindow_->showMaximized();
    mdi_->setActiveSubWindow(workbenchWindow_);
    workbenchWindow_->raise();
}

void TfmMain::Button2Click() {
    password_->exec();
    password_->clearFields();
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
    // Closing the workbench only minimizes it; "Reformat Data" shows it again.
    if (watched == workbenchWindow_ && event->type() == QEvent::Close) {
        event->ignore();
        workbenchWindow_->showMinimized();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfmMain::closeEvent(QCloseEvent* event) {
    if (reformat_ != nullptr && reformat_->busy()) {
        event->ignore();  // a command is running on this thread; it ends first
        return;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace qrv::gui
