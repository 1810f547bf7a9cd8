#include "workbench/FieldLayout.h"

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
    ControlInfo{Control::lblComId, "lblComId", "Company ID", true},
    ControlInfo{Control::lblV5CorporateId, "lblV5CorporateId", "V5 Corporate ID", true},
    ControlInfo{Control::edtComId, "edtComId", "", true},
    ControlInfo{Control::lblDebitAcct, "lblDebitAcct", "Debit Account", true},
    ControlInfo{Control::edtDebitAcct, "edtDebitAcct", "", true},
    ControlInfo{Control::lblFeeAcct, "lblFeeAcct", "Debit Fee Account", true},
    ControlInfo{Control::edtFeeAcct, "edtFeeAcct", "", true},
    ControlInfo{Control::btnCopyAcct, "btnCopyAcct", "Copy Debit Account", true},
    ControlInfo{Control::lblCreditAccount, "lblCreditAccount", "Credit Account", true},
    ControlInfo{Control::CreditAccountEdit, "CreditAccountEdit", "", false},
    ControlInfo{Control::DebitFeeAccEdt, "DebitFeeAccEdt", "", false},
    ControlInfo{Control::btncopyAccDDP, "btncopyAccDDP", "Copy Credit Account ", true},
    ControlInfo{Control::lblAcctTypeCre, "lblAcctTypeCre", "Account Type", true},
    ControlInfo{Control::display_AcctType_CreAcct, "display_AcctType_CreAcct", "", true},
    ControlInfo{Control::lblBranchCre, "lblBranchCre", "Branch", true},
    ControlInfo{Control::display_BranCode_CreAcct, "display_BranCode_CreAcct", "", true},
    ControlInfo{Control::lblAcctTypeFee, "lblAcctTypeFee", "Account Type", true},
    ControlInfo{Control::display_AcctType_FeeAcct, "display_AcctType_FeeAcct", "", true},
    ControlInfo{Control::lblBranchFee, "lblBranchFee", "Branch", true},
    ControlInfo{Control::display_BranCode_FeeAcct, "display_BranCode_FeeAcct", "", true},
    ControlInfo{Control::lblThirdLine, "lblThirdLine", "Processing Round", true},
    ControlInfo{Control::ProcessingRound, "ProcessingRound", "", true},
    ControlInfo{Control::lblSource, "lblSource", "Source File Name", true},
    ControlInfo{Control::edtSource, "edtSource", "", true},
    ControlInfo{Control::btnBrowse, "btnBrowse", "Browse", true},
    ControlInfo{Control::lblInvoice, "lblInvoice", "Invoice File Name", true},
    ControlInfo{Control::edtInvoice, "edtInvoice", "", true},
    ControlInfo{Control::btnInvoice, "btnInvoice", "Browse", true},
    ControlInfo{Control::lblDestination, "lblDestination", "Destination File Name", true},
    ControlInfo{Control::edtDestination, "edtDestination", "", true},
    ControlInfo{Control::bntDestination, "bntDestination", "Browse", true},
    ControlInfo{Control::btnAction, "btnAction", "Reformat Data", true},
    ControlInfo{Control::bntClearForm, "bntClearForm", "Clear Form", true},
    ControlInfo{Control::btnGenHash, "btnGenHash", "GenerateHash", true},
    ControlInfo{Control::btnCoverLetter, "btnCoverLetter", "Cover Letter", true},
    ControlInfo{Control::btnConvert, "btnConvert", "Convert 100 M", true},
    ControlInfo{Control::lblCompanyCode, "lblCompanyCode", "CompanyCode", true},
    ControlInfo{Control::edtCompanyCode, "edtCompanyCode", "", true},
    ControlInfo{Control::Button2, "Button2", "Reformat  100 M", true},
    ControlInfo{Control::Button3, "Button3", "Save", true},
    ControlInfo{Control::calculateTierRate, "calculateTierRate", "Calculate Tier Rate Report", false},
    ControlInfo{Control::btnContractConvert, "btnContractConvert", "Convert Contract", true},
    ControlInfo{Control::lblConvertContract, "lblConvertContract", "Convert Contract", false},
    ControlInfo{Control::CheckBox1, "CheckBox1", "Print detail", true},
    ControlInfo{Control::Button1, "Button1", "Button1", false},
    ControlInfo{Control::rbtDirContract, "rbtDirContract", "Direct Debit", false},
    ControlInfo{Control::edtHashValue, "edtHashValue", "", true},
};

using C = Control;
constexpr bool S = true;   // shown
constexpr bool H = false;  // hidden

LayoutEntry vis(Control c, bool visible) {
    return {c, visible, std::nullopt};
}
LayoutEntry cap(Control c, bool visible, const char* caption) {
    return {c, visible, std::string(caption)};
}
LayoutEntry capOnly(Control c, const char* caption) {
    return {c, std::nullopt, std::string(caption)};
}

// One column of the layout table: the value of each row for this layout (nullopt: unchanged).
struct Column {
    std::optional<bool> companyIdCaption, v5Caption, comId, debitAcct, feeCaption, feeAcct, copyAcct,
        creditGroup, accountLabels, thirdLine;
    const char* thirdLineCaption;
    std::optional<bool> round;
    const char* sourceCaption;
    std::optional<bool> source, invoiceCaption, invoice, destination, destinationButton, action, clearForm,
        genHash, coverLetter, convert, returnButtons, tierRate;
};

std::vector<LayoutEntry> build(const Column& c) {
    std::vector<LayoutEntry> e;
    auto add = [&e](Control control, std::optional<bool> visible) {
        if (visible) {
            e.push_back(vis(control, *visible));
        }
    };
    add(C::lblComId, c.companyIdCaption);
    add(C::lblV5CorporateId, c.v5Caption);
    add(C::edtComId, c.comId);
    add(C::lblDebitAcct, c.debitAcct);
    add(C::edtDebitAcct, c.debitAcct);
    add(C::lblFeeAcct, c.feeCaption);
    add(C::edtFeeAcct, c.feeAcct);
    add(C::btnCopyAcct, c.copyAcct);
    for (const C control : {C::lblCreditAccount, C::CreditAccountEdit, C::DebitFeeAccEdt, C::btncopyAccDDP}) {
        add(control, c.creditGroup);
    }
    for (const C control :
         {C::lblAcctTypeCre, C::lblBranchCre, C::lblAcctTypeFee, C::lblBranchFee, C::display_AcctType_CreAcct,
          C::display_BranCode_CreAcct, C::display_AcctType_FeeAcct, C::display_BranCode_FeeAcct}) {
        add(control, c.accountLabels);
    }
    if (c.thirdLineCaption != nullptr) {
        e.push_back(cap(C::lblThirdLine, *c.thirdLine, c.thirdLineCaption));
    } else {
        add(C::lblThirdLine, c.thirdLine);
    }
    add(C::ProcessingRound, c.round);
    e.push_back(capOnly(C::lblSource, c.sourceCaption));
    add(C::edtSource, c.source);
    add(C::btnBrowse, c.source);
    add(C::lblInvoice, c.invoiceCaption);
    add(C::edtInvoice, c.invoice);
    add(C::btnInvoice, c.invoice);
    add(C::lblDestination, c.destination);
    add(C::edtDestination, c.destination);
    add(C::bntDestination, c.destinationButton);
    add(C::btnAction, c.action);
    add(C::bntClearForm, c.clearForm);
    add(C::btnGenHash, c.genHash);
    add(C::btnCoverLetter, c.coverLetter);
    add(C::btnConvert, c.convert);
    add(C::edtCompanyCode, c.convert);
    add(C::lblCompanyCode, c.convert);
    add(C::Button2, c.returnButtons);
    add(C::Button3, c.returnButtons);
    add(C::calculateTierRate, c.tierRate);
    add(C::btnContractConvert, H);
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

const std::vector<LayoutEntry>& layoutEntries(LayoutKind kind) {
    // Columns: company-id caption, V5 caption, edtComId, debit account, fee caption, edtFeeAcct, btnCopyAcct,
    // credit-account group, account labels, third line (+ caption), ProcessingRound, source caption,
    // edtSource with btnBrowse, invoice caption, edtInvoice with btnInvoice, destination, its Browse,
    // Reformat Data, Clear Form, GenerateHash, Cover Letter, convert group, return-file buttons, tier-rate
    // button.
    // Every layout names every control of the table: a control that has no meaning for a product is
    // hidden whichever product was shown before.
    static const std::vector<LayoutEntry> credit = build(
        {S, H, S, S, S, S, S, H, H, H, nullptr, H, "Source File Name", S, H, H, S, S, S, S, H, H, H, H, H});
    static const std::vector<LayoutEntry> media =
        build({S, H, S, H, H, H, H, H, H, H, "Invoice File Name", H, "Source File Name", S, H,
               H, S, S, S, S, H, H, H, H, S});
    static const std::vector<LayoutEntry> cheque = build(
        {S, H, S, H, H, H, H, H, H, H, nullptr, H, "Payment File Name", S, S, S, S, S, S, S, H, H, H, H, H});
    static const std::vector<LayoutEntry> dd100m =
        build({H, S, S, H, S, H, H, S, S, S, "Processing Round", S, "Source File Name", S, H,
               H, S, S, S, S, H, H, H, H, H});
    // The hash check writes no destination: its Browse goes with the field.
    static const std::vector<LayoutEntry> hash = build(
        {H, H, H, H, H, H, H, H, H, H, nullptr, H, "Source File Name", S, H, H, H, H, H, S, S, S, H, H, H});
    // "File From V5" takes the invoice caption's place.
    static const std::vector<LayoutEntry> returnFile =
        build({H, H, H, H, H, H, H, H, H, S, "File From V5", H, "Source File Name", S, H,
               S, S, H, H, S, H, H, H, S, H});
    static const std::vector<LayoutEntry> convert = [] {
        std::vector<LayoutEntry> e = build({H, H, H, H, H, H, H, H, H, H, nullptr, H, "Source File Name",
                                            S, H, H, S, S, H, S, H, H, S, H,       H});
        e.push_back(vis(C::CheckBox1, false));  // "Print detail" is hidden as part of this layout
        return e;
    }();
    switch (kind) {
        case LayoutKind::Credit:
            return credit;
        case LayoutKind::MediaClearing:
            return media;
        case LayoutKind::Cheque:
            return cheque;
        case LayoutKind::DirectDebit100M:
            return dd100m;
        case LayoutKind::Hash:
            return hash;
        case LayoutKind::ReturnFile:
            return returnFile;
        case LayoutKind::Convert:
            return convert;
    }
    return credit;
}

void applyLayout(ControlStates& states, LayoutKind kind) {
    for (const LayoutEntry& e : layoutEntries(kind)) {
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
