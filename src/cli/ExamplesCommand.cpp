#include "cli/CliApp.h"
#include "convert/Examples.h"

namespace qrv::cli {

void registerExamplesCommand(CLI::App& app, CommandTable& table) {
    auto folder = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand(
        "examples", "Write example files of every product, valid and with typical mistakes, into DIR");
    cmd->add_option("DIR", *folder,
                    "Folder to write the examples and their README.txt into (made when missing)")
        ->type_name("")
        ->required();
    table.add(cmd, [folder](Session& s) {
        const WrittenExamples names = writeExamples(*folder, s.clock.today());
        if (!names.kept.empty()) {
            std::string kept;
            for (const std::string& name : names.kept) {
                kept += (kept.empty() ? "" : ", ") + name;
            }
            s.events.showMessage(MessageKind::Warning, "Kept " + std::to_string(names.kept.size()) +
                                                           " files already in " + *folder +
                                                           " under the names of examples: " + kept);
        }
        s.events.showMessage(MessageKind::Plain,
                             "Wrote " + std::to_string(names.written.size()) + " files to " + *folder +
                                 "; see " + (std::filesystem::path(*folder) / "README.txt").string());
        return kOk;
    });
}

}  // namespace qrv::cli
