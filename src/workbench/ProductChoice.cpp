#include "workbench/ProductChoice.h"

namespace qrv {

const std::vector<ChoiceInfo>& choices() {
    static const std::vector<ChoiceInfo> all = {
        {Choice::DirectCredit, "rbtDirect10m", "Direct Credit", "DCP"},
        {Choice::Payroll, "rbtPay", "Payroll (Type 1-Normal)", "PAY"},
        {Choice::Payroll2, "rbtPay2", "Payroll (Type 2)", "PA2"},
        {Choice::Payroll3, "rbtPay3", "Payroll (Type 3)", "PA3"},
        {Choice::MediaClearing, "rbtMedia", "Media Clearing", "MCL"},
        {Choice::MediaPayroll1, "rbtPay4", "Media Clearing Payroll 1", "PA4"},
        {Choice::MediaPayroll2, "rbtPay5", "Media Clearing Payroll 2", "PA5"},
        {Choice::MediaPayroll3, "rbtPay6", "Media Clearing Payroll 3", "PA6"},
        {Choice::ManagerCheque, "rbtMcp", "Manager Cheque", "MCP"},
        {Choice::DirectDebit100M, "rbtDirectDebit100M", "Direct Debit (100M)", "DDR"},
        {Choice::DirectDebitHash, "rbtDebit", "Direct Debit (HASH)", ""},
        {Choice::ReturnFile, "RadioButton1", "Return file Direct Debit 100 M from V5 ", ""},
        {Choice::Convert100M, "rtb100m", "Convert 100 M", ""},
        {Choice::DirectContract, "rbtDirContract", "Direct Debit", ""},
    };
    return all;
}

const ChoiceInfo& choiceInfo(Choice choice) {
    static const ChoiceInfo none{Choice::None, "", "", ""};
    for (const ChoiceInfo& c : choices()) {
        if (c.choice == choice) {
            return c;
        }
    }
    return none;
}

Choice choiceForProductCode(std::string_view code) {
    if (code.empty()) {
        return Choice::None;
    }
    for (const ChoiceInfo& c : choices()) {
        if (code == c.productCode) {
            return c.choice;
        }
    }
    return Choice::None;
}

}  // namespace qrv
