#include "convert/Product.h"

#include <array>

namespace qrv {

namespace {

struct ProductNames {
    Product product;
    std::string_view code;
    std::string_view label;  // as the reports print it, blanks included
};

constexpr std::array<ProductNames, 10> kCodes = {{
    {Product::DirectCredit, "DCP", "Direct Credit"},
    {Product::Payroll, "PAY", "PayRoll"},
    {Product::Payroll2, "PA2", "PayRoll (Type2)"},
    {Product::Payroll3, "PA3", "PayRoll (Type3)"},
    {Product::MediaClearing, "MCL", "Media Clearing"},
    {Product::MediaPayroll1, "PA4", "Media Clearing PayRoll 1 "},
    {Product::MediaPayroll2, "PA5", "Media Clearing PayRoll 2 "},
    {Product::MediaPayroll3, "PA6", "Media Clearing PayRoll 3 "},
    {Product::ManagerCheque, "MCP", "Manager Cheque"},
    {Product::DirectDebit100M, "DDR", "Direct Debit"},
}};

}  // namespace

std::string_view productCode(Product product) {
    for (const ProductNames& p : kCodes) {
        if (p.product == product) {
            return p.code;
        }
    }
    return {};
}

std::string_view productLabel(Product product) {
    for (const ProductNames& p : kCodes) {
        if (p.product == product) {
            return p.label;
        }
    }
    return {};
}

std::optional<Product> productForCode(std::string_view code) {
    for (const ProductNames& p : kCodes) {
        if (p.code == code) {
            return p.product;
        }
    }
    return std::nullopt;
}

ProductFamily familyOf(Product product) {
    switch (product) {
        case Product::MediaClearing:
        case Product::MediaPayroll1:
        case Product::MediaPayroll2:
        case Product::MediaPayroll3:
            return ProductFamily::MediaClearing;
        case Product::ManagerCheque:
            return ProductFamily::ManagerCheque;
        case Product::DirectDebit100M:
            return ProductFamily::DirectDebit100M;
        default:
            return ProductFamily::Credit;
    }
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
