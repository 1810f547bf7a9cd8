#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "layout/LayoutCatalog.h"

namespace qrv {

// The reformat products.
enum class Product {
    DirectCredit,     // DCP
    Payroll,          // PAY, type 1
    Payroll2,         // PA2
    Payroll3,         // PA3
    MediaClearing,    // MCL
    MediaPayroll1,    // PA4
    MediaPayroll2,    // PA5
    MediaPayroll3,    // PA6
    ManagerCheque,    // MCP
    DirectDebit100M,  // DDR
};

// The families that share one converter.
enum class ProductFamily { Credit, MediaClearing, ManagerCheque, DirectDebit100M };

// One row per product: everything that differs from one product to another by its name.
struct ProductInfo {
    Product product;
    std::string_view code;         // "DCP": record 002, archive names, the command line
    std::string_view label;        // as the reports print it ("Direct Credit", "Media Clearing PayRoll 1 ")
    ProductFamily family;          // the converter it shares
    layout::SourceFile source;     // the form of its source file
    std::string_view listingCode;  // the code in its listings' names: its own, "MCL" or "MCP"
    std::string_view caption;      // the window's choice of it
};

// Every product, in the window's order.
std::span<const ProductInfo> products();
const ProductInfo& productInfo(Product product);

std::string_view productCode(Product product);
std::string_view productLabel(Product product);
// The product of a code; nothing for another text.
std::optional<Product> productForCode(std::string_view code);
// The same, in any letter case (a code typed on the command line).
std::optional<Product> productNamed(std::string_view code);
ProductFamily familyOf(Product product);

// The Direct Debit (100M) processing round; None when nothing was chosen.
enum class ProcessingRound { None, Immediately, EndOfDay, StartOfDay };

// The rounds with their upload-file code and the caption the window's list shows.
struct ProcessingRoundInfo {
    ProcessingRound round;
    std::string_view code;     // "00", "01", "02"
    std::string_view caption;  // "Immediately", "End of Day", "Start of Day"
};
const std::array<ProcessingRoundInfo, 3>& processingRounds();

// "00", "01", "02" (empty for None).
std::string_view processingRoundCode(ProcessingRound round);
// The round of a code "00", "01" or "02"; None for any other text.
ProcessingRound processingRoundForCode(std::string_view code);

}  // namespace qrv
