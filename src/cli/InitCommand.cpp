#include "cli/CliApp.h"
#include "store/QrvError.h"

namespace qrv::cli {

namespace {

// The default settings and sample reference files that a new data folder receives.
constexpr const char* kDefaultFiles[] = {"Default.ini",     "Config.ini",        "Bank.csv",
                                         "Branch.csv",      "WHT_FORM_TYPE.csv", "WHT_TAX_TYPE.csv",
                                         "WHT_PAY_TYPE.csv"};

int runInit(Session& s) {
    const std::filesystem::path target = s.paths.dataFolder;
    const std::filesystem::path source = AppPaths::defaultDataSource();
    std::error_code ec;
    std::filesystem::create_directories(target, ec);
    if (ec) {
        throw QrvError("Cannot create the data folder \"" + target.string() + "\": " + ec.message());
    }
    for (const char* name : kDefaultFiles) {
        const std::filesystem::path from = source / name;
        const std::filesystem::path to = target / name;
        if (std::filesystem::exists(to, ec) || !std::filesystem::exists(from, ec)) {
            continue;  // existing files are kept
        }
        std::filesystem::copy_file(from, to, ec);
        if (ec) {
            throw QrvError("Cannot copy \"" + from.string() + "\" to \"" + to.string() +
                           "\": " + ec.message());
        }
    }
    s.openStore();
    return kOk;
}

}  // namespace

void registerInitCommand(CLI::App& app, CommandTable& table) {
    CLI::App* init =
        app.add_subcommand("init", "Create the data folder with the default settings and tables");
    table.add(init, runInit);
}

}  // namespace qrv::cli
