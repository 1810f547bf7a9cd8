#pragma once

#include <array>
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
// The product as the reports print it ("Direct Credit", "Media Clearing PayRoll 1 ", ...).
std::string_view productLabel(Product product);
std::optional<Product> productForCode(std::string_view code);
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
