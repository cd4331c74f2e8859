#include "fill/CalendarTime.h"

#include <chrono>
#include <cmath>

namespace slidesmith::fill {

namespace {

using std::chrono::sys_days;

constexpr std::chrono::year_month_day kSerialEpoch{std::chrono::year{1899}, std::chrono::month{12},
                                                   std::chrono::day{30}};
constexpr int kSecondsPerDay = 86400;

std::chrono::year_month_day ToYmd(int year, int month, int day) {
    return {std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
            std::chrono::day{static_cast<unsigned>(day)}};
}

void SetSecondOfDay(CalendarTime& time, int secondOfDay) {
    time.hour = secondOfDay / 3600;
    time.minute = secondOfDay / 60 % 60;
    time.second = secondOfDay % 60;
    time.hasTime = secondOfDay != 0;
}

// Reads exactly count digits at pos.
std::optional<int> ReadDigits(std::string_view text, std::size_t& pos, std::size_t count) {
    if (pos + count > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    pos += count;
    return value;
}

bool ReadTimeOfDay(std::string_view text, std::size_t& pos, CalendarTime& time) {
    const auto hour = ReadDigits(text, pos, 2);
    if (!hour || pos >= text.size() || text[pos++] != ':') {
        return false;
    }
    const auto minute = ReadDigits(text, pos, 2);
    std::optional<int> second = 0;
    if (minute && pos < text.size() && text[pos] == ':') {
        ++pos;
        second = ReadDigits(text, pos, 2);
        if (second && pos < text.size() && text[pos] == '.') {
            // Fractions of a second are dropped, as for timestamps.
            ++pos;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
                ++pos;
            }
        }
    }
    if (!minute || !second || *hour > 23 || *minute > 59 || *second > 59) {
        return false;
    }
    SetSecondOfDay(time, (*hour * 60 + *minute) * 60 + *second);
    return true;
}

} // namespace

long long CalendarTime::SerialDay() const {
    const auto ymd = ToYmd(year, month, day);
    if (!ymd.ok()) {
        return 0;
    }
    return (sys_days{ymd} - sys_days{kSerialEpoch}).count();
}

int CalendarTime::Weekday() const {
    const auto ymd = ToYmd(year, month, day);
    if (!ymd.ok()) {
        return 0;
    }
    return static_cast<int>(std::chrono::weekday{sys_days{ymd}}.c_encoding()) + 1;
}

int CalendarTime::DayOfYear() const {
    const auto ymd = ToYmd(year, month, day);
    if (!ymd.ok()) {
        return 1;
    }
    const auto first = ToYmd(year, 1, 1);
    return static_cast<int>((sys_days{ymd} - sys_days{first}).count()) + 1;
}

int CalendarTime::WeekOfYear() const {
    const CalendarTime firstOfYear = FromDate({year, 1, 1});
    return (DayOfYear() - 1 + firstOfYear.Weekday() - 1) / 7 + 1;
}

double CalendarTime::Serial() const {
    const auto days = static_cast<double>(SerialDay());
    const double fraction = ((hour * 60 + minute) * 60 + second) / double{kSecondsPerDay};
    // Before the epoch the time still counts forward from the day's start.
    return days < 0 ? days - fraction : days + fraction;
}

CalendarTime CalendarTime::FromDate(const odbc::Date& date) {
    CalendarTime time;
    time.year = date.year;
    time.month = date.month;
    time.day = date.day;
    time.hasDate = time.SerialDay() != 0;
    return time;
}

CalendarTime CalendarTime::FromTime(const odbc::Time& timeOfDay) {
    CalendarTime time;
    time.hour = timeOfDay.hour;
    time.minute = timeOfDay.minute;
    time.second = timeOfDay.second;
    time.hasTime = time.hour != 0 || time.minute != 0 || time.second != 0;
    return time;
}

CalendarTime CalendarTime::FromTimestamp(const odbc::Timestamp& timestamp) {
    CalendarTime time = FromDate(timestamp.date);
    const CalendarTime timeOfDay = FromTime(timestamp.time);
    time.hour = timeOfDay.hour;
    time.minute = timeOfDay.minute;
    time.second = timeOfDay.second;
    time.hasTime = timeOfDay.hasTime;
    return time;
}

std::optional<CalendarTime> CalendarTime::FromSerial(double serial) {
    // 0001-01-01 .. 9999-12-31 would do for the calendar; the classic date type stops at 100.
    constexpr double kFirst = -657434.0; // 0100-01-01
    constexpr double kLast = 2958465.0;  // 9999-12-31
    if (!std::isfinite(serial) || serial < kFirst || serial >= kLast + 1.0) {
        return std::nullopt;
    }
    double whole = std::trunc(serial);
    long long seconds = std::llround(std::fabs(serial - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        // The time counts forward from the start of the day, before the epoch too, so a
        // time that rounds up to midnight is the start of the following day.
        seconds -= kSecondsPerDay;
        whole += 1.0;
    }
    const auto days = std::chrono::days{static_cast<long long>(whole)};
    const std::chrono::year_month_day ymd{sys_days{kSerialEpoch} + days};
    CalendarTime time;
    time.year = static_cast<int>(ymd.year());
    time.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    time.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    time.hasDate = whole != 0.0;
    SetSecondOfDay(time, static_cast<int>(seconds));
    return time;
}

std::optional<CalendarTime> CalendarTime::FromIsoText(std::string_view text) {
    std::size_t pos = 0;
    CalendarTime time;
    if (text.size() >= 5 && text[2] == ':') {
        if (!ReadTimeOfDay(text, pos, time) || pos != text.size()) {
            return std::nullopt;
        }
        return time;
    }
    const auto year = ReadDigits(text, pos, 4);
    if (!year || pos >= text.size() || text[pos++] != '-') {
        return std::nullopt;
    }
    const auto month = ReadDigits(text, pos, 2);
    if (!month || pos >= text.size() || text[pos++] != '-') {
        return std::nullopt;
    }
    const auto day = ReadDigits(text, pos, 2);
    if (!day || !ToYmd(*year, *month, *day).ok()) {
        return std::nullopt;
    }
    time = FromDate({*year, *month, *day});
    if (pos < text.size()) {
        if (text[pos] != ' ' && text[pos] != 'T') {
            return std::nullopt;
        }
        ++pos;
        if (!ReadTimeOfDay(text, pos, time) || pos != text.size()) {
            return std::nullopt;
        }
    }
    return time;
}

} // namespace slidesmith::fill
