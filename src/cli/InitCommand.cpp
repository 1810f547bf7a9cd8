#include "base/QrvError.h"
#include "cli/CliApp.h"

namespace qrv::cli {

namespace {

int runInit(Session& s) {
    CreateDataFolder(s.paths.dataFolder, AppPaths::defaultDataSource());
    // All or nothing: a stopped "init" leaves no half-made tables, and "init" completes a store that an
    // earlier one left incomplete.
    s.store.complete();
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
