#pragma once

#include "fill/CalendarTime.h"
#include "fill/LocaleConventions.h"

#include <string>
#include <string_view>

namespace slidesmith::fill {

// Writes a date and time with one section of a date format. Tokens (case-insensitive):
// d dd (day), ddd dddd (day names), ddddd (short date), dddddd (long date), w (weekday,
// Sunday = 1), ww (week of the year), m mm (month, or minutes right after an hour token),
// mmm mmmm (month names), q (quarter), y (day of the year), yy yyyy (year), h hh, n nn, s ss,
// c (the date and the time each when present), ttttt (long time), AM/PM am/pm A/P a/p
// (12-hour clock, written as the format writes them), AMPM (12-hour clock with the host's
// texts), "/" and ":" (the host's date and time separators); everything else is literal.
std::string RenderDateSection(std::string_view section, const CalendarTime& time,
                              const LocaleConventions& conventions);

// The host's short date, long time, or both, as the classic general date shows them: the
// date when the day is not day 0, the time when it is not midnight (or when there is no date).
std::string RenderGeneralDate(const CalendarTime& time, const LocaleConventions& conventions);

} // namespace slidesmith::fill
