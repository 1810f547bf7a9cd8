#include "gui/window/WorkbenchWindow.h"

#include "base/RunCancelled.h"
#include "base/Version.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
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

#include "gui/language/SystemTexts.h"
#include "gui/window/QtUi.h"
#include "gui/window/RememberedWork.h"
#include "gui/window/ResultPanel.h"
#include "gui/window/WorkbenchCommands.h"
#include "gui/window/WorkerUi.h"
#include "workbench/Workbench.h"

namespace qrv::gui {

namespace {

using C = Control;

// The mnemonic letters of each control, in order of preference: the first that its caption holds is
// underlined. Chosen so that no two controls that a layout shows together share one.
const std::map<QString, QString>& mnemonicLetters() {
    static const std::map<QString, QString> letters = {
        {"lblComId", "I"},
        {"lblV5CorporateId", "I"},
        {"lblDebitAcct", "A"},
        {"lblFeeAcct", "e"},
        {"lblCreditAccount", "C"},
        {"btnCopyAcct", "y"},
        {"btncopyAccDDP", "t"},
        {"lblCompanyCode", "C"},
        {"lblSource", "Sy"},
        {"btnBrowse", "B"},
        {"lblThirdLine", "g5"},
        {"lblInvoice", "l"},
        {"btnInvoice", "e"},
        {"lblDestination", "n"},
        {"bntDestination", "o"},
        {"CheckBox1", "P"},
        {"lblHashValue", "V"},
        {"btnAction", "R"},
        {"bntClearForm", "F"},
        {"btnGenHash", "G"},
        {"btnCoverLetter", "L"},
        {"btnConvert", "e"},
        {"Button2", "0"},
        {"Button3", "a"},
        {"calculateTierRate", "u"},
        {"rbtDirect10m", "D"},
        {"rbtPay", "1"},
        {"rbtPay2", "2"},
        {"rbtPay3", "3"},
        {"rbtMedia", "M"},
        {"rbtMcp", "q"},
    };
    return letters;
}

// The caption as shown, in the window's language, with its mnemonic marked ("&Browse"). A translated
// caption that holds none of the control's letters shows its first letter after it ("เรียกดู (&B)").
QString withMnemonic(const QString& name, const std::string& caption) {
    const QString original = QString::fromStdString(caption);
    QString text = ShownText(caption);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const auto it = mnemonicLetters().find(name);
    if (it == mnemonicLetters().end()) {
        return text;
    }
    for (const QChar letter : it->second) {
        qsizetype at = text.indexOf(letter);
        if (at < 0) {
            at = text.indexOf(letter, 0, Qt::CaseInsensitive);
        }
        if (at >= 0) {
            return text.insert(at, QLatin1Char('&'));
        }
    }
    if (text != original && !text.isEmpty()) {
        return text + QStringLiteral(" (&") + it->second.front().toUpper() + QLatin1Char(')');
    }
    return text;
}

// The processing round as the combo box shows it (its caption translated) and back.
QString roundShown(const std::string& round) {
    for (const ProcessingRoundInfo& r : processingRounds()) {
        if (round == r.caption) {
            return ShownText(round);
        }
    }
    return QString::fromStdString(round);
}

std::string roundTyped(const QString& shown) {
    for (const ProcessingRoundInfo& r : processingRounds()) {
        const std::string caption(r.caption);
        if (shown == ShownText(caption)) {
            return caption;
        }
    }
    return shown.toStdString();
}

int widthForChars(const QWidget* w, int chars) {
    return w->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 18;
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
    build();
    ui_.attach(this, progress_);
    // Told from the worker when the run starts to put its outputs in place; the window may be gone.
    workerUi_.setOnCommitting([window = QPointer<WorkbenchWindow>(this)] {
        if (window != nullptr && window->busy_) {
            window->showCancel(CancelState::Finishing);
        }
    });
}

WorkbenchWindow::~WorkbenchWindow() {
    // The worker uses the workbench and this window's Ui: it ends before they can go.
    endRun();
}

QWidget* WorkbenchWindow::control(Control c) const {
    const auto it = controls_.find(c);
    return it == controls_.end() ? nullptr : it->second;
}

QRadioButton* WorkbenchWindow::radio(Choice c) const {
    const auto it = radios_.find(c);
    return it == radios_.end() ? nullptr : it->second;
}

void WorkbenchWindow::build() {
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
    group_ = new QGroupBox(tr("Reformat Data"));
    group_->setObjectName(QStringLiteral("GroupBox1"));
    formScroll_->setWidget(group_);
    auto* below = new QWidget(split_);
    below->setObjectName(QStringLiteral("runPane"));
    auto* belowLayout = new QVBoxLayout(below);
    belowLayout->setContentsMargins(0, 0, 0, 0);
    split_->addWidget(formScroll_);
    split_->addWidget(below);
    split_->setStretchFactor(0, 1);
    split_->setStretchFactor(1, 0);
    connect(split_, &QSplitter::splitterMoved, this, [this] { splitMoved_ = true; });

    progress_ = new QProgressBar(below);
    progress_->setObjectName(QStringLiteral("pgbState"));
    progress_->setAccessibleName(QStringLiteral("Progress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    cancel_ = new QPushButton(tr("Cancel"), below);
    cancel_->setObjectName(QStringLiteral("btnCancel"));
    cancel_->setAutoDefault(false);
    cancel_->setMinimumWidth(cancel_->fontMetrics().horizontalAdvance(tr("Finishing...")) + 24);
    // Shown only while a command runs (Esc is its key); its place is kept so that the bar keeps its width.
    QSizePolicy keepPlace = cancel_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    cancel_->setSizePolicy(keepPlace);
    cancel_->hide();
    showCancel(CancelState::Idle);
    connect(cancel_, &QPushButton::clicked, this, &WorkbenchWindow::cancelRun);
    auto* progressRow = new QHBoxLayout();
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(cancel_);
    belowLayout->addLayout(progressRow);
    result_ = new ResultPanel(ui_, below);
    belowLayout->addWidget(result_, 1);

    const ControlStates initial = initialControlStates();
    auto name = [](Control c) { return QString::fromLatin1(controlName(c)); };
    auto caption = [&initial](Control c) { return initial.at(c).caption; };
    auto label = [&](Control c) {
        auto* l = new QLabel(withMnemonic(name(c), caption(c)), group_);
        l->setObjectName(name(c));
        controls_[c] = l;
        return l;
    };
    auto edit = [&](Control c, int maxLength) {
        auto* e = new QLineEdit(group_);
        e->setObjectName(name(c));
        if (maxLength > 0) {
            e->setMaxLength(maxLength);
            e->setFixedWidth(widthForChars(e, maxLength));
        }
        controls_[c] = e;
        return e;
    };
    auto display = [&](Control c) {
        auto* l = new QLabel(group_);
        l->setObjectName(name(c));
        l->setMinimumWidth(widthForChars(l, 3));
        l->setFrameShape(QFrame::StyledPanel);
        l->setTextFormat(Qt::PlainText);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        controls_[c] = l;
        return l;
    };
    auto button = [&](Control c) {
        auto* b = new QPushButton(withMnemonic(name(c), caption(c)), group_);
        b->setObjectName(name(c));
        b->setAutoDefault(false);
        controls_[c] = b;
        return b;
    };

    auto* box = new QVBoxLayout(group_);

    // Product choices, in the window's order, four to a row.
    auto* choiceGrid = new QGridLayout();
    int index = 0;
    for (const ChoiceInfo& info : choices()) {
        auto* r = new QRadioButton(withMnemonic(QLatin1String(info.control), info.caption), group_);
        r->setObjectName(QLatin1String(info.control));
        radios_[info.choice] = r;
        choiceGrid->addWidget(r, index / 4, index % 4);
        ++index;
        const Choice choice = info.choice;
        // Checked by any means (a click, the arrow keys, a screen reader's toggle): the product switches.
        connect(r, &QRadioButton::toggled, this, [this, choice](bool checked) {
            if (checked) {
                productClicked(choice);
            }
        });
    }
    controls_[C::directContractChoice] = radios_[Choice::DirectContract];
    box->addLayout(choiceGrid);
    auto* line = new QFrame(group_);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    box->addWidget(line);

    // The fields: caption, field(s), button; rows whose controls are all hidden take no room.
    auto* grid = new QGridLayout();
    grid->setColumnStretch(1, 1);
    box->addLayout(grid);
    int row = 0;
    auto hbox = [] {
        auto* h = new QHBoxLayout();
        h->setContentsMargins(0, 0, 0, 0);
        return h;
    };

    {  // company id
        auto* caps = hbox();
        caps->addWidget(label(C::companyIdCaption));
        caps->addWidget(label(C::v5CorporateIdCaption));
        grid->addLayout(caps, row, 0);
        grid->addWidget(edit(C::companyId, FieldLimits::companyId), row, 1);
        ++row;
    }
    {  // debit account
        grid->addWidget(label(C::debitAccountCaption), row, 0);
        auto* fields = hbox();
        fields->addWidget(edit(C::debitAccount, FieldLimits::debitAccount));
        fields->addWidget(button(C::copyDebitAccount));
        fields->addStretch(1);
        grid->addLayout(fields, row, 1);
        ++row;
    }
    {  // credit account with its type and branch
        grid->addWidget(label(C::creditAccountCaption), row, 0);
        auto* fields = hbox();
        fields->addWidget(edit(C::creditAccount, FieldLimits::creditAccount));
        fields->addSpacing(12);
        fields->addWidget(label(C::creditAccountTypeCaption));
        fields->addWidget(display(C::creditAccountType));
        fields->addSpacing(12);
        fields->addWidget(label(C::creditBranchCaption));
        fields->addWidget(display(C::creditBranch));
        fields->addSpacing(12);
        fields->addWidget(button(C::copyCreditAccount));
        fields->addStretch(1);
        grid->addLayout(fields, row, 1);
        ++row;
    }
    {  // fee account: the long one of the credit products, the short one of Direct Debit (100M)
        grid->addWidget(label(C::feeAccountCaption), row, 0);
        auto* fields = hbox();
        fields->addWidget(edit(C::feeAccount, FieldLimits::feeAccount));
        fields->addWidget(edit(C::debitFeeAccount, FieldLimits::debitFeeAccount));
        fields->addSpacing(12);
        fields->addWidget(label(C::feeAccountTypeCaption));
        fields->addWidget(display(C::feeAccountType));
        fields->addSpacing(12);
        fields->addWidget(label(C::feeBranchCaption));
        fields->addWidget(display(C::feeBranch));
        fields->addStretch(1);
        grid->addLayout(fields, row, 1);
        ++row;
    }
    {  // company code of the conversion
        grid->addWidget(label(C::companyCodeCaption), row, 0);
        grid->addWidget(edit(C::companyCode, FieldLimits::companyCode), row, 1);
        ++row;
    }
    {  // source file
        grid->addWidget(label(C::sourceCaption), row, 0);
        QLineEdit* source = edit(C::source, 0);
        source->setAcceptDrops(true);
        source->installEventFilter(this);
        grid->addWidget(source, row, 1);
        grid->addWidget(button(C::browseSource), row, 2);
        ++row;
    }
    {  // the third line: processing round, invoice file or file from V5
        auto* caps = hbox();
        caps->addWidget(label(C::thirdLineCaption));
        caps->addWidget(label(C::secondFileCaption));
        grid->addLayout(caps, row, 0);
        auto* fields = hbox();
        round_ = new QComboBox(group_);
        round_->setObjectName(name(C::processingRound));
        round_->setEditable(true);
        round_->setInsertPolicy(QComboBox::NoInsert);
        for (const ProcessingRoundInfo& r : processingRounds()) {
            round_->addItem(roundShown(std::string(r.caption)));
        }
        round_->setEditText(roundShown(wb_.fields.processingRound));
        round_->setMinimumWidth(widthForChars(round_, 22));
        controls_[C::processingRound] = round_;
        fields->addWidget(round_);
        fields->addWidget(edit(C::secondFile, 0), 1);
        fields->addStretch(0);
        grid->addLayout(fields, row, 1);
        grid->addWidget(button(C::browseSecondFile), row, 2);
        ++row;
    }
    {  // destination file
        grid->addWidget(label(C::destinationCaption), row, 0);
        grid->addWidget(edit(C::destination, 0), row, 1);
        grid->addWidget(button(C::browseDestination), row, 2);
        ++row;
    }
    // The caption column keeps the width of its longest caption, so that the fields stay in place
    // when a layout hides the rows with the long captions.
    grid->setColumnMinimumWidth(0, control(C::destinationCaption)->sizeHint().width());
    {  // print detail
        auto* print = new QCheckBox(withMnemonic(name(C::printDetail), caption(C::printDetail)), group_);
        print->setObjectName(name(C::printDetail));
        controls_[C::printDetail] = print;
        grid->addWidget(print, row, 1);
        ++row;
    }
    {  // hash value
        hashLabel_ = new QLabel(withMnemonic(QStringLiteral("lblHashValue"), "Hash Value"), group_);
        hashLabel_->setObjectName(QStringLiteral("lblHashValue"));
        grid->addWidget(hashLabel_, row, 0);
        QLineEdit* hash = edit(C::hashValue, 0);
        hash->setReadOnly(true);
        hash->setFrame(false);
        hash->setFocusPolicy(Qt::ClickFocus);
        hash->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
        grid->addWidget(hash, row, 1, 1, 2);
        ++row;
    }

    // The command buttons share one place: each layout shows its own.
    auto* buttons = hbox();
    for (const C c :
         {C::reformat, C::generateHash, C::coverLetter, C::compareReturnFile, C::chooseComparisonFile,
          C::convertTo100M, C::tierRateReport, C::convertContract, C::mediaDetailReport, C::clearForm}) {
        buttons->addWidget(button(c));
    }
    buttons->addStretch(1);
    QLabel* contract = label(C::convertContractCaption);
    buttons->addWidget(contract);
    auto* version = new QLabel(tr("Version : %1").arg(QString::fromUtf8(kVersion)), group_);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAccessibleName(version->text());
    buttons->addWidget(version);
    box->addSpacing(6);
    box->addLayout(buttons);
    box->addStretch(1);

    // Buddies, so that a caption's mnemonic reaches its field.
    auto buddy = [this](C l, C field) { static_cast<QLabel*>(control(l))->setBuddy(control(field)); };
    buddy(C::companyIdCaption, C::companyId);
    buddy(C::v5CorporateIdCaption, C::companyId);
    buddy(C::debitAccountCaption, C::debitAccount);
    buddy(C::creditAccountCaption, C::creditAccount);
    buddy(C::companyCodeCaption, C::companyCode);
    buddy(C::sourceCaption, C::source);
    buddy(C::secondFileCaption, C::secondFile);
    buddy(C::destinationCaption, C::destination);
    hashLabel_->setBuddy(control(C::hashValue));

    // Tab order in reading order.
    std::vector<QWidget*> order;
    for (const ChoiceInfo& info : choices()) {
        order.push_back(radios_[info.choice]);
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

    // The small handlers of this window.
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
    connect(round_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!syncing_) {
            const std::string typed = roundTyped(text);
            runCommand([typed](Workbench& w) { w.processingRoundChanged(typed); });
        }
    });
    // The product commands.
    for (const WorkbenchCommand& command : workbenchCommands()) {
        auto* b = qobject_cast<QAbstractButton*>(control(command.button));
        if (b != nullptr) {
            const auto handler = command.run;
            const QString name = QLatin1String(controlName(command.button));
            const bool writesDestination = command.writesDestination;
            connect(b, &QAbstractButton::clicked, this, [this, name, handler, writesDestination] {
                ui_.setDialogContext(name, productKey());
                // A typed name is asked about as the Save dialog asks: an unrelated file is not replaced
                // unasked.
                if (writesDestination && !busy_ &&
                    !ui_.mayReplace(static_cast<QLineEdit*>(control(C::destination))->text())) {
                    return;
                }
                runCommand(handler, true);
            });
        }
    }
    setToolTips();
}

void WorkbenchWindow::setToolTips() {
    auto tip = [this](C c, const QString& text) { control(c)->setToolTip(text); };
    tip(C::companyId, tr("Company ID as registered with the bank: up to 12 characters, no \"/\" or \"\\\""));
    const QString account =
        tr("Home-bank account: 10 digits with check digit; the first 3 digits are the "
           "branch, the 4th the account type");
    tip(C::debitAccount, account);
    tip(C::feeAccount, account);
    tip(C::creditAccount, tr("Credit account: 10 digits; the first 3 are the branch, the 4th the type"));
    tip(C::debitFeeAccount, tr("Debit fee account: 10 digits; the first 3 are the branch, the 4th the type"));
    tip(C::companyCode, tr("Company code: up to 6 characters"));
    tip(C::source, tr("The payment text file to read (a file can be dropped here)"));
    tip(C::processingRound, tr("Immediately (00), End of Day (01) or Start of Day (02)"));
    tip(C::secondFile, tr("Invoice file (Manager Cheque) or the return file from V5"));
    tip(C::destination, tr("The file to write; its folder also receives the error listings and the archive"));
    tip(C::hashValue, tr("The hash line's 40 hexadecimal digits"));
    tip(C::printDetail, tr("Show the detail report, line by line, instead of the result report"));
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
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !busy_) {
        for (const C c : kDefaultCommands) {
            auto* b = static_cast<QAbstractButton*>(control(c));
            if (b->isVisibleTo(this) && b->isEnabled()) {
                b->click();
                event->accept();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
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
    showCancel(CancelState::Running);
    cancel_->show();
    cancel_->setFocus();
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
            result_->showCancelled();
        } else if (failed || !wb_.lastResult) {
            result_->clear();
        } else {
            result_->showResult(*wb_.lastResult, wb_.lastRun, [this] { return wb_.rejectedEntries(); });
        }
        fitSplit();
        // The bar shows a run while it goes; after it, the panel tells how it ended.
        wb_.setProgress(0);
    }
    rememberOutputs(destinationBefore_, longRunning);
    if (longRunning) {
        showCancel(CancelState::Idle);
        cancel_->hide();
        emit busyChanged(false);
        group_->setEnabled(true);
        // After a refusal the person is taken to the field it was about.
        if (const std::optional<Control> refused = wb_.refusedControl();
            refused && control(*refused)->isVisible()) {
            focused_ = control(*refused);
        }
        if (focused_ != nullptr && focused_->isVisible()) {
            focused_->setFocus();
            if (auto* edit = qobject_cast<QLineEdit*>(focused_)) {
                edit->selectAll();
            }
        }
    }
    busy_ = false;
    syncFromCore();
}

void WorkbenchWindow::cancelRun() {
    if (!worker_.joinable() || !busy_) {
        return;
    }
    // Once the run puts its outputs in place it finishes: the request would not be honoured.
    if (workerUi_.committed()) {
        showCancel(CancelState::Finishing);
        return;
    }
    worker_.request_stop();
    showCancel(CancelState::Cancelling);
}

void WorkbenchWindow::showCancel(CancelState state) {
    switch (state) {
        case CancelState::Idle:
        case CancelState::Running:
            cancel_->setText(tr("Cancel"));
            cancel_->setToolTip(tr("Stop the running command (Esc); nothing it has not finished is written"));
            break;
        case CancelState::Cancelling:
            cancel_->setText(tr("Cancelling..."));
            cancel_->setToolTip(tr("The command stops at its next step; nothing is written"));
            break;
        case CancelState::Finishing:
            cancel_->setText(tr("Finishing..."));
            cancel_->setToolTip(
                tr("The command is putting its files in place and can no longer be cancelled"));
            break;
    }
    cancel_->setEnabled(state == CancelState::Running);
    cancel_->setAccessibleName(cancel_->text());
    cancel_->setAccessibleDescription(cancel_->toolTip());
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
    result_->clear();
    fitSplit();
}

void WorkbenchWindow::fitSplit() {
    const int total = split_->height();
    if (total <= 0) {
        return;
    }
    // The panel takes what it asks for up to half the height; the form the rest, scrolling if short.
    QWidget* below = split_->widget(1);
    below->layout()->activate();
    const int wanted = below->sizeHint().height();
    const int belowHeight = std::max(below->minimumSizeHint().height(), std::min(wanted, total / 2));
    split_->setSizes({total - belowHeight, belowHeight});
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
    WorkbenchFields& f = wb_.fields;
    auto text = [this](C c) { return static_cast<QLineEdit*>(control(c))->text().toStdString(); };
    f.companyId = text(C::companyId);
    f.companyCode = text(C::companyCode);
    f.debitAccount = text(C::debitAccount);
    f.feeAccount = text(C::feeAccount);
    f.creditAccount = text(C::creditAccount);
    f.debitFeeAccount = text(C::debitFeeAccount);
    f.sourcePath = text(C::source);
    f.secondFilePath = text(C::secondFile);
    f.destinationPath = text(C::destination);
    f.hashValue = text(C::hashValue);
    f.processingRound = roundTyped(round_->currentText());
    f.printDetail = static_cast<QCheckBox*>(control(C::printDetail))->isChecked();
}

void WorkbenchWindow::setCaption(Control c, const std::string& caption) {
    const QString shown = withMnemonic(QString::fromLatin1(controlName(c)), caption);
    if (auto* l = qobject_cast<QLabel*>(control(c))) {
        if (l->text() != shown) {
            l->setText(shown);
        }
    } else if (auto* b = qobject_cast<QAbstractButton*>(control(c))) {
        if (b->text() != shown) {
            b->setText(shown);
        }
    }
}

void WorkbenchWindow::syncFromCore() {
    syncing_ = true;
    const WorkbenchFields& f = wb_.fields;
    auto setText = [this](C c, const std::string& value) {
        const QString text = QString::fromStdString(value);
        if (auto* e = qobject_cast<QLineEdit*>(control(c))) {
            if (e->text() != text) {
                e->setText(text);
            }
        } else if (auto* l = qobject_cast<QLabel*>(control(c))) {
            l->setText(text);
        }
    };
    setText(C::companyId, f.companyId);
    setText(C::companyCode, f.companyCode);
    setText(C::debitAccount, f.debitAccount);
    setText(C::feeAccount, f.feeAccount);
    setText(C::creditAccount, f.creditAccount);
    setText(C::debitFeeAccount, f.debitFeeAccount);
    setText(C::creditAccountType, f.creditAccountType);
    setText(C::creditBranch, f.creditBranch);
    setText(C::feeAccountType, f.feeAccountType);
    setText(C::feeBranch, f.feeBranch);
    setText(C::source, f.sourcePath);
    setText(C::secondFile, f.secondFilePath);
    setText(C::destination, f.destinationPath);
    setText(C::hashValue, f.hashValue);
    const QString round = roundShown(f.processingRound);
    if (round_->currentText() != round) {
        round_->setEditText(round);
    }
    static_cast<QCheckBox*>(control(C::printDetail))->setChecked(f.printDetail);
    progress_->setValue(f.progress);

    for (const auto& [c, view] : wb_.controls) {
        QWidget* w = control(c);
        if (w == nullptr) {
            continue;
        }
        if (!view.caption.empty()) {
            setCaption(c, view.caption);
        }
        if (w->isVisibleTo(this) != view.visible) {
            w->setVisible(view.visible);
        }
    }
    // One radio button checked at most; none when no product is selected.
    for (const auto& [choice, r] : radios_) {
        r->setEnabled(wb_.isEnabled(choice));
        r->setAutoExclusive(false);
        r->setChecked(choice == wb_.selected());
        r->setAutoExclusive(true);
    }
    updateAccessibleNames();
    syncing_ = false;
}

void WorkbenchWindow::updateAccessibleNames() {
    auto stripped = [](const QString& text) {
        QString s = text;
        s.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
        s.remove(QLatin1Char('&'));
        s.replace(QStringLiteral("\x01"), QStringLiteral("&"));
        return s;
    };
    // Captions, buttons and choices: their text as shown.
    for ([[maybe_unused]] const auto& [c, w] : controls_) {
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            b->setAccessibleName(stripped(b->text()));
        }
    }
    for (const auto& [choice, r] : radios_) {
        r->setAccessibleName(stripped(r->text()));
    }
    auto captionOf = [this, stripped](C l) { return stripped(static_cast<QLabel*>(control(l))->text()); };
    auto visibleTo = [this](C c) { return control(c)->isVisibleTo(this); };
    for (const C l :
         {C::companyIdCaption, C::v5CorporateIdCaption, C::debitAccountCaption, C::feeAccountCaption,
          C::creditAccountCaption, C::creditAccountTypeCaption, C::creditBranchCaption,
          C::feeAccountTypeCaption, C::feeBranchCaption, C::thirdLineCaption, C::sourceCaption,
          C::secondFileCaption, C::destinationCaption, C::companyCodeCaption, C::convertContractCaption}) {
        control(l)->setAccessibleName(captionOf(l));
    }
    hashLabel_->setAccessibleName(stripped(hashLabel_->text()));

    // A field is named by the caption shown beside it.
    auto name = [this](C field, const QString& text) { control(field)->setAccessibleName(text); };
    auto label = [this](C l) { return static_cast<QLabel*>(control(l)); };
    const C comIdCaption = !visibleTo(C::companyIdCaption) && visibleTo(C::v5CorporateIdCaption)
                               ? C::v5CorporateIdCaption
                               : C::companyIdCaption;
    label(C::companyIdCaption)
        ->setBuddy(comIdCaption == C::companyIdCaption ? control(C::companyId) : nullptr);
    label(C::v5CorporateIdCaption)
        ->setBuddy(comIdCaption == C::v5CorporateIdCaption ? control(C::companyId) : nullptr);
    name(C::companyId, captionOf(comIdCaption));
    name(C::debitAccount, captionOf(C::debitAccountCaption));
    name(C::feeAccount, captionOf(C::feeAccountCaption));
    name(C::debitFeeAccount, captionOf(C::feeAccountCaption));
    label(C::feeAccountCaption)
        ->setBuddy(visibleTo(C::debitFeeAccount) ? control(C::debitFeeAccount) : control(C::feeAccount));
    name(C::creditAccount, captionOf(C::creditAccountCaption));
    name(C::creditAccountType, captionOf(C::creditAccountTypeCaption));
    name(C::creditBranch, captionOf(C::creditBranchCaption));
    name(C::feeAccountType, captionOf(C::feeAccountTypeCaption));
    name(C::feeBranch, captionOf(C::feeBranchCaption));
    name(C::companyCode, captionOf(C::companyCodeCaption));
    name(C::source, captionOf(C::sourceCaption));
    name(C::destination, captionOf(C::destinationCaption));
    name(C::hashValue, stripped(hashLabel_->text()));
    // The third line's caption names the round list, or the file from V5 when the list is hidden.
    name(C::processingRound, captionOf(C::thirdLineCaption));
    const bool thirdLineNamesInvoice = visibleTo(C::thirdLineCaption) && !visibleTo(C::processingRound);
    const C invoiceCaption = thirdLineNamesInvoice ? C::thirdLineCaption : C::secondFileCaption;
    label(C::thirdLineCaption)
        ->setBuddy(thirdLineNamesInvoice ? control(C::secondFile) : control(C::processingRound));
    label(C::secondFileCaption)->setBuddy(thirdLineNamesInvoice ? nullptr : control(C::secondFile));
    name(C::secondFile, captionOf(invoiceCaption));
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
