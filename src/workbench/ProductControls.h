#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qrv {

// The controls of the workbench's group box whose visibility or caption the product choice changes.
enum class Control {
    companyIdCaption,      // caption "Company ID"
    v5CorporateIdCaption,  // caption "V5 Corporate ID"
    companyId,
    debitAccountCaption,  // "Debit Account"
    debitAccount,
    feeAccountCaption,  // "Debit Fee Account"
    feeAccount,
    copyDebitAccount,
    creditAccountCaption,  // "Credit Account"
    creditAccount,
    debitFeeAccount,
    copyCreditAccount,
    creditAccountTypeCaption,  // "Account Type" of the credit account
    creditAccountType,
    creditBranchCaption,  // "Branch" of the credit account
    creditBranch,
    feeAccountTypeCaption,
    feeAccountType,
    feeBranchCaption,
    feeBranch,
    thirdLineCaption,  // caption of the round/third-file line
    processingRound,
    sourceCaption,  // caption of edtSource
    source,
    browseSource,
    secondFileCaption,  // "Invoice File Name"
    secondFile,
    browseSecondFile,
    destinationCaption,  // "Destination File Name"
    destination,
    browseDestination,
    reformat,
    clearForm,
    generateHash,
    coverLetter,
    convertTo100M,
    companyCodeCaption,  // "Company Code"
    companyCode,
    compareReturnFile,     // "Reformat  100 M"
    chooseComparisonFile,  // "Save"
    tierRateReport,
    convertContract,
    convertContractCaption,
    printDetail,  // "Print detail"
    mediaDetailReport,
    directContractChoice,
    hashValue,
};

enum class ControlSet { Credit, MediaClearing, Cheque, DirectDebit100M, Hash, ReturnFile, Convert };

struct ControlView {
    bool visible = true;
    std::string caption;  // empty for controls without a caption
};

// What the window shows: every control's visibility and caption.
using ControlStates = std::map<Control, ControlView>;

// The state before the workbench's creation: all shown except the few that start hidden.
ControlStates initialControlStates();

struct ControlChange {
    Control control;
    std::optional<bool> visible;         // nothing: left unchanged
    std::optional<std::string> caption;  // nothing: left unchanged
};

// One product's set of controls: the controls it changes.
const std::vector<ControlChange>& controlChanges(ControlSet kind);
void applyControlSet(ControlStates& states, ControlSet kind);

// The control's name as the window names it ("edtComId").
const char* controlName(Control control);

}  // namespace qrv
