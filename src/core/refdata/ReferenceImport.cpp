#include "refdata/ReferenceImport.h"

#include <strings.h>

#include <set>
#include <vector>

#include "base/CharacterCount.h"
#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "io/CsvReader.h"
#include "refdata/ReferenceCodes.h"
#include "refdata/ReferenceTables.h"
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
        names.emplace_back(TrimLeading(std::string_view(key).substr(start, end - start)));
        start = end + 1;
    }
    return names;
}

bool isCodeField(const std::string& name) {
    return strcasecmp(name.c_str(), "BANK_CODE") == 0 || strcasecmp(name.c_str(), "BRANCH_CODE") == 0;
}

// The longest text a field of the maintenance windows takes (0: no limit).
int maxLengthOf(const std::string& table, const std::string& field) {
    for (const MaintenanceForm* form : {&bankForm(), &branchForm()}) {
        if (strcasecmp(form->table.c_str(), table.c_str()) != 0) {
            continue;
        }
        for (const MaintenanceField& f : form->fields) {
            if (strcasecmp(f.field.c_str(), field.c_str()) == 0) {
                return f.maxLength;
            }
        }
    }
    return 0;
}

// Why a value cannot go into the table, or empty when it can.
std::string valueProblem(const std::string& table, const std::string& field, const std::string& value) {
    if (cp874::sanitizeUtf8(value) != value) {
        return "the field " + field + " is not UTF-8 text";
    }
    for (const char c : value) {
        if (static_cast<unsigned char>(c) < ' ') {
            return "the field " + field + " holds a tab, a line end or another control character";
        }
    }
    if (!cp874::fromUtf8(value)) {
        return "the field " + field + " holds a character that code page 874 lacks";
    }
    if (const ReferenceCode* code = ReferenceCodeOf(table, field);
        code != nullptr && !IsReferenceCode(*code, value)) {
        return value.empty() ? "the field " + field + " is empty"
                             : "the field " + field + " must be " + std::to_string(code->digits) + " digits";
    }
    const int max = maxLengthOf(table, field);
    if (max > 0 && CharacterCount(value) > max) {
        return "the field " + field + " is longer than " + std::to_string(max) + " characters";
    }
    return {};
}

// "<file> line <n>: ", the start of every refusal of a line.
std::string lineOf(const std::filesystem::path& file, int line) {
    return file.string() + " line " + std::to_string(line) + ": ";
}

// The table's names of the fields the header row names, in its order; an unknown field or one named
// twice is refused.
std::vector<std::string> headerFields(const TableDef& def, const std::vector<std::string>& header,
                                      const std::string& where) {
    std::vector<std::string> names;
    for (std::string h : header) {
        h = std::string(Trim(h));
        const auto field = std::find_if(def.fields.begin(), def.fields.end(), [&h](const FieldDef& f) {
            return strcasecmp(f.name.c_str(), h.c_str()) == 0;
        });
        if (field == def.fields.end()) {
            throw ReferenceImportError(where + "unknown field \"" + h + "\" for table " + def.name);
        }
        if (std::find(names.begin(), names.end(), field->name) != names.end()) {
            throw ReferenceImportError(where + "the field " + field->name + " is named twice");
        }
        names.push_back(field->name);
    }
    return names;
}

// Every field of the table is named: a row replaces the stored one whole, so a field left out would
// be emptied.
void requireEveryField(const TableDef& def, const std::vector<std::string>& names, const std::string& where) {
    std::vector<std::string> missing;
    for (const FieldDef& f : def.fields) {
        if (std::find(names.begin(), names.end(), f.name) == names.end()) {
            missing.push_back(f.name);
        }
    }
    if (missing.empty()) {
        return;
    }
    std::string list = missing.front();
    for (size_t i = 1; i < missing.size(); ++i) {
        list += (i + 1 == missing.size() ? " and " : ", ") + missing[i];
    }
    throw ReferenceImportError(where + (missing.size() == 1 ? "the field " + list + " is missing"
                                                            : "the fields " + list + " are missing"));
}

// The columns of the table's unique key among the named fields.
std::vector<size_t> keyColumnsOf(const TableDef& def, const std::vector<std::string>& names) {
    std::vector<size_t> keyColumns;
    for (const std::string& k : splitKey(def.uniqueKey)) {
        const auto it = std::find_if(names.begin(), names.end(), [&k](const std::string& n) {
            return strcasecmp(n.c_str(), k.c_str()) == 0;
        });
        keyColumns.push_back(static_cast<size_t>(it - names.begin()));
    }
    return keyColumns;
}

std::string insertSql(const TableDef& def, const std::vector<std::string>& names) {
    std::string sql = "INSERT OR REPLACE INTO \"" + def.name + "\" (";
    std::string params;
    for (size_t i = 0; i < names.size(); ++i) {
        sql += (i ? ", \"" : "\"") + names[i] + "\"";
        params += i ? ", ?" : "?";
    }
    return sql + ") VALUES (" + params + ")";
}

// The fields of one file: their names in the header's order, the key's columns, and the statement that
// stores a row.
struct CsvFields {
    std::vector<std::string> names;
    std::vector<size_t> keyColumns;
    std::string sql;
};

CsvFields readHeader(const TableDef& def, CsvReader& reader, const std::filesystem::path& file) {
    std::vector<std::string> header;
    int line = 0;
    if (!reader.next(header, line)) {
        throw ReferenceImportError(file.string() +
                                   ": the file is empty; its first line must name the fields");
    }
    CsvFields fields;
    fields.names = headerFields(def, header, lineOf(file, line));
    requireEveryField(def, fields.names, lineOf(file, line));
    fields.keyColumns = keyColumnsOf(def, fields.names);
    fields.sql = insertSql(def, fields.names);
    return fields;
}

// A row trimmed, its codes in upper case, every value checked; refused with `where` otherwise.
void cleanRow(const TableDef& def, const CsvFields& fields, std::vector<std::string>& row,
              const std::string& where) {
    if (row.size() != fields.names.size()) {
        throw ReferenceImportError(where + "expected " + std::to_string(fields.names.size()) +
                                   " fields, found " + std::to_string(row.size()));
    }
    for (size_t c = 0; c < row.size(); ++c) {
        row[c] = std::string(Trim(row[c]));
        if (isCodeField(fields.names[c])) {
            row[c] = UpperCaseCode(row[c]);
        }
        const std::string problem = valueProblem(def.name, fields.names[c], row[c]);
        if (!problem.empty()) {
            throw ReferenceImportError(where + problem);
        }
    }
    for (const size_t c : fields.keyColumns) {
        if (row[c].empty()) {
            throw ReferenceImportError(where + "the field " + fields.names[c] + " is empty");
        }
    }
}

}  // namespace

int importReferenceCsv(TableStore& store, const std::string& table, const std::filesystem::path& file) {
    const TableDef* def = findTable(table);
    if (def == nullptr || def->uniqueKey.empty()) {
        throw QrvError("\"" + table + "\" is not a reference table");
    }
    CsvReader reader(file);
    const CsvFields fields = readHeader(*def, reader, file);

    TableStore::CommandScope command(store);
    TableStore::Savepoint savepoint(store);
    std::set<std::string> seen;
    std::vector<std::string> row;
    int line = 0;
    int count = 0;
    while (reader.next(row, line)) {
        const std::string where = lineOf(file, line);
        cleanRow(*def, fields, row, where);
        if (!seen.insert(keyOf(row, fields.keyColumns)).second) {
            throw ReferenceImportError(where + "the code appears twice in the file");
        }
        Binds binds(row.begin(), row.end());
        store.execute(fields.sql, binds);
        ++count;
    }
    savepoint.release();
    return count;
}

ReferenceImportCounts ImportBankAndBranchFiles(TableStore& store,
                                               const std::optional<std::filesystem::path>& banks,
                                               const std::optional<std::filesystem::path>& branches) {
    TableStore::CommandScope command(store);
    TableStore::Savepoint both(store);
    ReferenceImportCounts counts;
    if (banks) {
        counts.banks = importReferenceCsv(store, "Bank", *banks);
    }
    if (branches) {
        counts.branches = importReferenceCsv(store, "BRANCH", *branches);
    }
    both.release();
    return counts;
}

ReferenceImportResult importReferenceData(const ReferenceImportRequest& request, Services& services) {
    return importReferenceData(request, services.store, services.events);
}

ReferenceImportResult importReferenceData(const ReferenceImportRequest& request, TableStore& store,
                                          Events& events) {
    ReferenceImportResult result;
    try {
        result.counts = ImportBankAndBranchFiles(store, request.banksPath, request.branchesPath);
    } catch (const ReferenceImportError& e) {
        events.showMessage(MessageKind::Error, e.what());
        return result;
    }
    result.outcome = Outcome::Written;
    result.records = result.counts.banks + result.counts.branches;
    events.showMessage(MessageKind::Information, "Imported " + std::to_string(result.counts.banks) +
                                                     " banks and " + std::to_string(result.counts.branches) +
                                                     " branches");
    return result;
}

void SeedReferenceData(TableStore& store, const std::filesystem::path& folder) {
    for (const char* table : {"Bank", "BRANCH", "WHT_FORM_TYPE", "WHT_TAX_TYPE", "WHT_PAY_TYPE"}) {
        const std::string name = std::string(table) == "BRANCH" ? "Branch" : table;
        const std::filesystem::path file = folder / (name + ".csv");
        std::error_code ec;
        if (std::filesystem::exists(file, ec)) {
            importReferenceCsv(store, table, file);
        }
    }
}

}  // namespace qrv
