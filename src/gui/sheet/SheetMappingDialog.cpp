#include "gui/sheet/SheetMappingDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "base/Events.h"
#include "convert/Services.h"
#include "convert/source/BuildSource.h"
#include "convert/source/SavedMapping.h"
#include "gui/window/QtUi.h"
#include "sheet/Sheet.h"
#include "sheet/SheetMapping.h"
#include "workbench/ProductChoice.h"
#include "workbench/Workbench.h"

namespace qrv::gui {

// The rows shown: the header row and about twenty under it.
constexpr int kPreviewRows = 21;
// Lines of messages shown; a sheet of many bad rows says how many more there are.
constexpr int kShownMessages = 1200;
// The choices before the columns in a field's list.
constexpr int kNotMapped = 0;
constexpr int kFixedValue = 1;
constexpr int kFirstColumn = 2;

// One check or build on the dialog's thread: what the operation tells is kept for the window, progress
// is handed to it as it comes.
struct SheetRun final : Events {
    SheetRun(QObject* dialog, QProgressBar* progress) : dialog_(dialog), progress_(progress) {}
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

std::filesystem::path besideAsText(const std::filesystem::path& sheet) {
    std::filesystem::path out = sheet;
    return out.replace_extension(".txt");
}

std::vector<std::string> fieldNames(const SourceForm& form) {
    std::vector<std::string> names;
    for (const MappedField& f : mappedFields(form)) {
        names.push_back(f.name);
    }
    return names;
}

}  // namespace

SheetMappingDialog::SheetMappingDialog(std::filesystem::path sheet, Workbench& workbench, QtUi& ui,
                                       QWidget* parent)
    : QDialog(parent),
      sheet_(std::move(sheet)),
      destination_(besideAsText(sheet_)),
      workbench_(workbench),
      ui_(ui),
      product_(productCodeOf(workbench.selected())),
      companyId_(workbench.fields.companyId),
      form_(sourceFormFor(product_)) {
    setObjectName(QStringLiteral("SheetMappingDialog"));
    setWindowTitle(tr("Source file from a spreadsheet"));
    about_ = new QLabel(this);
    about_->setWordWrap(true);
    about_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    preview_ = new QTableWidget(this);
    preview_->setObjectName(QStringLiteral("sheetPreview"));
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dates_ = new QComboBox(this);
    dates_->setObjectName(QStringLiteral("dateOrder"));
    dates_->addItem(tr("Day, month, year"), QStringLiteral("DMY"));
    dates_->addItem(tr("Month, day, year"), QStringLiteral("MDY"));
    dates_->addItem(tr("Year, month, day"), QStringLiteral("YMD"));
    years_ = new QComboBox(this);
    years_->setObjectName(QStringLiteral("yearEra"));
    years_->addItem(tr("Common Era (2026)"), QStringLiteral("CE"));
    years_->addItem(tr("Buddhist Era (2569)"), QStringLiteral("BE"));
    messages_ = new QListWidget(this);
    messages_->setObjectName(QStringLiteral("sheetMessages"));
    progress_ = new QProgressBar(this);
    progress_->hide();
    check_ = new QPushButton(tr("&Check rows"), this);
    ok_ = new QPushButton(tr("OK"), this);
    ok_->setDefault(true);
    cancel_ = new QPushButton(tr("Cancel"), this);
    connect(check_, &QPushButton::clicked, this, [this] { start(true); });
    connect(ok_, &QPushButton::clicked, this, &SheetMappingDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &SheetMappingDialog::reject);

    readSheet();
    buildForm();
    offerMapping();
    resize(1100, 720);
    if (form_ != nullptr && !rows_.empty()) {
        start(true);  // the rows that cannot be placed are shown before anything is written
    }
}

SheetMappingDialog::~SheetMappingDialog() {
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
}

void SheetMappingDialog::readSheet() {
    QString about = tr("Sheet: %1").arg(QDir::toNativeSeparators(text(sheet_.string())));
    try {
        SheetStart start = readSheetStart(sheet_, {}, kPreviewRows);
        rows_ = std::move(start.rows);
        about += QStringLiteral(" (%1)").arg(text(start.description));
    } catch (const SheetError& e) {
        messages_->addItem(text(e.what()));
    }
    about += QLatin1Char('\n') +
             tr("Source file to build: %1").arg(QDir::toNativeSeparators(text(destination_.string())));
    about_->setText(about);
    for (const SheetRow& row : rows_) {
        columnCount_ = std::max(columnCount_, static_cast<int>(row.cells.size()));
    }
    preview_->setRowCount(static_cast<int>(rows_.size()));
    preview_->setColumnCount(columnCount_);
    QStringList letters;
    for (int c = 0; c < columnCount_; ++c) {
        letters << text(columnLetters(c));
    }
    preview_->setHorizontalHeaderLabels(letters);
    QStringList numbers;
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const SheetRow& row = rows_[static_cast<size_t>(r)];
        numbers << QString::number(row.number);
        for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
            const SheetCell& cell = row.cells[static_cast<size_t>(c)];
            auto* item = new QTableWidgetItem(text(cell.text));
            if (cell.kind == SheetCell::Kind::Number) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            preview_->setItem(r, c, item);
        }
    }
    preview_->setVerticalHeaderLabels(numbers);
    preview_->resizeColumnsToContents();
}

void SheetMappingDialog::buildForm() {
    auto* fieldsBox = new QWidget(this);
    auto* fieldsForm = new QFormLayout(fieldsBox);
    if (form_ == nullptr) {
        messages_->addItem(tr("No source file of product \"%1\" is built from a sheet").arg(text(product_)));
    } else {
        for (const MappedField& field : mappedFields(*form_)) {
            auto* choice = new QComboBox(fieldsBox);
            choice->setObjectName(text("column " + field.name));
            choice->addItem(field.preset.empty() ? tr("(not mapped)")
                                                 : tr("(always %1)").arg(text(std::string(field.preset))));
            choice->addItem(tr("Fixed value:"));
            auto* value = new QLineEdit(fieldsBox);
            value->setObjectName(text("value " + field.name));
            value->setEnabled(false);
            connect(choice, &QComboBox::currentIndexChanged, value,
                    [value](int index) { value->setEnabled(index == kFixedValue); });
            auto* line = new QHBoxLayout;
            line->addWidget(choice, 3);
            line->addWidget(value, 2);
            fieldsForm->addRow(text(field.name + (field.required ? " *" : "")), line);
            fields_.push_back({field, choice, value});
        }
    }
    fieldsForm->addRow(tr("Dates"), dates_);
    fieldsForm->addRow(tr("Years"), years_);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(fieldsBox);
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
    layout->addWidget(new QLabel(tr("Rows that cannot be placed, and what the check found:"), this));
    layout->addWidget(messages_, 1);
    layout->addLayout(buttons);
}

// The column choices follow the header row: the one the mapping offered finds, else the first row.
void SheetMappingDialog::offerMapping() {
    if (form_ == nullptr) {
        return;
    }
    std::optional<SheetMapping> mapping;
    if (const auto offered = offeredMapping(workbench_.paths().dataFolder, product_, companyId_, sheet_)) {
        MappingRead read = SheetMapping::parse(*offered, fieldNames(*form_));
        mapping = std::move(read.mapping);
    }
    for (size_t r = 0; mapping && r < rows_.size(); ++r) {
        if (mapping->isHeaderRow(rows_[r])) {
            headerIndex_ = static_cast<int>(r);
            break;
        }
    }
    const SheetRow header = rows_.empty() ? SheetRow{} : rows_[static_cast<size_t>(headerIndex_)];
    std::multiset<std::string> headings;
    for (const SheetCell& cell : header.cells) {
        headings.insert(cell.text);
    }
    for (const FieldRow& row : fields_) {
        for (int c = 0; c < columnCount_; ++c) {
            const std::string& heading = header.cell(c).text;
            // A column is named by its heading when that names it alone, else by its letter.
            const bool named = !heading.empty() && headings.count(heading) == 1;
            const QString shown = named ? QStringLiteral("%1: %2").arg(text(columnLetters(c)), text(heading))
                                        : text(columnLetters(c));
            row.choice->addItem(shown, text(named ? heading : columnLetters(c)));
        }
    }
    if (!mapping) {
        return;
    }
    const MappedColumns columns = mapping->columns(header);
    for (const FieldRow& row : fields_) {
        const FieldSource* source = mapping->find(row.field.name);
        if (source == nullptr) {
            continue;
        }
        if (source->value) {
            row.choice->setCurrentIndex(kFixedValue);
            row.value->setText(text(*source->value));
        } else if (const int column = columns.column(row.field.name); column >= 0 && column < columnCount_) {
            row.choice->setCurrentIndex(kFirstColumn + column);
        }
    }
    dates_->setCurrentIndex(static_cast<int>(mapping->reading.dates));
    years_->setCurrentIndex(mapping->reading.years == YearEra::CE ? 0 : 1);
}

QComboBox* SheetMappingDialog::fieldChoice(const QString& field) const {
    for (const FieldRow& row : fields_) {
        if (text(row.field.name) == field) {
            return row.choice;
        }
    }
    return nullptr;
}

QLineEdit* SheetMappingDialog::fieldValue(const QString& field) const {
    for (const FieldRow& row : fields_) {
        if (text(row.field.name) == field) {
            return row.value;
        }
    }
    return nullptr;
}

std::string SheetMappingDialog::mappingText() const {
    SheetMapping mapping;
    for (const FieldRow& row : fields_) {
        const int index = row.choice->currentIndex();
        if (index == kFixedValue) {
            mapping.sources.push_back({row.field.name, std::nullopt, row.value->text().toStdString()});
        } else if (index >= kFirstColumn) {
            const std::string column = row.choice->currentData().toString().toStdString();
            mapping.sources.push_back(
                {row.field.name, ColumnChoice{column, columnIndex(column)}, std::nullopt});
        }
    }
    const QString dates = dates_->currentData().toString();
    mapping.reading.dates = dates == QLatin1String("DMY")   ? DateOrder::DMY
                            : dates == QLatin1String("MDY") ? DateOrder::MDY
                                                            : DateOrder::YMD;
    mapping.reading.years =
        years_->currentData().toString() == QLatin1String("BE") ? YearEra::BE : YearEra::CE;
    return mapping.toIni();
}

void SheetMappingDialog::accept() {
    if (running() || form_ == nullptr) {
        return;
    }
    if (!ui_.mayReplace(text(destination_.string()))) {
        return;
    }
    start(false);
}

void SheetMappingDialog::reject() {
    if (running()) {
        worker_.request_stop();  // the run ends with nothing written; the dialog stays
        return;
    }
    QDialog::reject();
}

void SheetMappingDialog::start(bool dryRun) {
    if (running() || form_ == nullptr) {
        return;
    }
    BuildSourceRequest request;
    request.product = product_;
    request.sheetPath = sheet_;
    request.destinationPath = destination_;
    request.mappingText = mappingText();
    request.dryRun = dryRun;
    request.expectedRows = lastRow_;
    building_ = !dryRun;
    setRunning(true);
    auto run = std::make_shared<SheetRun>(this, progress_);
    worker_ = std::jthread([this, run, request](const std::stop_token& stop) {
        run->setStop(stop);
        Workbench& wb = workbench_;
        Services services{wb.store(), wb.clock(), wb.reports(), wb.settings(), *run};
        try {
            run->result = buildSource(request, services);
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
    const std::vector<std::string>& told = run->messages;
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
    }
    if (messages_->count() > 0) {
        messages_->scrollToBottom();
    }
    const BuildSourceResult& result = run->result;
    if (!run->error) {
        lastRow_ = result.lastRow;
    }
    const bool built =
        building_ && !run->error && result.outcome == Outcome::Written && !result.written.empty();
    emit runFinished();
    if (built) {
        // The file is built either way; a mapping that cannot be kept is only told.
        try {
            saveMapping(workbench_.paths().dataFolder, product_, companyId_, mappingText());
        } catch (const std::exception& e) {
            ui_.showMessage(MessageKind::Error, e.what());
        }
        built_ = destination_;
        builtMessage_ = told.empty() ? std::string() : told.back();
        QDialog::accept();
    }
}

void SheetMappingDialog::setRunning(bool running) {
    progress_->setVisible(running);
    progress_->setRange(0, lastRow_ > 0 ? 100 : 0);  // without the row count: busy
    progress_->setValue(0);
    check_->setEnabled(!running);
    ok_->setEnabled(!running);
    for (const FieldRow& row : fields_) {
        row.choice->setEnabled(!running);
        row.value->setEnabled(!running && row.choice->currentIndex() == kFixedValue);
    }
    dates_->setEnabled(!running);
    years_->setEnabled(!running);
}

}  // namespace qrv::gui
