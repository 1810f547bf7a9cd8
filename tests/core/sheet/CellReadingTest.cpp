#include <gtest/gtest.h>

#include "sheet/CellReading.h"

namespace qrv {
namespace {

SheetCell text(const std::string& t) {
    return {SheetCell::Kind::Text, t};
}
SheetCell number(const std::string& t) {
    return {SheetCell::Kind::Number, t};
}
SheetCell date(const std::string& t) {
    return {SheetCell::Kind::Date, t};
}

// The amount's implied-decimal digits, or its fault.
std::string amount(const SheetCell& cell) {
    const CellReading<SheetAmount> r = readAmount(cell, 2);
    return r ? r.value->digits : r.fault;
}

TEST(SheetAmounts, NumbersAndTextWithSeparatorsAndCurrencyBecomeImpliedDecimals) {
    EXPECT_EQ(amount(number("1234.5")), "123450");
    EXPECT_EQ(amount(number("1234.5600000000002")),
              "123456");  // a sum's binary noise, as the program shows it
    EXPECT_EQ(amount(number("1.5E+3")), "150000");
    EXPECT_EQ(amount(number("0")), "0");
    EXPECT_EQ(amount(text("1,234.50")), "123450");
    EXPECT_EQ(amount(text("1,234,567")), "123456700");
    EXPECT_EQ(amount(text(" \xE0\xB8\xBF"
                          "1,500.00 ")),
              "150000");                                                             // ฿1,500.00
    EXPECT_EQ(amount(text("1500 \xE0\xB8\x9A\xE0\xB8\xB2\xE0\xB8\x97")), "150000");  // 1500 บาท
    EXPECT_EQ(amount(text("+99.9")), "9990");
    EXPECT_EQ(amount(text(".5")), "50");
    EXPECT_EQ(amount(text("12.500")), "1250");  // trailing zeros are no decimals
    EXPECT_EQ(readAmount(text("1,234.50"), 2).value->value, Money::fromUnits(12345000));
}

TEST(SheetAmounts, WhatIsNotAnAmountOfTheFieldIsSaid) {
    EXPECT_EQ(amount(number("1234.567")), "\"1234.567\" has more than two decimals");
    EXPECT_EQ(amount(text("10.005")), "\"10.005\" has more than two decimals");
    EXPECT_EQ(amount(number("-5")), "\"-5\" is below zero");
    EXPECT_EQ(amount(text("(1,000.00)")), "\"(1,000.00)\" is below zero");
    EXPECT_EQ(amount(text("1000-")), "\"1000-\" is below zero");
    // A decimal comma would be a hundred times the amount.
    EXPECT_EQ(amount(text("1234,50")), "\"1234,50\" is not an amount");
    EXPECT_EQ(amount(text("1,23,456")), "\"1,23,456\" is not an amount");
    EXPECT_EQ(amount(text("12a")), "\"12a\" is not an amount");
    EXPECT_EQ(amount(text("1 234")), "\"1 234\" is not an amount");
    EXPECT_EQ(amount(text("")), "\"\" is not an amount");
    EXPECT_EQ(amount(SheetCell{}), "is empty");
    EXPECT_EQ(amount(SheetCell{SheetCell::Kind::Error, "#VALUE!"}), "holds the error #VALUE!");
    EXPECT_EQ(amount(date("2026-01-15")), "\"2026-01-15\" is a date, not an amount");
    EXPECT_EQ(amount(text("99999999999999999")), "\"99999999999999999\" is too large an amount");
}

std::string day(const SheetCell& cell, DateOrder order = DateOrder::DMY, YearEra years = YearEra::CE) {
    const CellReading<Date> r = readDate(cell, {order, years});
    return r ? r.value->isoDashed() : r.fault;
}

TEST(SheetDates, TextInEachOrderAndEraAndDateCells) {
    EXPECT_EQ(day(text("15/01/2026")), "2026-01-15");
    EXPECT_EQ(day(text("15/01/2569"), DateOrder::DMY, YearEra::BE), "2026-01-15");
    EXPECT_EQ(day(text("15.1.2569"), DateOrder::DMY, YearEra::BE), "2026-01-15");
    EXPECT_EQ(day(text("1/15/2026"), DateOrder::MDY), "2026-01-15");
    EXPECT_EQ(day(text("2569/01/15"), DateOrder::YMD, YearEra::BE), "2026-01-15");
    EXPECT_EQ(day(text("15012569"), DateOrder::DMY, YearEra::BE), "2026-01-15");
    EXPECT_EQ(day(text("20260115"), DateOrder::YMD), "2026-01-15");
    EXPECT_EQ(day(text("2026-01-15")), "2026-01-15");  // four digits first: year first, whatever the order
    EXPECT_EQ(day(text("15 01 2026 10:30")), "2026-01-15");
    EXPECT_EQ(day(text("2026-01-15T00:00:00")), "2026-01-15");
    // A date cell is a calendar day: the era of the rules does not apply.
    EXPECT_EQ(day(date("2026-01-15"), DateOrder::MDY, YearEra::BE), "2026-01-15");
    // A date typed as a number lost its leading zero.
    EXPECT_EQ(day(number("5012569"), DateOrder::DMY, YearEra::BE), "2026-01-05");
    EXPECT_EQ(day(text("29/02/2567"), DateOrder::DMY, YearEra::BE), "2024-02-29");
}

// A Buddhist-era year typed into a date cell is stored as a year of the Common Era: the era rule reads
// it as it reads text, so every product gets the same day or the same refusal.
TEST(SheetDates, ABuddhistEraYearInADateCellFollowsTheEraRule) {
    EXPECT_EQ(day(date("2569-01-15"), DateOrder::DMY, YearEra::BE), "2026-01-15");
    EXPECT_EQ(day(date("2569-01-15")),
              "\"2569-01-15\": the year 2569 is a Buddhist-era year (years are read as CE)");
    EXPECT_EQ(day(date("2567-02-29"), DateOrder::DMY, YearEra::BE), "2024-02-29");
    EXPECT_EQ(day(date("2568-02-29"), DateOrder::DMY, YearEra::BE),
              "\"2568-02-29\" is not a day of the calendar");
}

TEST(SheetDates, WrongDatesAndErasAreRefused) {
    EXPECT_EQ(day(text("31/04/2026")), "\"31/04/2026\" is not a day of the calendar");
    EXPECT_EQ(day(text("29/02/2568"), DateOrder::DMY, YearEra::BE),
              "\"29/02/2568\" is not a day of the calendar");
    EXPECT_EQ(day(text("1/15/2026")), "\"1/15/2026\" is not a day of the calendar");
    EXPECT_EQ(day(text("15/01/2569")),
              "\"15/01/2569\": the year 2569 is a Buddhist-era year (years are read as CE)");
    EXPECT_EQ(day(text("15/01/2026"), DateOrder::DMY, YearEra::BE),
              "\"15/01/2026\": the year 2026 is not a Buddhist-era year (years are read as BE)");
    EXPECT_EQ(day(text("15 Jan 2026")), "\"15 Jan 2026\" is not a date (day, month, year)");
    EXPECT_EQ(day(text("15/01")), "\"15/01\" is not a date (day, month, year)");
    EXPECT_EQ(day(text("15/01/69"), DateOrder::DMY, YearEra::BE),
              "\"15/01/69\": write the year with four digits");
    EXPECT_EQ(day(text("150169")), "\"150169\" is not a date (day, month, year)");
    EXPECT_EQ(day(text("150/1/2026")), "\"150/1/2026\" is not a date (day, month, year)");
    EXPECT_EQ(day(number("46037"), DateOrder::YMD), "\"46037\" is not a date (year, month, day)");
    EXPECT_EQ(day(SheetCell{}), "is empty");
}

std::string digits(const CellReading<std::string>& r) {
    return r ? *r.value : r.fault;
}

TEST(SheetCodes, AccountsWithOrWithoutDashesAndCodesOfFixedWidth) {
    EXPECT_EQ(digits(readAccount(text("123-4-56789-6"), 10)), "1234567896");
    EXPECT_EQ(digits(readAccount(text(" 123 4 56789 6 "), 10)), "1234567896");
    EXPECT_EQ(digits(readAccount(number("1234567896"), 10)), "1234567896");
    // A number lost its leading zeros; text keeps what was typed.
    EXPECT_EQ(digits(readAccount(number("123456789"), 10)), "0123456789");
    EXPECT_EQ(digits(readDigits(number("14"), 3)), "014");
    EXPECT_EQ(digits(readAccount(text("123456789"), 10)), "\"123456789\" has 9 digits, not 10");
    EXPECT_EQ(digits(readAccount(text("123-4-56789-67"), 10)), "\"123-4-56789-67\" has 11 digits, not 10");
    EXPECT_EQ(digits(readAccount(text("123--456789"), 10)), "\"123--456789\" is not 10 digits");
    EXPECT_EQ(digits(readAccount(text("-1234567896"), 10)), "\"-1234567896\" is not 10 digits");
    EXPECT_EQ(digits(readDigits(number("1.5"), 3)), "\"1.5\" is not 3 digits");
    EXPECT_EQ(digits(readDigits(number("12345"), 3)), "\"12345\" has 5 digits, not 3");
    EXPECT_EQ(digits(readDigits(date("2026-01-15"), 8)), "\"2026-01-15\" is not 8 digits");
    EXPECT_EQ(digits(readDigits(number("1.23456789012346E+17"), 18)),
              "\"1.23456789012346E+17\" is a number of more than 15 digits, which spreadsheets do not keep "
              "exactly: format the column as text");
}

TEST(SheetTexts, ThaiArrivesInCodePage874AndWhatItCannotHoldIsNamed) {
    const std::string thaiUtf8 = "\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA2";  // สมชาย
    EXPECT_EQ(digits(readText(text("  " + thaiUtf8 + " Co.\n"), 60)), "\xCA\xC1\xAA\xD2\xC2 Co.");
    EXPECT_EQ(digits(readText(number("1.5E3"))), "1500");
    EXPECT_EQ(digits(readText(SheetCell{})), "");
    EXPECT_EQ(digits(readText(text("ABCDEFGHIJK"), 10)),
              "\"ABCDEFGHIJK\" is 11 characters long; the field holds 10");
    EXPECT_EQ(digits(readText(text(thaiUtf8), 5)), "\xCA\xC1\xAA\xD2\xC2");  // bytes of code page 874 count
    EXPECT_EQ(digits(readText(text("Pay \xF0\x9F\x98\x80"))),
              "holds \"\xF0\x9F\x98\x80\" (U+1F600), which code page 874 has no form for");
    EXPECT_EQ(digits(readText(text("Caf\xC3\xA9"))),
              "holds \"\xC3\xA9\" (U+00E9), which code page 874 has no form for");
    EXPECT_EQ(digits(readText(text("bad \xEF\xBF\xBD byte"))),
              "holds a character that could not be read (U+FFFD)");
    EXPECT_EQ(digits(readText(text("two\nlines"))), "holds a line break");
    EXPECT_EQ(digits(readText(text("a\tb"))), "holds a tab");
    EXPECT_EQ(digits(readText(SheetCell{SheetCell::Kind::Error, "#N/A"})), "holds the error #N/A");
}

TEST(SheetNumbers, NumberTextIsWhatSpreadsheetProgramsShow) {
    EXPECT_EQ(numberText("0.30000000000000004"), "0.3");
    EXPECT_EQ(numberText("9.9999999999999999E2"), "1000");
    EXPECT_EQ(numberText("-1.25E-2"), "-0.0125");
    EXPECT_EQ(numberText("000123.4500"), "123.45");
    EXPECT_EQ(numberText("1E+20"), "100000000000000000000");
    EXPECT_EQ(numberText("-0"), "0");
    EXPECT_EQ(numberText("12abc"), std::nullopt);
    EXPECT_EQ(numberText("."), std::nullopt);
    EXPECT_EQ(numberText("1E9999"), std::nullopt);
}

}  // namespace
}  // namespace qrv
