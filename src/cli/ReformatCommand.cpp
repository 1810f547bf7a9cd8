#include "base/Cp874.h"
#include "cli/CliApp.h"
#include "workbench/ProductChoice.h"

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
    std::string processingRound;
    bool processingRoundGiven = false;
    bool printDetail = false;
};

void checkField(const std::string& value, size_t limit, const char* option) {
    if (!cp874::fromUtf8(value)) {
        throw UsageError(std::string(option) +
                         ": the value holds a character that code page 874 cannot hold");
    }
    const size_t length = cp874::fromUtf8(value)->size();
    if (length > limit) {
        throw UsageError(std::string(option) + ": at most " + std::to_string(limit) + " characters");
    }
}

int runReformat(Session& s, const ReformatOptions& o) {
    Workbench& wb = s.workbench;
    wb.FormCreate();
    Choice choice = Choice::None;
    if (!o.product.empty()) {
        choice = choiceForProductCode(o.product);
        if (choice == Choice::None) {
            throw UsageError("--product: unknown product \"" + o.product + "\"");
        }
        if (!wb.isEnabled(choice)) {
            throw UsageError("--product: " + o.product + " is disabled in Default.ini");
        }
    }
    checkField(o.companyId, FieldLimits::edtComId, "--company-id");
    checkField(o.debitAccount, FieldLimits::edtDebitAcct, "--debit-account");
    checkField(o.feeAccount, FieldLimits::edtFeeAcct, "--fee-account");
    checkField(o.creditAccount, FieldLimits::CreditAccountEdit, "--credit-account");
    checkField(o.debitFeeAccount, FieldLimits::DebitFeeAccEdt, "--debit-fee-account");

    s.openStore();  // a database made again gets its reference data, as at "init"
    wb.selectProduct(choice);
    wb.fields.edtComId = o.companyId;
    wb.fields.edtSource = o.source;
    wb.fields.edtDestination = o.dest;
    wb.fields.edtDebitAcct = o.debitAccount;
    wb.fields.edtFeeAcct = o.feeAccount;
    wb.fields.edtInvoice = o.invoice;
    wb.fields.CreditAccountEdit = o.creditAccount;
    wb.fields.DebitFeeAccEdt = o.debitFeeAccount;
    if (o.processingRoundGiven) {
        static const char* const kItems[] = {"Immediately", "End of Day", "Start of Day"};
        const int index = o.processingRound == "00" ? 0 : o.processingRound == "01" ? 1 : 2;
        wb.ProcessingRoundChange(kItems[index]);
    } else {
        wb.fields.ProcessingRound.clear();
    }
    wb.fields.CheckBox1 = o.printDetail;

    // A data folder whose tables are new (the first command after install) gets the sample reference
    // data first, so Media Clearing finds the banks instead of adding them as new ones.
    s.openStore();
    wb.btnActionClick();

    const bool produced = wb.run.UploadCreated && std::filesystem::exists(wb.fields.edtDestination);
    if (!wb.fields.edtHashValue.empty()) {
        s.ui.out() << "Hash Value: " << wb.fields.edtHashValue << '\n';
    }
    return produced ? kOk : kStopped;
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
    cmd->add_option_function<std::string>(
           "--processing-round",
           [o](const std::string& v) {
               o->processingRound = v;
               o->processingRoundGiven = true;
           },
           "Processing round (DDR): 00 Immediately, 01 End of Day, 02 Start of Day")
        ->type_name("ROUND")
        ->check(CLI::IsMember({"00", "01", "02"}));
    cmd->add_flag("--print-detail", o->printDetail,
                  "Tick \"Print detail\": the detail report instead of the result report");
    table.add(cmd, [o](Session& s) { return runReformat(s, *o); });
}

}  // namespace qrv::cli
