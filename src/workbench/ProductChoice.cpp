#include "workbench/ProductChoice.h"

namespace qrv {

const std::vector<ChoiceInfo>& choices() {
    static const std::vector<ChoiceInfo> all = {
        {Choice::Direct10m, "rbtDirect10m", "Direct Credit", "DCP"},
        {Choice::Pay, "rbtPay", "Payroll (Type 1-Normal)", "PAY"},
        {Choice::Pay2, "rbtPay2", "Payroll (Type 2)", "PA2"},
        {Choice::Pay3, "rbtPay3", "Payroll (Type 3)", "PA3"},
        {Choice::Media, "rbtMedia", "Media Clearing", "MCL"},
        {Choice::Pay4, "rbtPay4", "Media Clearing Payroll 1", "PA4"},
        {Choice::Pay5, "rbtPay5", "Media Clearing Payroll 2", "PA5"},
        {Choice::Pay6, "rbtPay6", "Media Clearing Payroll 3", "PA6"},
        {Choice::Mcp, "rbtMcp", "Manager Cheque", "MCP"},
        {Choice::DirectDebit100M, "rbtDirectDebit100M", "Direct Debit (100M)", "DDR"},
        {Choice::Debit, "rbtDebit", "Direct Debit (HASH)", ""},
        {Choice::ReturnFile, "RadioButton1", "Return file Direct Debit 100 M from V5 ", ""},
        {Choice::Convert100M, "rtb100m", "Convert 100 M", ""},
        {Choice::DirContract, "rbtDirContract", "Direct Debit", ""},
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
