#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sheet/CellReading.h"
#include "sheet/SheetRow.h"

namespace qrv {

// Where a field's value is in the sheet: the column headed by `text`, or else, when `text` is a column
// letter, that column.
struct ColumnChoice {
    std::string text;           // as the mapping writes it
    std::optional<int> letter;  // the column `text` names as a letter, when it is one

    bool operator==(const ColumnChoice&) const = default;
};

// The choice of the column headed `text` (blanks and line breaks run together, as a header matches), or
// of the column it names as a letter.
ColumnChoice columnChoice(std::string_view text);

struct FieldSource {
    std::string field;                   // as the product's layout names it
    std::optional<ColumnChoice> column;  // [columns]
    std::optional<std::string> value;    // [values]: the same text on every line (UTF-8)

    bool operator==(const FieldSource&) const = default;
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
//   payee name = Name
//   amount = D
//   [values]                     field = the same text for every line
//   company name = ACME Co., Ltd.
//   [reading]
//   dates = DMY                  DMY, MDY or YMD
//   years = BE                   CE or BE (2569 = 2026)
//
// A header text matches the header cell with blanks and line breaks run together and capitals aside. A
// text that is also a column letter (one to three capitals up to XFD: "ID", "NO") is the column of that
// header when the header row has one, and that column otherwise. Quotes around a text are dropped, as
// the Windows build's INI reader drops them. A field given twice in a section is refused. The file may
// be UTF-8 (with or without a byte-order mark), UTF-16 or UTF-32 with one, or code page 874 (a Thai
// Windows "ANSI" text), told as a CSV sheet's; its lines end in CR LF, LF or CR. What toIni() writes
// reads back as the same mapping.
class SheetMapping {
  public:
    // Reads a mapping and checks it against the names of the fields the product maps (`fields`): every
    // fault is found, each said in one sentence.
    static MappingRead parse(const std::string& iniText, const std::vector<std::string>& fields);
    static MappingRead load(const std::filesystem::path& file, const std::vector<std::string>& fields);

    // The mapping as its INI file.
    std::string toIni() const;
    // Why a text of the mapping (one made in a window) could not be written so that it reads back the same.
    std::vector<std::string> writeFaults() const;

    // The same fields from the same columns or values, read the same way (the order of the file aside).
    bool operator==(const SheetMapping& other) const;

    const FieldSource* find(const std::string& field) const;
    // Every header text of the mapping that is not also a column letter is in `row`.
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

// A mapping file's text in UTF-8, up to one byte more than a mapping may hold (parse refuses that), or why
// it cannot be read (no regular file, no UTF-8 where it says it is).
struct MappingFile {
    std::optional<std::string> text;
    std::string fault;
};
MappingFile readMappingFile(const std::filesystem::path& file);
// The text alone; nothing when the file cannot be read.
std::optional<std::string> readMappingText(const std::filesystem::path& file);

}  // namespace qrv
