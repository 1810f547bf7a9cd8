#include "base/FieldHelpers.h"

#include <charconv>
#include <string>

namespace qrv {
namespace {

const std::string& zeros() {
    static const std::string z(100, '0');
    return z;
}

const std::string& blanks() {
    static const std::string b(100, ' ');
    return b;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string FillString(std::string_view fill, int count) {
    if (count < 1) {
        return {};
    }
    const size_t n = static_cast<size_t>(count < 100 ? count : 100);
    if (fill == " ") {
        return blanks().substr(0, n);
    }
    if (fill == "0") {
        return zeros().substr(0, n);
    }
    return {};
}

std::string PadText(std::string_view value, int width) {
    std::string s(value);
    s += FillString(" ", width - static_cast<int>(value.size()));
    return s;
}

std::string PadNumber(std::string_view digits, int width) {
    std::string s = FillString("0", width - static_cast<int>(digits.size()));
    s += digits;
    return s;
}

std::string PadNumber(std::int64_t value, int width) {
    return PadNumber(std::to_string(value), width);
}

std::string_view Columns(std::string_view line, int from, int to) {
    if (from < 1) {
        from = 1;
    }
    if (to < from || static_cast<size_t>(from) > line.size()) {
        return {};
    }
    const size_t begin = static_cast<size_t>(from - 1);
    const size_t end = static_cast<size_t>(to) < line.size() ? static_cast<size_t>(to) : line.size();
    return line.substr(begin, end - begin);
}

std::string_view TrimLeading(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view Trim(std::string_view text) {
    text = TrimLeading(text);
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

bool IsNumeric(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ') {
        ++i;
    }
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    if (i == n) {
        return false;  // empty, blanks only, or a lone sign
    }
    bool point = false;
    size_t mantissa = 0;
    while (i < n && (isDigit(text[i]) || (text[i] == '.' && !point))) {
        point = point || text[i] == '.';
        ++i;
        ++mantissa;
    }
    if (mantissa == 0) {
        return false;
    }
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        size_t exponent = 0;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++exponent;
        }
        if (exponent == 0) {
            return false;
        }
    }
    return i == n;
}

bool IsValidDate(std::string_view year, std::string_view month, std::string_view day) {
    const auto y = ToInteger(year);
    const auto m = ToInteger(month);
    const auto d = ToInteger(day);
    if (!y || !m || !d) {
        return false;
    }
    if (*y < 1 || *y > 9999 || *m < 1 || *m > 12 || *d < 1) {
        return false;
    }
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (*y % 4 == 0 && *y % 100 != 0) || *y % 400 == 0;
    const int days = *m == 2 && leap ? 29 : kDays[*m - 1];
    return *d <= days;
}

bool IsValidAccountNo(std::string_view account) {
    if (account.size() != 10 && account.size() != 11) {
        return false;
    }
    // Ten digits; of eleven characters the fourth is dropped, and it must leave the whole a number (a
    // digit, a decimal point or an exponent's "E"). Without allocating: every line's accounts pass here.
    char digits[10];
    size_t n = 0;
    for (size_t i = 0; i < account.size(); ++i) {
        const char c = account[i];
        if (account.size() == 11 && i == 3) {
            if (!isDigit(c) && c != '.' && c != 'E' && c != 'e') {
                return false;
            }
            continue;
        }
        if (!isDigit(c)) {
            return false;
        }
        digits[n++] = c;
    }
    static constexpr int kWeights[] = {4, 3, 2, 7, 6, 5, 4, 3, 2};
    int sum = 0;
    bool allZero = digits[9] == '0';
    for (int i = 0; i < 9; ++i) {
        sum += kWeights[i] * (digits[i] - '0');
        allZero = allZero && digits[i] == '0';
    }
    const int r = sum % 10;
    const int check = r == 0 ? 0 : 10 - r;
    return check == digits[9] - '0' && !allZero;
}

bool HasThaiChar(std::string_view text, int length) {
    const size_t n = length < 0 ? 0 : std::min(text.size(), static_cast<size_t>(length));
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0xA1 && c <= 0xCE) {
            return true;
        }
    }
    return false;
}

bool FileExists(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec);
}

bool IsDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

std::optional<std::int64_t> ToInteger(std::string_view text) {
    text = TrimLeading(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!IsDigits(text)) {
        return std::nullopt;
    }
    std::int64_t v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -v : v;
}

}  // namespace qrv
