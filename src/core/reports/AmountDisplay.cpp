#include "reports/AmountDisplay.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace qrv {

namespace {

std::string grouped(const std::string& digits) {
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return out;
}

}  // namespace

std::string CountDisplay(std::int64_t count) {
    const std::uint64_t magnitude =
        count < 0 ? static_cast<std::uint64_t>(-(count + 1)) + 1 : static_cast<std::uint64_t>(count);
    return (count < 0 ? "-" : "") + grouped(std::to_string(magnitude));
}

std::optional<std::string> CountDisplay(std::string_view integerText) {
    std::int64_t count = 0;
    const char* end = integerText.data() + integerText.size();
    const auto [at, error] = std::from_chars(integerText.data(), end, count);
    if (integerText.empty() || error != std::errc() || at != end) {
        return std::nullopt;
    }
    return CountDisplay(count);
}

std::string BahtDisplay(Money amount) {
    const std::int64_t units = amount.units();
    const bool negative = units < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    const std::uint64_t satang = (magnitude + 50) / 100;  // ten-thousandths to hundredths, half up
    const std::uint64_t cents = satang % 100;
    const bool zero = satang == 0;
    return (negative && !zero ? "-" : "") + grouped(std::to_string(satang / 100)) + "." +
           (cents < 10 ? "0" : "") + std::to_string(cents);
}

std::optional<std::string> BahtDisplay(std::string_view decimalText) {
    if (decimalText.empty() || decimalText == "." || decimalText == "-" || decimalText == "+") {
        return std::nullopt;
    }
    const std::optional<Money> amount = Money::fromDecimalText(decimalText);
    if (!amount) {
        return std::nullopt;
    }
    return BahtDisplay(*amount);
}

bool IsAmountVariable(std::string_view name) {
    // The variables the reformat, direct-debit, cover-letter, comparison and fee reports set to amounts.
    static constexpr std::array<std::string_view, 7> kNames = {"Amount",
                                                               "TotalAmount",
                                                               "sumAmount",
                                                               "report_total_fee_range",
                                                               "report_total_fee_range1",
                                                               "report_total_fee_range2",
                                                               "report_total_fee_range3"};
    for (const std::string_view n : kNames) {
        if (n == name) {
            return true;
        }
    }
    return false;
}

bool IsCountVariable(std::string_view name) {
    // The counts the result, direct-debit and hash reports print.
    static constexpr std::array<std::string_view, 20> kNames = {
        "CreditRecord",  "DebitRecord",   "TotalReject",   "TotalError",       "TotalRecord",
        "Total_Record",  "TotalZeroAcct", "TotalZeroAm",   "TotalNagativeAm",  "TotalBNKBRN",
        "Error2million", "SpaceAmount",   "InvalidAmount", "InvalidEffect",    "FutureEffect",
        "Length",        "SignErr",       "totalAmount",   "invalidDebitAcct", "SumDebitAccut"};
    for (const std::string_view n : kNames) {
        if (n == name) {
            return true;
        }
    }
    return false;
}

}  // namespace qrv
