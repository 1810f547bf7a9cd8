#include "sheet/SheetMapping.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>

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

// Every entry of an INI text in file order, as written, read with the project's INI reader under the
// rules of every setting: names match regardless of case, blanks around them are trimmed, and the first
// occurrence of a key counts.
struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
};

struct IniEntries {
    std::vector<IniEntry> list;
    std::set<std::pair<std::string, std::string>> seen;  // section and key, normalized
};

std::vector<IniEntry> iniEntries(const std::string& text) {
    IniEntries entries;
    ini_parse_string(
        text.c_str(),
        [](void* user, const char* section, const char* key, const char* value) {
            auto& e = *static_cast<IniEntries*>(user);
            if (e.seen.emplace(normalized(section), normalized(key)).second) {
                e.list.push_back({section, key, value});
            }
            return 1;
        },
        &entries);
    return std::move(entries.list);
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

MappingRead SheetMapping::parse(const std::string& iniText, const std::vector<std::string>& fields) {
    if (iniText.size() > kMaxMappingBytes) {
        return {std::nullopt, {tooLong()}};
    }
    if (auto fault = overlongLine(iniText)) {
        return {std::nullopt, {std::move(*fault)}};
    }
    SheetMapping mapping;
    std::vector<std::string> faults;
    const auto fieldNamed = [&fields](const std::string& key) -> std::optional<std::string> {
        for (const std::string& f : fields) {
            if (normalized(f) == normalized(key)) {
                return f;
            }
        }
        return std::nullopt;
    };
    for (const IniEntry& e : iniEntries(iniText)) {
        const std::string section = normalized(e.section);
        if (section == "columns" || section == "values") {
            const std::optional<std::string> field = fieldNamed(e.key);
            if (!field) {
                faults.push_back("[" + e.section + "] \"" + e.key +
                                 "\" is not a field of this product (its fields: " + listed(fields) + ")");
                continue;
            }
            auto source = std::find_if(mapping.sources.begin(), mapping.sources.end(),
                                       [&field](const FieldSource& s) { return s.field == *field; });
            if (source == mapping.sources.end()) {
                source = mapping.sources.insert(mapping.sources.end(), FieldSource{*field, {}, {}});
            } else if (section == "values" ? source->value.has_value() : source->column.has_value()) {
                continue;  // the same field twice in one section: the first one counts, as in every setting
            }
            // What the mapping writes must read back: its line may not grow past what a line holds.
            const std::string written = section == "values" ? e.value : columnIniText(unquoted(e.value));
            if (iniLine(*field, written).size() > kMaxLineBytes + 2) {
                faults.push_back("[" + e.section + "] \"" + e.key +
                                 "\" would be written as a line longer than " +
                                 std::to_string(kMaxLineBytes) + " bytes, more than a mapping line holds");
            }
            if (section == "values") {
                source->value = e.value;
                if (source->column) {
                    faults.push_back("\"" + *field +
                                     "\" is given both a column ([columns]) and a value ([values])");
                }
                continue;
            }
            const std::string text = unquoted(e.value);
            if (normalized(text).empty()) {
                faults.push_back("[columns] \"" + e.key + "\" names no column");
            }
            source->column = ColumnChoice{text, columnIndex(text)};
            if (source->value) {
                faults.push_back("\"" + *field +
                                 "\" is given both a column ([columns]) and a value ([values])");
            }
        } else if (section == "reading") {
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

std::optional<std::string> readMappingText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text(kMaxMappingBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));  // one byte more than a mapping holds is refused
    return text;
}

MappingRead SheetMapping::load(const std::filesystem::path& file, const std::vector<std::string>& fields) {
    const std::optional<std::string> text = readMappingText(file);
    if (!text) {
        return {std::nullopt, {"Cannot open the mapping file \"" + file.string() + "\""}};
    }
    return parse(*text, fields);
}

std::string SheetMapping::toIni() const {
    std::string columns = "[columns]\r\n";
    std::string values = "[values]\r\n";
    for (const FieldSource& s : sources) {
        if (s.column) {
            columns += iniLine(s.field, columnIniText(s.column->text));
        } else if (s.value) {
            values += iniLine(s.field, *s.value);
        }
    }
    return columns + "\r\n" + values + "\r\n[reading]\r\ndates = " + std::string(orderText(reading.dates)) +
           "\r\nyears = " + (reading.years == YearEra::CE ? "CE" : "BE") + "\r\n";
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
    const MappedColumns found = columns(row);
    return std::all_of(sources.begin(), sources.end(), [&found](const FieldSource& s) {
        return !s.column || s.column->letter || found.column(s.field) >= 0;
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
