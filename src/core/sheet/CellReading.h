#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/Date.h"
#include "base/Money.h"
#include "sheet/SheetRow.h"

// Turning a spreadsheet cell into the value a source-file field holds. Each reading gives the value or
// says what is wrong with the cell, in words that follow "row 7, column C (Amount): ".
namespace qrv {

enum class DateOrder { DMY, MDY, YMD };
enum class YearEra { CE, BE };  // Common Era, or Buddhist Era (CE + 543)

struct ReadingRules {
    DateOrder dates = DateOrder::DMY;
    YearEra years = YearEra::CE;

    bool operator==(const ReadingRules&) const = default;
};

template <typename T>
struct CellReading {
    std::optional<T> value;
    std::string fault;  // when there is no value

    static CellReading ok(T v) { return {std::move(v), {}}; }
    static CellReading wrong(std::string why) { return {std::nullopt, std::move(why)}; }
    explicit operator bool() const { return value.has_value(); }
};

struct SheetAmount {
    Money value;
    std::string digits;  // the amount with its implied decimals, no leading zero ("123450" for 1,234.50)
};

// An amount in baht, not below zero, with at most `decimals` decimals: a number cell (also one shown as
// currency), or text with or without thousands separators ("1,234.50", "1234.5", "฿1,234.50", "1234").
// A comma is a thousands separator only between groups of three digits, so a decimal comma ("1234,50")
// is refused rather than read as a hundred times the amount. A number cell is taken to 15 significant
// digits, as spreadsheet programs show it (a sum stored as 1234.5600000000002 is 1234.56).
CellReading<SheetAmount> readAmount(const SheetCell& cell, int decimals);

// A date: a date cell, or text in the rules' order with "/", "-", "." or blanks between day, month and
// year ("15/01/2569", "1-15-2026") or without ("15012569"), the year in four digits (a two-digit year
// could be either era), in the rules' era. A year written first with four digits is read year-month-day
// whatever the order ("2026-01-15"). A date cell is a calendar day and has no era, unless its year is
// from 2400 on: a Buddhist-era year typed into it, which the era rule reads as it reads text. A time after
// the date is ignored. A Buddhist-era year under the Common Era rule (or the other way round) is refused,
// as it would be 543 years off.
CellReading<Date> readDate(const SheetCell& cell, const ReadingRules& rules);

// Exactly `width` digits: a code or number of fixed width ("014", a 10-digit account). A number cell
// lost its leading zeros to the spreadsheet and gets them back; text must have them. A number cell of
// more than 15 digits is refused: spreadsheets keep only 15 of them.
CellReading<std::string> readDigits(const SheetCell& cell, int width);

// An account number: as readDigits, with dashes and blanks between the digits allowed in text
// ("123-4-56789-6").
CellReading<std::string> readAccount(const SheetCell& cell, int width);

// Text in code page 874, blanks around it removed, at most `width` characters (bytes in code page 874;
// no bound when negative). Refused: a character code page 874 has no form for (named with its code), a
// line break or other control character (it would break the fixed-width line), an error cell.
CellReading<std::string> readText(const SheetCell& cell, int width = -1);

// A number cell's text as spreadsheet programs show it: to 15 significant digits, without exponent or
// trailing zeros ("1.5E-3" -> "0.0015", "1234.5600000000002" -> "1234.56"); nothing when not a number.
std::optional<std::string> numberText(std::string_view number);

}  // namespace qrv
