#include "base/FieldHelpers.h"

#include <gtest/gtest.h>

namespace qrv {
namespace {

TEST(FillString, CopiesFromTheHundredCharacterPaddings) {
    EXPECT_EQ(FillString("0", 16), "0000000000000000");
    EXPECT_EQ(FillString(" ", 150), std::string(100, ' '));
    EXPECT_EQ(FillString(" ", 0), "");
    EXPECT_EQ(FillString("0", -3), "");
    EXPECT_EQ(FillString("x", 5), "");
}

TEST(Padding, NeverCutsALongerValue) {
    EXPECT_EQ(PadText("ACME01", 12), "ACME01      ");
    EXPECT_EQ(PadText("ABCDEFGHIJKLMN", 12), "ABCDEFGHIJKLMN");
    EXPECT_EQ(PadNumber("123", 6), "000123");
    EXPECT_EQ(PadNumber("1234567", 6), "1234567");
    EXPECT_EQ(PadNumber(42, 8), "00000042");
}

TEST(Columns, TakesWhatExistsAndNeverThrows) {
    EXPECT_EQ(Columns("abcdef", 2, 4), "bcd");
    EXPECT_EQ(Columns("abcdef", 5, 10), "ef");
    EXPECT_EQ(Columns("abc", 4, 9), "");
    EXPECT_EQ(Columns("", 1, 10), "");
    EXPECT_EQ(Columns("abc", 3, 2), "");
}

TEST(IsNumeric, FollowsTheNumberGrammar) {
    for (const char* yes : {" 12", "+3", "1.5e3", ".", "007", "-1", "1E+5", "  -.5", "12."}) {
        EXPECT_TRUE(IsNumeric(yes)) << '"' << yes << '"';
    }
    for (const char* no : {"", "  ", "-", "12 ", "1,5", "1.2.3", "e5", "1e", "1e+", "+-1", "abc", "1 2"}) {
        EXPECT_FALSE(IsNumeric(no)) << '"' << no << '"';
    }
}

TEST(IsValidDate, KnowsLeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsValidDate("2024", "02", "29"));
    EXPECT_FALSE(IsValidDate("2023", "02", "29"));
    EXPECT_TRUE(IsValidDate("2000", "02", "29"));
    EXPECT_FALSE(IsValidDate("2100", "02", "29"));
    EXPECT_FALSE(IsValidDate("2026", "13", "01"));
    EXPECT_FALSE(IsValidDate("2026", "ab", "01"));
    EXPECT_FALSE(IsValidDate("2026", "04", "31"));
    EXPECT_FALSE(IsValidDate("2026", "00", "10"));
    EXPECT_FALSE(IsValidDate("20", "", "1"));
}

TEST(IsValidAccountNo, ChecksTheCheckDigit) {
    EXPECT_FALSE(IsValidAccountNo("1234567895"));
    EXPECT_TRUE(IsValidAccountNo("1234567896"));
    EXPECT_TRUE(IsValidAccountNo("12301234567"));  // the fourth character is dropped
    EXPECT_FALSE(IsValidAccountNo("0000000000"));
    EXPECT_FALSE(IsValidAccountNo("123456789"));
    EXPECT_FALSE(IsValidAccountNo("123456789012"));
    EXPECT_FALSE(IsValidAccountNo(" 123456789"));  // numeric, but a blank is no digit
    EXPECT_FALSE(IsValidAccountNo("123456789A"));
    EXPECT_FALSE(IsValidAccountNo("1.34567896"));
    // Of eleven, the dropped fourth character may be what keeps the whole a number, and nothing else.
    EXPECT_TRUE(IsValidAccountNo("123.4567896"));
    EXPECT_TRUE(IsValidAccountNo("123E4567896"));
    EXPECT_FALSE(IsValidAccountNo("123-4567896"));
    EXPECT_FALSE(IsValidAccountNo("123 4567896"));
}

TEST(HasThaiChar, LooksOnlyWithinTheLength) {
    const std::string thai = "Mr \xA1\xD2\xC3";  // a Thai consonant at position 4
    EXPECT_TRUE(HasThaiChar(thai, 10));
    EXPECT_TRUE(HasThaiChar(thai, 4));
    EXPECT_FALSE(HasThaiChar(thai, 3));
    EXPECT_FALSE(HasThaiChar("John Smith", 60));
    EXPECT_FALSE(HasThaiChar("", 10));
    EXPECT_FALSE(HasThaiChar("\xD0\xE0", 2));  // vowels only, no consonant
}

TEST(Trim, RemovesSpacesOnly) {
    EXPECT_EQ(Trim("  A B  "), "A B");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimLeading("  A "), "A ");
    // A TAB, vertical tab, 0x1F or NUL is text, not a blank.
    using namespace std::string_view_literals;
    EXPECT_EQ(Trim(" \tA\t "), "\tA\t");
    EXPECT_EQ(Trim("\v\x1F"), "\v\x1F");
    EXPECT_EQ(Trim(" \0 "sv), "\0"sv);
}

TEST(ToInteger, AcceptsLeadingBlanksAndSignOnly) {
    EXPECT_EQ(ToInteger("000001"), 1);
    EXPECT_EQ(ToInteger("  -12"), -12);
    EXPECT_FALSE(ToInteger("12 "));
    EXPECT_FALSE(ToInteger("1.0"));
    EXPECT_FALSE(ToInteger(""));
    EXPECT_FALSE(ToInteger("99999999999999999999"));
}

}  // namespace
}  // namespace qrv
