#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/SheetRow.h"

namespace qrv {

// One sheet of a spreadsheet read row by row, whatever the file's kind; memory holds one row.
class Sheet {
  public:
    virtual ~Sheet() = default;
    // The next row holding at least one non-empty cell; false at the end. Throws SheetError.
    virtual bool next(SheetRow& row) = 0;
    // What was read, for the person: "CSV, UTF-8 with byte-order mark, comma-separated".
    virtual std::string description() const = 0;
};

// Bounds that keep a damaged or hostile file from exhausting memory or time. The defaults take any sheet
// a spreadsheet program makes; tests give smaller ones.
struct SheetLimits {
    std::uint64_t maxPartBytes = 64ull << 20;         // an XLSX part other than the sheet and its strings
    std::uint64_t maxSheetBytes = 2ull << 30;         // the sheet's XML, inflated
    std::uint64_t maxStringsBytes = 512ull << 20;     // the shared strings' XML, inflated
    std::uint64_t maxSharedStrings = 2'000'000;       // entries of the shared-strings table
    std::uint64_t maxSharedTextBytes = 256ull << 20;  // their text together
    std::uint64_t maxCellBytes = 256u << 10;          // one cell's text
    std::uint64_t maxRowBytes = 16u << 20;            // one row's text (a shared string may fill many cells)
    int maxColumns = kMaxSheetColumns;
};

// The refusal of a file that is no file to read (a folder, FIFO, device or socket: a pipe could be read
// only once, a device never ends); `what` names it ("sheet", "mapping"). Nothing for a regular file or
// nothing at all.
std::optional<std::string> notASheetFile(const std::filesystem::path& file, std::string_view what);

// A file a spreadsheet program saved rather than a fixed-width source: named .csv, .xlsx, .xlsm, .xls,
// .xlsb or .ods, or a ZIP package or compound file by its first bytes.
bool isSpreadsheetFile(const std::filesystem::path& file);

// Opens a CSV or XLSX file, told apart by its content; other files a spreadsheet program saves (.xls,
// .xlsb, .ods, a workbook protected by a password, an XML Spreadsheet 2003 or a web page) are named for
// what they are. `sheetName` picks a sheet of a workbook (empty:
// the first); a CSV file has none to pick. Throws SheetError when the file is neither or cannot be read.
std::unique_ptr<Sheet> openSheet(const std::filesystem::path& file, const std::string& sheetName = {},
                                 const SheetLimits& limits = {});

// The first rows of a sheet, for a person to see what it holds.
struct SheetStart {
    std::string description;     // as Sheet::description says it
    std::vector<SheetRow> rows;  // at most the count asked for
};

// Reads the first `count` rows that hold a cell. Throws SheetError as openSheet does.
SheetStart readSheetStart(const std::filesystem::path& file, const std::string& sheetName, int count);

}  // namespace qrv
