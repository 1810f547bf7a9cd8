#include "cli/CliApp.h"

#include "base/Version.h"

#include "base/QrvError.h"
#include "cli/ResultJson.h"
#include "refdata/ReferenceSeed.h"

namespace qrv::cli {

Session::Session(const AppPaths& p, std::ostream& out, std::optional<std::filesystem::path> reportOut,
                 const Clock& c, bool jsonOutput)
    : paths(p),
      clock(c),
      json(jsonOutput),
      events(jsonOutput ? held : out, std::move(reportOut), !jsonOutput),
      store(p.dataFolder, ReferenceSeed(p.dataFolder)),
      reports(p.reportFolder) {}

Services Session::services() {
    settings = DefaultSettings::load(paths.dataFolder);
    return Services{store, clock, reports, settings, events};
}

int Session::finish(const RunResult& r, const nlohmann::json& extra) {
    nlohmann::json j = resultJson(r);
    if (extra.is_object()) {
        j.update(extra);
    }
    result = std::move(j);
    return r.outcome == Outcome::Written ? kOk : kStopped;
}

void Session::openStore() {
    store.open();
}

namespace {

// The name of the subcommand given, with its own subcommand ("banks list").
std::string commandName(const CLI::App& app) {
    std::string name;
    for (const CLI::App* sub = &app; sub != nullptr;) {
        const auto subs = sub->get_subcommands();
        sub = subs.empty() ? nullptr : subs.front();
        if (sub != nullptr) {
            name += (name.empty() ? "" : " ") + sub->get_name();
        }
    }
    return name;
}

// The one JSON object of --json: the command, its exit status, the messages in order with their kind, the
// operation's result when it gave one, otherwise the lines it printed; an unexpected error's text.
void writeJson(const Session& s, const std::string& command, int status, const std::string& error,
               std::ostream& out) {
    nlohmann::json j = s.result ? *s.result : nlohmann::json::object();
    j["command"] = command;
    j["exit"] = status;
    nlohmann::json messages = nlohmann::json::array();
    for (const auto& [kind, text] : s.events.messages()) {
        messages.push_back({{"kind", messageKindName(kind)}, {"text", text}});
    }
    j["messages"] = std::move(messages);
    if (!s.result) {
        nlohmann::json lines = nlohmann::json::array();
        std::istringstream printed(s.held.str());
        for (std::string line; std::getline(printed, line);) {
            lines.push_back(line);
        }
        j["lines"] = std::move(lines);
    }
    if (!error.empty()) {
        j["error"] = error;
    }
    out << j.dump(2) << '\n';
    out.flush();
}

}  // namespace

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
    app.set_version_flag("--version", kVersion);
    app.require_subcommand(1);
    std::string dataDir;
    std::string reportDir;
    std::string reportOut;
    bool json = false;
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
    app.add_flag("--json", json,
                 "Print the command's result as one JSON object on standard output (outcome, messages, hash, "
                 "counts, totals, rejected entries, files written, reports) instead of its lines");

    CommandTable table;
    registerInitCommand(app, table);
    registerRefdataCommands(app, table);
    registerReformatCommand(app, table);
    registerReturnCommands(app, table);
    registerHashCommands(app, table);
    registerTierFeeCommand(app, table);
    registerExamplesCommand(app, table);
    registerLayoutCommand(app, table);
    registerBuildSourceCommand(app, table);

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
    Session session(paths, out, reportFolder, clock, json);
    int status = kUnexpected;
    std::string error;
    try {
        status = (*command)(session);
    } catch (const UsageError& e) {
        error = e.what();
        status = kUsage;
    } catch (const std::exception& e) {
        error = e.what();
        status = kUnexpected;
    }
    session.events.finishProgress();
    if (!error.empty()) {
        err << "qrv: " << error << '\n';
    }
    if (json) {
        writeJson(session, commandName(app), status, error, out);
    }
    return status;
}

}  // namespace qrv::cli
