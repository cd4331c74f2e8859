#pragma once

#include <array>
#include <string>
#include <string_view>

// The host's conventions for writing numbers, dates and money, as the value formatter needs
// them. Patterns are in the format-string notation of the formatter ("m/d/yyyy").
namespace slidesmith::fill {

struct LocaleConventions {
    std::string decimalSeparator = ".";
    std::string thousandsSeparator = ",";
    std::string dateSeparator = "/"; // written for "/" in date formats
    std::string timeSeparator = ":"; // written for ":" in date formats

    std::array<std::string, 12> monthNames{"January",   "February", "March",    "April",
                                           "May",       "June",     "July",     "August",
                                           "September", "October",  "November", "December"};
    std::array<std::string, 12> monthAbbreviations{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // Sunday first, as the weekday numbers of "w" count.
    std::array<std::string, 7> dayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    std::array<std::string, 7> dayAbbreviations{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::string amText = "AM";
    std::string pmText = "PM";

    std::string shortDatePattern = "m/d/yyyy";
    std::string longDatePattern = "dddd, mmmm d, yyyy";
    std::string longTimePattern = "h:nn:ss AMPM";
    std::string mediumTimePattern = "hh:nn AMPM";
    std::string shortTimePattern = "hh:nn";

    std::string currencySymbol = "$";
    bool currencyPrecedes = true;          // "$5" rather than "5$"
    bool currencySeparatedBySpace = false; // "$ 5"
    bool currencyNegativeInParentheses = true;
    int currencyDigits = 2;

    // The classic en-US conventions, used when the host sets none.
    static LocaleConventions EnUs() { return {}; }

    // The conventions of the named locales, one per category; a name that is empty, "C",
    // "POSIX" (or one of their UTF-8 forms), or that the system does not know, gives the en-US
    // conventions for that category.
    static LocaleConventions FromLocaleNames(std::string_view numericName,
                                             std::string_view timeName,
                                             std::string_view monetaryName);

    // The conventions of the process environment: LC_ALL, else LC_NUMERIC / LC_TIME /
    // LC_MONETARY, else LANG.
    static LocaleConventions FromHost();
};

// Translates a C library date/time pattern (strftime notation, "%d.%m.%Y") into the format
// notation ("dd\.mm\.yyyy"). Conversions with no counterpart are dropped.
std::string TranslateStrftimePattern(std::string_view pattern);

} // namespace slidesmith::fill
