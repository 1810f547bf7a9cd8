#include "convert/Product.h"

#include <array>
#include <utility>

namespace qrv {

namespace {

constexpr std::array<std::pair<Product, std::string_view>, 10> kCodes = {{
    {Product::DirectCredit, "DCP"},
    {Product::Payroll, "PAY"},
    {Product::Payroll2, "PA2"},
    {Product::Payroll3, "PA3"},
    {Product::MediaClearing, "MCL"},
    {Product::MediaPayroll1, "PA4"},
    {Product::MediaPayroll2, "PA5"},
    {Product::MediaPayroll3, "PA6"},
    {Product::ManagerCheque, "MCP"},
    {Product::DirectDebit100M, "DDR"},
}};

}  // namespace

std::string_view productCode(Product product) {
    for (const auto& [p, code] : kCodes) {
        if (p == product) {
            return code;
        }
    }
    return {};
}

std::optional<Product> productForCode(std::string_view code) {
    for (const auto& [p, c] : kCodes) {
        if (c == code) {
            return p;
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
