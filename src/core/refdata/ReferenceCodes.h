#pragma once

#include <string_view>

namespace qrv {

// A field of the bank and branch tables that holds a code of a fixed number of digits: bank codes are
// 3 digits and branch codes 4, as the Media Clearing checks read them from a payment line (a code of
// another form never matches a line that passes), region codes 2. The maintenance windows and the
// reference import check every code they store with this one rule.
struct ReferenceCode {
    std::string_view table;  // SQL name of the table
    std::string_view field;
    std::string_view title;  // as the windows name the field
    int digits;
};

// The code rule of a table field (names compared in any letter case), or null when any text goes.
const ReferenceCode* ReferenceCodeOf(std::string_view table, std::string_view field);

// True when `value` is the code's number of digits (0-9), nothing else.
bool IsReferenceCode(const ReferenceCode& code, std::string_view value);

}  // namespace qrv
