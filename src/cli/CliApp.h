#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <sstream>
#include "base/Date.h"

#include "cli/CliEvents.h"
#include "convert/RunResult.h"
#include "convert/Services.h"
#include "io/AppPaths.h"
#include "reports/ReportLayouts.h"
#include "store/DefaultSettings.h"
#include "store/TableStore.h"

namespace qrv::cli {

// Exit statuses of the contract.
enum Exit { kOk = 0, kStopped = 1, kUsage = 2, kUnexpected = 3 };

// What one command runs with: the folders, the events sink, the table store, the report layouts, the
// settings. With --json the lines a command prints are held, and the result a command
// hands to finish() becomes the one JSON object on standard output.
struct Session {
    Session(const AppPaths& paths, std::ostream& out, std::ostream& err,
            std::optional<std::filesystem::path> reportOut, const Clock& clock, bool json = false);
    AppPaths paths;
    const Clock& clock;
    const bool json;
    std::ostringstream held;  // what the command prints, with --json
    CliEvents events;
    TableStore store;
    ReportLayouts reports;
    DefaultSettings settings;
    // Opens the table store, creating and seeding it when new; refuses an incomplete one.
    void openStore();
    // The services of an operation; reads "Default.ini" of the data folder afresh.
    Services services();
    // Says on standard error what a command that prints no message did (`what`) and where the report it
    // showed is (standard output holds only the window's messages). Nothing with --json, whose object says
    // it.
    void tellDone(const std::string& what, const RunResult& result);
    // Says on standard error what a run that did not produce its output found (its rejected entries by kind,
    // each with its last line) and where its report is. Nothing with --json, whose object says it.
    void tellFound(const RunResult& result);
    // Records the operation's result for --json (with `extra` values of the operation merged in), tells what
    // a run that did not produce its output found (tellFound), and gives the exit status its outcome means: 0
    // when it produced its output, else 1.
    int finish(const RunResult& result, const nlohmann::json& extra = {});

    // " Its report X is in ..." for each report the run showed.
    std::string reportsWhere(const RunResult& result) const;

    std::ostream& err;
    std::optional<std::filesystem::path> reportOut;
    std::optional<nlohmann::json> result;
    std::vector<std::filesystem::path> written;  // every path the command's result names
};

// A usage error found after parsing (an option's value out of range); exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

using CommandFn = std::function<int(Session&)>;

// The subcommands and what each runs.
class CommandTable {
  public:
    void add(CLI::App* subcommand, CommandFn run) { commands_.push_back({subcommand, std::move(run)}); }
    const CommandFn* parsed() const;

  private:
    struct Entry {
        CLI::App* app;
        CommandFn run;
    };
    std::vector<Entry> commands_;
};

// Every command of the tool registers itself here.
void registerInitCommand(CLI::App& app, CommandTable& table);
void registerRefdataCommands(CLI::App& app, CommandTable& table);
void registerReformatCommand(CLI::App& app, CommandTable& table);
void registerReturnCommands(CLI::App& app, CommandTable& table);
void registerHashCommands(CLI::App& app, CommandTable& table);
void registerTierFeeCommand(CLI::App& app, CommandTable& table);
void registerExamplesCommand(CLI::App& app, CommandTable& table);
void registerLayoutCommand(CLI::App& app, CommandTable& table);
void registerBuildSourceCommand(CLI::App& app, CommandTable& table);
void registerHistoryCommand(CLI::App& app, CommandTable& table);
void registerUploadCommands(CLI::App& app, CommandTable& table);

// Runs the tool with its arguments; returns the exit status.
int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const Clock& clock);

}  // namespace qrv::cli
