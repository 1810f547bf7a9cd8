#include "store/TableStore.h"

#include <sqlite3.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <utility>

#include "base/QrvError.h"
#include "io/Platform.h"
#include "store/RunHistory.h"
#include "store/Schema.h"
#include "store/SqliteValues.h"

namespace qrv {

namespace {

void appendQuoted(std::string& out, std::string_view name) {
    out += '"';
    // Runs without a quote go whole; each quote is doubled.
    for (size_t quote = name.find('"'); quote != std::string_view::npos; quote = name.find('"')) {
        out.append(name.substr(0, quote + 1));
        out += '"';
        name.remove_prefix(quote + 1);
    }
    out.append(name);
    out += '"';
}

const char* kindType(FieldKind kind) {
    switch (kind) {
        case FieldKind::Text:
            return "TEXT";
        case FieldKind::Float:
            return "REAL";
        case FieldKind::Currency:
            return "CURRENCY";
        case FieldKind::Integer:
            return "INTEGER";
    }
    return "TEXT";
}

std::string formatDouble(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

}  // namespace

// A prepared statement kept for the life of the connection.
struct TableStore::Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

const Value* Row::find(std::string_view name) const {
    for (const auto& [n, v] : fields_) {
        if (n.size() == name.size() && strncasecmp(n.c_str(), name.data(), name.size()) == 0) {
            return &v;
        }
    }
    return nullptr;
}

std::string Row::text(std::string_view name) const {
    const Value* v = find(name);
    if (v == nullptr) {
        return {};
    }
    if (const auto* s = std::get_if<std::string>(v)) {
        return *s;
    }
    if (const auto* d = std::get_if<double>(v)) {
        return formatDouble(*d);
    }
    if (const auto* m = std::get_if<Money>(v)) {
        return m->toPlainText();
    }
    if (const auto* i = std::get_if<std::int64_t>(v)) {
        return std::to_string(*i);
    }
    return {};
}

TableStore::TableStore(std::filesystem::path dataFolder, Seed seed)
    : folder_(std::move(dataFolder)), seed_(std::move(seed)) {}

TableStore::TableStore(std::filesystem::path dataFolder, Seed seed, InMemory)
    : folder_(std::move(dataFolder)), seed_(std::move(seed)), inMemory_(true) {}

TableStore::~TableStore() {
    disconnect();
}

void TableStore::disconnect() noexcept {
    statements_.clear();
    if (db_ != nullptr) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

void TableStore::fail(const std::string& what, int rc) const {
    std::string detail = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        throw InUseError("Another run is using the data folder \"" + folder_.string() +
                         "\" (its table store \"" + (folder_ / kFileName).string() +
                         "\" stayed locked for 1.5 s). Nothing was written. Try again when it ends");
    }
    if (rc == SQLITE_READONLY || rc == SQLITE_CANTOPEN) {
        throw QrvError(what + ": the table store \"" + (folder_ / kFileName).string() +
                       "\" cannot be written (" + detail +
                       "). Make the data folder and its files writable, or choose another data folder");
    }
    if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT) {
        throw QrvError(what + ": the table store \"" + (folder_ / kFileName).string() +
                       "\" is damaged or is not a database (" + detail + ")");
    }
    throw QrvError(what + " in the table store \"" + (folder_ / kFileName).string() + "\": " + detail);
}

void TableStore::connect() {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder_, ec)) {
        throw QrvError("The data folder \"" + folder_.string() + "\" does not exist");
    }
    // The journal and its index are files beside the database: a folder that cannot take them is named
    // here rather than through the text of the first statement that fails.
    if (const std::string why = inMemory_ ? std::string() : platform::whyFolderIsNotWritable(folder_);
        !why.empty()) {
        throw QrvError("Cannot open the tables in the data folder \"" + folder_.string() + "\": " + why +
                       ". Make the folder writable, or choose another data folder");
    }
    const std::filesystem::path file = folder_ / kFileName;
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(inMemory_ ? ":memory:" : file.string().c_str(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
    db_ = handle;
    try {
        if (rc != SQLITE_OK) {
            fail("Cannot open the tables", rc);
        }
        sqlite3_busy_timeout(db_, 1500);  // 15 retries of 100 ms
        sqlite3_extended_result_codes(db_, 0);
        if (inMemory_) {
            return;
        }
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=NORMAL");
        // A small page cache: rows are appended and read in order, and a run's memory then stays the
        // same whatever the size of the file (the default cache of 2 MiB fills only on large files).
        exec("PRAGMA cache_size=-512");
    } catch (...) {
        disconnect();
        throw;
    }
}

bool TableStore::open() {
    if (db_ != nullptr) {
        return false;
    }
    std::error_code ec;
    const bool existed = inMemory_ || std::filesystem::exists(databasePath(), ec);
    connect();
    if (inMemory_) {
        try {
            fillFromDisk();
        } catch (...) {
            disconnect();
            throw;
        }
        return false;
    }
    try {
        refuseNewerSchema();
        bool fresh = false;
        const std::string missing = missingParts(fresh);
        if (!missing.empty() && !fresh) {
            throw IncompleteStoreError(incompleteText(missing));
        }
        createdNow_ = !missing.empty() && build();
    } catch (...) {
        disconnect();
        // A store this call began to make and could not complete leaves no file behind.
        if (!existed) {
            for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
                platform::removeQuietly(databasePath().string() + suffix);
            }
        }
        throw;
    }
    return createdNow_;
}

sqlite3* TableStore::db() {
    if (db_ == nullptr) {
        open();
    }
    return db_;
}

void TableStore::exec(const char* sql) {
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) {
        fail(std::string("Cannot run \"") + sql + "\"", rc);
    }
}

bool TableStore::complete() {
    if (db_ == nullptr) {
        connect();
    }
    try {
        refuseNewerSchema();
        return build(true);
    } catch (...) {
        disconnect();
        throw;
    }
}

int TableStore::readInt(const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
    int value = 0;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            value = sqlite3_column_int(stmt, 0);
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_OK) {
        fail(std::string("Cannot run \"") + sql + "\"", rc);
    }
    return value;
}

std::string TableStore::missingParts(bool& fresh, const std::string& schema) {
    std::vector<std::string> present;
    sqlite3_stmt* stmt = nullptr;
    const std::string list =
        "SELECT name FROM " + quoteIdentifier(schema) + ".sqlite_master WHERE type IN ('table', 'view')";
    int rc = sqlite3_prepare_v2(db_, list.c_str(), -1, &stmt, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        present.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        fail("Cannot read the list of tables", rc);
    }
    std::vector<std::string> wanted;
    for (const TableDef& t : schemaTables()) {
        wanted.push_back(t.name);
    }
    wanted.emplace_back(kWhtViewName);
    wanted.emplace_back(kInvoiceViewName);
    std::string missing;
    size_t found = 0;
    for (const std::string& name : wanted) {
        if (std::find(present.begin(), present.end(), name) != present.end()) {
            ++found;
        } else {
            missing += (missing.empty() ? "" : ", ") + name;
        }
    }
    const int version = readInt(("PRAGMA " + quoteIdentifier(schema) + ".user_version").c_str());
    fresh = found == 0 && version == 0;
    if (!missing.empty()) {
        return "lacks " + missing;
    }
    return version >= kSchemaVersion ? std::string() : "records no schema version";
}

std::string TableStore::schemaSql() {
    std::string sql;
    for (const TableDef& t : schemaTables()) {
        sql += "CREATE TABLE IF NOT EXISTS " + quoteIdentifier(t.name) + " (";
        for (size_t i = 0; i < t.fields.size(); ++i) {
            sql += (i ? ", " : "") + quoteIdentifier(t.fields[i].name) + " " + kindType(t.fields[i].kind);
        }
        if (!t.uniqueKey.empty()) {
            sql += ", UNIQUE (" + t.uniqueKey + ")";
        }
        sql += ");";
    }
    sql += "CREATE VIEW IF NOT EXISTS " + std::string(kWhtViewName) + " AS " + whtViewSql() + ";";
    sql += "CREATE VIEW IF NOT EXISTS " + std::string(kInvoiceViewName) + " AS " + invoiceViewSql() + ";";
    for (const std::string& statement : runHistoryStatements()) {
        sql += statement + ";";
    }
    return sql;
}

std::string TableStore::incompleteText(const std::string& missing) const {
    return "The data folder \"" + folder_.string() + "\" is incomplete: its table store \"" +
           (folder_ / kFileName).string() + "\" " + missing +
           " (an \"init\" that stopped, or a folder never initialised). Nothing was done. Run \"qrv --data " +
           folder_.string() + " init\" to complete it; the rows already there are kept";
}

void TableStore::refuseNewerSchema(const std::string& schema) {
    const int version = readInt(("PRAGMA " + quoteIdentifier(schema) + ".user_version").c_str());
    if (version > kSchemaVersion) {
        throw QrvError("The table store \"" + (folder_ / kFileName).string() +
                       "\" was made by a newer version of this program (its schema version is " +
                       std::to_string(version) + "; this version knows " + std::to_string(kSchemaVersion) +
                       "). Nothing was done. Use the newer version, or another data folder");
    }
}

namespace {

// A file name as an SQLite URI path: every byte other than letters, digits and "-._~/" percent-encoded.
std::string uriPath(const std::filesystem::path& file) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri;
    for (const char ch : std::filesystem::absolute(file).generic_string()) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) != 0 || std::string_view("-._~/").find(ch) != std::string_view::npos) {
            uri += ch;
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0x0F];
        }
    }
    return uri;
}

}  // namespace

void TableStore::fillFromDisk() {
    const std::filesystem::path file = folder_ / kFileName;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        // As a real run would make the store: the schema and the sample reference rows, here in memory.
        build();
        return;
    }
    // Without a journal beside it no other program has the store open: read it as unchangeable, so that
    // reading makes no journal files. With one, read it through them (they exist already).
    const bool journal = std::filesystem::exists(file.string() + "-wal", ec);
    const std::string uri = "file:" + uriPath(file) + (journal ? "?mode=ro" : "?mode=ro&immutable=1");
    sqlite3_stmt* attach = nullptr;
    int rc = sqlite3_prepare_v2(db_, "ATTACH ? AS disk", -1, &attach, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(attach, 1, uri.c_str(), -1, SQLITE_TRANSIENT);
        rc = sqlite3_step(attach) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db_);
    }
    sqlite3_finalize(attach);
    if (rc != SQLITE_OK) {
        fail("Cannot read the tables", rc);
    }
    refuseNewerSchema("disk");
    bool fresh = false;
    if (const std::string missing = missingParts(fresh, "disk"); !missing.empty()) {
        throw IncompleteStoreError(incompleteText(missing));
    }
    std::string sql = schemaSql();
    for (const TableDef& t : schemaTables()) {
        if (isReferenceTable(t.name)) {
            sql += "INSERT INTO main." + quoteIdentifier(t.name) + " SELECT * FROM disk." +
                   quoteIdentifier(t.name) + ";";
        }
    }
    // The completed runs, which a dry run's source is checked against (what it shows of them).
    if (readInt("SELECT count(*) FROM disk.sqlite_master WHERE type = 'table' AND name = 'RunHistory'") > 0) {
        sql +=
            "INSERT INTO main.RunHistory (RunId, RanAt, UserName, Origin, Product, CompanyId, SourcePath, "
            "SourceSize, SourceSha1, Destination, UploadHash, Records, Rejected, Outcome, Written) "
            "SELECT RunId, RanAt, '', '', Product, CompanyId, '', SourceSize, SourceSha1, Destination, "
            "UploadHash, 0, 0, Outcome, '[]' FROM disk.RunHistory WHERE Outcome = '" +
            std::string(run_outcome::kCompleted) + "';";
    }
    sql += "DETACH disk;";
    exec(sql.c_str());
}

bool TableStore::build(bool seedEveryEmpty) {
    // The working tables are emptied at every run: a new store gives the pages they free back to the disk
    // (releaseFreeSpace). It takes effect with the first table only, so it comes before the transaction.
    sqlite3_exec(db_, "PRAGMA auto_vacuum = INCREMENTAL", nullptr, nullptr, nullptr);
    const int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        fail("Cannot make the tables", rc);
    }
    try {
        // Another run may have made the store while this one waited for the lock.
        bool fresh = false;
        const bool whole = missingParts(fresh).empty();
        if (whole && !seedEveryEmpty) {
            exec("COMMIT");
            return false;
        }
        exec(schemaSql().c_str());
        bool seeded = false;
        if (seed_) {
            for (const TableDef& t : schemaTables()) {
                if (isReferenceTable(t.name) &&
                    readInt(("SELECT count(*) FROM " + quoteIdentifier(t.name)).c_str()) == 0) {
                    seed_(*this, t.name);
                    seeded = true;
                }
            }
        }
        if (whole && !seeded) {
            exec("COMMIT");
            return false;
        }
        exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
        exec("COMMIT");
    } catch (...) {
        statements_.clear();
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return true;
}

TableStore::Statement& TableStore::prepare(const std::string& sql) {
    auto it = statements_.find(sql);
    if (it == statements_.end()) {
        auto st = std::make_unique<Statement>();
        const int rc =
            sqlite3_prepare_v2(db(), sql.c_str(), static_cast<int>(sql.size()), &st->stmt, nullptr);
        if (rc != SQLITE_OK) {
            fail("Cannot prepare \"" + sql + "\"", rc);
        }
        it = statements_.emplace(sql, std::move(st)).first;
    }
    sqlite3_reset(it->second->stmt);
    sqlite3_clear_bindings(it->second->stmt);
    return *it->second;
}

void TableStore::beginWrite() {
    db();
    // Inside the transaction that makes the store (seeding), the changes are part of that one.
    if (scopeDepth_ > 0 && !writing_ && sqlite3_get_autocommit(db_) != 0) {
        // The write lock is taken here, at the command's first change, not when the command starts.
        const int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            fail("Cannot start writing to the tables", rc);
        }
        writing_ = true;
    }
}

TableStore::CommandScope::CommandScope(TableStore& store) : store_(store) {
    store_.db();
    outermost_ = store_.scopeDepth_++ == 0;
    if (outermost_) {
        store_.emptied_.clear();
    }
}

TableStore::CommandScope::~CommandScope() {
    if (--store_.scopeDepth_ > 0) {
        return;
    }
    const bool discard = std::exchange(store_.discard_, false);
    if (store_.reading_) {
        store_.reading_ = false;
        sqlite3_exec(store_.db_, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (store_.writing_) {
        store_.writing_ = false;
        // Committed however the command ends (the rows already appended stay, as users expect), unless
        // the command was discarded. A COMMIT that fails is rolled back and kept for the caller to report.
        if (discard) {
            sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
        } else if (const int rc = sqlite3_exec(store_.db_, "COMMIT", nullptr, nullptr, nullptr);
                   rc != SQLITE_OK) {
            store_.commitFailure_ = store_.commitFailureText(rc);
            sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
        } else {
            store_.changed_ = true;
        }
    }
    if (std::exchange(store_.changed_, false)) {
        store_.releaseFreeSpace();
    }
}

void TableStore::releaseFreeSpace() noexcept {
    const auto number = [this](const char* pragma) {
        sqlite3_stmt* stmt = nullptr;
        int value = 0;
        if (sqlite3_prepare_v2(db_, pragma, -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            value = sqlite3_column_int(stmt, 0);
        }
        sqlite3_finalize(stmt);
        return value;
    };
    // At least 256 free pages (1 MiB of 4 KiB pages) and a quarter of the file.
    const int free = number("PRAGMA freelist_count");
    if (inMemory_ || free < 256 || free * 4 < number("PRAGMA page_count")) {
        return;
    }
    if (number("PRAGMA auto_vacuum") == 2) {
        sqlite3_exec(db_, "PRAGMA incremental_vacuum", nullptr, nullptr, nullptr);
    } else {
        sqlite3_exec(db_, "PRAGMA auto_vacuum = INCREMENTAL; VACUUM", nullptr, nullptr, nullptr);
    }
}

void TableStore::CommandScope::commit() {
    if (!outermost_ || !store_.writing_ || store_.discard_) {
        return;
    }
    store_.writing_ = false;
    const int rc = sqlite3_exec(store_.db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const std::string text = store_.commitFailureText(rc);
        sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw QrvError(text);
    }
    store_.changed_ = true;
    // The reports shown after the commit read the rows as committed, whatever another run writes next.
    if (sqlite3_exec(store_.db_, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) ==
        SQLITE_OK) {
        store_.reading_ = true;
    }
}

std::string TableStore::commitFailureText(int rc) const {
    const std::string detail = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    const bool full = rc == SQLITE_FULL;
    return "Cannot save the run's changes to the table store \"" + (folder_ / kFileName).string() +
           "\": " + detail +
           (full ? ". The disk of the data folder \"" + folder_.string() + "\" is full" : std::string()) +
           ". The changes were undone and no output of the run was put in place" +
           (full ? ": free space on that disk and run again" : std::string());
}

TableStore::Savepoint::Savepoint(TableStore& store) : store_(store) {
    store_.beginWrite();
    store_.exec("SAVEPOINT qrv_savepoint");
}

TableStore::Savepoint::~Savepoint() {
    if (!released_) {
        sqlite3_exec(store_.db_, "ROLLBACK TO qrv_savepoint; RELEASE qrv_savepoint", nullptr, nullptr,
                     nullptr);
    }
}

void TableStore::Savepoint::release() {
    store_.exec("RELEASE qrv_savepoint");
    released_ = true;
}

void TableStore::reset(std::string_view table) {
    const TableDef* def = findTable(table);
    if (def == nullptr) {
        throw QrvError("Unknown table \"" + std::string(table) + "\"");
    }
    beginWrite();
    addMissingColumns(*def);
    execute("DELETE FROM " + quoteIdentifier(def->name));
    adoptRows(def->name);
}

void TableStore::addMissingColumns(const TableDef& def) {
    std::vector<std::string> present;
    for (const Row& column : query("PRAGMA table_info(" + quoteIdentifier(def.name) + ")")) {
        present.push_back(column.text("name"));
    }
    for (const FieldDef& field : def.fields) {
        if (std::find(present.begin(), present.end(), field.name) == present.end()) {
            execute("ALTER TABLE " + quoteIdentifier(def.name) + " ADD COLUMN " +
                    quoteIdentifier(field.name) + " " + kindType(field.kind));
        }
    }
}

void TableStore::append(std::string_view table, const FieldValues& fields) {
    const TableDef* def = findTable(table);
    if (def == nullptr) {
        throw QrvError("Unknown table \"" + std::string(table) + "\"");
    }
    // The statement text is the key of the prepared statement; built in one buffer, it costs no
    // allocation once the buffer has grown.
    std::string& sql = appendSql_;
    sql.assign("INSERT INTO ");
    appendQuoted(sql, def->name);
    sql += " (";
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            sql += ", ";
        }
        appendQuoted(sql, fields[i].first);
    }
    sql += ") VALUES (";
    for (size_t i = 0; i < fields.size(); ++i) {
        sql += i ? ", ?" : "?";
    }
    sql += ")";
    beginWrite();
    Statement& st = prepare(sql);
    for (size_t i = 0; i < fields.size(); ++i) {
        // Text is bound in place, not copied: the row outlives the step, and the bindings are cleared
        // right after it.
        if (const auto* text = std::get_if<std::string>(&fields[i].second)) {
            sqlite3_bind_text(st.stmt, static_cast<int>(i + 1), text->data(), static_cast<int>(text->size()),
                              SQLITE_STATIC);
        } else {
            bindValue(st.stmt, static_cast<int>(i + 1), fields[i].second);
        }
    }
    const int rc = sqlite3_step(st.stmt);
    sqlite3_reset(st.stmt);
    sqlite3_clear_bindings(st.stmt);
    if (rc != SQLITE_DONE) {
        fail("Cannot append a row to table \"" + def->name + "\"", rc);
    }
}

void TableStore::forEachRow(const std::string& sql, const Binds& binds,
                            const std::function<bool(const Row&)>& each) {
    Statement& st = prepare(sql);
    for (size_t i = 0; i < binds.size(); ++i) {
        bindValue(st.stmt, static_cast<int>(i + 1), binds[i]);
    }
    const int count = sqlite3_column_count(st.stmt);
    std::vector<Declared> declared;
    for (int c = 0; c < count; ++c) {
        declared.push_back(declaredType(st.stmt, c));
    }
    // One row object for all rows: the names are set once, the values refilled.
    Row row;
    for (bool first = true;; first = false) {
        const int rc = sqlite3_step(st.stmt);
        if (rc == SQLITE_DONE) {
            break;
        }
        if (rc != SQLITE_ROW) {
            sqlite3_reset(st.stmt);
            fail("Cannot run \"" + sql + "\"", rc);
        }
        for (int c = 0; c < count; ++c) {
            const Declared d = declared[static_cast<size_t>(c)];
            if (first) {
                row.add(sqlite3_column_name(st.stmt, c), columnValue(st.stmt, c, d));
                continue;
            }
            Value& into = row.valueAt(static_cast<size_t>(c));
            auto* text = std::get_if<std::string>(&into);
            if (text != nullptr && d != Declared::Currency &&
                sqlite3_column_type(st.stmt, c) == SQLITE_TEXT) {
                // Text into text: the string keeps its buffer.
                text->assign(reinterpret_cast<const char*>(sqlite3_column_text(st.stmt, c)),
                             static_cast<size_t>(sqlite3_column_bytes(st.stmt, c)));
            } else {
                into = columnValue(st.stmt, c, d);
            }
        }
        if (!each(row)) {
            break;
        }
    }
    sqlite3_reset(st.stmt);
}

void TableStore::adoptRows(std::string_view table) {
    if (std::find(emptied_.begin(), emptied_.end(), table) == emptied_.end()) {
        emptied_.emplace_back(table);
    }
}

std::int64_t TableStore::changesByOthers() {
    db();
    return readInt("PRAGMA data_version");
}

std::vector<Row> TableStore::query(const std::string& sql, const Binds& binds) {
    std::vector<Row> rows;
    forEachRow(sql, binds, [&rows](const Row& r) {
        rows.push_back(r);
        return true;
    });
    return rows;
}

std::optional<Row> TableStore::lookup(std::string_view table, std::string_view field,
                                      std::string_view value) {
    const TableDef* def = findTable(table);
    if (def == nullptr) {
        throw QrvError("Unknown table \"" + std::string(table) + "\"");
    }
    std::optional<Row> found;
    forEachRow("SELECT * FROM " + quoteIdentifier(def->name) + " WHERE " + quoteIdentifier(field) +
                   " = ? ORDER BY rowid LIMIT 1",
               {std::string(value)}, [&found](const Row& r) {
                   found = r;
                   return false;
               });
    return found;
}

std::vector<std::string> TableStore::columns(const std::string& sql) {
    Statement& st = prepare(sql);
    std::vector<std::string> names;
    const int count = sqlite3_column_count(st.stmt);
    for (int c = 0; c < count; ++c) {
        names.emplace_back(sqlite3_column_name(st.stmt, c));
    }
    return names;
}

int TableStore::execute(const std::string& sql, const Binds& binds) {
    beginWrite();
    Statement& st = prepare(sql);
    for (size_t i = 0; i < binds.size(); ++i) {
        bindValue(st.stmt, static_cast<int>(i + 1), binds[i]);
    }
    const int rc = sqlite3_step(st.stmt);
    sqlite3_reset(st.stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        fail("Cannot run \"" + sql + "\"", rc);
    }
    return sqlite3_changes(db_);
}

}  // namespace qrv
