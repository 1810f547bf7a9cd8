#include "cli/CliApp.h"

#include "base/QrvError.h"
#include "refdata/ReferenceSeed.h"

namespace qrv::cli {

Session::Session(const AppPaths& p, std::ostream& out, std::optional<std::filesystem::path> reportOut,
                 const Clock& clock)
    : paths(p),
      ui(out, std::move(reportOut)),
      store(p.dataFolder, ReferenceSeed(p.dataFolder)),
      workbench(ui, store, clock, p) {}

void Session::openStore() {
    store.open();
}

const CommandFn* CommandTable::parsed() const {
    for (const Entry& e : commands_) {
        if (e.app->parsed()) {
            return &e.run;
        }
    }
    return nullptr;
}

namespace {

// The first word that is neither an option nor an option's value: the command asked for.
std::string commandWord(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--data" || word == "--reports" || word == "--report-out") {
            ++i;
        } else if (!word.starts_with("-")) {
            return std::string(word);
        }
    }
    return {};
}

// Names a command that does not exist instead of the parser's "A subcommand is required".
bool reportUnknownCommand(CLI::App& app, const std::string& word, std::ostream& err) {
    std::string names;
    const std::function<bool(CLI::App*)> every = [](CLI::App*) { return true; };
    for (const CLI::App* command : app.get_subcommands(every)) {
        if (command->get_name() == word) {
            return false;
        }
        names += (names.empty() ? "" : ", ") + command->get_name();
    }
    err << "qrv: unknown command \"" << word << "\". The commands are: " << names
        << ". Run \"qrv --help\" for more.\n";
    return true;
}

}  // namespace

int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const Clock& clock) {
    CLI::App app{"Convertor QRV: payment text files to upload files for the bank host system V5", "qrv"};
    app.set_version_flag("--version", "2.3.20");
    app.require_subcommand(1);
    std::string dataDir;
    std::string reportDir;
    std::string reportOut;
    app.add_option("--data", dataDir,
                   "Data folder (tables, Default.ini, Config.ini); default: Data/ beside qrv in a build, "
                   "$XDG_DATA_HOME/convertor-qrv/Data when installed")
        ->type_name("DIR");
    app.add_option("--reports", reportDir,
                   "Report layout folder; default: Report/ beside qrv in a build, share/convertor-qrv/Report "
                   "when installed")
        ->type_name("DIR");
    app.add_option("--report-out", reportOut,
                   "Also write every report the command shows as DIR/<layout>.html and DIR/<layout>.json")
        ->type_name("DIR");

    CommandTable table;
    registerInitCommand(app, table);
    registerRefdataCommands(app, table);
    registerReformatCommand(app, table);
    registerReturnCommands(app, table);
    registerHashCommands(app, table);
    registerTierFeeCommand(app, table);
    registerExamplesCommand(app, table);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        app.exit(e, out, err);
        return kOk;
    } catch (const CLI::ParseError& e) {
        if (const std::string word = commandWord(argc, argv);
            word.empty() || !reportUnknownCommand(app, word, err)) {
            app.exit(e, out, err);
        }
        return kUsage;
    }

    AppPaths paths = AppPaths::defaults();
    if (!dataDir.empty()) {
        paths.dataFolder = dataDir;
    } else if (paths.installed) {
        // An installed program keeps its data in the user's data folder, made on first start.
        try {
            CreateDataFolder(paths.dataFolder, AppPaths::defaultDataSource());
        } catch (const std::exception& e) {
            err << "qrv: " << e.what() << '\n';
            return kUnexpected;
        }
    }
    if (!reportDir.empty()) {
        paths.reportFolder = reportDir;
    }
    std::optional<std::filesystem::path> reportFolder;
    if (!reportOut.empty()) {
        reportFolder = reportOut;
    }
    const CommandFn* command = table.parsed();
    if (command == nullptr) {
        err << app.help();
        return kUsage;
    }
    Session session(paths, out, reportFolder, clock);
    try {
        const int status = (*command)(session);
        session.ui.finishProgress();
        return status;
    } catch (const UsageError& e) {
        session.ui.finishProgress();
        err << "qrv: " << e.what() << '\n';
        return kUsage;
    } catch (const std::exception& e) {
        session.ui.finishProgress();
        err << "qrv: " << e.what() << '\n';
        return kUnexpected;
    }
}

}  // namespace qrv::cli
