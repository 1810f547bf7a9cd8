#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sheet/CellReading.h"
#include "sheet/SheetRow.h"

namespace qrv {

// Where a field's value is in the sheet: a column named by its letter, or by the text of its header cell.
struct ColumnChoice {
    int index = -1;      // from the letter; -1 when the header names it
    std::string header;  // the header text when no letter is given
};

struct FieldSource {
    std::string field;                   // as the product's layout names it
    std::optional<ColumnChoice> column;  // [columns]
    std::optional<std::string> value;    // [values]: the same text on every line (UTF-8)
};

// The header row's columns of the fields mapped to a column.
struct MappedColumns {
    std::vector<std::pair<std::string, int>> columns;  // field, column index
    std::vector<std::string> faults;                   // a header no cell holds, or two cells hold

    // The column of `field`; -1 when it is not mapped to a column.
    int column(const std::string& field) const;
};

struct MappingRead;

// How a customer's spreadsheet fills a product's source file, kept as a small INI file per company:
//
//   [columns]                    field = header text or column letter
//   payee name = Name            (a header text that reads as a letter goes in quotes: "ID")
//   amount = D
//   [values]                     field = the same text for every line
//   company name = ACME Co., Ltd.
//   [reading]
//   dates = DMY                  DMY, MDY or YMD
//   years = BE                   CE or BE (2569 = 2026)
//
// One to three capital letters up to XFD name a column; any other text is a header. Header texts
// match the header cell with blanks and line breaks run together and capitals aside.
class SheetMapping {
  public:
    // Reads a mapping and checks it against the names of the fields the product maps (`fields`): every
    // fault is found, each said in one sentence.
    static MappingRead parse(const std::string& iniText, const std::vector<std::string>& fields);
    static MappingRead load(const std::filesystem::path& file, const std::vector<std::string>& fields);

    // The mapping as its INI file.
    std::string toIni() const;

    const FieldSource* find(const std::string& field) const;
    // Every header text of the mapping is in `row` (true when the mapping names columns by letter only).
    bool isHeaderRow(const SheetRow& row) const;
    // The columns of the header texts in the header row, and those given by letter.
    MappedColumns columns(const SheetRow& header) const;

    std::vector<FieldSource> sources;  // [columns] then [values], in file order
    ReadingRules reading;
};

struct MappingRead {
    std::optional<SheetMapping> mapping;  // when there is no fault
    std::vector<std::string> faults;
};

}  // namespace qrv
