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
