#include "sheet/CellReading.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/Cp874.h"

namespace qrv {
namespace {

constexpr std::string_view kBahtSign = "\xE0\xB8\xBF";                          // ฿
constexpr std::string_view kBahtWord = "\xE0\xB8\x9A\xE0\xB8\xB2\xE0\xB8\x97";  // บาท
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
constexpr int kSignificantDigits = 15;
// Buddhist-era years are Common Era years + 543; a year from 2400 on is taken as one.
constexpr int kBuddhistEra = 543;
constexpr int kBuddhistYears = 2400;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), isDigit);
}

// Blanks, tabs, line ends and no-break spaces around the text removed.
std::string_view trimmed(std::string_view s) {
    for (bool again = true; again;) {
        again = false;
        while (!s.empty() &&
               (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n')) {
            s.remove_prefix(1);
            again = true;
        }
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
            s.remove_suffix(1);
            again = true;
        }
        if (s.substr(0, kNoBreakSpace.size()) == kNoBreakSpace) {
            s.remove_prefix(kNoBreakSpace.size());
            again = true;
        }
        if (s.size() >= kNoBreakSpace.size() && s.substr(s.size() - kNoBreakSpace.size()) == kNoBreakSpace) {
            s.remove_suffix(kNoBreakSpace.size());
            again = true;
        }
    }
    return s;
}

bool cutPrefix(std::string_view& s, std::string_view prefix) {
    if (s.substr(0, prefix.size()) != prefix) {
        return false;
    }
    s.remove_prefix(prefix.size());
    s = trimmed(s);
    return true;
}

bool cutSuffix(std::string_view& s, std::string_view suffix) {
    if (s.size() < suffix.size() || s.substr(s.size() - suffix.size()) != suffix) {
        return false;
    }
    s.remove_suffix(suffix.size());
    s = trimmed(s);
    return true;
}

// The cell's text in quotes for a message, cut to a readable length at a character boundary.
std::string quoted(std::string_view text) {
    constexpr size_t kShown = 40;
    if (text.size() <= kShown) {
        return "\"" + std::string(text) + "\"";
    }
    size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return "\"" + std::string(text.substr(0, cut)) + "...\"";
}

std::string formulaFault(const SheetCell& cell) {
    return "holds the formula " + quoted(cell.text) +
           " saved without its result: open the file in a spreadsheet program and save it again";
}

// Why a cell that holds no value of the wanted kind cannot be read, or nothing when it holds one.
std::optional<std::string> notAValue(const SheetCell& cell) {
    switch (cell.kind) {
        case SheetCell::Kind::Empty:
            return "is empty";
        case SheetCell::Kind::Error:
            return "holds the error " + cell.text;
        case SheetCell::Kind::Formula:
            return formulaFault(cell);
        default:
            return std::nullopt;
    }
}

// A plain decimal: digits, a point and decimals ("1234.5", "0.0015", "-3"), split.
struct Decimal {
    bool negative = false;
    std::string whole;     // without leading zeros ("" for zero)
    std::string fraction;  // without trailing zeros
};

Decimal splitDecimal(std::string_view text) {
    Decimal d;
    if (!text.empty() && text.front() == '-') {
        d.negative = true;
        text.remove_prefix(1);
    }
    const size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    while (!whole.empty() && whole.front() == '0') {
        whole.remove_prefix(1);
    }
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    d.whole = whole;
    d.fraction = fraction;
    d.negative = d.negative && !(d.whole.empty() && d.fraction.empty());
    return d;
}

std::string decimalsWord(int decimals) {
    return decimals == 2 ? "two decimals" : std::to_string(decimals) + " decimals";
}

CellReading<SheetAmount> amountOf(const Decimal& d, const std::string& shown, int decimals) {
    if (d.negative) {
        return CellReading<SheetAmount>::wrong(shown + " is below zero");
    }
    if (d.fraction.size() > static_cast<size_t>(decimals)) {
        return CellReading<SheetAmount>::wrong(shown + " has more than " + decimalsWord(decimals));
    }
    std::string digits =
        d.whole + d.fraction + std::string(static_cast<size_t>(decimals) - d.fraction.size(), '0');
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty()) {
        digits = "0";
    }
    const std::optional<Money> value = Money::fromImpliedDecimals(digits, decimals);
    if (!value) {
        return CellReading<SheetAmount>::wrong(shown + " is too large an amount");
    }
    return CellReading<SheetAmount>::ok({*value, digits});
}

// Text of an amount as people type it: "1,234.50", "฿ 1234", "1234.5 บาท"; the plain decimal, or nothing.
std::optional<std::string> amountText(std::string_view s, bool& negative) {
    s = trimmed(s);
    if (!cutPrefix(s, kBahtSign)) {
        cutPrefix(s, "THB");
    }
    if (!cutSuffix(s, kBahtSign) && !cutSuffix(s, kBahtWord)) {
        cutSuffix(s, "THB");
    }
    negative = false;
    if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
        negative = true;
        s = trimmed(s.substr(1, s.size() - 2));
    }
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = negative || s.front() == '-';
        s = trimmed(s.substr(1));
    } else if (!s.empty() && s.back() == '-') {
        negative = true;
        s = trimmed(s.substr(0, s.size() - 1));
    }
    cutPrefix(s, kBahtSign);
    const size_t point = s.find('.');
    const std::string_view whole = s.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : s.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || (!fraction.empty() && !allDigits(fraction))) {
        return std::nullopt;
    }
    std::string digits;
    if (whole.find(',') != std::string_view::npos) {
        // Groups of three after the first group of one to three.
        size_t start = 0;
        for (bool first = true;; first = false) {
            const size_t comma = std::min(whole.find(',', start), whole.size());
            const std::string_view group = whole.substr(start, comma - start);
            if (!allDigits(group) || group.size() > 3 || (!first && group.size() != 3)) {
                return std::nullopt;
            }
            digits += group;
            if (comma == whole.size()) {
                break;
            }
            start = comma + 1;
        }
    } else if (!whole.empty() && !allDigits(whole)) {
        return std::nullopt;
    } else {
        digits = whole;
    }
    return (negative ? "-" : "") + digits + (fraction.empty() ? "" : "." + std::string(fraction));
}

struct DateParts {
    std::string_view day, month, year;
};

// The date's three numbers in the written order; nothing when the text is not three numbers.
std::optional<DateParts> dateParts(std::string_view s, DateOrder order) {
    std::vector<std::string_view> parts;
    if (allDigits(s)) {
        // Without separators: two digits each for day and month, four for the year.
        if (s.size() != 8) {
            return std::nullopt;
        }
        if (order == DateOrder::YMD) {
            parts = {s.substr(0, 4), s.substr(4, 2), s.substr(6, 2)};
        } else {
            parts = {s.substr(0, 2), s.substr(2, 2), s.substr(4)};
        }
    } else {
        size_t start = 0;
        while (start < s.size()) {
            const size_t sep = std::min(s.find_first_of("/-. ", start), s.size());
            parts.push_back(s.substr(start, sep - start));
            start = s.find_first_not_of(' ', sep + 1);  // blanks after a separator belong to it
            if (start == std::string_view::npos) {
                break;
            }
        }
        if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), allDigits)) {
            return std::nullopt;
        }
    }
    if (parts[0].size() == 4 || order == DateOrder::YMD) {
        return DateParts{parts[2], parts[1], parts[0]};
    }
    return order == DateOrder::DMY ? DateParts{parts[0], parts[1], parts[2]}
                                   : DateParts{parts[1], parts[0], parts[2]};
}

int toInt(std::string_view digits) {
    int v = 0;
    for (const char c : digits) {
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string orderName(DateOrder order) {
    switch (order) {
        case DateOrder::DMY:
            return "day, month, year";
        case DateOrder::MDY:
            return "month, day, year";
        case DateOrder::YMD:
            return "year, month, day";
    }
    return "";
}

CellReading<Date> calendarDate(const std::string& shown, int year, int month, int day) {
    if (year < 1 || year > 9999 || day < 1 || day > Date::daysInMonth(year, month)) {
        return CellReading<Date>::wrong(shown + " is not a day of the calendar");
    }
    return CellReading<Date>::ok(Date{year, month, day});
}

// The length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
size_t sequenceLength(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

std::string codePoint(std::string_view sequence) {
    char32_t cp = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() > 1) {
        cp &= 0x3F >> (sequence.size() - 1);
        for (size_t i = 1; i < sequence.size(); ++i) {
            cp = (cp << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
        }
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

// `digits` when it is `width` digits; `shown` names the cell in the fault.
CellReading<std::string> fixedDigits(const std::string& digits, const std::string& shown, int width) {
    if (!allDigits(digits)) {
        return CellReading<std::string>::wrong(shown + " is not " + std::to_string(width) + " digits");
    }
    if (digits.size() != static_cast<size_t>(width)) {
        return CellReading<std::string>::wrong(shown + " has " + std::to_string(digits.size()) +
                                               " digits, not " + std::to_string(width));
    }
    return CellReading<std::string>::ok(digits);
}

}  // namespace

std::optional<std::string> numberText(std::string_view number) {
    size_t i = 0;
    const bool negative = i < number.size() && number[i] == '-';
    i += (negative || (i < number.size() && number[i] == '+')) ? 1 : 0;
    std::string digits;
    long exponent = 0;  // the value is 0.digits x 10^exponent
    bool point = false;
    bool any = false;
    for (; i < number.size(); ++i) {
        const char c = number[i];
        if (isDigit(c)) {
            any = true;
            if (digits.empty() && c == '0') {
                exponent -= point ? 1 : 0;  // leading zeros only move the point
            } else {
                digits += c;
                exponent += point ? 0 : 1;
            }
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any) {
        return std::nullopt;
    }
    if (i < number.size()) {
        if (number[i] != 'E' && number[i] != 'e') {
            return std::nullopt;
        }
        ++i;
        const bool down = i < number.size() && number[i] == '-';
        i += (down || (i < number.size() && number[i] == '+')) ? 1 : 0;
        const std::string_view e = number.substr(i);
        if (!allDigits(e) || e.size() > 3) {
            return std::nullopt;
        }
        exponent += down ? -toInt(e) : toInt(e);
    }
    if (digits.size() > static_cast<size_t>(kSignificantDigits)) {
        const bool up = digits[kSignificantDigits] >= '5';
        digits.resize(kSignificantDigits);
        for (size_t k = digits.size(); up && k-- > 0;) {
            if (digits[k] == '9') {
                digits[k] = '0';
                if (k == 0) {
                    digits.insert(digits.begin(), '1');
                    ++exponent;
                    digits.pop_back();
                }
            } else {
                ++digits[k];
                break;
            }
        }
    }
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
    if (digits.empty()) {
        return std::string("0");
    }
    if (exponent > 400 || exponent < -400) {
        return std::nullopt;
    }
    std::string text = negative ? "-" : "";
    if (exponent <= 0) {
        text += "0." + std::string(static_cast<size_t>(-exponent), '0') + digits;
    } else if (static_cast<size_t>(exponent) >= digits.size()) {
        text += digits + std::string(static_cast<size_t>(exponent) - digits.size(), '0');
    } else {
        text += digits.substr(0, static_cast<size_t>(exponent)) + "." +
                digits.substr(static_cast<size_t>(exponent));
    }
    return text;
}

CellReading<SheetAmount> readAmount(const SheetCell& cell, int decimals) {
    if (const auto why = notAValue(cell)) {
        return CellReading<SheetAmount>::wrong(*why);
    }
    const std::string shown = quoted(cell.text);
    if (cell.kind == SheetCell::Kind::Date) {
        return CellReading<SheetAmount>::wrong(shown + " is a date, not an amount");
    }
    if (cell.kind == SheetCell::Kind::Number) {
        const std::optional<std::string> text = numberText(cell.text);
        if (!text) {
            return CellReading<SheetAmount>::wrong(shown + " is not an amount");
        }
        return amountOf(splitDecimal(*text), shown, decimals);
    }
    bool negative = false;
    const std::optional<std::string> text = amountText(cell.text, negative);
    if (!text) {
        return CellReading<SheetAmount>::wrong(shown + " is not an amount");
    }
    return amountOf(splitDecimal(*text), shown, decimals);
}

CellReading<Date> readDate(const SheetCell& cell, const ReadingRules& rules) {
    if (const auto why = notAValue(cell)) {
        return CellReading<Date>::wrong(*why);
    }
    const std::string shown = quoted(cell.text);
    if (cell.kind == SheetCell::Kind::Date) {
        const std::string_view t = cell.text;  // yyyy-mm-dd
        const int year = toInt(t.substr(0, 4));
        if (year < kBuddhistYears) {
            return calendarDate(shown, year, toInt(t.substr(5, 2)), toInt(t.substr(8, 2)));
        }
        // A Buddhist-era year typed into a date cell, which the spreadsheet took as a year of the Common
        // Era: read by the era rule as text is.
        if (rules.years == YearEra::CE) {
            return CellReading<Date>::wrong(shown + ": the year " + std::string(t.substr(0, 4)) +
                                            " is a Buddhist-era year (years are read as CE)");
        }
        return calendarDate(shown, year - kBuddhistEra, toInt(t.substr(5, 2)), toInt(t.substr(8, 2)));
    }
    std::string text;
    if (cell.kind == SheetCell::Kind::Number) {
        // A date typed as a number: its digits, with a leading zero of the day or month that the number lost.
        const std::optional<std::string> n = numberText(cell.text);
        text = n && allDigits(*n) ? *n : cell.text;
        if (rules.dates != DateOrder::YMD && allDigits(text) && text.size() == 7) {
            text.insert(text.begin(), '0');
        }
    } else {
        std::string_view t = trimmed(cell.text);
        // A time after the date ("15/01/2026 10:30", "2026-01-15T00:00:00") is not part of it.
        if (const size_t colon = t.find(':'); colon != std::string_view::npos) {
            const size_t cut = t.find_last_of(" T", colon);
            t = cut == std::string_view::npos ? std::string_view() : trimmed(t.substr(0, cut));
        }
        text = t;
    }
    const std::optional<DateParts> parts = dateParts(text, rules.dates);
    if (!parts || parts->day.size() > 2 || parts->month.size() > 2) {
        return CellReading<Date>::wrong(shown + " is not a date (" + orderName(rules.dates) + ")");
    }
    if (parts->year.size() != 4) {
        // "15/01/69" is 2069 or, in the Buddhist era, 2026: no guess.
        return CellReading<Date>::wrong(shown + ": write the year with four digits");
    }
    int year = toInt(parts->year);
    const bool buddhist = rules.years == YearEra::BE;
    if (buddhist && year < kBuddhistYears) {
        return CellReading<Date>::wrong(shown + ": the year " + std::string(parts->year) +
                                        " is not a Buddhist-era year (years are read as BE)");
    } else if (!buddhist && year >= kBuddhistYears) {
        return CellReading<Date>::wrong(shown + ": the year " + std::string(parts->year) +
                                        " is a Buddhist-era year (years are read as CE)");
    } else if (buddhist) {
        year -= kBuddhistEra;
    }
    return calendarDate(shown, year, toInt(parts->month), toInt(parts->day));
}

CellReading<std::string> readDigits(const SheetCell& cell, int width) {
    if (const auto why = notAValue(cell)) {
        return CellReading<std::string>::wrong(*why);
    }
    const std::string shown = quoted(cell.text);
    std::string digits;
    if (cell.kind == SheetCell::Kind::Number) {
        digits = numberText(cell.text).value_or(cell.text);
        if (allDigits(digits) && digits.size() > static_cast<size_t>(kSignificantDigits)) {
            return CellReading<std::string>::wrong(
                shown + " is a number of more than " + std::to_string(kSignificantDigits) +
                " digits, which spreadsheets do not keep exactly: format the "
                "column as text");
        }
        if (allDigits(digits) && digits.size() < static_cast<size_t>(width)) {
            digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
        }
    } else if (cell.kind == SheetCell::Kind::Text) {
        digits = trimmed(cell.text);
    }
    return fixedDigits(digits, shown, width);
}

CellReading<std::string> readAccount(const SheetCell& cell, int width) {
    if (cell.kind != SheetCell::Kind::Text) {
        return readDigits(cell, width);
    }
    const std::string_view t = trimmed(cell.text);
    std::string digits;
    for (size_t i = 0; i < t.size(); ++i) {
        const bool between = i > 0 && i + 1 < t.size() && isDigit(t[i - 1]) && isDigit(t[i + 1]);
        if (!((t[i] == '-' || t[i] == ' ') && between)) {
            digits += t[i];
        }
    }
    return fixedDigits(digits, quoted(cell.text), width);
}

CellReading<std::string> readText(const SheetCell& cell, int width) {
    if (cell.kind == SheetCell::Kind::Error || cell.kind == SheetCell::Kind::Formula) {
        return CellReading<std::string>::wrong(*notAValue(cell));
    }
    std::string text = cell.text;
    if (cell.kind == SheetCell::Kind::Number) {
        text = numberText(cell.text).value_or(cell.text);
    }
    const std::string_view t = trimmed(text);
    for (const char c : t) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return CellReading<std::string>::wrong(c == '\n' || c == '\r' ? "holds a line break"
                                                   : c == '\t'            ? "holds a tab"
                                                                          : "holds a control character");
        }
    }
    std::optional<std::string> cp874 = cp874::fromUtf8(t);
    if (!cp874) {
        for (size_t i = 0; i < t.size();) {
            const size_t n = std::min(sequenceLength(static_cast<unsigned char>(t[i])), t.size() - i);
            const std::string_view one = t.substr(i, n);
            if (!cp874::fromUtf8(one)) {
                if (one == "\xEF\xBF\xBD") {
                    return CellReading<std::string>::wrong(
                        "holds a character that could not be read (U+FFFD)");
                }
                return CellReading<std::string>::wrong("holds \"" + std::string(one) + "\" (" +
                                                       codePoint(one) +
                                                       "), which code page 874 has no form for");
            }
            i += n;
        }
        return CellReading<std::string>::wrong("is not valid text");
    }
    if (width >= 0 && cp874->size() > static_cast<size_t>(width)) {
        return CellReading<std::string>::wrong(quoted(t) + " is " + std::to_string(cp874->size()) +
                                               " characters long; the field holds " + std::to_string(width));
    }
    return CellReading<std::string>::ok(std::move(*cp874));
}

}  // namespace qrv
