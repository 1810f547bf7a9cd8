#include "base/Cp874.h"
#include "cli/CliApp.h"
#include "cli/ResultJson.h"
#include "convert/Product.h"
#include "store/RunHistory.h"

namespace qrv::cli {

namespace {

struct HistoryOptions {
    std::string company;
    std::string product;
    std::string since;
    std::string until;
    std::string exportFile;
};

std::string filterDate(const std::string& text, const char* option) {
    if (!text.empty() && !Date::fromIsoDashed(text)) {
        throw UsageError(std::string(option) + ": a date as yyyy-mm-dd, such as 2026-12-08");
    }
    return text;
}

RunFilter filterOf(const HistoryOptions& o) {
    if (!o.product.empty() && !productForCode(o.product)) {
        throw UsageError("--product: unknown product \"" + o.product + "\"");
    }
    return {o.company, o.product, filterDate(o.since, "--since"), filterDate(o.until, "--until")};
}

// One run as a line: its fields separated by a TAB, in the order of the heading.
void printRun(std::ostream& out, const RunEntry& e) {
    out << e.ranAt << '\t' << e.userName << '\t' << e.origin << '\t' << e.product << '\t' << e.companyId
        << '\t' << e.outcome << '\t' << e.records << '\t' << (e.total ? e.total->toText2() : std::string())
        << '\t' << e.uploadHash << '\t' << e.sourcePath << '\t' << e.destination << '\n';
}

int runHistory(Session& s, const HistoryOptions& o) {
    const RunFilter filter = filterOf(o);
    s.openStore();
    RunHistory history(s.store);
    if (!o.exportFile.empty()) {
        const std::int64_t count = exportRunHistoryCsv(history, filter, o.exportFile);
        if (!s.json) {
            s.err << count << " runs written to " << cp874::sanitizeUtf8(o.exportFile) << '\n';
        }
        s.result = nlohmann::json{{"exported", cp874::sanitizeUtf8(o.exportFile)}, {"runs", count}};
        s.written.emplace_back(o.exportFile);
        return kOk;
    }
    nlohmann::json runs = nlohmann::json::array();
    std::ostream& out = s.events.out();
    if (!s.json) {
        out << "Ran at\tUser\tFrom\tProduct\tCompany\tOutcome\tRecords\tTotal\tHash\tSource\tDestination\n";
    }
    // The lines name no file written: they are read only for the JSON.
    history.forEach(
        filter,
        [&](const RunEntry& e) {
            if (s.json) {
                runs.push_back(runEntryJson(e));
            } else {
                printRun(out, e);
            }
            return true;
        },
        s.json ? RunFiles::Read : RunFiles::Skipped);
    s.result = nlohmann::json{{"runs", std::move(runs)}};
    return kOk;
}

}  // namespace

void registerHistoryCommand(CLI::App& app, CommandTable& table) {
    auto o = std::make_shared<HistoryOptions>();
    CLI::App* cmd = app.add_subcommand(
        "history",
        "The run history: every run of reformat, from the window or qrv, newest first (when, user, from, "
        "product, company, outcome, records, total, hash, source, destination; TAB-separated)");
    // --json may also follow the command: "qrv history --json".
    cmd->fallthrough();
    cmd->add_option("--company", o->company, "Only the runs of this company id")->type_name("ID");
    cmd->add_option("--product", o->product, "Only the runs of this product (DCP, PAY, ..., DDR)")
        ->type_name("CODE");
    cmd->add_option("--since", o->since, "Only the runs on or after this day")->type_name("YYYY-MM-DD");
    cmd->add_option("--until", o->until, "Only the runs on or before this day")->type_name("YYYY-MM-DD");
    cmd->add_option(
           "--export", o->exportFile,
           "Write the runs to a CSV file (UTF-8, every field of the history) instead of listing them")
        ->type_name("FILE.csv");
    table.add(cmd, [o](Session& s) { return runHistory(s, *o); });
}

}  // namespace qrv::cli
