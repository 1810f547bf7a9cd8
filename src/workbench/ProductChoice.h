#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qrv {

// The workbench's radio buttons, one selected at a time.
enum class Choice {
    None,
    DirectCredit,     // rbtDirect10m "Direct Credit" DCP
    Payroll,          // rbtPay "Payroll (Type 1-Normal)" PAY
    Payroll2,         // rbtPay2 PA2
    Payroll3,         // rbtPay3 PA3
    MediaClearing,    // rbtMedia "Media Clearing" MCL
    MediaPayroll1,    // rbtPay4 PA4
    MediaPayroll2,    // rbtPay5 PA5
    MediaPayroll3,    // rbtPay6 PA6
    ManagerCheque,    // rbtMcp "Manager Cheque" MCP
    DirectDebit100M,  // rbtDirectDebit100M DDR
    DirectDebitHash,  // rbtDebit "Direct Debit (HASH)"
    ReturnFile,       // RadioButton1 return file from V5
    Convert100M,      // rtb100m "Convert 100 M"
    DirectContract,   // rbtDirContract, always hidden
};

struct ChoiceInfo {
    Choice choice;
    const char* control;  // the radio button's name
    const char* caption;
    const char* productCode;  // empty for the choices that are no reformat product
};

// Every choice in the window's order.
const std::vector<ChoiceInfo>& choices();
const ChoiceInfo& choiceInfo(Choice choice);
// The choice whose product code is `code` (DCP, PAY, ... DDR), or None.
Choice choiceForProductCode(std::string_view code);

}  // namespace qrv
