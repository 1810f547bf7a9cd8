#include "base/QrvError.h"
#include "cli/CliApp.h"
#include "io/Platform.h"

namespace qrv::cli {

namespace {

// What an "init" made, taken away again unless it completes: a refused or failed init leaves the folder
// as it found it.
class InitUndo {
  public:
    explicit InitUndo(TableStore& store) : store_(store) {
        std::error_code ec;
        storeExisted_ = std::filesystem::exists(store.databasePath(), ec);
    }
    InitUndo(const InitUndo&) = delete;
    InitUndo& operator=(const InitUndo&) = delete;
    ~InitUndo() {
        if (done_) {
            return;
        }
        store_.close();
        if (!storeExisted_) {
            for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
                platform::removeQuietly(store_.databasePath().string() + suffix);
            }
        }
        for (const std::filesystem::path& file : made.files) {
            platform::removeQuietly(file);
        }
        if (made.folderMade) {
            std::error_code ec;
            std::filesystem::remove(store_.dataFolder(), ec);  // only when empty
        }
    }
    void done() { done_ = true; }
    CreatedData made;

  private:
    TableStore& store_;
    bool storeExisted_ = false;
    bool done_ = false;
};

int runInit(Session& s) {
    InitUndo undo(s.store);
    CreateDataFolder(s.paths.dataFolder, AppPaths::defaultDataSource(), &undo.made);
    // All or nothing: the tables are made in one transaction; "init" completes a store that an earlier one
    // left incomplete, and fills every reference table that is empty.
    s.store.complete();
    undo.done();
    return kOk;
}

}  // namespace

void registerInitCommand(CLI::App& app, CommandTable& table) {
    CLI::App* init = app.add_subcommand(
        "init",
        "Create the data folder (--data) with the default settings and the sample reference tables; "
        "files already there are kept");
    table.add(init, runInit);
}

}  // namespace qrv::cli
