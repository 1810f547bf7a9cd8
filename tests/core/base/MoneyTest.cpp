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

TEST(Money, OverflowIsAnErrorNotAWrongTotal) {
    const Money big = Money::fromUnits(INT64_MAX - 5);
    EXPECT_THROW(big.plus(Money::fromUnits(10), "line 7"), QrvError);
    EXPECT_EQ(Money::fromUnits(5).plus(Money::fromUnits(7), "x").units(), 12);
}

}  // namespace
}  // namespace qrv
