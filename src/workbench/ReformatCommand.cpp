#include "convert/Reformat.h"
#include "convert/source/SourceForm.h"
#include "sheet/Sheet.h"
#include "workbench/PresenterServices.h"
#include "workbench/Workbench.h"

// "Reformat Data" in the window: the request from the fields, the operation, the result shown back.
namespace qrv {

ReformatRequest Workbench::reformatRequest() const {
    ReformatRequest r;
    r.product = choiceInfo(selected()).product;
    r.companyId = fields.companyId;
    r.sourcePath = fields.sourcePath;
    r.destinationPath = fields.destinationPath;
    r.invoicePath = fields.secondFilePath;
    r.debitAccount = fields.debitAccount;
    r.feeAccount = fields.feeAccount;
    r.creditAccount = fields.creditAccount;
    r.debitFeeAccount = fields.debitFeeAccount;
    r.processingRound = fields.processingRound.empty() ? ProcessingRound::None : fields.chosenRound;
    r.printDetail = fields.printDetail;
    return r;
}

void Workbench::reformat() {
    // A spreadsheet typed into Source is mapped and built first, as one chosen with Browse; the run goes
    // on with the file built, or does not run.
    if (sourceFormFor(productCodeOf(selected())) != nullptr && !fields.sourcePath.empty() &&
        isSpreadsheetFile(std::filesystem::path(fields.sourcePath))) {
        SheetMappingForm form(fields.sourcePath, *this);
        const std::optional<std::string> built = ui_.sourceFromSheet(form);
        if (!built) {
            return;
        }
        fields.sourcePath = *built;
    }
    const ReformatRequest request = reformatRequest();
    startRun(Command::Reformat, fields.sourcePath, request.product);
    PresenterServices services(*this);
    const ReformatResult result = qrv::reformat(request, *services);
    // Only the hash of an upload file written stays in the field (it names the destination); a run
    // that wrote none, a voided one included, leaves it empty.
    if (result.outcome == Outcome::Written && !result.dryRun) {
        showHash(result.hash, HashOf::Destination);
    } else {
        clearHash();
    }
    finishRun(result);
    // "completed" says nothing of the entries left out of the upload file: a run that left some out says
    // how many, after it.
    std::int64_t rejected = 0;
    for (const RejectedEntries& r : result.rejected) {
        rejected += r.count;
    }
    if (result.outcome == Outcome::Written && !result.dryRun && rejected > 0) {
        ui().showMessage(MessageKind::Warning,
                         std::to_string(rejected) + " of " + std::to_string(rejected + result.records) +
                             " entries were rejected and are not in the upload file: \"Show rejected lines\" "
                             "in the Last run panel lists them.");
    }
    // The account boxes of Direct Debit (100M) show the type and branch of what was checked.
    const ReformatAccounts& checked = result.accounts;
    if (result.converted && checked.credit && checked.debitFee) {
        fields.creditAccountType = checked.credit->type();
        fields.creditBranch = checked.credit->branch();
        fields.feeAccountType = checked.debitFee->type();
        fields.feeBranch = checked.debitFee->branch();
    }
}

}  // namespace qrv
