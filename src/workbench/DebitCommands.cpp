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

void Workbench::btnGenHashClick() {
    PresenterServices services(*this);
    const HashCheckResult result =
        checkDirectDebitFile({std::filesystem::path(fields.edtSource), fields.edtHashValue}, *services);
    // Only a clean check fills the hash field; a faulty one leaves it as it was.
    if (result.outcome == Outcome::Written) {
        fields.edtHashValue = result.hash;
    }
}

void Workbench::btnCoverLetterClick() {
    accountDialog.Accepted = true;
    PresenterServices services(*this);
    const CoverLetterResult result = printCoverLetter(
        {std::filesystem::path(fields.edtSource), fields.edtHashValue, std::nullopt}, *services);
    if (result.outcome == Outcome::Written) {
        fields.edtHashValue = result.hash;
    }
}

bool Workbench::Button2Click() {
    PresenterServices services(*this);
    const ReturnComparisonRequest request{std::filesystem::path(fields.edtSource),
                                          std::filesystem::path(fields.edtInvoice),
                                          std::filesystem::path(fields.edtDestination)};
    return compareReturnFile(request, *services).outcome == Outcome::Written;
}

void Workbench::Button3Click() {
    if (fields.edtSource.empty() || fields.edtInvoice.empty()) {
        return;
    }
    const auto chosen = ui_.chooseSaveFile(kFileFilter, ReturnFileProposedName(clock_.now()));
    if (chosen) {
        fields.edtDestination = *chosen;
    }
}

bool Workbench::btnConvertClick() {
    PresenterServices services(*this);
    const Convert100MRequest request{std::filesystem::path(fields.edtSource), fields.edtCompanyCode,
                                     std::filesystem::path(fields.edtDestination)};
    return convertTo100M(request, *services).outcome == Outcome::Written;
}

void Workbench::calculateTierRateClick() {
    PresenterServices services(*this);
    tierRateFeeReport({std::filesystem::path(fields.edtSource), paths_.dataFolder / "Config.ini"}, *services);
}

}  // namespace qrv
