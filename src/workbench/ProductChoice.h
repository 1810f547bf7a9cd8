#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qrv {

// The workbench's radio buttons, one selected at a time.
enum class Choice {
    None,
    Direct10m,        // rbtDirect10m "Direct Credit" DCP
    Pay,              // rbtPay "Payroll (Type 1-Normal)" PAY
    Pay2,             // rbtPay2 PA2
    Pay3,             // rbtPay3 PA3
    Media,            // rbtMedia "Media Clearing" MCL
    Pay4,             // rbtPay4 PA4
    Pay5,             // rbtPay5 PA5
    Pay6,             // rbtPay6 PA6
    Mcp,              // rbtMcp "Manager Cheque" MCP
    DirectDebit100M,  // rbtDirectDebit100M DDR
    Debit,            // rbtDebit "Direct Debit (HASH)"
    ReturnFile,       // RadioButton1 return file from V5
    Convert100M,      // rtb100m "Convert 100 M"
    DirContract,      // rbtDirContract, always hidden
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
