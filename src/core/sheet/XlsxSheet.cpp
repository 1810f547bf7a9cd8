#include "sheet/XlsxSheet.h"

#include <charconv>
#include <cmath>

#include "base/Date.h"

namespace qrv {
namespace {

// Rows a sheet may have, as in spreadsheet programs.
constexpr std::int64_t kMaxRows = 1'048'576;
// Of a formula saved without its result, what a message shows.
constexpr size_t kShownFormulaBytes = 200;

std::optional<std::int64_t> integerValue(std::string_view s) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size() || s.empty()) {
        return std::nullopt;
    }
    return value;
}

// "2021-01-01" of "2021-01-01T10:10:10" when it is a calendar day.
std::optional<std::string> isoDay(std::string_view text) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-' || (text.size() > 10 && text[10] != 'T')) {
        return std::nullopt;
    }
    const auto year = integerValue(text.substr(0, 4));
    const auto month = integerValue(text.substr(5, 2));
    const auto day = integerValue(text.substr(8, 2));
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
        *day > Date::daysInMonth(static_cast<int>(*year), static_cast<int>(*month))) {
        return std::nullopt;
    }
    return std::string(text.substr(0, 10));
}

}  // namespace

std::optional<std::string> serialDate(std::string_view number, bool system1904) {
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !(value >= 0) || value >= 2958466) {
        return std::nullopt;
    }
    const int days = static_cast<int>(std::floor(value));
    Date date;
    if (system1904) {
        date = Date{1904, 1, 1}.plusDays(days);
    } else if (days < 1) {
        return std::nullopt;
    } else if (days < 60) {
        date = Date{1899, 12, 31}.plusDays(days);
    } else if (days == 60) {
        return std::nullopt;  // 1900-02-29, a day that never was (kept by spreadsheets for old files)
    } else {
        date = Date{1899, 12, 30}.plusDays(days);
    }
    if (date.year > 9999) {
        return std::nullopt;
    }
    return date.isoDashed();
}

// Fills one row at a time from the sheet's XML and pauses the parser at the end of a row that holds a
// cell.
class XlsxSheet::RowHandler final : public XmlHandler {
  public:
    RowHandler(const XlsxWorkbook& workbook, const SheetLimits& limits)
        : workbook_(workbook), limits_(limits) {}

    SheetRow* row = nullptr;  // where the current row goes
    bool rowReady = false;

    void start(XmlStream& stream, std::string_view name, const char** attributes) override {
        if (name == "row") {
            startRow(stream, xmlAttribute(attributes, "r"));
            const char* hidden = xmlAttribute(attributes, "hidden");
            row->hidden =
                hidden != nullptr && (std::string_view(hidden) == "1" || std::string_view(hidden) == "true");
        } else if (name == "c" && inRow_) {
            startCell(stream, xmlAttribute(attributes, "r"), xmlAttribute(attributes, "t"),
                      xmlAttribute(attributes, "s"));
        } else if (name == "v" && inCell_) {
            inValue_ = hasValueElement_ = true;
        } else if (name == "f" && inCell_) {
            inFormula_ = hasFormula_ = true;
        } else if (name == "is" && inCell_) {
            inInline_ = hasValueElement_ = true;
        } else if (name == "t" && inInline_) {
            inText_ = true;
        } else if (name == "rPh") {
            ++phonetic_;
        }
    }

    void end(XmlStream& stream, std::string_view name) override {
        if (name == "v") {
            inValue_ = false;
        } else if (name == "f") {
            inFormula_ = false;
        } else if (name == "t") {
            inText_ = false;
        } else if (name == "is") {
            inInline_ = false;
        } else if (name == "rPh") {
            --phonetic_;
        } else if (name == "c" && inCell_) {
            endCell(stream);
        } else if (name == "row" && inRow_) {
            inRow_ = false;
            if (hasValue_) {
                rowReady = true;
                stream.pause();
            }
        } else if (name == "sheetData") {
            stream.finish();  // what follows (merged ranges, print settings) holds no cell
        }
    }

    void text(XmlStream& stream, std::string_view text) override {
        if (inFormula_ && formula_.size() < kShownFormulaBytes) {
            formula_.append(text.substr(0, kShownFormulaBytes - formula_.size()));
            return;
        }
        if (!(inValue_ || (inText_ && phonetic_ == 0))) {
            return;
        }
        if (text_.size() + text.size() > limits_.maxCellBytes) {
            stream.fail("holds a cell longer than " + std::to_string(limits_.maxCellBytes) + " bytes (" +
                        columnLetters(column_) + std::to_string(rowNumber_) + ")");
            return;
        }
        text_.append(text);
    }

  private:
    void startRow(XmlStream& stream, const char* r) {
        const std::optional<std::int64_t> number = r != nullptr ? integerValue(r) : rowNumber_ + 1;
        if (!number || *number <= rowNumber_ || *number > kMaxRows) {
            stream.fail("holds a row numbered \"" + std::string(r != nullptr ? r : "") + "\" after row " +
                        std::to_string(rowNumber_));
            return;
        }
        rowNumber_ = *number;
        row->number = rowNumber_;
        row->cells.clear();
        inRow_ = true;
        hasValue_ = false;
        column_ = -1;
        rowBytes_ = 0;
    }

    void startCell(XmlStream& stream, const char* ref, const char* type, const char* style) {
        if (ref != nullptr) {
            const std::string_view s(ref);
            const size_t letters = s.find_first_of("0123456789");
            const std::optional<int> index = columnIndex(s.substr(0, letters));
            if (!index ||
                (letters != std::string_view::npos && integerValue(s.substr(letters)) != rowNumber_)) {
                stream.fail("holds a cell \"" + std::string(s) + "\" in row " + std::to_string(rowNumber_));
                return;
            }
            column_ = *index;
        } else {
            ++column_;
        }
        if (column_ >= limits_.maxColumns) {
            stream.fail("has a cell in column " + columnLetters(column_) + " (row " +
                        std::to_string(rowNumber_) + "), beyond the " + std::to_string(limits_.maxColumns) +
                        " columns this program reads");
            return;
        }
        type_ = type != nullptr ? type : "n";
        const auto styleIndex = style != nullptr ? integerValue(style) : std::optional<std::int64_t>(0);
        dateStyle_ =
            styleIndex && *styleIndex >= 0 && workbook_.isDateStyle(static_cast<std::uint64_t>(*styleIndex));
        text_.clear();
        formula_.clear();
        inCell_ = true;
        hasFormula_ = hasValueElement_ = false;
    }

    // The cell as it will stand in the row, from its type and value.
    SheetCell cellOf(XmlStream& stream) {
        SheetCell cell;
        if (type_ == "s") {
            const auto index = integerValue(text_);
            if (!index || *index < 0 || static_cast<std::uint64_t>(*index) >= workbook_.sharedStringCount()) {
                stream.fail("refers to shared string \"" + text_ + "\" of " +
                            std::to_string(workbook_.sharedStringCount()) + " (cell " +
                            columnLetters(column_) + std::to_string(rowNumber_) + ")");
                return cell;
            }
            cell.text = workbook_.sharedString(static_cast<std::uint64_t>(*index));
            cell.kind = SheetCell::Kind::Text;
        } else if (type_ == "b") {
            cell.text = text_ == "1" ? "TRUE" : "FALSE";
            cell.kind = SheetCell::Kind::Text;
        } else if (type_ == "e") {
            cell.text = text_;
            cell.kind = SheetCell::Kind::Error;
        } else if (type_ == "n") {
            const std::optional<std::string> date =
                dateStyle_ ? serialDate(text_, workbook_.date1904()) : std::nullopt;
            cell.kind = date ? SheetCell::Kind::Date : SheetCell::Kind::Number;
            cell.text = date ? *date : text_;
        } else if (type_ == "d") {
            // An ISO date and time ("2021-01-01T10:10:10"): the day.
            const std::optional<std::string> day = isoDay(text_);
            cell.kind = day ? SheetCell::Kind::Date : SheetCell::Kind::Text;
            cell.text = day ? *day : text_;
        } else {
            cell.text = decodeEscapes(text_);  // inline strings and formula strings ("str")
            cell.kind = SheetCell::Kind::Text;
        }
        return cell;
    }

    void endCell(XmlStream& stream) {
        inCell_ = inValue_ = inInline_ = inText_ = inFormula_ = false;
        SheetCell cell;
        if (text_.empty() && hasFormula_ && !hasValueElement_) {
            // Saved by a program that writes formulas without working them out.
            cell.kind = SheetCell::Kind::Formula;
            cell.text = "=" + formula_;
        } else if (text_.empty()) {
            return;  // a cell with a style and no value
        } else {
            cell = cellOf(stream);
        }
        if (cell.text.empty()) {
            return;  // an empty shared string
        }
        // Counted as given, a cell given twice twice: a short sheet may repeat a long shared string.
        rowBytes_ += cell.text.size();
        if (rowBytes_ > limits_.maxRowBytes) {
            stream.fail("holds a row (" + std::to_string(rowNumber_) + ") of more than " +
                        std::to_string(limits_.maxRowBytes) + " bytes of text, more than this program reads");
            return;
        }
        if (static_cast<size_t>(column_) >= row->cells.size()) {
            row->cells.resize(static_cast<size_t>(column_) + 1);
        } else if (!row->cells[static_cast<size_t>(column_)].empty()) {
            stream.fail("gives cell " + columnLetters(column_) + std::to_string(rowNumber_) + " twice (row " +
                        std::to_string(rowNumber_) + ", column " + columnLetters(column_) +
                        "), as no spreadsheet program writes it: which of its values counts cannot be told");
            return;
        }
        row->cells[static_cast<size_t>(column_)] = std::move(cell);
        hasValue_ = true;
    }

    const XlsxWorkbook& workbook_;
    const SheetLimits& limits_;
    std::int64_t rowNumber_ = 0;
    int column_ = -1;
    std::uint64_t rowBytes_ = 0;
    std::string type_;
    bool dateStyle_ = false;
    std::string text_;
    bool inRow_ = false;
    bool hasValue_ = false;
    bool inCell_ = false;
    bool inValue_ = false;
    bool inInline_ = false;
    bool inText_ = false;
    bool inFormula_ = false;
    bool hasFormula_ = false;
    bool hasValueElement_ = false;
    std::string formula_;
    int phonetic_ = 0;
};

XlsxSheet::XlsxSheet(const std::filesystem::path& file, const std::string& sheetName,
                     const SheetLimits& limits)
    : package_(file), limits_(limits), workbook_(package_, limits_) {
    const size_t index = workbook_.sheetIndex(sheetName);
    sheetName_ = workbook_.sheetNames()[index];
    hidden_ = workbook_.sheetHidden(index);
    handler_ = std::make_unique<RowHandler>(workbook_, limits_);
    stream_ =
        std::make_unique<XmlStream>(package_, workbook_.sheetPart(index), limits_.maxSheetBytes, *handler_);
}

XlsxSheet::~XlsxSheet() = default;

bool XlsxSheet::next(SheetRow& row) {
    handler_->row = &row;
    handler_->rowReady = false;
    while (!handler_->rowReady) {
        if (!stream_->resume() && !handler_->rowReady) {
            return false;
        }
    }
    return true;
}

std::string XlsxSheet::description() const {
    return "XLSX, sheet \"" + sheetName_ + "\"" + (hidden_ ? " (a hidden sheet)" : "");
}

}  // namespace qrv
