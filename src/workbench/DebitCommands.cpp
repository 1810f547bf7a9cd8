#include "convert/TierRateFeeReport.h"
#include "convert/debit/Convert100M.h"
#include "convert/debit/CoverLetter.h"
#include "convert/debit/HashCheck.h"
#include "convert/debit/ReturnFileComparison.h"
#include "workbench/PresenterServices.h"

// The window's direct debit and fee commands: each builds its request from the fields, runs the
// operation and shows what it gave back.
namespace qrv {

namespace {

constexpr const char* kFileFilter = "Text File|*.txt|All File|*.*";

}  // namespace

void Workbench::generateHash() {
    startRun(Command::GenerateHash, fields.sourcePath);
    PresenterServices services(*this);
    const HashCheckResult result =
        checkDirectDebitFile({std::filesystem::path(fields.sourcePath), fields.hashValue}, *services);
    // Only a clean check fills the hash field; a failed one clears it, so that no cover letter can be
    // printed for a file that did not pass.
    if (result.outcome == Outcome::Written) {
        showHash(result.hash, HashOf::Source);
    } else {
        clearHash();
    }
    finishRun(result);
}

void Workbench::coverLetter() {
    accountDialog.Accepted = true;
    startRun(Command::CoverLetter, fields.sourcePath);
    // The account is asked before the letter runs; without a hash the letter is refused and none is.
    AccountEntry account;
    if (!fields.hashValue.empty()) {
        accountDialog.clearFields();
        accountDialog.visible = true;
        ui_.askAccountEntry(accountDialog);
        accountDialog.visible = false;
        if (!accountDialog.Accepted) {
            // EXIT ends the command without a word.
            finishRun(CoverLetterResult{});
            return;
        }
        account = accountDialog.typed();
    }
    PresenterServices services(*this);
    // The letter refuses a file whose hash is not the one shown: another file typed since, or the same
    // file changed.
    const CoverLetterResult result = printCoverLetter(
        {std::filesystem::path(fields.sourcePath), fields.hashValue, account, std::nullopt}, *services);
    if (result.outcome == Outcome::Written) {
        showHash(result.hash, HashOf::Source);
    }
    finishRun(result);
}

bool Workbench::compareReturnFile() {
    startRun(Command::CompareReturnFile, fields.sourcePath);
    PresenterServices services(*this);
    const ReturnComparisonRequest request{std::filesystem::path(fields.sourcePath),
                                          std::filesystem::path(fields.secondFilePath),
                                          std::filesystem::path(fields.destinationPath)};
    finishRun(qrv::compareReturnFile(request, *services));
    return lastResult->outcome == Outcome::Written;
}

void Workbench::chooseComparisonFile() {
    if (fields.sourcePath.empty() || fields.secondFilePath.empty()) {
        return;
    }
    const auto chosen = ui_.chooseSaveFile(kFileFilter, ReturnFileProposedName(clock_.now()));
    if (chosen) {
        fields.destinationPath = *chosen;
        filesEdited();
    }
}

bool Workbench::convertTo100M() {
    startRun(Command::ConvertTo100M, fields.sourcePath);
    PresenterServices services(*this);
    const Convert100MRequest request{std::filesystem::path(fields.sourcePath), fields.companyCode,
                                     std::filesystem::path(fields.destinationPath)};
    finishRun(qrv::convertTo100M(request, *services));
    return lastResult->outcome == Outcome::Written;
}

void Workbench::tierRateReport() {
    startRun(Command::TierRateReport, fields.sourcePath);
    PresenterServices services(*this);
    finishRun(tierRateFeeReport({std::filesystem::path(fields.sourcePath), paths_.dataFolder / "Config.ini"},
                                *services));
}

}  // namespace qrv
