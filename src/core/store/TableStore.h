#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "base/Money.h"
#include "base/QrvError.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qrv {

struct TableDef;

// One field value: none, text (UTF-8), float, currency, integer.
using Value = std::variant<std::monostate, std::string, double, Money, std::int64_t>;

// A row read back: fields in column order, looked up by name regardless of case.
class Row {
  public:
    void add(std::string name, Value value) { fields_.emplace_back(std::move(name), std::move(value)); }
    const Value* find(std::string_view name) const;
    // Text of a field (numbers in plain decimal); empty when missing or null.
    std::string text(std::string_view name) const;
    const std::vector<std::pair<std::string, Value>>& fields() const { return fields_; }
    // The value of the field at `index` (0-based), for refilling a row of the same columns.
    Value& valueAt(size_t index) { return fields_[index].second; }

  private:
    std::vector<std::pair<std::string, Value>> fields_;
};

using Binds = std::vector<Value>;
using FieldValues = std::vector<std::pair<std::string_view, Value>>;

// A table store that exists but was never completed (an "init" that stopped, a folder never initialised):
// no schema version recorded, or tables missing. Its message says what to run.
class IncompleteStoreError : public QrvError {
  public:
    using QrvError::QrvError;
};

// The local tables in one SQLite database, "QRV_DB.sqlite" in the data folder. The connection opens
// at the first use. A new database (no file, or a file without tables) is made whole in one transaction:
// the schema, the reference tables filled by the seed, and the schema version; a database that is not
// complete is refused (IncompleteStoreError) until complete() is called. Every value is bound as a
// parameter. A command's changes form one write transaction (CommandScope), begun at its first change,
// so reading never waits for another run and a run that only reads takes no write lock.
class TableStore {
  public:
    static constexpr const char* kFileName = "QRV_DB.sqlite";
    // Fills one empty reference table while the store is made (throws to stop the making).
    using Seed = std::function<void(TableStore&, const std::string& table)>;

    explicit TableStore(std::filesystem::path dataFolder, Seed seed = {});
    // A store held in memory for a dry run: the schema with the reference rows of the data folder's store,
    // which is only read (opened as unchangeable when no other program has it open, so no file of the
    // folder is made or touched), or, when the folder has none, filled from its sample files as a new
    // store would be. The same refusals as the store on disk.
    struct InMemory {};
    TableStore(std::filesystem::path dataFolder, Seed seed, InMemory);
    TableStore(const TableStore&) = delete;
    TableStore& operator=(const TableStore&) = delete;
    ~TableStore();

    const std::filesystem::path& dataFolder() const { return folder_; }
    const Seed& seed() const { return seed_; }
    std::filesystem::path databasePath() const { return folder_ / kFileName; }
    // Opens now (otherwise the first operation does); true when the database was created by this call.
    // Throws IncompleteStoreError for a database that exists but is not complete.
    bool open();
    // Opens and completes a database in one transaction, all or nothing: creates what is missing of the
    // schema, seeds the reference tables that are empty, records the schema version. Rows already
    // there are kept. True when anything was done.
    bool complete();
    bool createdNow() const { return createdNow_; }
    // Closes the connection (the next operation opens it again).
    void close() noexcept { disconnect(); }

    // One write transaction for a command, begun at its first change (reset, append, execute, a
    // savepoint) and committed when the scope ends however it ends, so rows already appended stay;
    // only a command discarded (discardCommand) is rolled back. Scopes nest: only the outermost ends it.
    class CommandScope {
      public:
        explicit CommandScope(TableStore& store);
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;
        ~CommandScope();
        // Commits the command's changes now (the outermost scope only), so that a run puts its files in
        // place only once its tables are safe. A COMMIT that fails (a full disk) rolls the changes back
        // and throws, naming the data folder. The rest of the command reads what it committed.
        void commit();

      private:
        TableStore& store_;
        bool outermost_ = false;
    };

    // The error of a command's COMMIT that failed when its scope ended without commit() (the changes were
    // rolled back); empty when none failed since the last call. Clears it.
    std::string takeCommitFailure() { return std::exchange(commitFailure_, std::string()); }

    // Changes that stand together: undone when the scope ends without release().
    class Savepoint {
      public:
        explicit Savepoint(TableStore& store);
        Savepoint(const Savepoint&) = delete;
        Savepoint& operator=(const Savepoint&) = delete;
        ~Savepoint();
        void release();

      private:
        TableStore& store_;
        bool released_ = false;
    };

    // The open command's changes are rolled back, not committed, when its outermost scope ends (a
    // cancelled run leaves the tables as they were). Nothing without an open scope.
    void discardCommand() {
        if (scopeDepth_ > 0) {
            discard_ = true;
        }
    }

    // Empties a working table. A table of a store made by an earlier version first gets the fields added
    // since (an older version, which names the fields it writes, leaves them empty).
    void reset(std::string_view table);
    // The tables the command emptied so far (or the last command, once it ended), in that order: the
    // working tables that hold its own rows. A command begins with none.
    const std::vector<std::string>& emptiedTables() const { return emptied_; }
    // Counts the command as having emptied and filled `table`: its rows are those an earlier command of
    // the same run left there, unchanged since (see changesByOthers).
    void adoptRows(std::string_view table);
    // Takes the data folder's write lock now, as the command's first change would: from here until the
    // command ends no other run changes the tables, so what it reads next stays true. Nothing outside a
    // command scope.
    void holdWriteLock() { beginWrite(); }
    // A number that changes whenever another connection (another run) commits changes to the store, and
    // never for this connection's own commits (SQLite's data version).
    std::int64_t changesByOthers();
    // Appends one row; fields not named stay null.
    void append(std::string_view table, const FieldValues& fields);
    // The first row whose field equals the value exactly (case-sensitive, whole value).
    std::optional<Row> lookup(std::string_view table, std::string_view field, std::string_view value);
    // Runs one statement and returns its rows.
    std::vector<Row> query(const std::string& sql, const Binds& binds = {});
    // Runs one statement, handing each row to `each` in order (stops when it returns false).
    void forEachRow(const std::string& sql, const Binds& binds, const std::function<bool(const Row&)>& each);
    // Column names of a statement's result, as SQLite names them.
    std::vector<std::string> columns(const std::string& sql);
    // Runs one changing statement; returns the number of rows changed.
    int execute(const std::string& sql, const Binds& binds = {});

  private:
    struct Statement;
    sqlite3* db();
    Statement& prepare(const std::string& sql);
    void exec(const char* sql);
    [[noreturn]] void fail(const std::string& what, int rc) const;
    // The text of a failed COMMIT: what it means for the run and the data folder.
    std::string commitFailureText(int rc) const;
    void connect();
    void disconnect() noexcept;
    // What is missing for a complete store ("" when complete); `fresh` when nothing of it exists. `schema`
    // names the database ("main", or one attached).
    std::string missingParts(bool& fresh, const std::string& schema = "main");
    std::string incompleteText(const std::string& missing) const;
    // Refuses a store that a later version of the program made (a schema version above this one's).
    void refuseNewerSchema(const std::string& schema = "main");
    // The statements that create every table and view that does not exist yet.
    static std::string schemaSql();
    // Fills the in-memory store: the reference rows copied from the store on disk, or seeded.
    void fillFromDisk();
    // Makes the store complete in one write transaction; false when it already was. `seedEveryEmpty` also
    // fills a reference table that is empty in a store that is otherwise complete.
    bool build(bool seedEveryEmpty = false);
    // Adds the fields of `def` that its table lacks.
    void addMissingColumns(const TableDef& def);
    // Begins the command's write transaction if a CommandScope is open and it has not begun yet.
    void beginWrite();
    // Gives the pages that emptied working tables freed back to the disk, when they are many (a store of an
    // earlier version is first made to do so, once). Never throws: a store that stays larger is no fault.
    void releaseFreeSpace() noexcept;
    int readInt(const char* sql);

    std::filesystem::path folder_;
    Seed seed_;
    sqlite3* db_ = nullptr;
    bool createdNow_ = false;
    bool inMemory_ = false;
    int scopeDepth_ = 0;
    bool writing_ = false;
    bool reading_ = false;  // a read transaction after commit(), held until the scope ends
    bool changed_ = false;  // the command committed changes
    bool discard_ = false;
    std::string commitFailure_;
    std::vector<std::string> emptied_;
    std::map<std::string, std::unique_ptr<Statement>> statements_;
    // append()'s statement text, kept for its capacity. A member, not a thread_local: MinGW's runtime
    // frees a thread_local's storage before it runs the destructor, which then frees a stale pointer
    // and corrupts the heap of a program whose commands run on worker threads.
    std::string appendSql_;
};

}  // namespace qrv
