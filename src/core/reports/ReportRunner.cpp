#include "reports/ReportRunner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>

#include "base/Cp874.h"
#include "base/QrvError.h"
#include "reports/AmountDisplay.h"
#include "reports/ReportLayout.h"
#include "store/TableStore.h"

namespace qrv {

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
    std::optional<std::string> text = ReadLayoutFile(file);
    if (!text) {
        return false;
    }
    template_ = std::move(*text);
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
        {"frDBDataSet1", "Dcp_Detail", {"Dcp_Detail", nullptr}},
        {"frDBDataSet2", "Dcp_Err", {"Dcp_Err", nullptr}},
        {"frDBDataSet3", "Mcl_Detail", {"Mcl_Detail", nullptr}},
        {"frDBDataSet4", "Mcp_Detail", {"Mcp_Detail", nullptr}},
        {"frDBDataSet5", "WhtView", {"Mcp_Detail", "Wht_Detail"}},
        {"frDBDataSet6", "InvoiceView", {"Mcp_Detail", "Invoice_Detail"}},
        {"frDBDataSet7", "ErrorDirect100M", {"ErrorDirect100M", nullptr}},
        {"frDBDataSet8", "DDR_FileCompare", {"DDR_FileCompare", nullptr}},
        {"frDBDataSet9", "completeDirectDebit100M", {"completeDirectDebit100M", nullptr}},
        {"frDBReportHash", "Report_Hash", {"Report_Hash", nullptr}},
        {"frDBReportHashError", "Report_Hash_Error", {"Report_Hash_Error", nullptr}},
    };
    return links;
}

bool ShowsRowsOf(const ShownReport& report, const DatasetLink& link) {
    if (report.store == nullptr || !LayoutReadsLink(report.templateText, link)) {
        return false;
    }
    if (!report.runTables) {
        return true;
    }
    const std::vector<std::string>& filled = *report.runTables;
    return std::all_of(link.tables.begin(), link.tables.end(), [&filled](const char* table) {
        return table == nullptr || std::find(filled.begin(), filled.end(), table) != filled.end();
    });
}

std::string DatasetQuery(const DatasetLink& link) {
    const std::string source = link.source;
    // Views have no rowid of their own; their rows come in the order SQLite joins them.
    if (source == "WhtView" || source == "InvoiceView") {
        return "SELECT * FROM \"" + source + "\"";
    }
    return "SELECT * FROM \"" + source + "\" ORDER BY rowid";
}

// The page is rendered in two steps so that a dataset of any size streams through: the page outside the
// dataset sections, then each section's body once per row. Rows are read one at a time, never held
// together.
void RenderReportHtml(const ShownReport& report, std::ostream& out) {
    ReadRows rows;
    if (report.store != nullptr) {
        TableStore& store = *report.store;
        rows = [&store, &report](const DatasetLink& link, std::int64_t first, std::int64_t count,
                                 const EachRow& each) {
            if (!ShowsRowsOf(report, link)) {
                return;
            }
            std::int64_t at = 0;
            store.forEachRow(DatasetQuery(link), {}, [&](const Row& row) {
                if (at++ < first) {
                    return true;
                }
                return each(row) && (count < 0 || at < first + count);
            });
        };
    }
    const ReportLayout layout(report, rows);
    // A section shown has rows of this run: how many, before a byte is written.
    std::vector<std::int64_t> counts;
    for (size_t i = 0; i < layout.sectionCount(); ++i) {
        std::int64_t n = 0;
        if (layout.shown(i)) {
            const std::string count =
                "SELECT count(*) AS n FROM \"" + std::string(layout.link(i).source) + "\"";
            n = std::stoll(report.store->query(count).at(0).text("n"));
        }
        counts.push_back(n);
    }
    layout.checkSize(counts);
    for (size_t i = 0; i < layout.sectionCount(); ++i) {
        out << layout.part(i);
        layout.renderRows(i, 0, -1, out);
    }
    out << layout.part(layout.sectionCount());
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
    // The links the layout reads, each with the rows of the run that shows it.
    for (const DatasetLink& link : datasetLinks()) {
        if (!LayoutReadsLink(report.templateText, link)) {
            continue;
        }
        out << (firstLink ? "" : ", ") << nlohmann::json(link.link).dump() << ": [";
        firstLink = false;
        bool firstRow = true;
        if (ShowsRowsOf(report, link)) {
            report.store->forEachRow(DatasetQuery(link), {}, [&out, &firstRow, &item](const Row& row) {
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
