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

// The home bank's check decides; the text stays as given, eleven digits included.
TEST(AccountNumber, CheckedKeepsTheTextOfEitherForm) {
    const auto ten = AccountNumber::checked("1234567896");
    ASSERT_TRUE(ten);
    EXPECT_EQ(*ten, *AccountNumber::parse("1234567896"));
    const auto eleven = AccountNumber::checked("12301234567");
    ASSERT_TRUE(eleven);
    EXPECT_EQ(eleven->text(), "12301234567");
    EXPECT_EQ(eleven->branch(), "123");
    EXPECT_EQ(eleven->type(), "0");
    EXPECT_EQ(eleven->serial(), "123456");
    EXPECT_EQ(eleven->checkDigit(), '7');
    EXPECT_TRUE(eleven->hasValidCheckDigit());
    for (const char* text : {"1234567895", "0000000000", "123456789", "123012345670", " 1234567896",
                             "1234567896 ", "+123456789", "12301234568"}) {
        EXPECT_FALSE(AccountNumber::checked(text)) << text;
    }
}

// An account given as text goes into the entry's boxes by characters, as a person would type it.
TEST(AccountNumber, TextIntoTheEntryBoxes) {
    const AccountEntry e = AccountEntry::fromText("12345678901", "ชื่อ");
    EXPECT_EQ(e.accountPart1 + "|" + e.accountPart2 + "|" + e.accountPart3 + "|" + e.accountPart4,
              "123|4|56789|01");
    EXPECT_EQ(CheckAccountEntry(e).fault, "กรุณาใส่หมายเลขบัญชีให้ครบ");
    const AccountEntryCheck ok = CheckAccountEntry(AccountEntry::fromText("1234567896", "ชื่อ"));
    ASSERT_TRUE(ok.account);
    EXPECT_EQ(ok.account->number.grouped(), "123-4-56789-6");
    // The company's account at the home bank: its check digit must fit, as every such account's.
    const AccountEntryCheck wrongDigit = CheckAccountEntry(AccountEntry::fromText("1234567890", "ชื่อ"));
    EXPECT_FALSE(wrongDigit.account);
    EXPECT_EQ(wrongDigit.fault, "หมายเลขบัญชีไม่ถูกต้อง");
    EXPECT_EQ(wrongDigit.faultInEnglish,
              "The account number is not correct: its check digit does not fit its other digits");
    EXPECT_EQ(ok.account->name, "ชื่อ");
}

}  // namespace
}  // namespace qrv
