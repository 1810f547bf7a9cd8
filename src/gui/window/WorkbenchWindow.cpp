#include "gui/window/WorkbenchWindow.h"

#include "base/RunCancelled.h"
#include "base/Version.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QUrl>
#include <QVBoxLayout>
#include <array>
#include <exception>

#include "gui/window/CommandButtons.h"
#include "gui/window/FieldGrid.h"
#include "gui/window/ProductChoices.h"
#include "gui/window/QtUi.h"
#include "gui/window/RememberedWork.h"
#include "gui/window/ResultPanel.h"
#include "gui/window/RunPane.h"
#include "gui/window/WorkbenchCommands.h"
#include "gui/window/WorkbenchControls.h"
#include "gui/window/WorkerUi.h"
#include "workbench/Workbench.h"

namespace qrv::gui {

namespace {

using C = Control;

// Whether two typed paths name one file that exists.
bool isSameFile(const QString& a, const QString& b) {
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !a.isEmpty() && !b.isEmpty() && !canonical.isEmpty() &&
           canonical == QFileInfo(b).canonicalFilePath();
}

// The typed fields kept per product between sessions: none secret, none a path.
constexpr std::array kRememberedFields = {C::companyId,     C::debitAccount,    C::feeAccount,
                                          C::creditAccount, C::debitFeeAccount, C::companyCode};

// The command Enter runs, the first of these that the layout shows.
constexpr std::array kDefaultCommands = {C::reformat, C::generateHash, C::compareReturnFile,
                                         C::convertTo100M};

}  // namespace

WorkbenchWindow::WorkbenchWindow(Workbench& wb, QtUi& ui, WorkerUi& worker, QWidget* parent)
    : QWidget(parent), wb_(wb), ui_(ui), workerUi_(worker) {
    setObjectName(QStringLiteral("frmReformat"));
    setWindowTitle(tr("Version %1").arg(QString::fromUtf8(kVersion)));
    buildFrame();
    buildForm();
    setTabOrder();
    wireFieldCommands();
    wireProductCommands();
    ui_.attach(this, progressBar());
    // Told from the worker when the run starts to put its outputs in place, and when it copies a report
    // for its preview; the window may be gone.
    workerUi_.setOnCommitting([window = QPointer<WorkbenchWindow>(this)] {
        if (window != nullptr && window->busy_) {
            window->runPane_->showCancel(RunPane::CancelState::Finishing);
        }
    });
    workerUi_.setOnPreparingReport([window = QPointer<WorkbenchWindow>(this)](bool preparing) {
        if (window != nullptr && preparing && window->busy_) {
            window->runPane_->showPreparingReport();
        } else if (window != nullptr) {
            window->runPane_->resetProgress();
        }
    });
}

WorkbenchWindow::~WorkbenchWindow() {
    // The worker uses the workbench and this window's Ui: it ends before they can go.
    endRun();
}

QWidget* WorkbenchWindow::control(Control c) const {
    return controls_->at(c);
}

QRadioButton* WorkbenchWindow::radio(Choice c) const {
    return controls_->radio(c);
}

QProgressBar* WorkbenchWindow::progressBar() const {
    return runPane_->progressBar();
}

QPushButton* WorkbenchWindow::cancelButton() const {
    return runPane_->cancelButton();
}

ResultPanel* WorkbenchWindow::resultPanel() const {
    return runPane_->resultPanel();
}

void WorkbenchWindow::buildFrame() {
    // The form above, the progress and the last run's panel below, with a handle between them: on a
    // small or scaled screen the form scrolls rather than being squeezed.
    auto* outer = new QVBoxLayout(this);
    split_ = new QSplitter(Qt::Vertical, this);
    split_->setObjectName(QStringLiteral("workbenchSplit"));
    split_->setChildrenCollapsible(false);
    outer->addWidget(split_);
    formScroll_ = new QScrollArea(split_);
    formScroll_->setObjectName(QStringLiteral("formScroll"));
    formScroll_->setWidgetResizable(true);
    formScroll_->setFrameShape(QFrame::NoFrame);
    // The fields are the stops of Tab, not the area around them; a field reached scrolls into view.
    formScroll_->setFocusPolicy(Qt::NoFocus);
    group_ = new QGroupBox(tr("Reformat Data"));
    group_->setObjectName(QStringLiteral("GroupBox1"));
    formScroll_->setWidget(group_);
    runPane_ = new RunPane(ui_, split_);
    split_->addWidget(formScroll_);
    split_->addWidget(runPane_);
    split_->setStretchFactor(0, 1);
    split_->setStretchFactor(1, 0);
    connect(split_, &QSplitter::splitterMoved, this, [this] { splitMoved_ = true; });
    connect(runPane_->cancelButton(), &QPushButton::clicked, this, &WorkbenchWindow::cancelRun);
}

void WorkbenchWindow::buildForm() {
    controls_ = std::make_unique<WorkbenchControls>(group_);
    auto* box = new QVBoxLayout(group_);
    choices_ = new ProductChoices(*controls_, [this](Choice choice) { productClicked(choice); });
    box->addLayout(choices_);
    auto* line = new QFrame(group_);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    box->addWidget(line);
    fields_ = new FieldGrid(*controls_, wb_.fields);
    box->addLayout(fields_);
    control(C::source)->installEventFilter(this);  // a file dropped on it
    box->addSpacing(6);
    box->addLayout(new CommandButtons(*controls_));
    box->addStretch(1);
}

// Tab order in reading order.
void WorkbenchWindow::setTabOrder() {
    std::vector<QWidget*> order;
    for (const ChoiceInfo& info : choices()) {
        order.push_back(radio(info.choice));
    }
    for (const C c : {C::companyId,
                      C::debitAccount,
                      C::copyDebitAccount,
                      C::creditAccount,
                      C::copyCreditAccount,
                      C::feeAccount,
                      C::debitFeeAccount,
                      C::companyCode,
                      C::source,
                      C::browseSource,
                      C::processingRound,
                      C::secondFile,
                      C::browseSecondFile,
                      C::destination,
                      C::browseDestination,
                      C::printDetail,
                      C::hashValue,
                      C::reformat,
                      C::generateHash,
                      C::coverLetter,
                      C::compareReturnFile,
                      C::chooseComparisonFile,
                      C::convertTo100M,
                      C::tierRateReport,
                      C::convertContract,
                      C::mediaDetailReport,
                      C::clearForm}) {
        order.push_back(control(c));
    }
    for (size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

// The small handlers of this window: they edit fields and run here.
void WorkbenchWindow::wireFieldCommands() {
    auto wire = [this](C c, void (Workbench::*handler)()) {
        connect(static_cast<QAbstractButton*>(control(c)), &QAbstractButton::clicked, this,
                [this, c, handler] {
                    ui_.setDialogContext(QLatin1String(controlName(c)), productKey());
                    runCommand([handler](Workbench& w) { (w.*handler)(); });
                });
    };
    wire(C::clearForm, &Workbench::clearForm);
    // The form cleared, the last run's results go with it.
    connect(static_cast<QAbstractButton*>(control(C::clearForm)), &QAbstractButton::clicked, this,
            [this] { clearResult(); });
    wire(C::copyDebitAccount, &Workbench::copyDebitAccount);
    wire(C::copyCreditAccount, &Workbench::copyCreditAccount);
    wire(C::browseSource, &Workbench::browseSource);
    wire(C::browseSecondFile, &Workbench::browseSecondFile);
    wire(C::browseDestination, &Workbench::browseDestination);
    // A hash that names a file goes when the field names another.
    for (const C c : {C::source, C::destination}) {
        connect(static_cast<QLineEdit*>(control(c)), &QLineEdit::textChanged, this, [this] {
            if (!syncing_ && !busy_) {
                copyToCore();
                wb_.filesEdited();
                syncFromCore();
            }
        });
    }
    for (const C c : {C::creditAccount, C::debitFeeAccount}) {
        connect(static_cast<QLineEdit*>(control(c)), &QLineEdit::textChanged, this, [this] {
            if (!syncing_ && !busy_) {
                copyToCore();
                wb_.accountsEdited();
                syncFromCore();
            }
        });
    }
    connect(static_cast<QComboBox*>(control(C::processingRound)), &QComboBox::editTextChanged, this, [this] {
        if (!syncing_) {
            copyToCore();
            const std::string typed = wb_.fields.processingRound;
            runCommand([typed](Workbench& w) { w.processingRoundChanged(typed); });
        }
    });
}

// The product commands: each runs on the worker.
void WorkbenchWindow::wireProductCommands() {
    for (const WorkbenchCommand& command : workbenchCommands()) {
        auto* b = qobject_cast<QAbstractButton*>(control(command.button));
        if (b != nullptr) {
            const auto handler = command.run;
            const QString name = QLatin1String(controlName(command.button));
            const bool writesDestination = command.writesDestination;
            connect(b, &QAbstractButton::clicked, this, [this, name, handler, writesDestination] {
                ui_.setDialogContext(name, productKey());
                // A typed name is asked about as the Save dialog asks: an unrelated file is not replaced
                // unasked. A file the run reads is not: the run refuses it, with its reason.
                const QString destination = static_cast<QLineEdit*>(control(C::destination))->text();
                if (writesDestination && !busy_ && !isRunInput(destination) && !ui_.mayReplace(destination)) {
                    return;
                }
                runCommand(handler, true);
            });
        }
    }
}

bool WorkbenchWindow::isRunInput(const QString& path) const {
    const auto typed = [this](C c) { return static_cast<QLineEdit*>(control(c))->text(); };
    // The second file (the return or invoice file) is read only by a product that shows it.
    return isSameFile(path, typed(C::source)) ||
           (control(C::secondFile)->isVisibleTo(this) && isSameFile(path, typed(C::secondFile)));
}

QString WorkbenchWindow::productKey() const {
    return QLatin1String(choiceInfo(wb_.selected()).control);
}

void WorkbenchWindow::rememberFields() {
    if (remembered_ == nullptr || wb_.selected() == Choice::None) {
        return;
    }
    remembered_->setLastProduct(productKey());
    for (const C c : kRememberedFields) {
        remembered_->setField(productKey(), QLatin1String(controlName(c)),
                              static_cast<QLineEdit*>(control(c))->text());
    }
}

void WorkbenchWindow::restoreFields() {
    if (remembered_ == nullptr) {
        return;
    }
    // Only empty fields are filled: what the person typed in this session stays.
    const std::map<QString, QString> kept = remembered_->fields(productKey());
    for (const C c : kRememberedFields) {
        auto* edit = static_cast<QLineEdit*>(control(c));
        const auto it = kept.find(QLatin1String(controlName(c)));
        if (edit->text().isEmpty() && it != kept.end()) {
            edit->setText(it->second);
        }
    }
    copyToCore();
}

void WorkbenchWindow::rememberOutputs(const QDateTime& destinationBefore, bool command) {
    if (remembered_ == nullptr) {
        return;
    }
    const QFileInfo source(QString::fromStdString(wb_.fields.sourcePath));
    if (!wb_.fields.sourcePath.empty() && source.isFile()) {
        remembered_->addRecentFile(source.absoluteFilePath());
    }
    // A destination this run wrote is this product's own output from now on.
    const QFileInfo destination(QString::fromStdString(wb_.fields.destinationPath));
    if (command && !wb_.fields.destinationPath.empty() && destination.isFile() &&
        destination.lastModified() != destinationBefore) {
        remembered_->addOutput(productKey(), destination.absoluteFilePath());
    }
}

void WorkbenchWindow::openRecent(const QString& path) {
    if (!busy_) {
        static_cast<QLineEdit*>(control(C::source))->setText(QDir::toNativeSeparators(path));
    }
}

void WorkbenchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && busy_) {
        cancelRun();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !busy_ && defaultCommand()) {
        runDefaultCommand();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

QAbstractButton* WorkbenchWindow::defaultCommand() const {
    for (const C c : kDefaultCommands) {
        auto* b = static_cast<QAbstractButton*>(control(c));
        if (b->isVisibleTo(this) && b->isEnabled()) {
            return b;
        }
    }
    return nullptr;
}

void WorkbenchWindow::runDefaultCommand() {
    // A mnemonic shows its button pressed for a moment before it acts (Alt+P ticks "Print detail" then):
    // a click still under way ends first, so that the run reads what the window shows.
    for (QAbstractButton* b : group_->findChildren<QAbstractButton*>()) {
        if (b->isDown()) {
            connect(
                b, &QAbstractButton::released, this, [this] { runDefaultCommand(); },
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
            return;
        }
    }
    if (QAbstractButton* command = defaultCommand(); command != nullptr && !busy_) {
        command->click();
    }
}

void WorkbenchWindow::loadSettings() {
    runCommand([](Workbench& w) { w.loadSettings(); });
    if (remembered_ == nullptr) {
        return;
    }
    // The product of the last session, if the settings still offer it.
    for (const ChoiceInfo& info : choices()) {
        if (QLatin1String(info.control) == remembered_->lastProduct() &&
            info.choice != Choice::DirectContract && wb_.isEnabled(info.choice) &&
            info.choice != wb_.selected()) {
            const Choice choice = info.choice;
            runCommand([choice](Workbench& w) { w.selectProduct(choice); });
        }
    }
    restoreFields();
    syncFromCore();
}

void WorkbenchWindow::productClicked(Choice choice) {
    if (syncing_ || choice == wb_.selected()) {
        return;  // a click on the chosen product changes nothing
    }
    rememberFields();
    runCommand([choice](Workbench& w) { w.selectProduct(choice); });
    if (wb_.selected() == choice) {
        clearResult();  // it told of another product's run
    }
    restoreFields();
    rememberFields();
    syncFromCore();
}

void WorkbenchWindow::runCommand(const std::function<void(Workbench&)>& handler, bool longRunning) {
    if (busy_) {
        return;
    }
    busy_ = true;
    copyToCore();
    ui_.setRunFiles(QString::fromStdString(wb_.fields.destinationPath),
                    QString::fromStdString(wb_.fields.sourcePath));
    destinationBefore_ = QFileInfo(QString::fromStdString(wb_.fields.destinationPath)).lastModified();
    if (!longRunning) {
        std::exception_ptr error;
        try {
            handler(wb_);
        } catch (...) {
            error = std::current_exception();
        }
        finishCommand(error, false);
        return;
    }
    focused_ = focusWidget();
    group_->setEnabled(false);
    // The panel tells of this run once it ends, not of the one before meanwhile.
    clearResult();
    runPane_->showCancel(RunPane::CancelState::Running);
    cancelButton()->show();
    cancelButton()->setFocus();
    emit busyChanged(true);
    // The worker touches the workbench and its Ui only; this thread leaves both alone until the run's
    // end is delivered to it.
    worker_ = std::jthread([this, handler](const std::stop_token& stop) {
        workerUi_.setStopToken(stop);
        std::exception_ptr error;
        try {
            handler(wb_);
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, error] { finishCommand(error, true); }, Qt::QueuedConnection);
    });
}

void WorkbenchWindow::finishCommand(const std::exception_ptr& error, bool longRunning) {
    if (worker_.joinable()) {
        worker_.join();  // at once: delivering this was the worker's last act
    }
    workerUi_.setStopToken({});
    bool cancelled = false;
    bool failed = false;
    if (error) {
        wb_.runFailed();  // neither a result nor a hash from before is taken for this run's
        try {
            std::rethrow_exception(error);
        } catch (const RunCancelled& e) {
            cancelled = true;
            if (!closing_) {
                ui_.showMessage(MessageKind::Information, e.what());
            }
        } catch (const std::exception& e) {
            failed = true;
            ui_.showMessage(MessageKind::Error, e.what());
        }
    }
    if (longRunning) {
        if (cancelled) {
            resultPanel()->showCancelled();
        } else if (failed || !wb_.lastResult) {
            resultPanel()->clear();
        } else {
            resultPanel()->showResult(*wb_.lastResult, wb_.lastRun, [this] { return wb_.rejectedEntries(); });
        }
        fitSplit();
        // The bar shows a run while it goes; after it, the panel tells how it ended.
        runPane_->resetProgress();
        wb_.setProgress(0);
    }
    rememberOutputs(destinationBefore_, longRunning);
    if (longRunning) {
        runPane_->showCancel(RunPane::CancelState::Idle);
        cancelButton()->hide();
        emit busyChanged(false);
        group_->setEnabled(true);
        returnFocus();
    }
    busy_ = false;
    syncFromCore();
}

void WorkbenchWindow::returnFocus() {
    // After a refusal the person is taken to the field it was about, its text selected to be typed over;
    // otherwise back where they were, nothing selected (a key must not erase a field unseen). Either is
    // scrolled into view.
    const std::optional<Control> refused = wb_.refusedControl();
    if (refused && control(*refused)->isVisible()) {
        focused_ = control(*refused);
    }
    if (focused_ == nullptr || !focused_->isVisible()) {
        return;
    }
    focused_->setFocus();
    if (group_->isAncestorOf(focused_)) {
        formScroll_->ensureWidgetVisible(focused_);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(focused_)) {
        if (refused && focused_ == control(*refused)) {
            edit->selectAll();
        } else {
            edit->deselect();
        }
    }
}

void WorkbenchWindow::cancelRun() {
    if (!worker_.joinable() || !busy_) {
        return;
    }
    // Once the run puts its outputs in place it finishes: the request would not be honoured.
    if (workerUi_.committed()) {
        runPane_->showCancel(RunPane::CancelState::Finishing);
        return;
    }
    worker_.request_stop();
    runPane_->showCancel(RunPane::CancelState::Cancelling);
}

bool WorkbenchWindow::mayClose() {
    if (!busy_) {
        return true;
    }
    const QString question = workerUi_.committed()
                                 ? tr("A command is finishing: its files are being put in place.\n"
                                      "Quit when it has ended?")
                                 : tr("A command is running.\nCancel it and quit? Nothing it has not "
                                      "finished is written.");
    return ui_.askDefaultNo(question);
}

void WorkbenchWindow::clearResult() {
    resultPanel()->clear();
    fitSplit();
}

void WorkbenchWindow::fitSplit() {
    const int total = split_->height();
    if (total <= 0) {
        return;
    }
    // The panel takes what it asks for up to half the height, and what the form does not need besides;
    // the form the rest, scrolling if short.
    runPane_->layout()->activate();
    const int wanted = runPane_->sizeHint().height();
    int belowHeight = std::max(runPane_->minimumSizeHint().height(), std::min(wanted, total / 2));
    if (resultPanel()->isVisibleTo(this)) {
        const int formNeeds = group_->sizeHint().height() + 2 * formScroll_->frameWidth();
        belowHeight = std::max(belowHeight, total - formNeeds);
    }
    split_->setSizes({total - belowHeight, belowHeight});
    endFormAtRowEdge();
}

// A form that scrolls ends at the edge of a row, not part-way through one: the rest of the height goes
// to the panel below.
void WorkbenchWindow::endFormAtRowEdge() {
    const QList<int> sizes = split_->sizes();
    const int shown = formScroll_->viewport()->height();
    const int offset = group_->y();  // at or above 0 as the form is scrolled
    if (sizes.size() != 2 || group_->height() + offset <= shown) {
        return;
    }
    int edge = shown;
    const QList<QWidget*> parts = group_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    // Cutting at a row's top hides it whole; the highest cut below the viewport's end that splits no
    // control is the edge. A control taller than the viewport is left cut.
    for (bool moved = true; moved;) {
        moved = false;
        for (const QWidget* part : parts) {
            const int top = part->y() + offset;
            if (part->isVisible() && top > 0 && top < edge && top + part->height() > edge) {
                edge = top;
                moved = true;
            }
        }
    }
    if (edge < shown) {
        const int cut = shown - edge;
        split_->setSizes({sizes[0] - cut, sizes[1] + cut});
    }
}

void WorkbenchWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!splitMoved_) {
        fitSplit();
    }
}

void WorkbenchWindow::waitForRun() {
    while (busy_) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void WorkbenchWindow::endRun() {
    closing_ = true;
    cancelRun();
    waitForRun();
    closing_ = false;
}

void WorkbenchWindow::copyToCore() {
    fields_->copyTo(wb_.fields);
}

void WorkbenchWindow::syncFromCore() {
    syncing_ = true;
    fields_->show(wb_.fields);
    progressBar()->setValue(wb_.fields.progress);
    for (const auto& [c, view] : wb_.controls) {
        QWidget* w = control(c);
        if (w == nullptr) {
            continue;
        }
        if (!view.caption.empty()) {
            controls_->setCaption(c, view.caption);
        }
        if (w->isVisibleTo(this) != view.visible) {
            w->setVisible(view.visible);
        }
    }
    choices_->show(wb_);
    fields_->offerRounds();
    fields_->describeFiles(wb_.selected());
    controls_->nameButtons();
    fields_->nameForScreenReaders();
    syncing_ = false;
}

bool WorkbenchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control(C::source)) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData()->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QList<QUrl> urls = drop->mimeData()->urls();
            if (!urls.isEmpty() && urls.first().isLocalFile()) {
                static_cast<QLineEdit*>(control(C::source))->setText(urls.first().toLocalFile());
                drop->acceptProposedAction();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qrv::gui
