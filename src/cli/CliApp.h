#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/Date.h"
#include "cli/CliUi.h"
#include "io/AppPaths.h"
#include "store/TableStore.h"
#include "workbench/Workbench.h"

namespace qrv::cli {

// Exit statuses of the contract.
enum Exit { kOk = 0, kStopped = 1, kUsage = 2, kUnexpected = 3 };

// What one command runs with: the folders, the Ui, the table store and the workbench.
struct Session {
    Session(const AppPaths& paths, std::ostream& out, std::optional<std::filesystem::path> reportOut,
            const Clock& clock);
    AppPaths paths;
    CliUi ui;
    TableStore store;
    Workbench workbench;
    // Opens the table store, creating and seeding it when new; refuses an incomplete one.
    void openStore();
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

// Runs the tool with its arguments; returns the exit status.
int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const Clock& clock);

}  // namespace qrv::cli
