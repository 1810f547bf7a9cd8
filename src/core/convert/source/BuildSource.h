#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "convert/RunResult.h"
#include "convert/Services.h"

// Building a product's source file from a customer's spreadsheet and its mapping file.
namespace qrv {

// What becomes of rows the workbook hides (by hand, by a filter or in a folded outline): a hidden row is
// never paid without a word.
enum class HiddenRows {
    Stop,     // nothing is written; the hidden rows are named
    Skip,     // left out, named
    Include,  // written as any other row, named
};

struct BuildSourceRequest {
    std::string product;  // DCP, PAY, PA2, PA3, MCL, PA4, PA5, PA6 or DDR
    std::filesystem::path sheetPath;
    std::string sheetName;  // a workbook's sheet; empty: the first
    std::filesystem::path mappingPath;
    std::filesystem::path destinationPath;
    bool skipBadRows = false;  // leave out the rows that cannot be placed and write the others
    HiddenRows hiddenRows = HiddenRows::Stop;
    std::int64_t headerRow = 0;              // the header row's number; 0: found by the mapping's headers
    std::vector<std::int64_t> leaveOut;      // rows that are no entries (a total row), by number
    std::optional<std::string> mappingText;  // the mapping's INI text, read instead of `mappingPath`
    bool dryRun = false;                     // every row read and checked; nothing written
    std::int64_t expectedRows = 0;  // the sheet's last row number when known: progress is told against it
};

// A cell that cannot be placed in its field.
struct BadCell {
    std::int64_t row = 0;  // the sheet's row number
    std::string column;    // its letter
    std::string header;    // the header row's text of that column; empty without a header row
    std::string field;     // the field it fills
    std::string fault;     // what is wrong
};

// Written: the source file (`written`, kind Converted) with `records` entries totalling `total`.
// AllRejected: rows that cannot be placed and no leave to skip them, hidden rows and no word on them, or
// no entry to write; nothing is written. Refused: the mapping, the sheet, the product or the destination
// (the sheet, the mapping or a file of the data folder, by file identity; no regular file) is wrong;
// nothing is written.
struct BuildSourceResult : RunResult {
    std::string sheet;  // what was read ("XLSX, sheet \"Payroll\"")
    std::vector<BadCell> badCells;
    std::int64_t badCellCount = 0;  // all of them; `badCells` keeps the first kMaxBadCells
    std::vector<std::int64_t> skippedRows;
    std::vector<std::int64_t> hiddenRows;  // the hidden entry rows, whatever became of them
    std::int64_t lastRow = 0;              // the number of the last row read
};

inline constexpr size_t kMaxBadCells = 1000;

// The message of a bad cell: `Row 7, column C "Amount" (amount): "12.345" has more than two decimals`.
std::string badCellText(const BadCell& bad);

// Reads the sheet row by row (a header row naming the mapped columns, found among the first rows; rows
// above it are titles) and writes the product's source file in code page 874 with CR LF line ends:
// the header from the mapping's values (or the first entry's cells), its count and total computed over
// every entry (an amount from a column or from the mapping's values), one detail line per entry. A date
// is checked at its row by the product's rule (today or later; Media Clearing: later than today). Each bad
// cell is a message; the file is replaced only when complete. A dry run ends Written as a build would, with
// nothing in `written`.
BuildSourceResult buildSource(const BuildSourceRequest& request, Services& services);

}  // namespace qrv
