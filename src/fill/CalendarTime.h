#pragma once

#include "platform/odbc/FieldValue.h"

#include <optional>
#include <string_view>

// A point in time as the date formats see it, and its conversions to and from the classic
// date serial (days since 1899-12-30, the time of day as the fraction).
namespace slidesmith::fill {

struct CalendarTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool hasDate = false; // not the serial's day 0, 1899-12-30
    bool hasTime = false; // not midnight

    // Days since 1899-12-30 (negative before), 0 when the date is not a real calendar date.
    long long SerialDay() const;
    int Weekday() const;    // 1 = Sunday .. 7 = Saturday; 0 for an impossible date
    int DayOfYear() const;  // 1..366
    int WeekOfYear() const; // the week holding 1 January is week 1; weeks start on Sunday
    double Serial() const;

    // Fractions of a second are dropped, not rounded: rounding up could change the minute, or
    // even the date, that a report shows.
    static CalendarTime FromDate(const odbc::Date& date);
    static CalendarTime FromTime(const odbc::Time& time);
    static CalendarTime FromTimestamp(const odbc::Timestamp& timestamp);

    // A serial is rounded to the nearest second (serials of whole seconds are rarely exact).
    // Serials outside the years 100..9999 give nothing, as in the classic date type.
    static std::optional<CalendarTime> FromSerial(double serial);

    // "yyyy-mm-dd", "yyyy-mm-dd hh:mm[:ss[.fff]]" (also with "T"), or "hh:mm[:ss]".
    static std::optional<CalendarTime> FromIsoText(std::string_view text);
};

} // namespace slidesmith::fill
