#include "gui/sheet/SheetMappingDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "base/Events.h"
#include "gui/window/QtUi.h"

namespace qrv::gui {

// Lines of messages shown; a sheet of many bad rows says how many more there are.
constexpr int kShownMessages = 1200;
// The choices before the columns in a field's list.
constexpr int kNotMapped = 0;
constexpr int kFixedValue = 1;
constexpr int kFirstColumn = 2;
// A change of the choices is checked once the person pauses.
constexpr int kRecheckMs = 400;

// One check or build on the dialog's thread: what the operation tells is kept for the window, progress
// is handed to it as it comes.
struct SheetRun final : Events {
    SheetRun(QObject* dialog, QProgressBar* progress, BuildSourceRequest request)
        : request(std::move(request)), dialog_(dialog), progress_(progress) {}
    // On the run's thread, before the run.
    void setStop(std::stop_token stop) { stop_ = std::move(stop); }

    void showMessage(MessageKind /*kind*/, const std::string& text) override { messages.push_back(text); }
    bool askConfirmation(const std::string& /*text*/) override { return false; }
    void setProgress(int percent) override {
        QProgressBar* bar = progress_;
        QMetaObject::invokeMethod(
            dialog_,
            [bar, percent] {
                bar->setRange(0, 100);
                bar->setValue(percent);
            },
            Qt::QueuedConnection);
    }
    void showReport(const ShownReport& /*report*/) override {}
    bool cancelRequested() const override { return stop_.stop_requested(); }

    const BuildSourceRequest request;
    std::vector<std::string> messages;
    BuildSourceResult result;
    std::exception_ptr error;

  private:
    QObject* dialog_;
    QProgressBar* progress_;
    std::stop_token stop_;
};

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString nativeText(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(text(path.string()));
}

}  // namespace

SheetMappingDialog::SheetMappingDialog(SheetMappingForm& form, QtUi& ui, QWidget* parent)
    : QDialog(parent), form_(form), ui_(ui), offered_(form.mapping()) {
    setObjectName(QStringLiteral("SheetMappingDialog"));
    setWindowTitle(tr("Source file from a spreadsheet"));
    about_ = new QLabel(this);
    about_->setWordWrap(true);
    about_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    preview_ = new QTableWidget(this);
    preview_->setObjectName(QStringLiteral("sheetPreview"));
    preview_->setAccessibleName(tr("The sheet's first rows"));
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->setSelectionBehavior(QAbstractItemView::SelectRows);
    header_ = new QComboBox(this);
    header_->setObjectName(QStringLiteral("headerRow"));
    header_->setAccessibleName(tr("Header row"));
    dates_ = new QComboBox(this);
    dates_->setObjectName(QStringLiteral("dateOrder"));
    dates_->setAccessibleName(tr("Dates"));
    dates_->addItem(tr("Day, month, year"), QStringLiteral("DMY"));
    dates_->addItem(tr("Month, day, year"), QStringLiteral("MDY"));
    dates_->addItem(tr("Year, month, day"), QStringLiteral("YMD"));
    years_ = new QComboBox(this);
    years_->setObjectName(QStringLiteral("yearEra"));
    years_->setAccessibleName(tr("Years"));
    years_->addItem(tr("Common Era (2026)"), QStringLiteral("CE"));
    years_->addItem(tr("Buddhist Era (2569)"), QStringLiteral("BE"));
    hidden_ = new QComboBox(this);
    hidden_->setObjectName(QStringLiteral("hiddenRows"));
    hidden_->setAccessibleName(tr("Hidden rows"));
    hidden_->addItem(tr("Stop and name them"), static_cast<int>(HiddenRows::Stop));
    hidden_->addItem(tr("Leave them out"), static_cast<int>(HiddenRows::Skip));
    hidden_->addItem(tr("Include them"), static_cast<int>(HiddenRows::Include));
    skip_ = new QCheckBox(tr("Leave out the rows that cannot be placed"), this);
    skip_->setObjectName(QStringLiteral("skipBadRows"));
    leaveOut_ = new QPushButton(tr("&Leave out the selected rows"), this);
    leaveOut_->setObjectName(QStringLiteral("leaveOutRows"));
    leftOutLabel_ = new QLabel(this);
    leftOutLabel_->setObjectName(QStringLiteral("leftOutRows"));
    leftOutLabel_->setWordWrap(true);
    messages_ = new QListWidget(this);
    messages_->setObjectName(QStringLiteral("sheetMessages"));
    messages_->setAccessibleName(tr("Rows that cannot be placed, and what the check found"));
    progress_ = new QProgressBar(this);
    progress_->hide();
    check_ = new QPushButton(tr("&Check rows"), this);
    ok_ = new QPushButton(tr("OK"), this);
    ok_->setDefault(true);
    cancel_ = new QPushButton(tr("Cancel"), this);
    recheck_ = new QTimer(this);
    recheck_->setSingleShot(true);
    recheck_->setInterval(kRecheckMs);
    connect(recheck_, &QTimer::timeout, this, [this] { start(true); });
    connect(check_, &QPushButton::clicked, this, [this] { start(true); });
    connect(ok_, &QPushButton::clicked, this, &SheetMappingDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &SheetMappingDialog::reject);
    connect(leaveOut_, &QPushButton::clicked, this, &SheetMappingDialog::toggleLeftOut);

    showPreview();
    buildForm();
    showChoices();
    fitToScreen();
    if (form_.form() != nullptr && !form_.rows().empty()) {
        changed();  // what is still to choose, or the rows that cannot be placed, before anything is written
        start(true);
    }
}

SheetMappingDialog::~SheetMappingDialog() {
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
}

// At most the screen's available area, so that OK, Cancel and Check rows stay on it at any scale.
void SheetMappingDialog::fitToScreen() {
    QSize size(1100, 720);
    if (const QScreen* screen =
            parentWidget() != nullptr ? parentWidget()->screen() : QApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size() * 0.95;
        size = size.boundedTo(room);
    }
    resize(size);
}

void SheetMappingDialog::showPreview() {
    QString about = tr("Sheet: %1").arg(nativeText(form_.sheet()));
    if (!form_.description().empty()) {
        about += QStringLiteral(" (%1)").arg(text(form_.description()));
    }
    about += QLatin1Char('\n') + tr("Source file to build: %1").arg(nativeText(form_.destination()));
    about_->setText(about);
    const std::vector<SheetRow>& rows = form_.rows();
    preview_->clear();
    preview_->setRowCount(static_cast<int>(rows.size()));
    preview_->setColumnCount(form_.columnCount());
    QStringList letters;
    for (int c = 0; c < form_.columnCount(); ++c) {
        letters << text(columnLetters(c));
    }
    preview_->setHorizontalHeaderLabels(letters);
    QStringList numbers;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const SheetRow& row = rows[static_cast<size_t>(r)];
        const bool leftOut = std::count(form_.leaveOut.begin(), form_.leaveOut.end(), row.number) > 0;
        numbers << (row.hidden               ? tr("%1 (hidden)").arg(row.number)
                    : leftOut                ? tr("%1 (left out)").arg(row.number)
                    : r == form_.headerRow() ? tr("%1 (header)").arg(row.number)
                                             : QString::number(row.number));
        for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
            const SheetCell& cell = row.cells[static_cast<size_t>(c)];
            auto* item = new QTableWidgetItem(text(cell.text));
            if (cell.kind == SheetCell::Kind::Number) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (row.hidden || leftOut) {
                item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
            }
            if (r == form_.headerRow()) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            preview_->setItem(r, c, item);
        }
    }
    preview_->setVerticalHeaderLabels(numbers);
    preview_->resizeColumnsToContents();
    QStringList left;
    for (const std::int64_t n : form_.leaveOut) {
        left << QString::number(n);
    }
    leftOutLabel_->setText(left.isEmpty() ? tr("No row is left out.")
                                          : tr("Rows left out: %1").arg(left.join(", ")));
}

QWidget* SheetMappingDialog::fieldsPane() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->addRow(tr("&Header row"), header_);
    for (int r = 0; r < static_cast<int>(form_.rows().size()); ++r) {
        const SheetRow& row = form_.rows()[static_cast<size_t>(r)];
        QStringList cells;
        for (const SheetCell& cell : row.cells) {
            if (!cell.empty() && cells.size() < 3) {
                cells << text(cell.text).simplified();
            }
        }
        header_->addItem(tr("Row %1: %2").arg(row.number).arg(cells.join(QStringLiteral(", "))));
    }
    connect(header_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_) {
            form_.setHeaderRow(index);
            fillColumnLists();
            showPreview();
            changed();
        }
    });
    for (size_t i = 0; i < form_.fields().size(); ++i) {
        const MappedField& field = form_.fields()[i];
        auto* choice = new QComboBox(box);
        choice->setObjectName(text("column " + field.name));
        choice->setAccessibleName(text(field.name));
        choice->setEditable(true);
        choice->setInsertPolicy(QComboBox::NoInsert);
        auto* value = new QLineEdit(box);
        value->setObjectName(text("value " + field.name));
        value->setAccessibleName(tr("%1, fixed value").arg(text(field.name)));
        auto* line = new QHBoxLayout;
        line->addWidget(choice, 3);
        line->addWidget(value, 2);
        auto* label = new QLabel(text(field.name + (field.required ? " *" : "")), box);
        label->setBuddy(choice);
        form->addRow(label, line);
        const FieldRow row{i, choice, value};
        fields_.push_back(row);
        connect(choice, &QComboBox::currentIndexChanged, this, [this, row] { takeChoice(row); });
        connect(choice->lineEdit(), &QLineEdit::editingFinished, this, [this, row] { takeTyped(row); });
        connect(value, &QLineEdit::textEdited, this, [this, row] { takeChoice(row); });
    }
    form->addRow(tr("Dates"), dates_);
    form->addRow(tr("Years"), years_);
    form->addRow(tr("Hidden rows"), hidden_);
    form->addRow(skip_);
    form->addRow(leaveOut_);
    form->addRow(leftOutLabel_);
    for (QComboBox* list : {dates_, years_, hidden_}) {
        connect(list, &QComboBox::currentIndexChanged, this, [this] {
            if (!showing_) {
                form_.reading.dates = static_cast<DateOrder>(dates_->currentIndex());
                form_.reading.years = years_->currentIndex() == 0 ? YearEra::CE : YearEra::BE;
                form_.hiddenRows = static_cast<HiddenRows>(hidden_->currentData().toInt());
                changed();
            }
        });
    }
    connect(skip_, &QCheckBox::toggled, this, [this](bool on) {
        form_.skipBadRows = on;
        changed();
    });
    return box;
}

void SheetMappingDialog::buildForm() {
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(fieldsPane());
    scroll->setWidgetResizable(true);
    auto* split = new QSplitter(this);
    split->addWidget(preview_);
    split->addWidget(scroll);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(progress_, 1);
    buttons->addStretch();
    buttons->addWidget(check_);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about_);
    layout->addWidget(split, 3);
    auto* listLabel = new QLabel(tr("Rows that cannot be placed, and what the check found:"), this);
    listLabel->setBuddy(messages_);
    layout->addWidget(listLabel);
    layout->addWidget(messages_, 1);
    layout->addLayout(buttons);
    if (form_.form() == nullptr) {
        messages_->addItem(
            tr("No source file of product \"%1\" is built from a sheet").arg(text(form_.product())));
    } else if (!form_.readFault().empty()) {
        messages_->addItem(text(form_.readFault()));
    }
}

void SheetMappingDialog::fillColumnLists() {
    const bool was = showing_;
    showing_ = true;
    for (const FieldRow& row : fields_) {
        const MappedField& field = form_.fields()[row.index];
        row.choice->clear();
        row.choice->addItem(field.preset.empty() ? tr("(not mapped)")
                                                 : tr("(always %1)").arg(text(std::string(field.preset))));
        row.choice->addItem(tr("Fixed value:"));
        for (int c = 0; c < form_.columnCount(); ++c) {
            row.choice->addItem(text(form_.columnLabel(c)));
        }
        const FieldChoice& choice = form_.choice(row.index);
        row.choice->setCurrentIndex(choice.kind == FieldChoice::Kind::Fixed    ? kFixedValue
                                    : choice.kind == FieldChoice::Kind::Column ? kFirstColumn + choice.column
                                                                               : kNotMapped);
        row.value->setText(text(choice.value));
        row.value->setEnabled(choice.kind == FieldChoice::Kind::Fixed);
    }
    showing_ = was;
}

void SheetMappingDialog::showChoices() {
    showing_ = true;
    header_->setCurrentIndex(form_.headerRow());
    fillColumnLists();
    dates_->setCurrentIndex(static_cast<int>(form_.reading.dates));
    years_->setCurrentIndex(form_.reading.years == YearEra::CE ? 0 : 1);
    hidden_->setCurrentIndex(hidden_->findData(static_cast<int>(form_.hiddenRows)));
    skip_->setChecked(form_.skipBadRows);
    showing_ = false;
}

void SheetMappingDialog::takeChoice(const FieldRow& row) {
    if (showing_) {
        return;
    }
    const int index = row.choice->currentIndex();
    FieldChoice choice;
    if (index == kFixedValue) {
        choice = {FieldChoice::Kind::Fixed, row.value->text().toStdString(), -1};
    } else if (index >= kFirstColumn) {
        choice = {FieldChoice::Kind::Column, {}, index - kFirstColumn};
    }
    row.value->setEnabled(index == kFixedValue);
    if (choice != form_.choice(row.index)) {
        form_.setChoice(row.index, choice);
        changed();
    }
}

// A typed column: its label, header text or letter; what names no column is said and the choice kept.
void SheetMappingDialog::takeTyped(const FieldRow& row) {
    const QString typed = row.choice->currentText();
    const int exact = row.choice->findText(typed, Qt::MatchFixedString);
    if (exact >= 0) {
        row.choice->setCurrentIndex(exact);
    } else if (const auto column = form_.columnTyped(typed.toStdString())) {
        row.choice->setCurrentIndex(kFirstColumn + *column);
    } else {
        fillColumnLists();
        messages_->insertItem(0, tr("No column of the header row is \"%1\" (for %2)")
                                     .arg(typed, text(form_.fields()[row.index].name)));
        return;
    }
    takeChoice(row);
}

void SheetMappingDialog::toggleLeftOut() {
    for (const QModelIndex& index : preview_->selectionModel()->selectedRows()) {
        const std::int64_t number = form_.rows()[static_cast<size_t>(index.row())].number;
        const auto at = std::find(form_.leaveOut.begin(), form_.leaveOut.end(), number);
        if (at == form_.leaveOut.end()) {
            form_.leaveOut.push_back(number);
        } else {
            form_.leaveOut.erase(at);
        }
    }
    std::sort(form_.leaveOut.begin(), form_.leaveOut.end());
    showPreview();
    changed();
}

// The choices changed: their reasons at once, the rows that cannot be placed once the person pauses.
void SheetMappingDialog::changed() {
    const std::vector<std::string> reasons = form_.reasons();
    if (!reasons.empty()) {
        recheck_->stop();
        messages_->clear();
        for (const std::string& reason : reasons) {
            messages_->addItem(text(reason));
        }
        return;
    }
    recheck_->start();
}

bool SheetMappingDialog::chooseDestination() {
    if (!std::filesystem::exists(form_.destination()) || ui_.mayReplace(nativeText(form_.destination()))) {
        return true;
    }
    // Kept: another name, or none and the dialog stays.
    const std::optional<std::string> other =
        ui_.chooseSaveFile("Text File|*.txt|All File|*.*", form_.destination().string());
    if (!other) {
        return false;
    }
    form_.setDestination(std::filesystem::path(*other));
    showPreview();
    return true;
}

void SheetMappingDialog::accept() {
    if (running() || form_.form() == nullptr) {
        return;
    }
    if (const std::vector<std::string> reasons = form_.reasons(); !reasons.empty()) {
        ui_.showMessage(MessageKind::Warning, reasons.front());
        return;
    }
    if (chooseDestination()) {
        start(false);
    }
}

void SheetMappingDialog::reject() {
    if (running()) {
        worker_.request_stop();  // the run ends with nothing written; the dialog stays
        return;
    }
    if (!(form_.mapping() == offered_) && !form_.built() &&
        !ui_.askDefaultNo(tr("Close without building the source file, and lose the mapping made here?"))) {
        return;
    }
    QDialog::reject();
}

void SheetMappingDialog::start(bool dryRun) {
    recheck_->stop();
    if (running() || form_.form() == nullptr || !form_.reasons().empty()) {
        return;
    }
    setRunning(true);
    auto run = std::make_shared<SheetRun>(this, progress_, form_.request(dryRun));
    worker_ = std::jthread([this, run](const std::stop_token& stop) {
        run->setStop(stop);
        try {
            run->result = form_.run(run->request, *run);
        } catch (...) {
            run->error = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, run] { finish(run); }, Qt::QueuedConnection);
    });
}

void SheetMappingDialog::finish(const std::shared_ptr<SheetRun>& run) {
    if (worker_.joinable()) {
        worker_.join();  // at once: delivering this was the worker's last act
    }
    setRunning(false);
    messages_->clear();
    std::vector<std::string> told = run->messages;
    const std::string summary = SheetMappingForm::summary(run->request, run->result);
    if (!summary.empty() && !told.empty()) {
        told.back() = summary;  // the amounts grouped in thousands, as the window shows amounts
    }
    for (size_t i = 0; i < told.size() && i < static_cast<size_t>(kShownMessages); ++i) {
        messages_->addItem(text(told[i]));
    }
    if (told.size() > static_cast<size_t>(kShownMessages)) {
        messages_->addItem(tr("... and %1 more").arg(told.size() - static_cast<size_t>(kShownMessages)));
    }
    if (run->error) {
        try {
            std::rethrow_exception(run->error);
        } catch (const std::exception& e) {
            messages_->addItem(text(e.what()));
        }
    } else {
        try {
            form_.finished(run->request, run->result);
        } catch (const std::exception& e) {
            ui_.showMessage(MessageKind::Error,
                            e.what());  // the mapping could not be kept; the file is built
        }
    }
    if (messages_->count() > 0) {
        messages_->scrollToBottom();
    }
    emit runFinished();
    if (run->request.dryRun) {
        return;
    }
    if (form_.built()) {
        builtMessage_ = summary;
        QDialog::accept();
    } else if (!run->error && !told.empty()) {
        // OK that built nothing says why where it cannot be missed; the list keeps every row.
        ui_.showMessage(MessageKind::Warning, told.back());
        messages_->setFocus();
    }
}

void SheetMappingDialog::setRunning(bool running) {
    progress_->setVisible(running);
    progress_->setRange(0, 0);  // busy until the run tells its progress
    progress_->setValue(0);
    check_->setEnabled(!running);
    ok_->setEnabled(!running);
}

QComboBox* SheetMappingDialog::fieldChoice(const QString& field) const {
    for (const FieldRow& row : fields_) {
        if (text(form_.fields()[row.index].name) == field) {
            return row.choice;
        }
    }
    return nullptr;
}

QLineEdit* SheetMappingDialog::fieldValue(const QString& field) const {
    for (const FieldRow& row : fields_) {
        if (text(form_.fields()[row.index].name) == field) {
            return row.value;
        }
    }
    return nullptr;
}

}  // namespace qrv::gui
