#include "base/Date.h"

#include <chrono>
#include <cstdio>

namespace qrv {
namespace {

std::string format(const char* fmt, int a, int b, int c) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

}  // namespace

std::string Date::yyyymmdd() const {
    return format("%04d%02d%02d", year, month, day);
}
std::string Date::isoDashed() const {
    return format("%04d-%02d-%02d", year, month, day);
}
std::string Date::ddmmyyyy() const {
    return format("%02d/%02d/%04d", day, month, year);
}

bool Date::isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int Date::daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12) {
        return 0;
    }
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

std::optional<Date> Date::fromIsoDashed(std::string_view text) {
    if (text.size() != 10) {
        return std::nullopt;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? text[i] != '-' : (text[i] < '0' || text[i] > '9')) {
            return std::nullopt;
        }
    }
    const auto number = [text](size_t at, size_t length) {
        int n = 0;
        for (const char c : text.substr(at, length)) {
            n = n * 10 + (c - '0');
        }
        return n;
    };
    const Date d{number(0, 4), number(5, 2), number(8, 2)};
    if (d.year < 1 || d.day < 1 || d.day > daysInMonth(d.year, d.month)) {
        return std::nullopt;
    }
    return d;
}

Date Date::plusDays(int days) const {
    using namespace std::chrono;
    const sys_days d =
        year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                       std::chrono::day{static_cast<unsigned>(day)}};
    const year_month_day r{d + std::chrono::days{days}};
    return {static_cast<int>(r.year()), static_cast<int>(static_cast<unsigned>(r.month())),
            static_cast<int>(static_cast<unsigned>(r.day()))};
}

}  // namespace qrv
