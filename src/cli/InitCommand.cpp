#include "base/QrvError.h"
#include "cli/CliApp.h"

namespace qrv::cli {

namespace {

int runInit(Session& s) {
    CreateDataFolder(s.paths.dataFolder, AppPaths::defaultDataSource());
    s.openStore();
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
