#include "base/Money.h"

#include <gtest/gtest.h>

#include "base/QrvError.h"

namespace qrv {
namespace {

TEST(Money, ParsesAndFormatsExactly) {
    EXPECT_EQ(Money::fromImpliedDecimals("00000012345", 2)->units(), 1234500);
    EXPECT_FALSE(Money::fromImpliedDecimals(" 0000012345", 2));
    EXPECT_FALSE(Money::fromImpliedDecimals("-1", 2));
    EXPECT_FALSE(Money::fromImpliedDecimals("", 2));
    EXPECT_EQ(Money::fromDecimalText("37.5")->toPlainText(), "37.5");
    EXPECT_EQ(Money::fromDecimalText("1500")->toPlainText(), "1500");
    EXPECT_EQ(Money::fromDecimalText("0")->toPlainText(), "0");
    EXPECT_EQ(Money::fromDecimalText("-0.01")->toText2(), "-0.01");
    EXPECT_FALSE(Money::fromDecimalText("1,5"));
    EXPECT_FALSE(Money::fromDecimalText("abc"));
    // A fraction that starts with 0 keeps its zero.
    const Money twoOhFive = *Money::fromDecimalText("2.05");
    EXPECT_EQ(twoOhFive.toPlainText(), "2.05");
    EXPECT_EQ(twoOhFive.toText2(), "2.05");
    EXPECT_EQ(twoOhFive.toAmountField(), "0000000000002050");
    EXPECT_EQ(Money::fromImpliedDecimals("205", 2), twoOhFive);
    EXPECT_EQ(Money::fromUnits(20005).toPlainText(), "2.0005");
    EXPECT_EQ(Money::fromUnits(-5).toPlainText(), "-0.0005");
    // More than four decimals: exact when the rest is zeros, refused when it would be cut.
    EXPECT_EQ(Money::fromDecimalText("2.05000000"), twoOhFive);
    EXPECT_EQ(Money::fromImpliedDecimals("20500000", 7), twoOhFive);
    EXPECT_FALSE(Money::fromDecimalText("2.05001"));
    EXPECT_FALSE(Money::fromImpliedDecimals("205001", 5));
    EXPECT_FALSE(Money::fromDecimalText("1.000000001"));
}

// Long amounts are read eight digits at a time: a byte next to the digits in the code table ('/', ':')
// anywhere in them is no digit.
TEST(Money, LongDigitsAreReadWhole) {
    EXPECT_EQ(Money::fromImpliedDecimals("123456789012345678", 4)->units(), 123456789012345678);
    EXPECT_EQ(Money::fromImpliedDecimals("1234567890123456", 2)->units(), 123456789012345600);
    EXPECT_EQ(Money::fromImpliedDecimals("00000000", 2)->units(), 0);
    EXPECT_EQ(Money::fromImpliedDecimals("9876543210", 0)->units(), 98765432100000);
    for (const std::string bad : {"12345678901234567/", "1234567:", "123456789012:4567", "/2345678"}) {
        EXPECT_FALSE(Money::fromImpliedDecimals(bad, 2)) << bad;
    }
    // An amount field is written whole, never cut; one that is too wide says so.
    char field[8];
    EXPECT_TRUE(Money::fromUnits(-12340).fillAmountField(field));
    EXPECT_EQ(std::string_view(field, 8), "-0001234");
    EXPECT_FALSE(Money::fromUnits(1234567890).fillAmountField(field));
    EXPECT_EQ(Money::fromUnits(1234567890).toAmountField(8), "123456789");
}

TEST(Money, OverflowIsAnErrorNotAWrongTotal) {
    const Money big = Money::fromUnits(INT64_MAX - 5);
    EXPECT_THROW(big.plus(Money::fromUnits(10), "line 7"), QrvError);
    EXPECT_EQ(Money::fromUnits(5).plus(Money::fromUnits(7), "x").units(), 12);
}

}  // namespace
}  // namespace qrv
