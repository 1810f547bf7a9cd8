#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Money.h"

namespace qrv {

// Amounts as a person reads them in a report: baht with thousands separators and two decimals
// ("2,873.95", "-1,000.00"), the satang rounded half away from zero.
std::string BahtDisplay(Money amount);

// A count as a person reads it: thousands separators ("200,000", "-1,500").
std::string CountDisplay(std::int64_t count);

// The display form of a count variable's text ("200000" and "0200000" -> "200,000"); nothing when the
// text is not a whole number.
std::optional<std::string> CountDisplay(std::string_view integerText);

// The display form of an amount variable's text ("0000000002873.950", "1500", "0."); nothing when the
// text is not a decimal number (blank, a count, a date).
std::optional<std::string> BahtDisplay(std::string_view decimalText);

// Whether a report variable holds an amount; its display form is offered to layouts as "<name>Display".
bool IsAmountVariable(std::string_view name);

// Whether a report variable holds a count of records or entries; its display form is offered to layouts
// as "<name>Display".
bool IsCountVariable(std::string_view name);

}  // namespace qrv
