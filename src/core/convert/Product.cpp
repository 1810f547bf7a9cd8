#include "convert/Product.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>

namespace qrv {

namespace {

using F = ProductFamily;
using S = layout::SourceFile;

constexpr ProductInfo kProducts[] = {
    {Product::DirectCredit, "DCP", "Direct Credit", F::Credit, S::DirectCredit, "DCP", "Direct Credit"},
    {Product::Payroll, "PAY", "PayRoll", F::Credit, S::DirectCredit, "PAY", "Payroll (Type 1-Normal)"},
    {Product::Payroll2, "PA2", "PayRoll (Type2)", F::Credit, S::DirectCredit, "PA2", "Payroll (Type 2)"},
    {Product::Payroll3, "PA3", "PayRoll (Type3)", F::Credit, S::DirectCredit, "PA3", "Payroll (Type 3)"},
    {Product::MediaClearing, "MCL", "Media Clearing", F::MediaClearing, S::MediaClearing, "MCL",
     "Media Clearing"},
    {Product::MediaPayroll1, "PA4", "Media Clearing PayRoll 1 ", F::MediaClearing, S::MediaClearing, "MCL",
     "Media Clearing Payroll 1"},
    {Product::MediaPayroll2, "PA5", "Media Clearing PayRoll 2 ", F::MediaClearing, S::MediaClearing, "MCL",
     "Media Clearing Payroll 2"},
    {Product::MediaPayroll3, "PA6", "Media Clearing PayRoll 3 ", F::MediaClearing, S::MediaClearing, "MCL",
     "Media Clearing Payroll 3"},
    {Product::ManagerCheque, "MCP", "Manager Cheque", F::ManagerCheque, S::ManagerCheque, "MCP",
     "Manager Cheque"},
    {Product::DirectDebit100M, "DDR", "Direct Debit", F::DirectDebit100M, S::DirectDebit100M, "DDR",
     "Direct Debit (100M)"},
};

// The table is in the order of the enum, so that a product finds its row at once.
constexpr bool inOrder() {
    for (size_t i = 0; i < std::size(kProducts); ++i) {
        if (static_cast<size_t>(kProducts[i].product) != i) {
            return false;
        }
    }
    return std::size(kProducts) == static_cast<size_t>(Product::DirectDebit100M) + 1;
}
static_assert(inOrder());

bool sameCode(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::span<const ProductInfo> products() {
    return kProducts;
}

const ProductInfo& productInfo(Product product) {
    return kProducts[static_cast<size_t>(product)];
}

std::string_view productCode(Product product) {
    return productInfo(product).code;
}

std::string_view productLabel(Product product) {
    return productInfo(product).label;
}

std::optional<Product> productForCode(std::string_view code) {
    for (const ProductInfo& p : kProducts) {
        if (p.code == code) {
            return p.product;
        }
    }
    return std::nullopt;
}

std::optional<Product> productNamed(std::string_view code) {
    for (const ProductInfo& p : kProducts) {
        if (sameCode(p.code, code)) {
            return p.product;
        }
    }
    return std::nullopt;
}

ProductFamily familyOf(Product product) {
    return productInfo(product).family;
}

const std::array<ProcessingRoundInfo, 3>& processingRounds() {
    static constexpr std::array<ProcessingRoundInfo, 3> kRounds = {{
        {ProcessingRound::Immediately, "00", "Immediately"},
        {ProcessingRound::EndOfDay, "01", "End of Day"},
        {ProcessingRound::StartOfDay, "02", "Start of Day"},
    }};
    return kRounds;
}

std::string_view processingRoundCode(ProcessingRound round) {
    for (const ProcessingRoundInfo& r : processingRounds()) {
        if (r.round == round) {
            return r.code;
        }
    }
    return {};
}

ProcessingRound processingRoundForCode(std::string_view code) {
    for (const ProcessingRoundInfo& r : processingRounds()) {
        if (r.code == code) {
            return r.round;
        }
    }
    return ProcessingRound::None;
}

}  // namespace qrv
