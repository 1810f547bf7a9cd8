#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/Sheet.h"
#include "sheet/XlsxPackage.h"

namespace qrv {

// What a workbook says before its rows: which part holds each sheet, the shared strings, which cell
// styles show a number as a date, and the date system. Read whole (each within its bound) when opened.
class XlsxWorkbook {
  public:
    XlsxWorkbook(const XlsxPackage& package, const SheetLimits& limits);

    const std::vector<std::string>& sheetNames() const { return sheetNames_; }
    // The index in sheetNames() of the sheet of that name (case aside; for an empty name the first sheet
    // that is not hidden, the one a spreadsheet program opens on, or the first when all are).
    // Throws SheetError naming the sheets there are.
    size_t sheetIndex(const std::string& name) const;
    const std::string& sheetPart(size_t index) const { return sheets_[index].part; }
    // The sheet is hidden (or very hidden) in the workbook.
    bool sheetHidden(size_t index) const { return sheets_[index].hidden; }

    // Serial day numbers count from 1904-01-01 instead of 1900-01-01.
    bool date1904() const { return date1904_; }
    // The cell style of that index shows numbers as dates or times.
    bool isDateStyle(std::uint64_t style) const { return style < dateStyles_.size() && dateStyles_[style]; }

    std::uint64_t sharedStringCount() const { return stringEnds_.size(); }
    // Entry `index` of the shared strings (check the count first).
    std::string_view sharedString(std::uint64_t index) const;

  private:
    struct SheetEntry {
        std::string name;
        std::string part;
        bool hidden = false;
    };
    void readWorkbook(const XlsxPackage& package, const std::string& part, const SheetLimits& limits);
    void readStyles(const XlsxPackage& package, const std::string& part, const SheetLimits& limits);
    void readSharedStrings(const XlsxPackage& package, const std::string& part, const SheetLimits& limits);

    std::vector<std::string> sheetNames_;
    std::vector<SheetEntry> sheets_;
    bool date1904_ = false;
    std::vector<bool> dateStyles_;
    std::string strings_;                    // the shared strings one after another
    std::vector<std::uint32_t> stringEnds_;  // where each ends in strings_
};

// A number format code shows a date or time: it holds day, month, year, hour or second letters outside
// quoted text, escapes and [...] sections ("dd/mm/yyyy", "[$-1070000]d/m/yyyy;@"), or is a built-in
// date format.
bool isDateFormat(std::string_view code);
bool isBuiltInDateFormat(int id);

// Text as a workbook keeps it with the characters XML cannot hold escaped: "_x000D_" is a carriage return,
// "_x005F_" the underscore that keeps a literal "_x...", a pair of surrogates one character.
std::string decodeEscapes(std::string_view text);

}  // namespace qrv
