#include "convert/source/BuildSource.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include "base/Cp874.h"
#include "convert/OutputNames.h"
#include "convert/source/FieldFill.h"
#include "convert/source/SourceForm.h"
#include "io/InputGuards.h"
#include "io/WorkFile.h"
#include "layout/RecordWriter.h"
#include "sheet/Sheet.h"
#include "sheet/SheetMapping.h"

namespace qrv {
namespace {

using layout::Field;
using layout::Kind;
using layout::RecordWriter;

// The header row is looked for among the first rows; rows above it are titles.
constexpr int kHeaderSearchRows = 20;
constexpr std::int64_t kCancelEvery = 1000;
constexpr size_t kListedRows = 20;

// A header field's text taken from an entry, and the cell's text as shown.
struct TakenHeader {
    const Field* field;
    std::string text;
    std::string shown;
};

struct ColumnSource {
    const MappedField* field;
    int column;
};

bool isHomeAccount(const SourceForm& form, const Field& f) {
    return std::find(form.homeAccounts.begin(), form.homeAccounts.end(), f.name) != form.homeAccounts.end();
}

std::string path(const std::filesystem::path& p) {
    return cp874::sanitizeUtf8(p.string());
}

std::string rowList(const std::vector<std::int64_t>& rows) {
    std::string text;
    for (size_t i = 0; i < rows.size() && i < kListedRows; ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(rows[i]);
    }
    if (rows.size() > kListedRows) {
        text += " and " + std::to_string(rows.size() - kListedRows) + " more";
    }
    return text;
}

// The digits of an amount with `decimals` implied decimals.
std::string amountDigits(Money total, int decimals) {
    std::int64_t units = total.units();
    for (int d = decimals; d < 4; ++d) {
        units /= 10;
    }
    return std::to_string(units);
}

class SourceBuild {
  public:
    SourceBuild(const BuildSourceRequest& request, Services& services, BuildSourceResult& result,
                const SourceForm& form)
        : request_(request),
          services_(services),
          result_(result),
          form_(form),
          fields_(mappedFields(form)),
          header_(*form.header),
          detail_(*form.detail) {}

    void run();

  private:
    bool refuse(const std::vector<std::string>& faults) {
        for (const std::string& f : faults) {
            services_.message(f);
        }
        result_.refuse(RequestField::None);
        return false;
    }
    bool readMapping();
    bool setDefaults();
    bool findHeader(Sheet& sheet, std::optional<SheetRow>& first);
    bool isLetterHeader(const SheetRow& row) const;
    // The fault of a date against the product's rule, or nothing.
    std::optional<std::string> dateFault(const Date& date) const;
    CellReading<FieldText> fill(const SheetCell& cell, const Field& at, bool homeAccount) const;
    // Whether the row is an entry to place; a hidden one is noted.
    bool takes(const SheetRow& row);
    bool reportRows();
    // Checks a row and writes its line to `out` (none in a dry run).
    void place(const SheetRow& row, FileWriter* out);
    void showProgress(const SheetRow& row);
    void badCell(const SheetRow& row, const ColumnSource& c, const std::string& fault);
    bool writeHeader();
    void write(const std::filesystem::path& details);

    const BuildSourceRequest& request_;
    Services& services_;
    BuildSourceResult& result_;
    const SourceForm& form_;
    const std::vector<MappedField> fields_;
    SheetMapping mapping_;
    RecordWriter header_;
    RecordWriter detail_;
    std::vector<ColumnSource> columns_;
    std::optional<SheetRow> headerRow_;
    bool headerTaken_ = false;  // the header's fields from columns were taken from the first entry
    std::vector<TakenHeader> taken_;
    std::int64_t takenRow_ = 0;
    Money total_;
    std::optional<Money> fixedAmount_;  // the amount of every entry, from the mapping's values
    std::vector<std::int64_t> leftOut_;
    std::int64_t entries_ = 0;
    std::string line_;
};

bool SourceBuild::readMapping() {
    std::vector<std::string> names;
    for (const MappedField& f : fields_) {
        names.push_back(f.name);
    }
    const bool inText = request_.mappingText.has_value();
    MappingFile file;
    if (!inText) {
        file = readMappingFile(request_.mappingPath);
        if (!file.text) {
            return refuse({file.fault});
        }
    }
    MappingRead read = SheetMapping::parse(inText ? *request_.mappingText : *file.text, names);
    if (!read.mapping) {
        const std::string where = inText ? "Mapping: " : "Mapping \"" + path(request_.mappingPath) + "\": ";
        std::vector<std::string> faults;
        for (const std::string& f : read.faults) {
            faults.push_back(where + f);
        }
        return refuse(faults);
    }
    mapping_ = std::move(*read.mapping);
    return setDefaults();
}

// The values of the mapping and the one-value codes it leaves out are the same on every line: they
// become the records' defaults.
bool SourceBuild::setDefaults() {
    std::vector<std::string> faults;
    for (const MappedField& f : fields_) {
        const FieldSource* source = mapping_.find(f.name);
        if (source == nullptr || (!source->value && !source->column)) {
            if (!f.preset.empty()) {
                for (const Field* at : f.inHeader) {
                    header_.text(*at, f.preset);
                }
                for (const Field* at : f.inDetail) {
                    detail_.text(*at, f.preset);
                }
            } else if (f.required) {
                faults.push_back("\"" + f.name +
                                 "\" is not mapped: give it a column ([columns]) or a value ([values])");
            }
            continue;
        }
        if (!source->value) {
            continue;
        }
        const SheetCell cell{source->value->empty() ? SheetCell::Kind::Empty : SheetCell::Kind::Text,
                             *source->value};
        for (RecordWriter* writer : {&header_, &detail_}) {
            for (const Field* at : writer == &header_ ? f.inHeader : f.inDetail) {
                const CellReading<FieldText> filled = fill(cell, *at, isHomeAccount(form_, *at));
                if (!filled) {
                    faults.push_back("[values] " + f.name + " = " + *source->value + ": " + filled.fault);
                    break;
                }
                writer->text(*at, filled.value->text);
                if (filled.value->amount && writer == &detail_) {
                    fixedAmount_ = filled.value->amount;
                }
            }
        }
    }
    if (form_.mark != nullptr) {
        header_.text(*form_.mark, form_.markText);
    }
    header_.keepAsDefaults();
    detail_.keepAsDefaults();
    return faults.empty() || refuse(faults);
}

// A first row is the header row of a mapping by column letters when its cells are words: every mapped cell
// is text and not one of the number, amount or date columns reads as its field. A mapping of text columns
// alone cannot tell a header from an entry: its first row is an entry.
bool SourceBuild::isLetterHeader(const SheetRow& row) const {
    bool typed = false;
    for (const ColumnSource& c : columns_) {
        const SheetCell& cell = row.cell(c.column);
        if (!cell.empty() && cell.kind != SheetCell::Kind::Text) {
            return false;
        }
        for (const Field* at : c.field->inDetail) {
            if (at->kind == Kind::Amount || at->kind == Kind::Date || at->kind == Kind::Digits) {
                typed = true;
                if (fill(cell, *at, isHomeAccount(form_, *at))) {
                    return false;
                }
            }
        }
    }
    return typed;
}

std::optional<std::string> SourceBuild::dateFault(const Date& date) const {
    const Date today = services_.clock.today();
    if (form_.datesAfterToday ? date > today : date >= today) {
        return std::nullopt;
    }
    return "the date " + date.ddmmyyyy() + " is " + (date < today ? "past" : "today") + ": it must be " +
           (form_.datesAfterToday ? "later than today" : "today or later") + " (today is " +
           today.ddmmyyyy() + ")";
}

CellReading<FieldText> SourceBuild::fill(const SheetCell& cell, const Field& at, bool homeAccount) const {
    CellReading<FieldText> filled = fillField(cell, at, mapping_.reading, homeAccount);
    if (filled && filled.value->date) {
        if (auto fault = dateFault(*filled.value->date)) {
            return CellReading<FieldText>::wrong(*fault);
        }
    }
    return filled;
}

// The header row: with header texts in the mapping, the first row holding them all; with column letters
// only, the first row when its amount is no amount. `first` gets the first entry row read past it.
bool SourceBuild::findHeader(Sheet& sheet, std::optional<SheetRow>& first) {
    const bool byText = std::any_of(mapping_.sources.begin(), mapping_.sources.end(),
                                    [](const FieldSource& s) { return s.column && !s.column->letter; });
    SheetRow row;
    if (request_.headerRow > 0) {
        // The row chosen as the header; the rows above it are titles.
        while (sheet.next(row) && row.number < request_.headerRow) {
        }
        if (row.number != request_.headerRow) {
            return refuse({"Row " + std::to_string(request_.headerRow) +
                           ", chosen as the header row, holds nothing or is not in the sheet"});
        }
        headerRow_ = row;
    } else if (byText) {
        for (int i = 0; i < kHeaderSearchRows && sheet.next(row); ++i) {
            if (mapping_.isHeaderRow(row)) {
                headerRow_ = row;
                break;
            }
        }
        if (!headerRow_) {
            std::string texts;
            for (const FieldSource& s : mapping_.sources) {
                if (s.column && !s.column->letter) {
                    texts += (texts.empty() ? "\"" : ", \"") + s.column->text + "\"";
                }
            }
            return refuse({"No row among the first " + std::to_string(kHeaderSearchRows) +
                           " rows of the sheet holds the column headers of the mapping (" + texts + ")"});
        }
    }
    const MappedColumns found = mapping_.columns(headerRow_ ? *headerRow_ : SheetRow{});
    if (!found.faults.empty()) {
        return refuse(found.faults);
    }
    for (const auto& entry : found.columns) {
        const auto& name = entry.first;
        const auto f = std::find_if(fields_.begin(), fields_.end(),
                                    [&name](const MappedField& m) { return m.name == name; });
        columns_.push_back({&*f, entry.second});
    }
    if (!byText && !headerRow_ && sheet.next(row)) {
        if (isLetterHeader(row)) {
            headerRow_ = row;
        } else {
            first = row;
        }
    }
    return true;
}

void SourceBuild::badCell(const SheetRow& row, const ColumnSource& c, const std::string& fault) {
    BadCell bad{row.number, columnLetters(c.column), {}, c.field->name, fault};
    if (headerRow_) {
        bad.header = headerRow_->cell(c.column).text;
    }
    ++result_.badCellCount;
    services_.message(badCellText(bad));
    if (result_.badCells.size() < kMaxBadCells) {
        result_.badCells.push_back(std::move(bad));
    }
}

void SourceBuild::place(const SheetRow& row, FileWriter* out) {
    result_.lastRow = row.number;
    detail_.reset();
    std::vector<TakenHeader> headerTexts;
    std::optional<Money> amount;
    bool bad = false;
    const auto fault = [&](const ColumnSource& c, const std::string& what) {
        badCell(row, c, what);
        bad = true;
    };
    for (const ColumnSource& c : columns_) {
        const SheetCell& cell = row.cell(c.column);
        bool placed = true;
        for (const Field* at : c.field->inDetail) {
            const CellReading<FieldText> filled = fill(cell, *at, isHomeAccount(form_, *at));
            if (!filled) {
                fault(c, filled.fault);
                placed = false;
                break;
            }
            detail_.text(*at, filled.value->text);
            if (filled.value->amount) {
                amount = filled.value->amount;
            }
        }
        // A field of the header alone holds one value for the whole file: every entry repeats it. One
        // the detail holds too takes the first entry's.
        const bool headerOnly = c.field->inDetail.empty();
        if (!placed || c.field->inHeader.empty() || (headerTaken_ && !headerOnly)) {
            continue;
        }
        for (const Field* at : c.field->inHeader) {
            const CellReading<FieldText> filled = fill(cell, *at, false);
            if (!filled) {
                fault(c, filled.fault);
                break;
            }
            if (!headerTaken_) {
                headerTexts.push_back({at, filled.value->text, cell.text});
                continue;
            }
            const auto taken = std::find_if(taken_.begin(), taken_.end(),
                                            [at](const TakenHeader& t) { return t.field == at; });
            if (taken != taken_.end() && taken->text != filled.value->text) {
                fault(c, "\"" + cell.text + "\" is not row " + std::to_string(takenRow_) + "'s \"" +
                             taken->shown + "\": the file holds one " + c.field->name);
                break;
            }
        }
    }
    if (bad) {
        if (result_.skippedRows.empty() || result_.skippedRows.back() != row.number) {
            result_.skippedRows.push_back(row.number);
        }
        return;
    }
    if (!headerTaken_) {
        for (const TakenHeader& t : headerTexts) {
            header_.text(*t.field, t.text);
        }
        taken_ = std::move(headerTexts);
        takenRow_ = row.number;
        headerTaken_ = true;
    }
    if (!amount) {
        amount = fixedAmount_;
    }
    if (amount) {
        total_.add(*amount, "the total of the sheet's amounts");
    }
    ++entries_;
    if (out == nullptr) {
        return;
    }
    line_ = detail_.record();
    if (form_.trimLines) {
        line_.erase(line_.find_last_not_of(' ') + 1);
    }
    out->writeLine(line_);
}

void SourceBuild::showProgress(const SheetRow& row) {
    services_.checkCancelled();
    if (request_.expectedRows > 0) {
        const std::int64_t percent = row.number * 100 / request_.expectedRows;
        services_.events.setProgress(static_cast<int>(std::clamp<std::int64_t>(percent, 0, 99)));
    }
}

bool SourceBuild::writeHeader() {
    const std::string count = std::to_string(entries_);
    if (static_cast<int>(count.size()) > form_.count->width()) {
        return refuse({"The sheet holds " + count + " entries; the header's " +
                       std::string(form_.count->name) + " holds at most " +
                       std::to_string(form_.count->width()) + " digits"});
    }
    header_.digits(*form_.count, count);
    if (form_.total != nullptr) {
        const std::string digits = amountDigits(total_, form_.total->decimals);
        if (static_cast<int>(digits.size()) > form_.total->width()) {
            return refuse({"The entries total " + total_.toText2() + " baht, more than the header's " +
                           std::string(form_.total->name) + " holds"});
        }
        header_.digits(*form_.total, digits);
    }
    return true;
}

// The header, then the detail lines kept in `details`, into the destination replaced when complete.
void SourceBuild::write(const std::filesystem::path& details) {
    AtomicFile file(request_.destinationPath);
    line_ = header_.record();
    if (form_.trimLines) {
        line_.erase(line_.find_last_not_of(' ') + 1);
    }
    file.writer().writeLine(line_);
    std::ifstream in(details, std::ios::binary);
    std::string block(1 << 16, '\0');
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        file.writer().write(std::string_view(block.data(), static_cast<size_t>(in.gcount())));
    }
    if (in.bad()) {
        throw QrvError("Cannot read the work file \"" + path(details) + "\"");
    }
    services_.beginCommit();
    file.commit();
}

// A hidden entry row is noted; it is placed only when hidden rows are to be included.
bool SourceBuild::takes(const SheetRow& row) {
    if (std::find(request_.leaveOut.begin(), request_.leaveOut.end(), row.number) !=
        request_.leaveOut.end()) {
        leftOut_.push_back(row.number);
        return false;
    }
    if (!row.hidden) {
        return true;
    }
    result_.hiddenRows.push_back(row.number);
    return request_.hiddenRows == HiddenRows::Include;
}

// What became of the rows left out or hidden; false when nothing is to be written for them.
bool SourceBuild::reportRows() {
    const std::vector<std::int64_t>& hidden = result_.hiddenRows;
    const bool one = hidden.size() == 1;
    const std::string hiddenCount = std::to_string(hidden.size()) + (one ? " row" : " rows");
    const std::string hiddenList = (one ? "row " : "rows ") + rowList(hidden);
    if (!hidden.empty() && request_.hiddenRows == HiddenRows::Stop) {
        services_.message("Nothing was written: " + hiddenCount + " of the sheet " + (one ? "is" : "are") +
                          " hidden (" + hiddenList +
                          "): show them, or say whether hidden rows are left out or included");
        result_.outcome = Outcome::AllRejected;
        return false;
    }
    if (!result_.skippedRows.empty() && !request_.skipBadRows) {
        services_.message("Nothing was written: " + std::to_string(result_.skippedRows.size()) +
                          " rows hold cells that cannot be placed (rows " + rowList(result_.skippedRows) +
                          ")");
        result_.outcome = Outcome::AllRejected;
        return false;
    }
    if (!leftOut_.empty()) {
        services_.message(std::string("Left out as chosen: ") + (leftOut_.size() == 1 ? "row " : "rows ") +
                          rowList(leftOut_));
    }
    if (!hidden.empty()) {
        services_.message(std::string(request_.hiddenRows == HiddenRows::Skip ? "Left out " : "Included ") +
                          hiddenCount + " hidden in the sheet: " + hiddenList);
    }
    if (!result_.skippedRows.empty()) {
        services_.message("Left out " + std::to_string(result_.skippedRows.size()) +
                          " rows that cannot be placed: rows " + rowList(result_.skippedRows));
    }
    if (entries_ == 0) {
        services_.message("Nothing was written: the sheet holds no entry to write");
        result_.outcome = Outcome::AllRejected;
        return false;
    }
    return true;
}

void SourceBuild::run() {
    if (!readMapping()) {
        return;
    }
    if (auto refusal = notASheetFile(request_.sheetPath, "sheet")) {
        refuse({*refusal});
        return;
    }
    std::unique_ptr<Sheet> sheet;
    std::optional<SheetRow> first;
    try {
        sheet = openSheet(request_.sheetPath, request_.sheetName);
        result_.sheet = sheet->description();
        services_.message("Reading \"" + path(request_.sheetPath) + "\": " + result_.sheet);
        if (!findHeader(*sheet, first)) {
            return;
        }
        std::optional<WorkFile> details;
        if (!request_.dryRun) {
            details.emplace(workFileFor(request_.destinationPath, "details"));
        }
        FileWriter* out = details ? &details->writer() : nullptr;
        if (first && takes(*first)) {
            place(*first, out);
        }
        SheetRow row;
        for (std::int64_t n = 1; sheet->next(row); ++n) {
            if (n % kCancelEvery == 0) {
                showProgress(row);
            }
            if (takes(row)) {
                place(row, out);
            }
        }
        if (!reportRows() || !writeHeader()) {
            return;
        }
        result_.records = entries_;
        result_.total = total_;
        if (request_.dryRun) {
            result_.outcome = Outcome::Written;
            services_.message("Checked: " + std::to_string(entries_) + " entries totalling " +
                              total_.toText2() + " baht can be written to \"" +
                              path(request_.destinationPath) + "\"");
            return;
        }
        details->close();
        write(details->path());
    } catch (const SheetError& e) {
        refuse({"Cannot read the sheet \"" + path(request_.sheetPath) + "\": " + e.what()});
        return;
    }
    result_.outcome = Outcome::Written;
    result_.written.push_back({OutputKind::Converted, request_.destinationPath});
    services_.message("Wrote " + std::to_string(entries_) + " entries totalling " + total_.toText2() +
                      " baht to \"" + path(request_.destinationPath) + "\"");
}

// The refusal of a destination that is an input of the build (compared by file identity, so another name
// or a link of it counts), a file of the data folder, or no regular file; nothing when it may be written.
std::optional<std::string> destinationRefusal(const BuildSourceRequest& request, const Services& services) {
    if (auto refusal = overwritesInput(request.destinationPath, request.sheetPath, "sheet")) {
        return refusal;
    }
    if (!request.mappingText) {
        if (auto refusal = overwritesInput(request.destinationPath, request.mappingPath, "mapping")) {
            return refusal;
        }
    }
    if (auto refusal = outputCollision(request.destinationPath, {}, services.store.dataFolder())) {
        return refusal;
    }
    return notASheetFile(request.destinationPath, "destination");
}

}  // namespace

std::string badCellText(const BadCell& bad) {
    std::string text = "Row " + std::to_string(bad.row) + ", column " + bad.column;
    if (!bad.header.empty()) {
        text += " \"" + bad.header + "\"";
    }
    return text + " (" + bad.field + "): " + bad.fault;
}

BuildSourceResult buildSource(const BuildSourceRequest& request, Services& services) {
    BuildSourceResult result;
    const SourceForm* form = sourceFormFor(request.product);
    if (form == nullptr) {
        services.message("No source file of product \"" + request.product +
                         "\" is built from a sheet; the products are " + sourceFormProducts());
        result.refuse(RequestField::None);
        return result;
    }
    if (auto refusal = destinationRefusal(request, services)) {
        services.message(*refusal);
        result.refuse(RequestField::Destination);
        return result;
    }
    SourceBuild(request, services, result, *form).run();
    return result;
}

}  // namespace qrv
