#include "base/AccountNumber.h"

#include <gtest/gtest.h>

#include "convert/debit/AccountEntry.h"

namespace qrv {
namespace {

TEST(AccountNumber, PartsGroupingAndCheckDigit) {
    const auto number = AccountNumber::parse("1234567896");
    ASSERT_TRUE(number);
    EXPECT_EQ(number->branch(), "123");
    EXPECT_EQ(number->type(), "4");
    EXPECT_EQ(number->serial(), "56789");
    EXPECT_EQ(number->checkDigit(), '6');
    EXPECT_EQ(number->grouped(), "123-4-56789-6");
    EXPECT_TRUE(number->hasValidCheckDigit());
    EXPECT_FALSE(AccountNumber::parse("1234567890")->hasValidCheckDigit());
    for (const char* text : {"", "123456789", "12345678901", "12345678X0", "123 567890"}) {
        EXPECT_FALSE(AccountNumber::parse(text)) << text;
    }
}

// An account given as text goes into the entry's boxes by characters, as a person would type it.
TEST(AccountNumber, TextIntoTheEntryBoxes) {
    const AccountEntry e = AccountEntry::fromText("12345678901", "ชื่อ");
    EXPECT_EQ(e.accountPart1 + "|" + e.accountPart2 + "|" + e.accountPart3 + "|" + e.accountPart4,
              "123|4|56789|01");
    EXPECT_EQ(CheckAccountEntry(e).fault, "กรุณาใส่หมายเลขบัญชีให้ครบ");
    const AccountEntryCheck ok = CheckAccountEntry(AccountEntry::fromText("1234567890", "ชื่อ"));
    ASSERT_TRUE(ok.account);
    EXPECT_EQ(ok.account->number.grouped(), "123-4-56789-0");
    EXPECT_EQ(ok.account->name, "ชื่อ");
}

}  // namespace
}  // namespace qrv
