#pragma once

#include "fill/LocaleConventions.h"
#include "platform/odbc/FieldValue.h"

#include <string>
#include <string_view>

// Turns field values into cell text: the default conversion, and the classic format-string
// notation that template cells hold.
namespace slidesmith::fill {

// The value as text without a format: integers and decimals in plain digits (decimals without
// trailing fraction zeros), doubles with 15 significant digits (scientific from 1E+15 and below
// 1E-04, and "NaN", "Infinity", "-Infinity" for values that are not numbers), dates as the
// host's short date, times as its long time, timestamps as both (the time left out at
// midnight), text as it is, binary as "0x" and upper-case hexadecimal digits, null as "".
std::string DefaultText(const odbc::FieldValue& value, const LocaleConventions& conventions);

// The value formatted with formatText. formatText is either a named format (General Number,
// Currency, Fixed, Standard, Percent, Scientific, Yes/No, True/False, On/Off, General Date,
// Long Date, Medium Date, Short Date, Long Time, Medium Time, Short Time; any case; "General"
// is the default conversion, as spreadsheet users write it) or up to four sections separated
// by ";": positive; negative; zero; null. A number uses the negative section, when there is
// one, without a minus sign, and the zero section only when it is exactly zero; the section is
// chosen before rounding, so -0.4 with "0;(0)" gives "(0)" and with "0" gives "-0". An empty
// section borrows the first one. Sections with date tokens format dates (numbers count as date
// serials), sections with "@" "&" "<" ">" "!" format text (the second section then serves
// empty text and null); any other section formats numbers (dates count as their serials).
// Text that reads as a number or an ISO date is formatted as one; other text comes back
// unchanged, as do values that are not numbers. Never throws on any input and runs in time
// linear in the lengths of format and value.
std::string Format(const odbc::FieldValue& value, std::string_view formatText,
                   const LocaleConventions& conventions);

// The text a cell gets: the default conversion when there is no format text or when the
// value's own text is longer than 255 characters (long text is never cut by a format),
// otherwise Format.
std::string CellText(const odbc::FieldValue& value, std::string_view formatText,
                     const LocaleConventions& conventions);

} // namespace slidesmith::fill
