#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Date.h"
#include "base/Money.h"
#include "layout/Field.h"

// The rule of each kind of field, the one every reading applies. A field that its layout gives a fixed
// number of digits holds exactly those digits: no blank, sign, point or exponent.
namespace qrv::layout {

// The columns of `field` that exist in `line`: possibly fewer, or none past the line's end.
std::string_view columnsOf(std::string_view line, const Field& field);
// From the first column of `from` to the last of `to` (a text that spans several fields).
std::string_view spanOf(std::string_view line, const Field& from, const Field& to);

// Exactly the field's width of digits.
bool holdsDigits(std::string_view text, const Field& field);
// The number of a field that holds its digits.
std::optional<std::int64_t> numberOf(std::string_view text, const Field& field);
// The amount of an amount field: its digits (a signed amount may put "-" first) with its implied decimals.
std::optional<Money> amountOf(std::string_view text, const Field& field);

// A date field holds the digits of its form (and its separators) forming a calendar date.
bool holdsDate(std::string_view text, const Field& field);
// That date, when the field holds one.
std::optional<Date> dateOf(std::string_view text, const Field& field);
// The parts of the date, as texts in the field's form; missing characters stay missing.
struct DateParts {
    std::string year;  // four digits: "20" put in front of a two-digit year
    std::string month;
    std::string day;
    std::string yyyymmdd() const { return year + month + day; }
    std::string slashed() const { return day + "/" + month + "/" + year; }  // dd/mm/yyyy
};
DateParts datePartsOf(std::string_view text, const Field& field);

// One of the values of a code field.
bool isCodeOf(std::string_view text, const Field& field);

// A text that is valid UTF-8 as a whole and holds characters of the Thai block is Thai saved as UTF-8,
// not code page 874 (whose Thai text is valid UTF-8 only by accident, a short run like "เนก").
bool isUtf8Thai(std::string_view text);

}  // namespace qrv::layout
