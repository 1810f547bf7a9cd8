#include "sheet/Sheet.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "io/InputGuards.h"
#include "io/Platform.h"
#include "sheet/CsvSheet.h"
#include "sheet/XlsxSheet.h"

namespace qrv {
namespace {

constexpr std::string_view kZip = std::string_view("PK\x03\x04", 4);
constexpr std::string_view kCompoundFile = "\xD0\xCF\x11\xE0";
constexpr size_t kStartBytes = 4096;

std::string quotedPath(const std::filesystem::path& file) {
    return "\"" + file.string() + "\"";
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// What a file that starts with markup is, when it is a spreadsheet program's other way of saving a sheet
// (often named .xls): an XML Spreadsheet 2003, or a web page holding a table; nothing otherwise.
std::optional<std::string> markupKind(std::string_view start) {
    start = start.substr(start.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0);
    start.remove_prefix(std::min(start.find_first_not_of(" \t\r\n"), start.size()));
    if (start.empty() || start.front() != '<') {
        return std::nullopt;
    }
    const std::string text = lowered(start);
    if (text.find("urn:schemas-microsoft-com:office:spreadsheet") != std::string::npos ||
        text.find("<?mso-application progid=\"excel.sheet\"?>") != std::string::npos) {
        return "an XML Spreadsheet 2003 file";
    }
    for (const char* tag : {"<!doctype html", "<html", "<table", "<head", "<body", "<meta"}) {
        if (text.find(tag) != std::string::npos) {
            return "a web page (HTML)";
        }
    }
    return std::nullopt;
}

// A compound file (Office 97-2003) holding an encrypted package: an Office workbook protected by a
// password. Its first directory sector names its streams in UTF-16.
bool isEncryptedPackage(std::ifstream& in) {
    unsigned char header[512] = {};
    in.clear();
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) {
        return false;
    }
    const unsigned shift = header[0x1E] | (header[0x1F] << 8);
    const std::uint32_t directory = header[0x30] | (header[0x31] << 8) | (header[0x32] << 16) |
                                    (static_cast<std::uint32_t>(header[0x33]) << 24);
    if (shift != 9 && shift != 12) {
        return false;
    }
    const std::uint64_t sector = std::uint64_t{1} << shift;
    std::string entries(static_cast<size_t>(sector), '\0');
    in.seekg(static_cast<std::streamoff>((std::uint64_t{directory} + 1) * sector));
    in.read(entries.data(), static_cast<std::streamsize>(entries.size()));
    entries.resize(static_cast<size_t>(in.gcount()));
    const std::string_view name = std::string_view("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    return entries.find(name) != std::string::npos;
}

std::string saveAsAdvice() {
    return ": open it in the spreadsheet program and save it as an Excel workbook (.xlsx) or as CSV";
}

}  // namespace

std::optional<std::string> notASheetFile(const std::filesystem::path& file, std::string_view what) {
    if (auto refusal = notRegularFile(file, what)) {
        return refusal;
    }
    if (platform::fileStatus(file, true).type() == std::filesystem::file_type::directory) {
        return "The " + std::string(what) + " file " + quotedPath(file) + " is a folder, not a file";
    }
    return std::nullopt;
}

std::unique_ptr<Sheet> openSheet(const std::filesystem::path& file, const std::string& sheetName,
                                 const SheetLimits& limits) {
    if (auto refusal = notASheetFile(file, "sheet")) {
        throw SheetError(*refusal);
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw SheetError("Cannot open " + quotedPath(file));
    }
    std::string start(kStartBytes, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<size_t>(in.gcount()));
    if (start.substr(0, 4) == kZip) {
        return std::make_unique<XlsxSheet>(file, sheetName, limits);
    }
    if (start.substr(0, 4) == kCompoundFile) {
        if (isEncryptedPackage(in)) {
            throw SheetError(
                quotedPath(file) + " is a workbook protected by a password, which this program " +
                "cannot open: save a copy without the password as an Excel workbook (.xlsx) or " + "as CSV");
        }
        throw SheetError(
            quotedPath(file) +
            " is an Excel 97-2003 workbook (.xls): save it as an Excel workbook (.xlsx) or as CSV");
    }
    if (const std::optional<std::string> kind = markupKind(start)) {
        throw SheetError(quotedPath(file) + " is " + *kind + ", not a CSV file or an Excel workbook" +
                         saveAsAdvice());
    }
    if (!sheetName.empty()) {
        throw SheetError(quotedPath(file) + " is a CSV file, which has no sheet \"" + sheetName + "\"");
    }
    return std::make_unique<CsvSheet>(file, std::nullopt, limits);
}

bool isSpreadsheetFile(const std::filesystem::path& file) {
    const std::string extension = lowered(file.extension().string());
    for (const char* known : {".csv", ".xlsx", ".xlsm", ".xls", ".xlsb", ".ods"}) {
        if (extension == known) {
            return true;
        }
    }
    if (notASheetFile(file, "sheet")) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::string start(4, '\0');
    in.read(start.data(), 4);
    return in.gcount() == 4 && (start == kZip || start == kCompoundFile);
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
