#include "base/Cp874.h"
#include "cli/CliApp.h"
#include "cli/ResultJson.h"
#include "convert/Reformat.h"
#include "convert/RequestFault.h"
#include "convert/ResultCounters.h"
#include "reports/ReportLayouts.h"
#include "store/DefaultSettings.h"

namespace qrv::cli {

namespace {

// The options of "reformat"; an option not given is an empty field.
struct ReformatOptions {
    std::string product;
    std::string companyId;
    std::string source;
    std::string dest;
    std::string debitAccount;
    std::string feeAccount;
    std::string invoice;
    std::string creditAccount;
    std::string debitFeeAccount;
    std::string processingRound;  // empty when not given
    bool printDetail = false;
    bool dryRun = false;
    bool again = false;
};

// An option's value, in the order the options are told: one that code page 874 cannot write (the command
// line's own rule: the window takes such text and the operation answers it), then the request's fault
// when it is this option's field.
void checkField(const std::string& value, RequestField field, const std::optional<RequestFault>& fault,
                const char* option) {
    if (!cp874::fromUtf8(value)) {
        throw UsageError(std::string(option) +
                         ": the value holds a character that code page 874 cannot hold");
    }
    if (fault && fault->field == field) {
        throw UsageError(std::string(option) + ": at most " + std::to_string(fault->limit) + " characters");
    }
}

// A dry run prints what a real run would have written and counted, before the hash line.
void printWouldBe(std::ostream& out, const ReformatResult& r) {
    for (const WrittenFile& f : r.written) {
        out << "Would write " << outputKindName(f.kind) << ": " << cp874::sanitizeUtf8(f.path.string())
            << '\n';
    }
    if (!r.converted) {
        return;
    }
    out << "Records: " << r.records << '\n';
    if (r.total) {
        out << "Total: " << r.total->toText2() << '\n';
    }
    for (const RejectedEntries& e : r.rejected) {
        out << "Rejected " << e.kind << ": " << e.count << " (last line " << e.lastLine << ")\n";
    }
}

// The result report's counters that the product keeps.
nlohmann::json countersJson(const ReformatResult& result) {
    nlohmann::json j = nlohmann::json::object();
    for (const ResultCounter& counter : resultCounters(result)) {
        if (counter.value) {
            j[counter.name] = *counter.value;
        }
    }
    return j;
}

int runReformat(Session& s, const ReformatOptions& o) {
    Services services = s.services();
    const DefaultSettings& settings = s.settings;
    ReformatRequest request;
    if (!o.product.empty()) {
        request.product = productForCode(o.product);
        if (!request.product) {
            throw UsageError("--product: unknown product \"" + o.product + "\"");
        }
        if (!productEnabled(settings, *request.product)) {
            throw UsageError("--product: " + o.product + " is disabled in Default.ini");
        }
    }
    request.companyId = o.companyId;
    request.sourcePath = o.source;
    request.destinationPath = o.dest;
    request.debitAccount = o.debitAccount;
    request.feeAccount = o.feeAccount;
    request.invoicePath = o.invoice;
    request.creditAccount = o.creditAccount;
    request.debitFeeAccount = o.debitFeeAccount;
    request.processingRound = processingRoundForCode(o.processingRound);
    request.printDetail = o.printDetail;
    request.dryRun = o.dryRun;
    request.again = o.again;
    const std::optional<RequestFault> fault = requestFault(request);
    checkField(o.companyId, RequestField::CompanyId, fault, "--company-id");
    checkField(o.debitAccount, RequestField::DebitAccount, fault, "--debit-account");
    checkField(o.feeAccount, RequestField::FeeAccount, fault, "--fee-account");
    checkField(o.creditAccount, RequestField::CreditAccount, fault, "--credit-account");
    checkField(o.debitFeeAccount, RequestField::DebitFeeAccount, fault, "--debit-fee-account");

    // A data folder whose tables are new (the first command after install) gets the sample reference
    // data first, so Media Clearing finds the banks instead of adding them as new ones. A dry run only
    // reads the data folder, and writes no report, but refuses what the real run would refuse.
    s.events.checkReportFolder();
    if (!request.dryRun) {
        s.openStore();
    }
    const ReformatResult result = reformat(request, services);

    if (result.dryRun) {
        printWouldBe(s.events.out(), result);
    }
    if (!result.hash.empty()) {
        s.events.out() << "Hash Value: " << result.hash << '\n';
    }
    nlohmann::json extra = {
        {"product", result.productCode}, {"dryRun", result.dryRun}, {"counters", countersJson(result)}};
    if (result.earlierRun) {
        extra["earlierRun"] = runEntryJson(*result.earlierRun);
    }
    return s.finish(result, extra);
}

}  // namespace

void registerReformatCommand(CLI::App& app, CommandTable& table) {
    auto o = std::make_shared<ReformatOptions>();
    CLI::App* cmd =
        app.add_subcommand("reformat", "Reformat Data: convert a source file into an upload file");
    cmd->add_option("--product", o->product,
                    "Product: DCP Direct Credit, PAY/PA2/PA3 Payroll type 1/2/3, MCL Media Clearing, "
                    "PA4/PA5/PA6 Media Clearing Payroll 1/2/3, MCP Manager Cheque, DDR Direct Debit (100M)")
        ->type_name("CODE");
    cmd->add_option(
           "--company-id", o->companyId,
           "Company ID (V5 Corporate ID for DDR), at most 12 characters; names the listings and the archive")
        ->type_name("ID");
    cmd->add_option("--source", o->source, "Source file (the payment file for MCP)")->type_name("FILE");
    cmd->add_option("--dest", o->dest, "Upload file to write; listings and the zip archive go to its folder")
        ->type_name("FILE");
    cmd->add_option("--debit-account", o->debitAccount, "Debit account, 10 or 11 digits (DCP, PAY, PA2, PA3)")
        ->type_name("ACCOUNT");
    cmd->add_option("--fee-account", o->feeAccount, "Debit fee account, 10 or 11 digits (DCP, PAY, PA2, PA3)")
        ->type_name("ACCOUNT");
    cmd->add_option("--invoice", o->invoice, "Invoice file of the cheques (MCP)")->type_name("FILE");
    cmd->add_option("--credit-account", o->creditAccount, "Credit account, 10 digits (DDR)")
        ->type_name("ACCOUNT");
    cmd->add_option("--debit-fee-account", o->debitFeeAccount, "Debit fee account, 10 digits (DDR)")
        ->type_name("ACCOUNT");
    cmd->add_option("--processing-round", o->processingRound,
                    "Processing round (DDR): 00 Immediately, 01 End of Day, 02 Start of Day")
        ->type_name("ROUND")
        ->check(CLI::IsMember({"00", "01", "02"}));
    cmd->add_flag("--print-detail", o->printDetail,
                  "Tick \"Print detail\": the detail report instead of the result report");
    cmd->add_flag(
        "--dry-run", o->dryRun,
        "Every check and count, nothing written (no upload, listing, archive, table row or report); "
        "prints what a real run would write");
    cmd->add_flag("--again", o->again,
                  "Convert a source whose content an earlier completed run of the company and product "
                  "converted (such a repeat is refused without it: it could pay twice)");
    table.add(cmd, [o](Session& s) { return runReformat(s, *o); });
}

}  // namespace qrv::cli
