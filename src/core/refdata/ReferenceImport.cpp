#include "refdata/ReferenceImport.h"

#include <strings.h>

#include <set>
#include <vector>

#include "store/CsvReader.h"
#include "store/QrvError.h"
#include "store/Schema.h"
#include "store/TableStore.h"

namespace qrv {

namespace {

std::string keyOf(const std::vector<std::string>& row, const std::vector<size_t>& keyColumns) {
    std::string key;
    for (const size_t c : keyColumns) {
        key += row[c];
        key += '\x1f';
    }
    return key;
}

std::vector<std::string> splitKey(const std::string& key) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start < key.size()) {
        size_t end = key.find(',', start);
        if (end == std::string::npos) {
            end = key.size();
        }
        std::string name = key.substr(start, end - start);
        while (!name.empty() && name.front() == ' ') {
            name.erase(0, 1);
        }
        names.push_back(name);
        start = end + 1;
    }
    return names;
}

}  // namespace

int ImportReferenceCsv(TableStore& store, const std::string& table, const std::filesystem::path& file) {
    const TableDef* def = findTable(table);
    if (def == nullptr || def->uniqueKey.empty()) {
        throw QrvError("\"" + table + "\" is not a reference table");
    }
    CsvReader reader(file);
    std::vector<std::string> header;
    int line = 0;
    if (!reader.next(header, line)) {
        throw QrvError(file.string() + ": the file is empty; its first line must name the fields");
    }
    std::vector<std::string> names;
    for (const std::string& h : header) {
        const auto field = std::find_if(def->fields.begin(), def->fields.end(), [&h](const FieldDef& f) {
            return strcasecmp(f.name.c_str(), h.c_str()) == 0;
        });
        if (field == def->fields.end()) {
            throw QrvError(file.string() + " line " + std::to_string(line) + ": unknown field \"" + h +
                           "\" for table " + def->name);
        }
        names.push_back(field->name);
    }
    std::vector<size_t> keyColumns;
    for (const std::string& k : splitKey(def->uniqueKey)) {
        const auto it = std::find_if(names.begin(), names.end(), [&k](const std::string& n) {
            return strcasecmp(n.c_str(), k.c_str()) == 0;
        });
        if (it == names.end()) {
            throw QrvError(file.string() + " line " + std::to_string(line) + ": the field " + k +
                           " is missing");
        }
        keyColumns.push_back(static_cast<size_t>(it - names.begin()));
    }

    std::string sql = "INSERT OR REPLACE INTO \"" + def->name + "\" (";
    std::string params;
    for (size_t i = 0; i < names.size(); ++i) {
        sql += (i ? ", \"" : "\"") + names[i] + "\"";
        params += i ? ", ?" : "?";
    }
    sql += ") VALUES (" + params + ")";

    TableStore::CommandScope command(store);
    TableStore::Savepoint savepoint(store);
    std::set<std::string> seen;
    std::vector<std::string> row;
    int count = 0;
    while (reader.next(row, line)) {
        const std::string where = file.string() + " line " + std::to_string(line) + ": ";
        if (row.size() != names.size()) {
            throw QrvError(where + "expected " + std::to_string(names.size()) + " fields, found " +
                           std::to_string(row.size()));
        }
        for (const size_t c : keyColumns) {
            if (row[c].empty()) {
                throw QrvError(where + "the field " + names[c] + " is empty");
            }
        }
        if (!seen.insert(keyOf(row, keyColumns)).second) {
            throw QrvError(where + "the code appears twice in the file");
        }
        Binds binds(row.begin(), row.end());
        store.execute(sql, binds);
        ++count;
    }
    savepoint.release();
    return count;
}

void SeedReferenceData(TableStore& store, const std::filesystem::path& folder) {
    for (const char* table : {"Bank", "BRANCH", "WHT_FORM_TYPE", "WHT_TAX_TYPE", "WHT_PAY_TYPE"}) {
        const std::string name = std::string(table) == "BRANCH" ? "Branch" : table;
        const std::filesystem::path file = folder / (name + ".csv");
        std::error_code ec;
        if (std::filesystem::exists(file, ec)) {
            ImportReferenceCsv(store, table, file);
        }
    }
}

}  // namespace qrv
