#include "cli/CliApp.h"
#include "convert/TierRateFeeReport.h"

namespace qrv::cli {

void registerTierFeeCommand(CLI::App& app, CommandTable& table) {
    auto source = std::make_shared<std::string>();
    CLI::App* cmd =
        app.add_subcommand("tier-fee", "Calculate Tier Rate Report: fees of a media clearing file");
    cmd->add_option("--source", *source, "Media Clearing source file")->type_name("FILE")->required();
    table.add(cmd, [source](Session& s) {
        s.openStore();
        CommandServices c(s);
        const TierFeeResult result = tierRateFeeReport(
            {std::filesystem::path(*source), s.paths.dataFolder / "Config.ini"}, c.services);
        // RESULT: result
        return result.outcome == Outcome::Written ? kOk : kStopped;
    });
}

}  // namespace qrv::cli
