#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <sstream>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "base/Cp874.h"
#include "reports/ReportRunner.h"

namespace qrv::fuzz {

namespace {

// Eight bytes of `bytes` from `at` (zeros past its end), as a value of type T.
template <class T>
T numberAt(std::string_view bytes, size_t at) {
    unsigned char raw[sizeof(T)] = {};
    if (at < bytes.size()) {
        std::memcpy(raw, bytes.data() + at, std::min(sizeof(T), bytes.size() - at));
    }
    T value;
    std::memcpy(&value, raw, sizeof(T));
    return value;
}

TableStore& jsonStore() {
    static TableStore store(harness().folder("json-store"));
    return store;
}

}  // namespace

// The report's JSON written over any bytes: a variable's name and value, two texts in the rows of
// datasets, and a float, a currency amount and an integer taken from the bytes of the fourth part.
// Whatever goes in, the output parses as JSON and gives back each text (invalid UTF-8 replaced) and the
// integer.
void jsonTarget(const uint8_t* data, size_t size) {
    const auto parts = splitParts(data, size, 5);
    TableStore& store = jsonStore();
    const std::string name(parts[0]);
    const std::string value(parts[1]);
    const std::string text1(parts[2]);
    const std::string text2(parts[3]);
    const auto real = numberAt<double>(parts[4], 0);
    const auto units = numberAt<std::int64_t>(parts[4], 8);
    const auto count = numberAt<std::int64_t>(parts[4], 16);
    {
        const TableStore::CommandScope scope(store);  // one transaction, not one per change
        for (const char* table : {"Dcp_Detail", "Dcp_Err", "Report_Hash_Error", "DDR_FileCompare"}) {
            store.reset(table);
        }
        store.append("Dcp_Detail", {{"AcNo", text1}, {"Amount", real}, {"Name", text2}});
        store.append("Dcp_Err", {{"DesErr", text1}, {"FieldName", text2}});
        store.append("Report_Hash_Error", {{"Field Name Error", text2}, {"CountLine", count}});
        store.append("DDR_FileCompare", {{"Account_No", text1}, {"Amount", Money::fromUnits(units)}});
    }

    ShownReport report;
    report.layoutFile = "rptResult.frf";
    for (const DatasetLink& link : datasetLinks()) {  // a layout that shows every link
        report.templateText += std::string("{{#") + link.link + "}}{{/" + link.link + "}}";
    }
    report.variables = {{name, value}, {value, text1}};
    report.store = &store;
    report.runTables = store.emptiedTables();  // the four tables filled above
    std::ostringstream out;
    WriteReportJson(report, out);

    const auto json = nlohmann::ordered_json::parse(out.str(), nullptr, false);
    if (json.is_discarded()) {
        finding("the output does not parse");
    }
    const auto& variables = json.at("variables");
    const std::string cleanName = cp874::sanitizeUtf8(name);
    const std::string cleanValue = cp874::sanitizeUtf8(value);
    const std::string cleanText1 = cp874::sanitizeUtf8(text1);
    const std::string cleanText2 = cp874::sanitizeUtf8(text2);
    if (variables.value(cleanValue, std::string("\xff")) != cleanText1 ||
        (cleanName != cleanValue && variables.value(cleanName, std::string("\xff")) != cleanValue)) {
        finding("a variable does not come back");
    }
    const auto& datasets = json.at("datasets");
    if (datasets.size() != datasetLinks().size()) {
        finding("a dataset link is missing");
    }
    const auto& detail = datasets.at("frDBDataSet1").at(0);
    const auto& err = datasets.at("frDBDataSet2").at(0);
    const auto& hashError = datasets.at("frDBReportHashError").at(0);
    if (detail.at("AcNo") != cleanText1 || detail.at("Name") != cleanText2 ||
        err.at("DesErr") != cleanText1 || err.at("FieldName") != cleanText2 ||
        hashError.at("Field Name Error") != cleanText2 ||
        datasets.at("frDBDataSet8").at(0).at("Account_No") != cleanText1) {
        finding("a text does not come back");
    }
    if (hashError.at("CountLine") != count) {
        finding("an integer does not come back");
    }
}

}  // namespace qrv::fuzz
