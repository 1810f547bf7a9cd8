#include "sheet/SheetMapping.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "store/Settings.h"

namespace qrv {
namespace {

// Blanks, tabs and line breaks run together into one blank, none at the ends, capitals aside: how
// field names and header texts are compared.
std::string normalized(std::string_view text) {
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
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
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

bool upperLetters(std::string_view s) {
    return !s.empty() && s.size() <= 3 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

std::string_view orderText(DateOrder order) {
    return order == DateOrder::DMY ? "DMY" : order == DateOrder::MDY ? "MDY" : "YMD";
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
    const Settings ini = Settings::parse(iniText);
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
    for (const Settings::Entry& e : ini.entries()) {
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
            if (section == "values") {
                source->value = e.value;
                if (source->column) {
                    faults.push_back("\"" + *field +
                                     "\" is given both a column ([columns]) and a value ([values])");
                }
                continue;
            }
            if (e.value.empty()) {
                faults.push_back("[columns] \"" + e.key + "\" names no column");
            } else if (isQuoted(e.value)) {
                source->column = ColumnChoice{-1, e.value.substr(1, e.value.size() - 2)};
            } else if (upperLetters(e.value)) {
                const std::optional<int> index = columnIndex(e.value);
                if (!index) {
                    faults.push_back("[columns] \"" + e.key + "\": column " + e.value +
                                     " is beyond the last column a sheet has (XFD)");
                }
                source->column = ColumnChoice{index.value_or(-1), {}};
            } else {
                source->column = ColumnChoice{-1, e.value};
            }
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

MappingRead SheetMapping::load(const std::filesystem::path& file, const std::vector<std::string>& fields) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {std::nullopt, {"Cannot open the mapping file \"" + file.string() + "\""}};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str(), fields);
}

std::string SheetMapping::toIni() const {
    std::string columns = "[columns]\r\n";
    std::string values = "[values]\r\n";
    for (const FieldSource& s : sources) {
        if (s.column) {
            const std::string& h = s.column->header;
            const bool quote =
                upperLetters(h) || isQuoted(h) || h.empty() || h.front() == ' ' || h.back() == ' ';
            columns += s.field + " = " +
                       (s.column->index >= 0 ? columnLetters(s.column->index)
                        : quote              ? "\"" + h + "\""
                                             : h) +
                       "\r\n";
        } else if (s.value) {
            values += s.field + " = " + *s.value + "\r\n";
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
    return columns(row).faults.empty();
}

MappedColumns SheetMapping::columns(const SheetRow& header) const {
    MappedColumns found;
    for (const FieldSource& s : sources) {
        if (!s.column) {
            continue;
        }
        if (s.column->index >= 0) {
            found.columns.emplace_back(s.field, s.column->index);
            continue;
        }
        const std::string wanted = normalized(s.column->header);
        std::vector<int> matches;
        for (size_t i = 0; i < header.cells.size(); ++i) {
            if (!header.cells[i].empty() && normalized(header.cells[i].text) == wanted) {
                matches.push_back(static_cast<int>(i));
            }
        }
        if (matches.empty()) {
            found.faults.push_back("No column of row " + std::to_string(header.number) + " is headed \"" +
                                   s.column->header + "\" (for \"" + s.field + "\")");
        } else if (matches.size() > 1) {
            found.faults.push_back("Columns " + columnLetters(matches[0]) + " and " +
                                   columnLetters(matches[1]) + " of row " + std::to_string(header.number) +
                                   " are both headed \"" + s.column->header + "\": name the column of \"" +
                                   s.field + "\" by its letter");
        } else {
            found.columns.emplace_back(s.field, matches[0]);
        }
    }
    return found;
}

}  // namespace qrv
