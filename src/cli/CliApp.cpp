#include "cli/CliApp.h"

#include "base/Version.h"

#include "base/Cp874.h"
#include "base/QrvError.h"
#include "cli/ResultJson.h"
#include "convert/RejectKinds.h"
#include "refdata/ReferenceSeed.h"

namespace qrv::cli {

Session::Session(const AppPaths& p, std::ostream& out, std::ostream& errors,
                 std::optional<std::filesystem::path> reportFolder, const Clock& c, bool jsonOutput)
    : paths(p),
      clock(c),
      json(jsonOutput),
      events(jsonOutput ? held : out, reportFolder, !jsonOutput),
      store(p.dataFolder, ReferenceSeed(p.dataFolder)),
      reports(p.reportFolder),
      err(errors),
      reportOut(std::move(reportFolder)) {}

void Session::tellDone(const std::string& what, const RunResult& r) {
    if (json || r.outcome != Outcome::Written) {
        return;
    }
    err << what << '.' << reportsWhere(r) << '\n';
}

void Session::tellFound(const RunResult& r) {
    if (json || r.outcome == Outcome::Written || (r.rejected.empty() && r.reports.empty())) {
        return;
    }
    std::string found;
    for (const RejectedEntries& e : r.rejected) {
        found += (found.empty() ? "Found: " : "; ") + rejectedKindText(e.kind) + ": " +
                 std::to_string(e.count) + " (last at line " + std::to_string(e.lastLine) + ")";
    }
    err << (found.empty() ? "Nothing was written." : found + ".") << reportsWhere(r) << '\n';
}

std::string Session::reportsWhere(const RunResult& r) const {
    std::string where;
    for (const std::string& layout : r.reports) {
        const std::string stem = std::filesystem::path(layout).stem().string();
        if (reportOut) {
            where += " Its report " + stem + " is in " +
                     cp874::sanitizeUtf8((*reportOut / (stem + ".html")).string()) + " and " + stem +
                     ".json there.";
        } else {
            where += " Its report " + stem + " was shown only: --report-out DIR writes it.";
        }
    }
    return where;
}

Services Session::services() {
    settings = DefaultSettings::load(paths.dataFolder);
    return Services{store, clock, reports, settings, events};
}

int Session::finish(const RunResult& r, const nlohmann::json& extra) {
    for (const WrittenFile& f : r.written) {
        written.push_back(f.path);
    }
    nlohmann::json j = resultJson(r);
    if (extra.is_object()) {
        j.update(extra);
    }
    result = std::move(j);
    tellFound(r);
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

// Text for the JSON object: UTF-8 as it is; text that is not (a name from the store or a file name in
// code page 874) converted from code page 874, which every byte has a meaning in.
std::string jsonText(const std::string& text) {
    return cp874::sanitizeUtf8(text) == text ? text : cp874::toUtf8(text);
}

nlohmann::json linesOf(const std::string& printed) {
    nlohmann::json lines = nlohmann::json::array();
    std::istringstream in(printed);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(jsonText(line));
    }
    return lines;
}

// Writes the one JSON object; no text in it can stop that (an invalid sequence left would be replaced).
void dumpJson(const nlohmann::json& j, std::ostream& out) {
    out << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    out.flush();
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
        messages.push_back({{"kind", messageKindName(kind)}, {"text", jsonText(text)}});
    }
    j["messages"] = std::move(messages);
    if (!s.result) {
        j["lines"] = linesOf(s.held.str());
    }
    if (!error.empty()) {
        j["error"] = jsonText(error);
    }
    dumpJson(j, out);
}

// The JSON object of a command line that was not run (a usage error, or --help): what the parser said.
void writeUsageJson(const std::string& command, int status, const std::string& printed,
                    const std::string& error, std::ostream& out) {
    nlohmann::json j = nlohmann::json::object();
    j["command"] = command;
    j["exit"] = status;
    j["messages"] = nlohmann::json::array();
    j["lines"] = linesOf(printed);
    if (!error.empty()) {
        j["error"] = jsonText(error);
    }
    dumpJson(j, out);
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

// Whether --json comes before the command.
bool asksForJson(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--data" || word == "--reports" || word == "--report-out") {
            ++i;
        } else if (word == "--json") {
            return true;
        } else if (!word.starts_with("-")) {
            return false;
        }
    }
    return false;
}

std::string trimmed(const std::string& text) {
    const size_t end = text.find_last_not_of(" \r\n");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

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
    registerHistoryCommand(app, table);
    registerUploadCommands(app, table);

    // With --json even a command line that is not run gives its one JSON object: what the parser says
    // is held, written into it (and its error to standard error as well).
    const bool jsonAsked = asksForJson(argc, argv);
    std::ostringstream parserOut;
    std::ostringstream parserErr;
    std::ostream& saidOut = jsonAsked ? parserOut : out;
    std::ostream& saidErr = jsonAsked ? parserErr : err;
    const auto notRun = [&](int status) {
        if (jsonAsked) {
            err << parserErr.str();
            writeUsageJson(commandWord(argc, argv), status, parserOut.str(), trimmed(parserErr.str()), out);
        }
        return status;
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        app.exit(e, saidOut, saidErr);
        return notRun(kOk);
    } catch (const CLI::ParseError& e) {
        if (const std::string word = commandWord(argc, argv);
            word.empty() || !reportUnknownCommand(app, word, saidErr)) {
            app.exit(e, saidOut, saidErr);
        }
        return notRun(kUsage);
    }

    AppPaths paths = AppPaths::defaults(dataDir);
    if (dataDir.empty() && paths.installed) {
        // An installed program keeps its data in the user's data folder, made on first start.
        try {
            CreateDataFolder(paths.dataFolder, AppPaths::defaultDataSource());
        } catch (const std::exception& e) {
            err << "qrv: " << e.what() << '\n';
            if (json) {
                writeUsageJson(commandName(app), kUnexpected, "", e.what(), out);
            }
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
        saidErr << app.help();
        return notRun(kUsage);
    }
    Session session(paths, out, err, reportFolder, clock, json);
    int status = kUnexpected;
    std::string error;
    try {
        status = (*command)(session);
    } catch (const InUseError& e) {
        // Another run holds what the command needs: a stop in words, as a check's, not a fault.
        session.events.showMessage(MessageKind::Warning, e.what());
        status = session.finish(RunResult{});
    } catch (const UsageError& e) {
        error = e.what();
        status = kUsage;
    } catch (const std::exception& e) {
        error = e.what();
        status = kUnexpected;
    }
    // A COMMIT of the tables that failed as a command ended: its changes are gone, the command failed.
    if (const std::string failed = session.store.takeCommitFailure(); !failed.empty() && error.empty()) {
        error = failed;
        status = kUnexpected;
    }
    session.events.finishProgress();
    if (!error.empty()) {
        err << "qrv: " << error << '\n';
    }
    if (json) {
        writeJson(session, commandName(app), status, error, out);
    }
    // Standard output closed or full (a reader that went away): the command ran to its end, and nothing
    // of it is taken back; the failure is the exit status.
    if (!out.flush()) {
        std::string written;
        for (const std::filesystem::path& p : session.written) {
            written += (written.empty() ? "" : ", ") + cp874::sanitizeUtf8(p.string());
        }
        err << "qrv: Cannot write to standard output (it was closed or is full). The command ran to its end"
            << (written.empty() ? std::string(".") : "; its outputs were written and stay: " + written + ".")
            << '\n';
        return kUnexpected;
    }
    return status;
}

}  // namespace qrv::cli
