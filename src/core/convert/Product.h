#pragma once

#include <optional>
#include <string_view>

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

std::string_view productCode(Product product);
std::optional<Product> productForCode(std::string_view code);
ProductFamily familyOf(Product product);

// The Direct Debit (100M) processing round; None when nothing was chosen.
enum class ProcessingRound { None, Immediately, EndOfDay, StartOfDay };

// "00", "01", "02" (empty for None).
std::string_view processingRoundCode(ProcessingRound round);
// The round of a code "00", "01" or "02"; None for any other text.
ProcessingRound processingRoundForCode(std::string_view code);

}  // namespace qrv
