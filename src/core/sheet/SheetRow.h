#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Rows of a customer's spreadsheet (CSV or XLSX) as one shape: the sheet's own row number and its cells
// by column, each cell's text in UTF-8.
namespace qrv {

struct SheetCell {
    enum class Kind : std::uint8_t {
        Empty,
        Text,     // text as typed (every CSV cell; XLSX strings and booleans as TRUE/FALSE)
        Number,   // a number as the file writes it ("1234.5", "1.5E-3")
        Date,     // an XLSX number shown as a date: the day it stands for, as yyyy-mm-dd
        Error,    // an XLSX formula error ("#N/A")
        Formula,  // an XLSX formula saved without its result: the text is the formula ("=SUM(B2:B9)")
    };
    Kind kind = Kind::Empty;
    std::string text;

    bool empty() const { return kind == Kind::Empty; }
};

struct SheetRow {
    std::int64_t number = 0;       // as the spreadsheet program shows it, from 1
    std::vector<SheetCell> cells;  // by column index from 0 (column A); may stop before the last column
    bool hidden = false;           // hidden in the workbook (by hand, by a filter or in a folded outline)

    // The cell at `column` (0 for A); an empty cell beyond the row's last one.
    const SheetCell& cell(int column) const;
    // The cell of a column letter ("C"); an empty cell for a text that is no column letter.
    const SheetCell& cell(std::string_view letters) const;
};

// A file that cannot be read as a sheet: damaged, hostile, or beyond what the reader takes. The text says
// what is wrong, in words the person who made the file understands.
class SheetError : public std::runtime_error {
  public:
    explicit SheetError(const std::string& what) : std::runtime_error(what) {}
};

// The highest column a sheet may use: XFD, as in spreadsheet programs.
constexpr int kMaxSheetColumns = 16384;

// "A" -> 0, "Z" -> 25, "AA" -> 26, "XFD" -> 16383; nothing for anything else (lower case, digits,
// beyond XFD).
std::optional<int> columnIndex(std::string_view letters);
// 0 -> "A", 27 -> "AB".
std::string columnLetters(int index);

}  // namespace qrv
