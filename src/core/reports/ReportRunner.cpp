#include "reports/ReportRunner.h"

#include <kainjow/mustache.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>

#include "base/Cp874.h"
#include "base/QrvError.h"
#include "reports/AmountDisplay.h"
#include "store/TableStore.h"

namespace qrv {

namespace mustache = kainjow::mustache;

std::string QuoteLiteral(const std::string& text) {
    std::string q = "'";
    for (const char c : text) {
        q += c;
        if (c == '\'') {
            q += '\'';
        }
    }
    return q + "'";
}

std::string UnquoteLiteral(const std::string& literal) {
    if (literal.size() < 2 || literal.front() != '\'' || literal.back() != '\'') {
        return literal;
    }
    std::string s;
    for (size_t i = 1; i + 1 < literal.size(); ++i) {
        s += literal[i];
        if (literal[i] == '\'' && i + 2 < literal.size() && literal[i + 1] == '\'') {
            ++i;
        }
    }
    return s;
}

bool ReportRunner::loadLayout(const std::filesystem::path& file) {
    requested_ = file.filename().string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    template_ = text.str();
    layoutFile_ = file.filename().string();
    return true;
}

void ReportRunner::setVariable(const std::string& name, const std::string& value) {
    const std::string literal = QuoteLiteral(value);
    for (auto& [n, v] : variables_) {
        if (n == name) {
            v = literal;
            return;
        }
    }
    variables_.emplace_back(name, literal);
}

std::string ReportRunner::variable(const std::string& name) const {
    for (const auto& [n, v] : variables_) {
        if (n == name) {
            return UnquoteLiteral(v);
        }
    }
    return {};
}

ShownReport ReportRunner::prepare(TableStore& store) const {
    ShownReport r;
    r.runner = name_;
    r.requestedLayout = requested_;
    r.layoutFile = layoutFile_;
    r.templateText = template_;
    r.modal = modal_;
    r.store = &store;
    for (const auto& [n, v] : variables_) {
        r.variables.emplace_back(n, UnquoteLiteral(v));
    }
    return r;
}

const std::vector<DatasetLink>& datasetLinks() {
    static const std::vector<DatasetLink> links = {
        {"frDBDataSet1", "Dcp_Detail"},
        {"frDBDataSet2", "Dcp_Err"},
        {"frDBDataSet3", "Mcl_Detail"},
        {"frDBDataSet4", "Mcp_Detail"},
        {"frDBDataSet5", "WhtView"},
        {"frDBDataSet6", "InvoiceView"},
        {"frDBDataSet7", "ErrorDirect100M"},
        {"frDBDataSet8", "DDR_FileCompare"},
        {"frDBDataSet9", "completeDirectDebit100M"},
        {"frDBReportHash", "Report_Hash"},
        {"frDBReportHashError", "Report_Hash_Error"},
    };
    return links;
}

namespace {

std::string rowsSql(const DatasetLink& link) {
    return std::string("SELECT * FROM \"") + link.source + "\" ORDER BY rowid";
}

// Views have no rowid of their own; their rows come in the order SQLite joins them.
std::string datasetSql(const DatasetLink& link) {
    const std::string source = link.source;
    if (source == "WhtView" || source == "InvoiceView") {
        return "SELECT * FROM \"" + source + "\"";
    }
    return rowsSql(link);
}

// A name with blanks or ":" offered also with "_" ("Field Name Error" -> "Field_Name_Error").
std::string alias(const std::string& name) {
    std::string a = name;
    for (char& c : a) {
        if (c == ' ' || c == ':') {
            c = '_';
        }
    }
    return a;
}

std::string twoDecimals(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

std::string displayText(const Value& v) {
    if (const auto* s = std::get_if<std::string>(&v)) {
        return *s;
    }
    if (const auto* d = std::get_if<double>(&v)) {
        return twoDecimals(*d);
    }
    if (const auto* m = std::get_if<Money>(&v)) {
        return m->toText2();
    }
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        return std::to_string(*i);
    }
    return {};
}

// A real or currency field as an amount; nothing for text and integers.
std::optional<Money> amountOf(const Value& v) {
    if (const auto* d = std::get_if<double>(&v)) {
        return Money::fromUnits(std::llround(*d * Money::kScale));
    }
    if (const auto* m = std::get_if<Money>(&v)) {
        return *m;
    }
    return std::nullopt;
}

// The display form of a field: amounts in baht ("2,873.95"), anything else as printed.
std::string displayForm(const Value& v) {
    const std::optional<Money> amount = amountOf(v);
    return amount ? BahtDisplay(*amount) : displayText(v);
}

bool usesLink(const std::string& text, const std::string& link) {
    return text.find("{{#" + link + "}}") != std::string::npos ||
           text.find("{{^" + link + "}}") != std::string::npos;
}

}  // namespace

namespace {

// A dataset section of a layout, "{{#link}}body{{/link}}".
struct Section {
    const DatasetLink* link;
    size_t open;   // where "{{#link}}" starts
    size_t body;   // where the body starts
    size_t close;  // where "{{/link}}" starts
};

// The sections of the links the layout shows rows of, in the order they appear.
std::vector<Section> datasetSections(const std::string& text) {
    std::vector<Section> sections;
    for (const DatasetLink& link : datasetLinks()) {
        const std::string open = std::string("{{#") + link.link + "}}";
        const std::string close = std::string("{{/") + link.link + "}}";
        for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
            const size_t end = text.find(close, at + open.size());
            if (end == std::string::npos) {
                break;  // malformed: the whole-layout check reports it
            }
            sections.push_back({&link, at, at + open.size(), end});
        }
    }
    std::sort(sections.begin(), sections.end(),
              [](const Section& a, const Section& b) { return a.open < b.open; });
    return sections;
}

// The names a section body's tags look up, or nothing when a tag is beyond plain names (dotted names,
// "{{.}}", partials, delimiter changes): then every field is offered.
std::optional<std::set<std::string>> referencedNames(const std::string& body) {
    std::set<std::string> names;
    for (size_t at = body.find("{{"); at != std::string::npos; at = body.find("{{", at)) {
        const size_t end = body.find("}}", at + 2);
        if (end == std::string::npos) {
            return std::nullopt;
        }
        std::string tag = body.substr(at + 2, end - at - 2);
        at = end + 2;
        if (!tag.empty() && tag.front() == '!') {
            continue;  // a comment
        }
        if (!tag.empty() && std::string_view("#^/&{").find(tag.front()) != std::string_view::npos) {
            tag.erase(0, 1);
        }
        const size_t first = tag.find_first_not_of(' ');
        const size_t last = tag.find_last_not_of(' ');
        tag = first == std::string::npos ? std::string() : tag.substr(first, last - first + 1);
        if (tag.empty() || tag.find_first_of(".>=<{}") != std::string::npos) {
            return std::nullopt;
        }
        names.insert(tag);
    }
    return names;
}

// Marks where a section's rows go in the rendered page; no layout holds these two bytes.
std::string marker(size_t index) {
    return "\x02" + std::to_string(index) + "\x03";
}

// A dataset's totals offered to the layout beside its rows: "<link>_Rows" (how many) and, per real
// or currency column, "<link>_<column>TotalDisplay" (their sum in baht); read only when the layout
// names one of them.
void setDatasetTotals(TableStore& store, const DatasetLink& link, mustache::data& variables) {
    std::int64_t rows = 0;
    std::vector<std::pair<std::string, Money>> totals;
    store.forEachRow(datasetSql(link), {}, [&](const Row& row) {
        ++rows;
        for (const auto& [field, value] : row.fields()) {
            const std::optional<Money> amount = amountOf(value);
            if (!amount) {
                continue;
            }
            const std::string name = std::string(link.link) + "_" + alias(field) + "TotalDisplay";
            auto total = std::find_if(totals.begin(), totals.end(),
                                      [&name](const auto& t) { return t.first == name; });
            if (total == totals.end()) {
                total = totals.insert(totals.end(), {name, Money()});
            }
            total->second.add(*amount, std::string(link.source) + " row " + std::to_string(rows));
        }
        return true;
    });
    variables.set(std::string(link.link) + "_Rows", std::to_string(rows));
    for (const auto& [name, total] : totals) {
        variables.set(name, BahtDisplay(total));
    }
}

bool hasRows(TableStore& store, const DatasetLink& link) {
    bool any = false;
    store.forEachRow(datasetSql(link), {}, [&any](const Row&) {
        any = true;
        return false;
    });
    return any;
}

}  // namespace

// The page is rendered in two steps so that a dataset of any size streams through: the layout with each
// dataset section's body replaced by a marker (its link a list of one row when the dataset has rows, so
// sections and inverted sections choose as before), then, at each marker, the body once per row, with
// the row's fields in front of the variables. Rows are read one at a time and never held together.
void RenderReportHtml(const ShownReport& report, std::ostream& out) {
    const std::string& text = report.templateText;
    {
        mustache::mustache whole(text);
        if (!whole.is_valid()) {
            throw QrvError("Report layout \"" + report.layoutFile +
                           "\" is malformed: " + whole.error_message());
        }
    }
    mustache::data variables{mustache::data::type::object};
    for (const auto& [name, value] : report.variables) {
        const std::string sanitized = cp874::sanitizeUtf8(value);
        variables.set(name, sanitized);
        variables.set(alias(name), sanitized);
        if (IsAmountVariable(name)) {
            variables.set(name + "Display", BahtDisplay(sanitized).value_or(sanitized));
        }
    }
    if (report.store != nullptr) {
        for (const DatasetLink& link : datasetLinks()) {
            if (text.find(std::string(link.link) + "_") != std::string::npos) {
                setDatasetTotals(*report.store, link, variables);
            }
        }
    }
    std::vector<Section> sections;
    if (report.store != nullptr) {
        sections = datasetSections(text);
    }
    std::string outer;
    size_t from = 0;
    for (size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].open < from) {
            continue;  // inside an earlier section: rendered with its rows
        }
        outer.append(text, from, sections[i].body - from);
        outer += marker(i);
        from = sections[i].close;
    }
    outer.append(text, from, std::string::npos);

    mustache::data page = variables;
    if (report.store != nullptr) {
        for (const DatasetLink& link : datasetLinks()) {
            if (!usesLink(text, link.link)) {
                continue;
            }
            mustache::data rows{mustache::data::type::list};
            if (hasRows(*report.store, link)) {
                rows.push_back(mustache::data{mustache::data::type::object});
            }
            page.set(link.link, rows);
        }
    }
    mustache::mustache outerTmpl(outer);
    std::string rendered = outerTmpl.render(page);
    if (!outerTmpl.is_valid()) {
        throw QrvError("Report layout \"" + report.layoutFile +
                       "\" is malformed: " + outerTmpl.error_message());
    }

    size_t done = 0;
    for (size_t i = 0; i < sections.size(); ++i) {
        const std::string mark = marker(i);
        const size_t at = rendered.find(mark, done);
        if (at == std::string::npos) {
            continue;  // the dataset is empty (or the section was not shown)
        }
        out.write(rendered.data() + done, static_cast<std::streamsize>(at - done));
        done = at + mark.size();
        const Section& section = sections[i];
        const std::string bodyText = text.substr(section.body, section.close - section.body);
        mustache::mustache body(bodyText);
        const std::optional<std::set<std::string>> names = referencedNames(bodyText);
        mustache::data item{mustache::data::type::object};
        mustache::context<std::string> context;
        context.push(&variables);
        context.push(&item);
        std::int64_t n = 0;
        // Per column: its name, alias and display form ("AmountDisplay"), each only when the body can
        // ask for it.
        struct Keys {
            std::string name;
            std::string alias;
            std::string display;
        };
        std::vector<Keys> keys;
        report.store->forEachRow(datasetSql(*section.link), {}, [&](const Row& row) {
            if (keys.empty()) {
                for (const auto& field : row.fields()) {
                    const std::string a = alias(field.first);
                    const auto wanted = [&names](const std::string& k) {
                        return !names || names->count(k) > 0;
                    };
                    const std::string display = a + "Display";
                    keys.push_back({wanted(field.first) ? field.first : std::string(),
                                    wanted(a) ? a : std::string(),
                                    wanted(display) ? display : std::string()});
                }
            }
            size_t c = 0;
            for (const auto& field : row.fields()) {
                const auto& [name, aliasName, display] = keys[c++];
                if (!display.empty()) {
                    item.set(display, cp874::sanitizeUtf8(displayForm(field.second)));
                }
                if (name.empty() && aliasName.empty()) {
                    continue;
                }
                const std::string sanitized = cp874::sanitizeUtf8(displayText(field.second));
                if (!name.empty()) {
                    item.set(name, sanitized);
                }
                if (!aliasName.empty()) {
                    item.set(aliasName, sanitized);
                }
            }
            item.set("_row", std::to_string(++n));
            body.render(context, out);
            return true;
        });
    }
    out.write(rendered.data() + done, static_cast<std::streamsize>(rendered.size() - done));
}

std::string RenderReportHtml(const ShownReport& report) {
    std::ostringstream out;
    RenderReportHtml(report, out);
    return out.str();
}

namespace {

// A JSON string as nlohmann's dump writes it: quotes, backslashes and control characters escaped,
// UTF-8 as it is.
void jsonString(std::string& out, std::string_view text) {
    static const char* hex = "0123456789abcdef";
    out += '"';
    size_t plain = 0;  // start of the run of characters that go as they are
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20) {
            continue;
        }
        out.append(text.data() + plain, i - plain);
        plain = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\u00";
                out += hex[(c >> 4) & 0xF];
                out += hex[c & 0xF];
        }
    }
    out.append(text.data() + plain, text.size() - plain);
    out += '"';
}

void jsonValueText(std::string& out, const Value& v) {
    if (const auto* s = std::get_if<std::string>(&v)) {
        jsonString(out, cp874::sanitizeUtf8(*s));
    } else if (const auto* d = std::get_if<double>(&v)) {
        out += nlohmann::json(*d).dump();
    } else if (const auto* m = std::get_if<Money>(&v)) {
        out += nlohmann::json(m->toDouble()).dump();
    } else if (const auto* i = std::get_if<std::int64_t>(&v)) {
        out += std::to_string(*i);
    } else {
        out += "null";
    }
}

}  // namespace

void WriteReportJson(const ShownReport& report, std::ostream& out) {
    nlohmann::ordered_json variables = nlohmann::ordered_json::object();
    for (const auto& [name, value] : report.variables) {
        variables[cp874::sanitizeUtf8(name)] = cp874::sanitizeUtf8(value);
    }
    out << "{\"layout\": " << nlohmann::json(report.layoutFile).dump()
        << ", \"variables\": " << variables.dump() << ", \"datasets\": {";
    bool firstLink = true;
    std::string item;
    for (const DatasetLink& link : datasetLinks()) {
        out << (firstLink ? "" : ", ") << nlohmann::json(link.link).dump() << ": [";
        firstLink = false;
        bool firstRow = true;
        if (report.store != nullptr) {
            report.store->forEachRow(datasetSql(link), {}, [&out, &firstRow, &item](const Row& row) {
                item.assign(firstRow ? "{" : ", {");
                bool firstField = true;
                for (const auto& [field, value] : row.fields()) {
                    if (!firstField) {
                        item += ',';
                    }
                    firstField = false;
                    jsonString(item, field);
                    item += ':';
                    jsonValueText(item, value);
                }
                item += '}';
                out << item;
                firstRow = false;
                return true;
            });
        }
        out << "]";
    }
    out << "}}\n";
}

}  // namespace qrv
