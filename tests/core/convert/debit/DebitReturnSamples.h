#pragma once

// Builders of the fixed-width lines the return-file comparison and the 100M conversion read, from
// their column tables.

#include <string>
#include <utility>
#include <vector>

namespace qrv::test {

// `width` blanks with each text put at its 1-based column.
inline std::string fixedLine(size_t width, const std::vector<std::pair<size_t, std::string>>& fields) {
    std::string line(width, ' ');
    for (const auto& [column, text] : fields) {
        if (line.size() < column - 1 + text.size()) {
            line.resize(column - 1 + text.size(), ' ');
        }
        line.replace(column - 1, text.size(), text);
    }
    return line;
}

// Sent 100M file: the control record, 78 characters (blanks 1-8, "M" 9, company code 10-15, name 16-45,
// "C" 46, "A" 47, date ddmmyy 48-53, record count 54-58, amount 59-69, blanks to 78).
inline std::string sentControl(const std::string& name30, const std::string& ddmmyy,
                               const std::string& count5, const std::string& amount11) {
    return fixedLine(78, {{9, "M"},
                          {10, "ABC123"},
                          {16, name30},
                          {46, "C"},
                          {47, "A"},
                          {48, ddmmyy},
                          {54, count5},
                          {59, amount11}});
}

// Sent detail record, 78 characters: account 1-10, date 11-16, sign 17, amount 18-28, status 29-30,
// reference 31-47, rest 48-78.
inline std::string sentDetail(const std::string& account10, const std::string& amount11,
                              const std::string& reference17, const std::string& rest31) {
    return fixedLine(78, {{1, account10},
                          {11, "081226"},
                          {17, "0"},
                          {18, amount11},
                          {29, "99"},
                          {31, reference17},
                          {48, rest31}});
}

// Return file from V5: header "001" with the value date yymmdd at 260-265.
inline std::string returnHeader(const std::string& yymmdd) {
    return fixedLine(320, {{1, "001"}, {4, "HEADER"}, {260, yymmdd}});
}

// Return detail "002": account 10-34, reference 35-51, amount 269-279, amount 281-296, result 314,
// reason 315-317.
inline std::string returnDetail(const std::string& account25, const std::string& reference17,
                                const std::string& amount11, const std::string& amount16,
                                const std::string& resultAndReason, const std::string& code = "002") {
    return fixedLine(320, {{1, code},
                           {10, account25},
                           {35, reference17},
                           {269, amount11},
                           {281, amount16},
                           {314, resultAndReason}});
}

// Return trailer "999": record count 4-9, total amount 10-25 (thousandths).
inline std::string returnTrailer(const std::string& count6, const std::string& amount16) {
    return fixedLine(320, {{1, "999"}, {4, count6}, {10, amount16}});
}

}  // namespace qrv::test
