#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qrv {

// A fixed-point amount of baht with four decimals on a 64-bit integer. Every total, sum and comparison
// uses it; arithmetic is checked, so a sum that would overflow throws instead of giving a wrong total.
class Money {
  public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t tenThousandths) { return Money(tenThousandths); }

    // Plain digits with `decimals` implied decimals ("12345", 2 -> 123.45). Nothing for anything else
    // (blanks, signs, points, empty text, more than 18 digits).
    static std::optional<Money> fromImpliedDecimals(std::string_view digits, int decimals);

    // A decimal text: optional sign, digits, optional point and up to four decimals ("-10.50", "1500").
    static std::optional<Money> fromDecimalText(std::string_view text);

    // A 16-character amount field: thousandths of a baht, zero-filled ("0000000000123450" -> 123.45).
    static std::optional<Money> fromAmountField(std::string_view field) {
        return fromImpliedDecimals(field, 3);
    }

    constexpr std::int64_t units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / kScale; }

    // Checked sum; throws QrvError naming `where` on overflow.
    Money plus(Money other, std::string_view where) const;
    Money& add(Money other, std::string_view where) { return *this = plus(other, where); }
    // The same for a running total over many lines: `where()` puts the place into words only for the
    // overflow it names, not for every line added.
    template <class Where>
    Money& addAt(Money other, const Where& where) {
        std::int64_t sum = 0;
        if (__builtin_add_overflow(units_, other.units_, &sum)) {
            plus(other, where());  // throws, naming the place
        }
        units_ = sum;
        return *this;
    }

    // Thousandths of a baht as digits, zero-filled on the left to `width` (never cut); a negative
    // amount carries "-" in the first character (the 16-digit amount field of the upload file).
    std::string toAmountField(int width = 16) const;
    // The same text written over the whole of `field` (its width), with no allocation, as records are
    // written by the million; false, with nothing written, when it does not fit.
    bool fillAmountField(std::span<char> field) const;

    // Decimal text with a "." and two decimals: "1234.50", "-0.01".
    std::string toText2() const;

    // Plain decimal without trailing zeros: "1500", "37.5", "0".
    std::string toPlainText() const;

    friend constexpr bool operator==(Money a, Money b) = default;
    friend constexpr auto operator<=>(Money a, Money b) = default;

  private:
    constexpr explicit Money(std::int64_t units) : units_(units) {}
    std::int64_t units_ = 0;
};

}  // namespace qrv
