#include "sheet/Sheet.h"

#include <fstream>

#include "sheet/CsvSheet.h"
#include "sheet/XlsxSheet.h"

namespace qrv {

std::unique_ptr<Sheet> openSheet(const std::filesystem::path& file, const std::string& sheetName,
                                 const SheetLimits& limits) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw SheetError("Cannot open \"" + file.string() + "\"");
    }
    char magic[4] = {};
    in.read(magic, sizeof magic);
    const std::string_view start(magic, static_cast<size_t>(in.gcount()));
    if (start == std::string_view("PK\x03\x04", 4)) {
        return std::make_unique<XlsxSheet>(file, sheetName, limits);
    }
    if (start == "\xD0\xCF\x11\xE0") {
        throw SheetError(
            "\"" + file.string() +
            "\" is an Excel 97-2003 workbook (.xls): save it as an Excel workbook (.xlsx) or as CSV");
    }
    if (!sheetName.empty()) {
        throw SheetError("\"" + file.string() + "\" is a CSV file, which has no sheet \"" + sheetName + "\"");
    }
    return std::make_unique<CsvSheet>(file, std::nullopt, limits);
}

SheetStart readSheetStart(const std::filesystem::path& file, const std::string& sheetName, int count) {
    const std::unique_ptr<Sheet> sheet = openSheet(file, sheetName);
    SheetStart start{sheet->description(), {}};
    SheetRow row;
    while (static_cast<int>(start.rows.size()) < count && sheet->next(row)) {
        start.rows.push_back(row);
    }
    return start;
}

}  // namespace qrv
