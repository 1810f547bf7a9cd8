#include "cli/CliApp.h"
#include "convert/TierRateFeeReport.h"

namespace qrv::cli {

void registerTierFeeCommand(CLI::App& app, CommandTable& table) {
    auto source = std::make_shared<std::string>();
    CLI::App* cmd =
        app.add_subcommand("tier-fee", "Calculate Tier Rate Report: fees of a media clearing file");
    cmd->add_option("--source", *source, "Media Clearing source file")->type_name("FILE")->required();
    table.add(cmd, [source](Session& s) {
        s.events.checkReportFolder();
        s.openStore();
        Services services = s.services();
        const TierFeeResult result =
            tierRateFeeReport({std::filesystem::path(*source), s.paths.dataFolder / "Config.ini"}, services);
        s.tellDone("Tier rate fees of " + *source + ": " + std::to_string(result.records) +
                       " credits (tier 1: " + std::to_string(result.tier1Lines) +
                       ", tier 2: " + std::to_string(result.tier2Lines) +
                       ", tier 3: " + std::to_string(result.tier3Lines) + "), total fee " +
                       (result.total ? result.total->toText2() : std::string("0.00")) + " baht",
                   result);
        return s.finish(result, {{"tiers",
                                  {{{"lines", result.tier1Lines}, {"fee", result.tier1Fee.toText2()}},
                                   {{"lines", result.tier2Lines}, {"fee", result.tier2Fee.toText2()}},
                                   {{"lines", result.tier3Lines}, {"fee", result.tier3Fee.toText2()}}}}});
    });
}

}  // namespace qrv::cli
