#include "sheet/SheetMapping.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>

#include "sheet/Sheet.h"
#include "sheet/TextEncoding.h"

namespace qrv {
namespace {

// Blanks, tabs and line breaks run together into one blank, none at the ends.
std::string blanksRunTogether(std::string_view text) {
    std::string out;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = !out.empty();
        } else {
            if (blank) {
                out += ' ';
                blank = false;
            }
            out += c;
        }
    }
    return out;
}

// Blanks run together, capitals aside: how field names and header texts are compared.
std::string normalized(std::string_view text) {
    std::string out = blanksRunTogether(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names) {
        text += (text.empty() ? "" : ", ") + n;
    }
    return text;
}

bool isQuoted(std::string_view s) {
    return s.size() >= 2 && s.front() == '"' && s.back() == '"';
}

std::string unquoted(const std::string& s) {
    return isQuoted(s) ? s.substr(1, s.size() - 2) : s;
}

// A column's text as the INI file keeps it: blanks and line breaks run together (a header matches that
// way), in quotes when it would otherwise lose its own.
std::string columnIniText(std::string_view text) {
    const std::string out = blanksRunTogether(text);
    return isQuoted(out) ? "\"" + out + "\"" : out;
}

// "field = text": a ";" after a blank starts a comment, so a text starting with one follows the "=" at once.
std::string iniLine(const std::string& field, const std::string& text) {
    return field + (!text.empty() && text.front() == ';' ? " =" : " = ") + text + "\r\n";
}

std::string_view orderText(DateOrder order) {
    return order == DateOrder::DMY ? "DMY" : order == DateOrder::MDY ? "MDY" : "YMD";
}

// Every entry of an INI text in file order, as written, read with the project's INI reader: names match
// regardless of case, blanks around them and the values are trimmed. A key given twice is kept twice, so
// that the mapping can say so rather than keep one of them without a word.
struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
};

// The first line that is none of them (0 when every line is), its entries into `entries`.
int iniEntries(const std::string& text, std::vector<IniEntry>& entries) {
    return ini_parse_string(
        text.c_str(),
        [](void* user, const char* section, const char* key, const char* value) {
            static_cast<std::vector<IniEntry>*>(user)->push_back({section, key, value});
            return 1;
        },
        &entries);
}

// Line ends as in every text file the program reads: CR LF, LF or CR alone. The INI reader ends lines at
// LF only, so a CR alone would leave two lines in one.
std::string withLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            i += i + 1 < text.size() && text[i + 1] == '\n' ? 1 : 0;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Why a text cannot stand in a mapping line and read back the same: a control character, or a ";" after a
// blank, where the INI reader starts a comment.
std::optional<std::string> unwritable(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            return "holds a line break, tab or other control character, which a mapping line cannot hold";
        }
        if (c == ';' && i > 0 && text[i - 1] == ' ') {
            return "holds \" ;\", which starts a comment in a mapping line: write it without the blank";
        }
    }
    return std::nullopt;
}

// A value as the INI file keeps it: in quotes when it would otherwise lose its own quotes or the blanks
// around it.
std::string valueIniText(const std::string& value) {
    const bool blankEnds = !value.empty() && (value.front() == ' ' || value.back() == ' ');
    return isQuoted(value) || blankEnds ? "\"" + value + "\"" : value;
}

// A mapping is a few lines; a larger file is some other file chosen by mistake, or a hostile one.
constexpr size_t kMaxMappingBytes = 64 * 1024;

std::string tooLong() {
    return "The mapping is longer than " + std::to_string(kMaxMappingBytes) +
           " bytes, more than any mapping: is it the right file?";
}

// The INI readers read a longer line in pieces, as lines of their own (the Linux one cuts at 200 bytes):
// such a line is refused, not misread, leaving room for the blanks around "=" the mapping writes.
constexpr size_t kMaxLineBytes = 190;

std::optional<std::string> overlongLine(std::string_view text) {
    size_t number = 1;
    for (size_t start = 0; start < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        if (end - start > kMaxLineBytes + (end > start && text[end - 1] == '\r' ? 1 : 0)) {
            return "Line " + std::to_string(number) + " of the mapping is longer than " +
                   std::to_string(kMaxLineBytes) + " bytes, more than a mapping line holds";
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace

int MappedColumns::column(const std::string& field) const {
    for (const auto& [name, index] : columns) {
        if (name == field) {
            return index;
        }
    }
    return -1;
}

namespace {

std::optional<std::string> fieldNamed(const std::vector<std::string>& fields, const std::string& key) {
    for (const std::string& f : fields) {
        if (normalized(f) == normalized(key)) {
            return f;
        }
    }
    return std::nullopt;
}

// One entry of [columns] or [values] into the mapping; its faults into `faults`.
void readSource(SheetMapping& mapping, const IniEntry& e, const std::vector<std::string>& fields,
                std::vector<std::string>& faults) {
    const bool isValue = normalized(e.section) == "values";
    const std::optional<std::string> field = fieldNamed(fields, e.key);
    if (!field) {
        faults.push_back("[" + e.section + "] \"" + e.key +
                         "\" is not a field of this product (its fields: " + listed(fields) + ")");
        return;
    }
    auto source = std::find_if(mapping.sources.begin(), mapping.sources.end(),
                               [&field](const FieldSource& s) { return s.field == *field; });
    if (source == mapping.sources.end()) {
        source = mapping.sources.insert(mapping.sources.end(), FieldSource{*field, {}, {}});
    }
    const std::string text = unquoted(e.value);
    // What the mapping writes must read back: no character a line cannot hold, no line longer than one.
    const std::string written = isValue ? valueIniText(text) : columnIniText(text);
    if (auto why = unwritable(written)) {
        faults.push_back("[" + e.section + "] \"" + e.key + "\" " + *why);
    } else if (iniLine(*field, written).size() > kMaxLineBytes + 2) {
        faults.push_back("[" + e.section + "] \"" + e.key + "\" would be written as a line longer than " +
                         std::to_string(kMaxLineBytes) + " bytes, more than a mapping line holds");
    }
    if (isValue) {
        source->value = text;
    } else {
        if (normalized(text).empty()) {
            faults.push_back("[columns] \"" + e.key + "\" names no column");
        }
        source->column = columnChoice(text);
    }
    if (source->value && source->column) {
        faults.push_back("\"" + *field + "\" is given both a column ([columns]) and a value ([values])");
    }
}

void readReading(SheetMapping& mapping, const IniEntry& e, std::vector<std::string>& faults) {
    const std::string key = normalized(e.key);
    const std::string value = normalized(e.value);
    if (key == "dates") {
        if (value == "dmy" || value == "mdy" || value == "ymd") {
            mapping.reading.dates = value == "dmy"   ? DateOrder::DMY
                                    : value == "mdy" ? DateOrder::MDY
                                                     : DateOrder::YMD;
        } else {
            faults.push_back("[reading] dates = " + e.value + ": write DMY, MDY or YMD");
        }
    } else if (key == "years") {
        if (value == "ce" || value == "be") {
            mapping.reading.years = value == "ce" ? YearEra::CE : YearEra::BE;
        } else {
            faults.push_back("[reading] years = " + e.value + ": write CE or BE");
        }
    } else {
        faults.push_back("[reading] \"" + e.key + "\" is not a reading setting (dates, years)");
    }
}

}  // namespace

ColumnChoice columnChoice(std::string_view text) {
    std::string canonical = blanksRunTogether(text);
    const std::optional<int> letter = columnIndex(canonical);
    return {std::move(canonical), letter};
}

MappingRead SheetMapping::parse(const std::string& text, const std::vector<std::string>& fields) {
    if (text.size() > kMaxMappingBytes) {
        return {std::nullopt, {tooLong()}};
    }
    const std::string iniText = withLfLineEnds(text);
    if (auto fault = overlongLine(iniText)) {
        return {std::nullopt, {std::move(*fault)}};
    }
    SheetMapping mapping;
    std::vector<std::string> faults;
    std::vector<IniEntry> entries;
    if (const int line = iniEntries(iniText, entries); line > 0) {
        faults.push_back("Line " + std::to_string(line) +
                         " of the mapping is neither \"field = text\", a [section] nor a comment");
    }
    std::set<std::pair<std::string, std::string>> given;  // section and key, normalized
    for (const IniEntry& e : entries) {
        const std::string section = normalized(e.section);
        if (!given.emplace(section, normalized(e.key)).second) {
            faults.push_back("[" + e.section + "] \"" + e.key + "\" is given twice: keep one of them");
        } else if (section == "columns" || section == "values") {
            readSource(mapping, e, fields, faults);
        } else if (section == "reading") {
            readReading(mapping, e, faults);
        } else {
            faults.push_back("[" + e.section +
                             "] is not a section of a mapping ([columns], [values], [reading])");
        }
    }
    if (!faults.empty()) {
        return {std::nullopt, std::move(faults)};
    }
    return {std::move(mapping), {}};
}

MappingFile readMappingFile(const std::filesystem::path& file) {
    if (auto refusal = notASheetFile(file, "mapping")) {
        return {std::nullopt, std::move(*refusal)};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {std::nullopt, "Cannot open the mapping file \"" + file.string() + "\""};
    }
    std::string bytes(kMaxMappingBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));  // one byte more than a mapping holds is refused
    TextEncoding encoding = TextEncoding::Ascii;
    std::int64_t stray = 0;
    std::int64_t strayLine = 0;
    std::string text = textAsUtf8(bytes, encoding, stray, strayLine);
    if (stray > 0) {
        return {std::nullopt, "Line " + std::to_string(strayLine) +
                                  " of the mapping holds a byte that is not UTF-8, in a mapping otherwise "
                                  "written in UTF-8: save it again as UTF-8"};
    }
    return {std::move(text), {}};
}

std::optional<std::string> readMappingText(const std::filesystem::path& file) {
    return readMappingFile(file).text;
}

MappingRead SheetMapping::load(const std::filesystem::path& file, const std::vector<std::string>& fields) {
    MappingFile read = readMappingFile(file);
    if (!read.text) {
        return {std::nullopt, {std::move(read.fault)}};
    }
    return parse(*read.text, fields);
}

std::vector<std::string> SheetMapping::writeFaults() const {
    std::vector<std::string> faults;
    for (const FieldSource& s : sources) {
        if (!s.column && !s.value) {
            continue;
        }
        const std::string written = s.column ? columnIniText(s.column->text) : valueIniText(*s.value);
        if (auto why = unwritable(written)) {
            faults.push_back("\"" + s.field + "\" " + *why);
        } else if (iniLine(s.field, written).size() > kMaxLineBytes + 2) {
            faults.push_back("\"" + s.field + "\" would be written as a line longer than " +
                             std::to_string(kMaxLineBytes) + " bytes, more than a mapping line holds");
        }
    }
    return faults;
}

std::string SheetMapping::toIni() const {
    std::string columns = "[columns]\r\n";
    std::string values = "[values]\r\n";
    for (const FieldSource& s : sources) {
        if (s.column) {
            columns += iniLine(s.field, columnIniText(s.column->text));
        } else if (s.value) {
            values += iniLine(s.field, valueIniText(*s.value));
        }
    }
    return columns + "\r\n" + values + "\r\n[reading]\r\ndates = " + std::string(orderText(reading.dates)) +
           "\r\nyears = " + (reading.years == YearEra::CE ? "CE" : "BE") + "\r\n";
}

bool SheetMapping::operator==(const SheetMapping& other) const {
    return reading == other.reading && sources.size() == other.sources.size() &&
           std::all_of(sources.begin(), sources.end(), [&other](const FieldSource& s) {
               const FieldSource* match = other.find(s.field);
               return match != nullptr && *match == s;
           });
}

const FieldSource* SheetMapping::find(const std::string& field) const {
    for (const FieldSource& s : sources) {
        if (normalized(s.field) == normalized(field)) {
            return &s;
        }
    }
    return nullptr;
}

bool SheetMapping::isHeaderRow(const SheetRow& row) const {
    return std::all_of(sources.begin(), sources.end(), [&row](const FieldSource& s) {
        if (!s.column || s.column->letter) {
            return true;
        }
        // A header present twice is still present: columns() then says which two cells hold it.
        const std::string wanted = normalized(s.column->text);
        return std::any_of(row.cells.begin(), row.cells.end(), [&wanted](const SheetCell& c) {
            return !c.empty() && normalized(c.text) == wanted;
        });
    });
}

MappedColumns SheetMapping::columns(const SheetRow& header) const {
    MappedColumns found;
    for (const FieldSource& s : sources) {
        if (!s.column) {
            continue;
        }
        const std::string wanted = normalized(s.column->text);
        std::vector<int> matches;
        for (size_t i = 0; i < header.cells.size(); ++i) {
            if (!header.cells[i].empty() && normalized(header.cells[i].text) == wanted) {
                matches.push_back(static_cast<int>(i));
            }
        }
        if (matches.size() == 1) {
            found.columns.emplace_back(s.field, matches[0]);
        } else if (matches.size() > 1) {
            found.faults.push_back("Columns " + columnLetters(matches[0]) + " and " +
                                   columnLetters(matches[1]) + " of row " + std::to_string(header.number) +
                                   " are both headed \"" + s.column->text + "\": name the column of \"" +
                                   s.field + "\" by its letter");
        } else if (s.column->letter) {
            found.columns.emplace_back(s.field, *s.column->letter);
        } else {
            found.faults.push_back("No column of row " + std::to_string(header.number) + " is headed \"" +
                                   s.column->text + "\" (for \"" + s.field + "\")");
        }
    }
    return found;
}

}  // namespace qrv
