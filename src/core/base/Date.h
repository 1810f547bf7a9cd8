#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qrv {

// A calendar date as the local clock gives it.
struct Date {
    int year = 1970;
    int month = 1;
    int day = 1;

    std::string yyyymmdd() const;   // 20261208
    std::string isoDashed() const;  // 2026-12-08 (archive names)
    std::string ddmmyyyy() const;   // 08/12/2026 (report value dates)
    Date plusDays(int days) const;
    // "yyyy-mm-dd" (digits, dashes, a real date) read back; nothing for any other text.
    static std::optional<Date> fromIsoDashed(std::string_view text);
    static bool isLeapYear(int year);
    static int daysInMonth(int year, int month);

    friend bool operator==(const Date&, const Date&) = default;
    friend auto operator<=>(const Date&, const Date&) = default;
};

struct DateTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Today's local date; tests give a fixed one.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    Date today() const { return now().date; }
};

class FixedClock final : public Clock {
  public:
    explicit FixedClock(DateTime at) : at_(at) {}
    explicit FixedClock(Date day) : at_{day, 10, 0, 0} {}
    DateTime now() const override { return at_; }
    void set(DateTime at) { at_ = at; }

  private:
    DateTime at_;
};

}  // namespace qrv
