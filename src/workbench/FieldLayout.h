#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qrv {

// The controls of the workbench's group box whose visibility or caption the product choice changes.
enum class Control {
    lblComId,          // caption "Company ID"
    lblV5CorporateId,  // caption "V5 Corporate ID"
    edtComId,
    lblDebitAcct,  // "Debit Account"
    edtDebitAcct,
    lblFeeAcct,  // "Debit Fee Account"
    edtFeeAcct,
    btnCopyAcct,
    lblCreditAccount,  // "Credit Account"
    CreditAccountEdit,
    DebitFeeAccEdt,
    btncopyAccDDP,
    lblAcctTypeCre,  // "Account Type" of the credit account
    display_AcctType_CreAcct,
    lblBranchCre,  // "Branch" of the credit account
    display_BranCode_CreAcct,
    lblAcctTypeFee,
    display_AcctType_FeeAcct,
    lblBranchFee,
    display_BranCode_FeeAcct,
    lblThirdLine,  // caption of the round/third-file line
    ProcessingRound,
    lblSource,  // caption of edtSource
    edtSource,
    btnBrowse,
    lblInvoice,  // "Invoice File Name"
    edtInvoice,
    btnInvoice,
    lblDestination,  // "Destination File Name"
    edtDestination,
    bntDestination,
    btnAction,
    bntClearForm,
    btnGenHash,
    btnCoverLetter,
    btnConvert,
    lblCompanyCode,  // "CompanyCode"
    edtCompanyCode,
    Button2,  // "Reformat  100 M"
    Button3,  // "Save"
    calculateTierRate,
    btnContractConvert,
    lblConvertContract,
    CheckBox1,  // "Print detail"
    Button1,
    rbtDirContract,
    edtHashValue,
};

enum class LayoutKind { Credit, MediaClearing, Cheque, DirectDebit100M, Hash, ReturnFile, Convert };

struct ControlView {
    bool visible = true;
    std::string caption;  // empty for controls without a caption
};

// What the window shows: every control's visibility and caption.
using ControlStates = std::map<Control, ControlView>;

// The state before the workbench's creation: all shown except the few that start hidden.
ControlStates initialControlStates();

struct LayoutEntry {
    Control control;
    std::optional<bool> visible;         // nothing: left unchanged
    std::optional<std::string> caption;  // nothing: left unchanged
};

// One product layout: the controls it changes.
const std::vector<LayoutEntry>& layoutEntries(LayoutKind kind);
void applyLayout(ControlStates& states, LayoutKind kind);

// The control's name as the window names it ("edtComId").
const char* controlName(Control control);

}  // namespace qrv
