#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/Product.h"
#include "layout/LayoutCatalog.h"

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
    std::optional<Product> product;  // none for the choices that are no reformat product
};

// Every choice in the window's order; a product's caption is the product table's.
const std::vector<ChoiceInfo>& choices();
const ChoiceInfo& choiceInfo(Choice choice);
// The choice of a product.
Choice choiceFor(Product product);
// The kind of file the choice reads, for the source viewer; none for a choice of no product.
std::optional<layout::SourceFile> sourceFileOf(Choice choice);
// The product code of the choice ("DCP"); empty for a choice of no product.
std::string_view productCodeOf(Choice choice);

}  // namespace qrv
