#include "fill/LocaleConventions.h"

#include "fill/FormatSections.h"

#include <cstdlib>
#include <langinfo.h>
#include <locale.h>

namespace slidesmith::fill {

namespace {

// Owns a locale_t.
class LocaleHandle {
public:
    LocaleHandle(int mask, std::string_view name)
        : m_locale(newlocale(mask, std::string(name).c_str(), locale_t{})) {}
    ~LocaleHandle() {
        if (m_locale != locale_t{}) {
            freelocale(m_locale);
        }
    }
    LocaleHandle(const LocaleHandle&) = delete;
    LocaleHandle& operator=(const LocaleHandle&) = delete;

    bool IsValid() const { return m_locale != locale_t{}; }
    std::string Item(nl_item item) const { return nl_langinfo_l(item, m_locale); }
    int Number(nl_item item) const {
        const char* text = nl_langinfo_l(item, m_locale);
        // Numeric items come back as one char holding the value; CHAR_MAX means "unspecified".
        return text == nullptr ? -1 : static_cast<signed char>(text[0]);
    }

private:
    locale_t m_locale;
};

bool IsNeutralName(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

std::string EnvironmentLocale(const char* category) {
    for (const char* variable : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

// The first character of a date pattern that is not a conversion, e.g. "." in "%d.%m.%Y".
std::string FirstLiteral(std::string_view pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%') {
            ++i;
        } else {
            return std::string(pattern.substr(i, Utf8Length(pattern, i)));
        }
    }
    return {};
}

void ReadNumeric(LocaleConventions& conventions, const LocaleHandle& locale) {
    conventions.decimalSeparator = locale.Item(RADIXCHAR);
    conventions.thousandsSeparator = locale.Item(THOUSEP);
    if (conventions.decimalSeparator.empty()) {
        conventions.decimalSeparator = ".";
    }
}

void ReadTime(LocaleConventions& conventions, const LocaleHandle& locale) {
    for (int i = 0; i < 12; ++i) {
        const auto index = static_cast<std::size_t>(i);
        conventions.monthNames[index] = locale.Item(static_cast<nl_item>(MON_1 + i));
        conventions.monthAbbreviations[index] = locale.Item(static_cast<nl_item>(ABMON_1 + i));
    }
    for (int i = 0; i < 7; ++i) {
        const auto index = static_cast<std::size_t>(i);
        conventions.dayNames[index] = locale.Item(static_cast<nl_item>(DAY_1 + i));
        conventions.dayAbbreviations[index] = locale.Item(static_cast<nl_item>(ABDAY_1 + i));
    }
    conventions.amText = locale.Item(AM_STR);
    conventions.pmText = locale.Item(PM_STR);

    const std::string dateFormat = locale.Item(D_FMT);
    const std::string timeFormat = locale.Item(T_FMT);
    conventions.shortDatePattern = TranslateStrftimePattern(dateFormat);
    conventions.longTimePattern = TranslateStrftimePattern(timeFormat);
    const std::string dateSeparator = FirstLiteral(dateFormat);
    const std::string timeSeparator = FirstLiteral(timeFormat);
    conventions.dateSeparator = dateSeparator.empty() ? "/" : dateSeparator;
    conventions.timeSeparator = timeSeparator.empty() ? ":" : timeSeparator;

    // The C library has no long date; build one in the short date's order of day and month.
    const std::size_t day = dateFormat.find_first_of("de", dateFormat.find('%'));
    const std::size_t month = dateFormat.find("%m");
    const std::size_t year = dateFormat.find_first_of("Yy");
    if (year != std::string::npos && year < month) {
        conventions.longDatePattern = "yyyy mmmm d";
    } else if (day != std::string::npos && month != std::string::npos && day < month) {
        conventions.longDatePattern = "dddd d mmmm yyyy";
    } else {
        conventions.longDatePattern = "dddd, mmmm d, yyyy";
    }
    const bool hasAmPm = !conventions.amText.empty() && !conventions.pmText.empty();
    conventions.mediumTimePattern = hasAmPm ? "hh:nn AMPM" : "hh:nn";
}

void ReadMonetary(LocaleConventions& conventions, const LocaleHandle& locale) {
    conventions.currencySymbol = locale.Item(CURRENCY_SYMBOL);
    const int precedes = locale.Number(P_CS_PRECEDES);
    const int separated = locale.Number(P_SEP_BY_SPACE);
    const int signPosition = locale.Number(N_SIGN_POSN);
    const int digits = locale.Number(FRAC_DIGITS);
    conventions.currencyPrecedes = precedes != 0;
    conventions.currencySeparatedBySpace = separated == 1 || separated == 2;
    conventions.currencyNegativeInParentheses = signPosition == 0;
    conventions.currencyDigits = (digits >= 0 && digits <= 9) ? digits : 2;
}

} // namespace

std::string TranslateStrftimePattern(std::string_view pattern) {
    std::string result;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            // Escaped, so that letters and separators stay what the C library meant.
            result += '\\';
            result += pattern[i];
            continue;
        }
        char conversion = pattern[++i];
        // GNU flags: "-" drops the padding; the others change nothing here.
        bool unpadded = false;
        while ((conversion == '-' || conversion == '_' || conversion == '0' || conversion == 'E' ||
                conversion == 'O') &&
               i + 1 < pattern.size()) {
            unpadded = unpadded || conversion == '-';
            conversion = pattern[++i];
        }
        switch (conversion) {
        case 'd':
            result += unpadded ? "d" : "dd";
            break;
        case 'e':
            result += "d";
            break;
        case 'm':
            result += unpadded ? "m" : "mm";
            break;
        case 'b':
        case 'h':
            result += "mmm";
            break;
        case 'B':
            result += "mmmm";
            break;
        case 'a':
            result += "ddd";
            break;
        case 'A':
            result += "dddd";
            break;
        case 'Y':
            result += "yyyy";
            break;
        case 'y':
            result += "yy";
            break;
        case 'H':
        case 'I':
            result += unpadded ? "h" : "hh";
            break;
        case 'k':
        case 'l':
            result += "h";
            break;
        case 'M':
            result += "nn";
            break;
        case 'S':
            result += "ss";
            break;
        case 'p':
        case 'P':
            result += "AMPM";
            break;
        case 'r':
            result += "hh:nn:ss AMPM";
            break;
        case 'R':
            result += "hh:nn";
            break;
        case 'T':
            result += "hh:nn:ss";
            break;
        case 'D':
            result += "mm/dd/yy";
            break;
        case 'F':
            result += "yyyy-mm-dd";
            break;
        case '%':
            result += "\\%";
            break;
        case 'n':
            result += ' ';
            break;
        case 't':
            result += ' ';
            break;
        default:
            break;
        }
    }
    return result;
}

LocaleConventions LocaleConventions::FromLocaleNames(std::string_view numericName,
                                                     std::string_view timeName,
                                                     std::string_view monetaryName) {
    LocaleConventions conventions;
    if (!IsNeutralName(numericName)) {
        const LocaleHandle locale(LC_NUMERIC_MASK, numericName);
        if (locale.IsValid()) {
            ReadNumeric(conventions, locale);
        }
    }
    if (!IsNeutralName(timeName)) {
        const LocaleHandle locale(LC_TIME_MASK, timeName);
        if (locale.IsValid()) {
            ReadTime(conventions, locale);
        }
    }
    if (!IsNeutralName(monetaryName)) {
        const LocaleHandle locale(LC_MONETARY_MASK, monetaryName);
        if (locale.IsValid()) {
            ReadMonetary(conventions, locale);
        }
    }
    return conventions;
}

LocaleConventions LocaleConventions::FromHost() {
    return FromLocaleNames(EnvironmentLocale("LC_NUMERIC"), EnvironmentLocale("LC_TIME"),
                           EnvironmentLocale("LC_MONETARY"));
}

} // namespace slidesmith::fill
