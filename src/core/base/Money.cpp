#include "base/Money.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdlib>
#include <limits>

#include "base/EightDigits.h"
#include "base/QrvError.h"

namespace qrv {
namespace {

bool allDigits(std::string_view s) {
    if (s.empty()) {
        return false;
    }
    for (const char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// 10 to the power n, for n of 0 to 8 (the decimals a text may have).
std::int64_t pow10(int n) {
    static constexpr std::int64_t kPowers[] = {1,       10,        100,        1'000,      10'000,
                                               100'000, 1'000'000, 10'000'000, 100'000'000};
    return kPowers[n];
}

// A magnitude that holds the most negative amount too.
std::uint64_t magnitudeOf(std::int64_t units) {
    return units < 0 ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
}

// Digits (no sign) to an integer; nothing for a text that is not all digits, or on overflow.
std::optional<std::int64_t> parseDigits(std::string_view digits) {
    std::int64_t v = 0;
    if (digits.size() <= 18) {  // no overflow possible: one plain pass, as amounts are read by the million
        if constexpr (std::endian::native == std::endian::little) {
            while (digits.size() >= 8) {
                const std::optional<std::uint64_t> eight = EightDigitValue(digits.data());
                if (!eight) {
                    return std::nullopt;
                }
                v = v * 100'000'000 + static_cast<std::int64_t>(*eight);
                digits.remove_prefix(8);
            }
        }
        for (const char c : digits) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            v = v * 10 + (c - '0');
        }
        return v;
    }
    for (const char c : digits) {
        if (c < '0' || c > '9' || __builtin_mul_overflow(v, 10, &v) ||
            __builtin_add_overflow(v, c - '0', &v)) {
            return std::nullopt;
        }
    }
    return v;
}

std::optional<Money> scaled(std::int64_t value, int decimals, bool negative) {
    std::int64_t units = 0;
    if (decimals <= 4) {
        if (__builtin_mul_overflow(value, pow10(4 - decimals), &units)) {
            return std::nullopt;
        }
    } else {
        const std::int64_t div = pow10(decimals - 4);
        if (value % div != 0) {
            return std::nullopt;  // more precision than the four decimals hold
        }
        units = value / div;
    }
    return Money::fromUnits(negative ? -units : units);
}

}  // namespace

std::optional<Money> Money::fromImpliedDecimals(std::string_view digits, int decimals) {
    if (digits.empty() || decimals < 0 || decimals > 8) {
        return std::nullopt;
    }
    const auto value = parseDigits(digits);
    if (!value) {
        return std::nullopt;
    }
    return scaled(*value, decimals, false);
}

std::optional<Money> Money::fromDecimalText(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const size_t point = text.find('.');
    std::string digits(text.substr(0, point));
    int decimals = 0;
    if (point != std::string_view::npos) {
        const std::string_view frac = text.substr(point + 1);
        if (!frac.empty() && !allDigits(frac)) {
            return std::nullopt;
        }
        digits += frac;
        decimals = static_cast<int>(frac.size());
    }
    if (!allDigits(digits) || decimals > 8) {
        return std::nullopt;
    }
    const auto value = parseDigits(digits);
    if (!value) {
        return std::nullopt;
    }
    return scaled(*value, decimals, negative);
}

Money Money::plus(Money other, std::string_view where) const {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(units_, other.units_, &sum)) {
        throw QrvError("Amount total overflows at " + std::string(where));
    }
    return Money(sum);
}

bool Money::fillAmountField(std::span<char> field) const {
    const bool negative = units_ < 0;
    // Thousandths: the fourth decimal is below the field's precision and is dropped.
    const std::uint64_t magnitude = magnitudeOf(units_);
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude / 10).ptr;
    const auto count = static_cast<size_t>(end - digits);
    const size_t sign = negative ? 1 : 0;
    if (sign + count > field.size()) {
        return false;
    }
    char* at = field.data();
    if (negative) {
        *at++ = '-';
    }
    at = std::fill_n(at, field.size() - sign - count, '0');
    std::copy(static_cast<const char*>(digits), end, at);
    return true;
}

std::string Money::toAmountField(int width) const {
    std::string text(static_cast<size_t>(std::max(width, 0)), '0');
    if (fillAmountField(text)) {
        return text;
    }
    // Wider than the field: all of its digits, for the message that says so.
    return (units_ < 0 ? "-" : "") + std::to_string(magnitudeOf(units_) / 10);
}

std::string Money::toText2() const {
    const bool negative = units_ < 0;
    const std::uint64_t magnitude = magnitudeOf(units_);
    const std::uint64_t cents = magnitude / 100;
    std::string frac = std::to_string(cents % 100);
    if (frac.size() < 2) {
        frac.insert(0, "0");
    }
    return (negative ? "-" : "") + std::to_string(cents / 100) + "." + frac;
}

std::string Money::toPlainText() const {
    const bool negative = units_ < 0;
    const std::uint64_t magnitude = magnitudeOf(units_);
    std::string text = std::to_string(magnitude / kScale);
    std::string frac = std::to_string(magnitude % kScale);
    frac.insert(0, 4 - frac.size(), '0');
    while (!frac.empty() && frac.back() == '0') {
        frac.pop_back();
    }
    if (!frac.empty()) {
        text += "." + frac;
    }
    return (negative && magnitude != 0 ? "-" : "") + text;
}

}  // namespace qrv
