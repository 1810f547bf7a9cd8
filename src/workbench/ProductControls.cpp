#include "workbench/ProductControls.h"

#include <array>

namespace qrv {

namespace {

struct ControlInfo {
    Control control;
    const char* name;
    const char* caption;
    bool startsVisible;
};

constexpr std::array kControls = {
    ControlInfo{Control::companyIdCaption, "lblComId", "Company ID", true},
    ControlInfo{Control::v5CorporateIdCaption, "lblV5CorporateId", "V5 Corporate ID", true},
    ControlInfo{Control::companyId, "edtComId", "", true},
    ControlInfo{Control::debitAccountCaption, "lblDebitAcct", "Debit Account", true},
    ControlInfo{Control::debitAccount, "edtDebitAcct", "", true},
    ControlInfo{Control::feeAccountCaption, "lblFeeAcct", "Debit Fee Account", true},
    ControlInfo{Control::feeAccount, "edtFeeAcct", "", true},
    ControlInfo{Control::copyDebitAccount, "btnCopyAcct", "Copy Debit Account", true},
    ControlInfo{Control::creditAccountCaption, "lblCreditAccount", "Credit Account", true},
    ControlInfo{Control::creditAccount, "CreditAccountEdit", "", false},
    ControlInfo{Control::debitFeeAccount, "DebitFeeAccEdt", "", false},
    ControlInfo{Control::copyCreditAccount, "btncopyAccDDP", "Copy Credit Account ", true},
    ControlInfo{Control::creditAccountTypeCaption, "lblAcctTypeCre", "Account Type", true},
    ControlInfo{Control::creditAccountType, "display_AcctType_CreAcct", "", true},
    ControlInfo{Control::creditBranchCaption, "lblBranchCre", "Branch", true},
    ControlInfo{Control::creditBranch, "display_BranCode_CreAcct", "", true},
    ControlInfo{Control::feeAccountTypeCaption, "lblAcctTypeFee", "Account Type", true},
    ControlInfo{Control::feeAccountType, "display_AcctType_FeeAcct", "", true},
    ControlInfo{Control::feeBranchCaption, "lblBranchFee", "Branch", true},
    ControlInfo{Control::feeBranch, "display_BranCode_FeeAcct", "", true},
    ControlInfo{Control::thirdLineCaption, "lblThirdLine", "Processing Round", true},
    ControlInfo{Control::processingRound, "ProcessingRound", "", true},
    ControlInfo{Control::sourceCaption, "lblSource", "Source File Name", true},
    ControlInfo{Control::source, "edtSource", "", true},
    ControlInfo{Control::browseSource, "btnBrowse", "Browse", true},
    ControlInfo{Control::secondFileCaption, "lblInvoice", "Invoice File Name", true},
    ControlInfo{Control::secondFile, "edtInvoice", "", true},
    ControlInfo{Control::browseSecondFile, "btnInvoice", "Browse", true},
    ControlInfo{Control::destinationCaption, "lblDestination", "Destination File Name", true},
    ControlInfo{Control::destination, "edtDestination", "", true},
    ControlInfo{Control::browseDestination, "bntDestination", "Browse", true},
    ControlInfo{Control::reformat, "btnAction", "Reformat Data", true},
    ControlInfo{Control::clearForm, "bntClearForm", "Clear Form", true},
    ControlInfo{Control::generateHash, "btnGenHash", "GenerateHash", true},
    ControlInfo{Control::coverLetter, "btnCoverLetter", "Cover Letter", true},
    ControlInfo{Control::convertTo100M, "btnConvert", "Convert 100 M", true},
    ControlInfo{Control::companyCodeCaption, "lblCompanyCode", "Company Code", true},
    ControlInfo{Control::companyCode, "edtCompanyCode", "", true},
    ControlInfo{Control::compareReturnFile, "Button2", "Reformat  100 M", true},
    ControlInfo{Control::chooseComparisonFile, "Button3", "Save", true},
    ControlInfo{Control::tierRateReport, "calculateTierRate", "Calculate Tier Rate Report", false},
    ControlInfo{Control::convertContract, "btnContractConvert", "Convert Contract", true},
    ControlInfo{Control::convertContractCaption, "lblConvertContract", "Convert Contract", false},
    ControlInfo{Control::printDetail, "CheckBox1", "Print detail", true},
    ControlInfo{Control::mediaDetailReport, "Button1", "Button1", false},
    ControlInfo{Control::directContractChoice, "rbtDirContract", "Direct Debit", false},
    ControlInfo{Control::hashValue, "edtHashValue", "", true},
};

using C = Control;
constexpr bool S = true;   // shown
constexpr bool H = false;  // hidden

ControlChange vis(Control c, bool visible) {
    return {c, visible, std::nullopt};
}
ControlChange cap(Control c, bool visible, const char* caption) {
    return {c, visible, std::string(caption)};
}
ControlChange capOnly(Control c, const char* caption) {
    return {c, std::nullopt, std::string(caption)};
}

// One column of the control table: the value of each row for this product's set (nullopt: unchanged).
struct Column {
    std::optional<bool> companyIdCaption, v5Caption, comId, debitAcct, feeCaption, feeAcct, copyAcct,
        creditGroup, accountLabels, thirdLine;
    const char* thirdLineCaption;
    std::optional<bool> round;
    const char* sourceCaption;
    std::optional<bool> source, invoiceCaption, invoice, destination, destinationButton, action, clearForm,
        genHash, coverLetter, convert, returnButtons, tierRate;
};

std::vector<ControlChange> build(const Column& c) {
    std::vector<ControlChange> e;
    auto add = [&e](Control control, std::optional<bool> visible) {
        if (visible) {
            e.push_back(vis(control, *visible));
        }
    };
    add(C::companyIdCaption, c.companyIdCaption);
    add(C::v5CorporateIdCaption, c.v5Caption);
    add(C::companyId, c.comId);
    add(C::debitAccountCaption, c.debitAcct);
    add(C::debitAccount, c.debitAcct);
    add(C::feeAccountCaption, c.feeCaption);
    add(C::feeAccount, c.feeAcct);
    add(C::copyDebitAccount, c.copyAcct);
    for (const C control :
         {C::creditAccountCaption, C::creditAccount, C::debitFeeAccount, C::copyCreditAccount}) {
        add(control, c.creditGroup);
    }
    for (const C control :
         {C::creditAccountTypeCaption, C::creditBranchCaption, C::feeAccountTypeCaption, C::feeBranchCaption,
          C::creditAccountType, C::creditBranch, C::feeAccountType, C::feeBranch}) {
        add(control, c.accountLabels);
    }
    if (c.thirdLineCaption != nullptr) {
        e.push_back(cap(C::thirdLineCaption, *c.thirdLine, c.thirdLineCaption));
    } else {
        add(C::thirdLineCaption, c.thirdLine);
    }
    add(C::processingRound, c.round);
    e.push_back(capOnly(C::sourceCaption, c.sourceCaption));
    add(C::source, c.source);
    add(C::browseSource, c.source);
    add(C::secondFileCaption, c.invoiceCaption);
    add(C::secondFile, c.invoice);
    add(C::browseSecondFile, c.invoice);
    add(C::destinationCaption, c.destination);
    add(C::destination, c.destination);
    add(C::browseDestination, c.destinationButton);
    add(C::reformat, c.action);
    add(C::clearForm, c.clearForm);
    add(C::generateHash, c.genHash);
    add(C::coverLetter, c.coverLetter);
    add(C::convertTo100M, c.convert);
    add(C::companyCode, c.convert);
    add(C::companyCodeCaption, c.convert);
    add(C::compareReturnFile, c.returnButtons);
    add(C::chooseComparisonFile, c.returnButtons);
    add(C::tierRateReport, c.tierRate);
    add(C::convertContract, H);
    return e;
}

}  // namespace

ControlStates initialControlStates() {
    ControlStates states;
    for (const ControlInfo& info : kControls) {
        states[info.control] = ControlView{info.startsVisible, info.caption};
    }
    return states;
}

const std::vector<ControlChange>& controlChanges(ControlSet kind) {
    // Columns: company-id caption, V5 caption, edtComId, debit account, fee caption, edtFeeAcct, btnCopyAcct,
    // credit-account group, account labels, third line (+ caption), ProcessingRound, source caption,
    // edtSource with btnBrowse, invoice caption, edtInvoice with btnInvoice, destination, its Browse,
    // Reformat Data, Clear Form, GenerateHash, Cover Letter, convert group, return-file buttons, tier-rate
    // button.
    // Every set names every control of the table: a control that has no meaning for a product is
    // hidden whichever product was shown before.
    static const std::vector<ControlChange> credit = build(
        {S, H, S, S, S, S, S, H, H, H, nullptr, H, "Source File Name", S, H, H, S, S, S, S, H, H, H, H, H});
    static const std::vector<ControlChange> media =
        build({S, H, S, H, H, H, H, H, H, H, "Invoice File Name", H, "Source File Name", S, H,
               H, S, S, S, S, H, H, H, H, S});
    static const std::vector<ControlChange> cheque = build(
        {S, H, S, H, H, H, H, H, H, H, nullptr, H, "Payment File Name", S, S, S, S, S, S, S, H, H, H, H, H});
    static const std::vector<ControlChange> dd100m =
        build({H, S, S, H, S, H, H, S, S, S, "Processing Round", S, "Source File Name", S, H,
               H, S, S, S, S, H, H, H, H, H});
    // The hash check writes no destination: its Browse goes with the field.
    static const std::vector<ControlChange> hash = build(
        {H, H, H, H, H, H, H, H, H, H, nullptr, H, "Source File Name", S, H, H, H, H, H, S, S, S, H, H, H});
    // "File From V5" takes the invoice caption's place.
    static const std::vector<ControlChange> returnFile =
        build({H, H, H, H, H, H, H, H, H, S, "File From V5", H, "Source File Name", S, H,
               S, S, H, H, S, H, H, H, S, H});
    static const std::vector<ControlChange> convert = [] {
        std::vector<ControlChange> e = build({H, H, H, H, H, H, H, H, H, H, nullptr, H, "Source File Name",
                                              S, H, H, S, S, H, S, H, H, S, H,       H});
        e.push_back(vis(C::printDetail, false));  // "Print detail" is hidden as part of this set
        return e;
    }();
    switch (kind) {
        case ControlSet::Credit:
            return credit;
        case ControlSet::MediaClearing:
            return media;
        case ControlSet::Cheque:
            return cheque;
        case ControlSet::DirectDebit100M:
            return dd100m;
        case ControlSet::Hash:
            return hash;
        case ControlSet::ReturnFile:
            return returnFile;
        case ControlSet::Convert:
            return convert;
    }
    return credit;
}

void applyControlSet(ControlStates& states, ControlSet kind) {
    for (const ControlChange& e : controlChanges(kind)) {
        ControlView& view = states[e.control];
        if (e.visible) {
            view.visible = *e.visible;
        }
        if (e.caption) {
            view.caption = *e.caption;
        }
    }
}

const char* controlName(Control control) {
    for (const ControlInfo& info : kControls) {
        if (info.control == control) {
            return info.name;
        }
    }
    return "";
}

}  // namespace qrv
