#include "store/ReportRunner.h"

#include <kainjow/mustache.hpp>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "store/Cp874.h"
#include "store/QrvError.h"
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

bool usesLink(const std::string& text, const std::string& link) {
    return text.find("{{#" + link + "}}") != std::string::npos ||
           text.find("{{^" + link + "}}") != std::string::npos;
}

nlohmann::ordered_json jsonValue(const Value& v) {
    if (const auto* s = std::get_if<std::string>(&v)) {
        return cp874::sanitizeUtf8(*s);
    }
    if (const auto* d = std::get_if<double>(&v)) {
        return *d;
    }
    if (const auto* m = std::get_if<Money>(&v)) {
        return m->toDouble();
    }
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        return *i;
    }
    return nullptr;
}

}  // namespace

std::string RenderReportHtml(const ShownReport& report) {
    mustache::mustache tmpl(report.templateText);
    if (!tmpl.is_valid()) {
        throw QrvError("Report layout \"" + report.layoutFile + "\" is malformed: " + tmpl.error_message());
    }
    mustache::data data{mustache::data::type::object};
    for (const auto& [name, value] : report.variables) {
        const std::string text = cp874::sanitizeUtf8(value);
        data.set(name, text);
        data.set(alias(name), text);
    }
    if (report.store != nullptr) {
        for (const DatasetLink& link : datasetLinks()) {
            if (!usesLink(report.templateText, link.link)) {
                continue;
            }
            mustache::data rows{mustache::data::type::list};
            std::int64_t n = 0;
            report.store->forEachRow(datasetSql(link), {}, [&rows, &n](const Row& row) {
                mustache::data item{mustache::data::type::object};
                for (const auto& [field, value] : row.fields()) {
                    const std::string text = cp874::sanitizeUtf8(displayText(value));
                    item.set(field, text);
                    item.set(alias(field), text);
                }
                item.set("_row", std::to_string(++n));
                rows.push_back(item);
                return true;
            });
            data.set(link.link, rows);
        }
    }
    std::string html = tmpl.render(data);
    if (!tmpl.is_valid()) {
        throw QrvError("Report layout \"" + report.layoutFile + "\" is malformed: " + tmpl.error_message());
    }
    return html;
}

void WriteReportJson(const ShownReport& report, std::ostream& out) {
    nlohmann::ordered_json variables = nlohmann::ordered_json::object();
    for (const auto& [name, value] : report.variables) {
        variables[cp874::sanitizeUtf8(name)] = cp874::sanitizeUtf8(value);
    }
    out << "{\"layout\": " << nlohmann::json(report.layoutFile).dump()
        << ", \"variables\": " << variables.dump() << ", \"datasets\": {";
    bool firstLink = true;
    for (const DatasetLink& link : datasetLinks()) {
        out << (firstLink ? "" : ", ") << nlohmann::json(link.link).dump() << ": [";
        firstLink = false;
        bool firstRow = true;
        if (report.store != nullptr) {
            report.store->forEachRow(datasetSql(link), {}, [&out, &firstRow](const Row& row) {
                nlohmann::ordered_json item = nlohmann::ordered_json::object();
                for (const auto& [field, value] : row.fields()) {
                    item[field] = jsonValue(value);
                }
                out << (firstRow ? "" : ", ") << item.dump();
                firstRow = false;
                return true;
            });
        }
        out << "]";
    }
    out << "}}\n";
}

}  // namespace qrv
