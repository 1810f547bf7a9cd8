#include "reports/ReportSnapshot.h"

#include <sqlite3.h>

#include <random>
#include <regex>
#include <vector>

#include "base/QrvError.h"
#include "io/Platform.h"
#include "io/WorkFile.h"
#include "io/WorkFileRegistry.h"
#include "store/SqliteValues.h"
#include "store/TableStore.h"

namespace qrv {

namespace {

constexpr const char* kPrefix = "qrv-report-";

// A file name no other snapshot uses: this process's id and 64 random bits.
std::filesystem::path freshFile() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    // Snapshots left by a process that is gone (killed, crashed).
    static const std::regex kOurs(std::string(kPrefix) + "([0-9]{1,10})-[0-9a-f]{16}\\.sqlite");
    RemoveFilesOfGoneProcesses(folder, kPrefix, kOurs);
    std::random_device random;
    const std::uint64_t bits = (std::uint64_t{random()} << 32) ^ random();
    char name[80];
    std::snprintf(name, sizeof name, "%s%ld-%016llx.sqlite", kPrefix, platform::currentProcessId(),
                  static_cast<unsigned long long>(bits));
    return folder / name;
}

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw QrvError("Cannot copy the report's rows (" + what + "): " + sqlite3_errmsg(db));
}

void exec(sqlite3* db, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(db, sql);
    }
}

// One prepared statement, finalized however the scope ends.
class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) {
            fail(db, sql);
        }
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(stmt_); }
    sqlite3_stmt* get() const { return stmt_; }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

std::shared_ptr<const ReportSnapshot> ReportSnapshot::take(const ShownReport& report) {
    // The constructor is private: make_shared cannot reach it.
    std::shared_ptr<ReportSnapshot> snapshot(new ReportSnapshot());
    snapshot->report_ = report;
    snapshot->report_.store = nullptr;
    if (report.store == nullptr) {
        return snapshot;
    }
    std::vector<const DatasetLink*> links;
    for (const DatasetLink& link : datasetLinks()) {
        if (LayoutReadsLink(report.templateText, link)) {
            links.push_back(&link);
        }
    }
    if (links.empty()) {
        return snapshot;
    }
    snapshot->file_ = freshFile();
    workfiles::add(snapshot->file_);  // gone with the process when it is stopped by a signal
    if (sqlite3_open_v2(snapshot->file_.string().c_str(), &snapshot->db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        fail(snapshot->db_, "open " + snapshot->file_.string());
    }
    // A scratch copy: nothing to recover after a crash, so no journal and no waiting for the disk.
    exec(snapshot->db_, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
    for (const DatasetLink* link : links) {
        snapshot->copy(*report.store, *link, ShowsRowsOf(report, *link));
    }
    exec(snapshot->db_, "COMMIT");
    return snapshot;
}

// Copies a link's rows in the order reports list them, into a table of the source's name, columns and
// declared types; their rowids count 1, 2, ... in that order. A link whose rows the report does not show
// (another run's) gets its table without rows.
void ReportSnapshot::copy(TableStore& store, const DatasetLink& link, bool rows) {
    const std::vector<Row> columns =
        store.query("SELECT name, type FROM pragma_table_info(?)", {std::string(link.source)});
    if (columns.empty()) {
        return;
    }
    std::string create = "CREATE TABLE " + quoteIdentifier(link.source) + " (";
    std::string insert = "INSERT INTO " + quoteIdentifier(link.source) + " VALUES (";
    for (size_t i = 0; i < columns.size(); ++i) {
        create +=
            (i == 0 ? "" : ", ") + quoteIdentifier(columns[i].text("name")) + " " + columns[i].text("type");
        insert += i == 0 ? "?" : ", ?";
    }
    exec(db_, create + ")");
    const Statement add(db_, insert + ")");
    std::int64_t count = 0;
    if (!rows) {
        rows_[link.link] = 0;
        return;
    }
    store.forEachRow(DatasetQuery(link), {}, [&](const Row& row) {
        int index = 0;
        for (const auto& field : row.fields()) {
            bindValue(add.get(), ++index, field.second);
        }
        if (sqlite3_step(add.get()) != SQLITE_DONE) {
            fail(db_, insert);
        }
        sqlite3_reset(add.get());
        ++count;
        return true;
    });
    rows_[link.link] = count;
}

ReportSnapshot::~ReportSnapshot() {
    if (db_ != nullptr) {
        sqlite3_close(db_);
    }
    if (!file_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(file_, ignored);
        workfiles::remove(file_);
    }
}

std::int64_t ReportSnapshot::rowCount(const DatasetLink& link) const {
    const auto it = rows_.find(link.link);
    return it == rows_.end() ? 0 : it->second;
}

// The window is found through the rowid, which numbers the rows in order: the last page of a large
// dataset costs what the first does.
void ReportSnapshot::forEachRow(const DatasetLink& link, std::int64_t first, std::int64_t count,
                                const EachRow& each) const {
    if (rowCount(link) == 0 || count == 0) {
        return;
    }
    const Statement select(
        db_, "SELECT * FROM " + quoteIdentifier(link.source) + " WHERE rowid > ? ORDER BY rowid LIMIT ?");
    sqlite3_bind_int64(select.get(), 1, first);
    sqlite3_bind_int64(select.get(), 2, count < 0 ? -1 : count);
    const int columns = sqlite3_column_count(select.get());
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        Row row;
        for (int c = 0; c < columns; ++c) {
            row.add(sqlite3_column_name(select.get(), c),
                    columnValue(select.get(), c, declaredType(select.get(), c)));
        }
        if (!each(row)) {
            return;
        }
    }
    if (rc != SQLITE_DONE) {
        fail(db_, "read " + std::string(link.source));
    }
}

ReadRows ReportSnapshot::reader() const {
    return [this](const DatasetLink& link, std::int64_t first, std::int64_t count, const EachRow& each) {
        forEachRow(link, first, count, each);
    };
}

}  // namespace qrv
