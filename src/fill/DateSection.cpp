#include "fill/DateSection.h"

#include "fill/FormatSections.h"

#include <vector>

namespace slidesmith::fill {

namespace {

enum class Part {
    Literal,
    DateSeparator,
    TimeSeparator,
    Day,
    Month,
    Minute,
    Year,
    Hour,
    Second,
    Week,
    Quarter,
    General,
    LongTime,
    AmPm
};

struct Token {
    Part part = Part::Literal;
    int count = 1;
    std::string_view text;   // the literal, or the morning text of AmPm
    std::string_view pmText; // the afternoon text of AmPm
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Padded(long long value, std::size_t width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return value < 0 ? "-" + digits : digits;
}

std::size_t RunLength(FormatLexer& lexer, char letter) {
    std::size_t count = 0;
    while (LowerAscii(lexer.Peek(count)) == letter) {
        ++count;
    }
    lexer.Skip(count);
    return count;
}

bool TakeAmPm(FormatLexer& lexer, std::string_view section, const LocaleConventions& conventions,
              Token& token) {
    const std::size_t at = lexer.Position();
    token.part = Part::AmPm;
    if (lexer.LookingAt("am/pm")) {
        token.text = section.substr(at, 2);
        token.pmText = section.substr(at + 3, 2);
        lexer.Skip(5);
    } else if (lexer.LookingAt("ampm")) {
        token.text = conventions.amText;
        token.pmText = conventions.pmText;
        lexer.Skip(4);
    } else if (lexer.LookingAt("a/p")) {
        token.text = section.substr(at, 1);
        token.pmText = section.substr(at + 2, 1);
        lexer.Skip(3);
    } else {
        return false;
    }
    return true;
}

std::vector<Token> Tokenise(std::string_view section, const LocaleConventions& conventions) {
    std::vector<Token> tokens;
    FormatLexer lexer(section);
    std::string_view literal;
    Part lastField = Part::Literal;
    while (!lexer.AtEnd()) {
        Token token;
        if (lexer.TakeLiteral(literal)) {
            tokens.push_back({Part::Literal, 1, literal, {}});
            continue;
        }
        const char letter = LowerAscii(lexer.Peek());
        const auto count = [&](std::size_t most) {
            return static_cast<int>(std::min(RunLength(lexer, letter), most));
        };
        switch (letter) {
        case 'd':
            token = {Part::Day, count(6), {}, {}};
            break;
        case 'm':
            token = {Part::Month, count(4), {}, {}};
            if (token.count <= 2 && lastField == Part::Hour) {
                token.part = Part::Minute;
            }
            break;
        case 'y':
            token = {Part::Year, count(4), {}, {}};
            break;
        case 'h':
            token = {Part::Hour, count(2), {}, {}};
            break;
        case 'n':
            token = {Part::Minute, count(2), {}, {}};
            break;
        case 's':
            token = {Part::Second, count(2), {}, {}};
            break;
        case 'w':
            token = {Part::Week, count(2), {}, {}};
            break;
        case 'q':
            lexer.Skip(1);
            token.part = Part::Quarter;
            break;
        case 'c':
            lexer.Skip(1);
            token.part = Part::General;
            break;
        case '/':
            lexer.Skip(1);
            token.part = Part::DateSeparator;
            break;
        case ':':
            lexer.Skip(1);
            token.part = Part::TimeSeparator;
            break;
        default:
            if (letter == 't' && lexer.LookingAt("ttttt")) {
                lexer.Skip(5);
                token.part = Part::LongTime;
            } else if (letter != 'a' || !TakeAmPm(lexer, section, conventions, token)) {
                token = {Part::Literal, 1, lexer.TakeChar(), {}};
            }
            break;
        }
        if (token.part != Part::Literal && token.part != Part::DateSeparator &&
            token.part != Part::TimeSeparator) {
            lastField = token.part;
        }
        tokens.push_back(token);
    }
    return tokens;
}

std::string Name(const auto& names, int index) {
    return (index >= 1 && index <= static_cast<int>(names.size()))
               ? names[static_cast<std::size_t>(index - 1)]
               : std::string();
}

std::string Render(std::string_view section, const CalendarTime& time,
                   const LocaleConventions& conventions, bool nested);

std::string RenderField(const Token& token, const CalendarTime& time, bool twelveHour,
                        const LocaleConventions& conventions, bool nested) {
    const auto width = static_cast<std::size_t>(token.count);
    switch (token.part) {
    case Part::Literal:
        return std::string(token.text);
    case Part::DateSeparator:
        return conventions.dateSeparator;
    case Part::TimeSeparator:
        return conventions.timeSeparator;
    case Part::Day:
        if (token.count <= 2) {
            return Padded(time.day, width);
        }
        if (token.count <= 4) {
            return Name(token.count == 3 ? conventions.dayAbbreviations : conventions.dayNames,
                        time.Weekday());
        }
        // The host patterns are expanded once; a pattern that names itself writes nothing.
        if (nested) {
            return {};
        }
        return Render(token.count == 5 ? conventions.shortDatePattern : conventions.longDatePattern,
                      time, conventions, true);
    case Part::Month:
        if (token.count <= 2) {
            return Padded(time.month, width);
        }
        return Name(token.count == 3 ? conventions.monthAbbreviations : conventions.monthNames,
                    time.month);
    case Part::Minute:
        return Padded(time.minute, width);
    case Part::Second:
        return Padded(time.second, width);
    case Part::Hour: {
        int hour = time.hour;
        if (twelveHour) {
            hour = hour % 12 == 0 ? 12 : hour % 12;
        }
        return Padded(hour, width);
    }
    case Part::Year:
        if (token.count == 1) {
            return std::to_string(time.DayOfYear());
        }
        return token.count == 2 ? Padded((time.year % 100 + 100) % 100, 2) : Padded(time.year, 4);
    case Part::Week:
        return std::to_string(token.count == 1 ? time.Weekday() : time.WeekOfYear());
    case Part::Quarter:
        return std::to_string((time.month - 1) / 3 + 1);
    case Part::General:
        return nested ? std::string() : RenderGeneralDate(time, conventions);
    case Part::LongTime:
        return nested ? std::string()
                      : Render(conventions.longTimePattern, time, conventions, true);
    case Part::AmPm:
        return std::string(time.hour < 12 ? token.text : token.pmText);
    }
    return {};
}

std::string Render(std::string_view section, const CalendarTime& time,
                   const LocaleConventions& conventions, bool nested) {
    const std::vector<Token> tokens = Tokenise(section, conventions);
    bool twelveHour = false;
    for (const Token& token : tokens) {
        twelveHour = twelveHour || token.part == Part::AmPm;
    }
    std::string out;
    for (const Token& token : tokens) {
        out += RenderField(token, time, twelveHour, conventions, nested);
    }
    return out;
}

} // namespace

std::string RenderDateSection(std::string_view section, const CalendarTime& time,
                              const LocaleConventions& conventions) {
    return Render(section, time, conventions, false);
}

std::string RenderGeneralDate(const CalendarTime& time, const LocaleConventions& conventions) {
    std::string out;
    if (time.hasDate) {
        out = Render(conventions.shortDatePattern, time, conventions, true);
    }
    if (time.hasTime || !time.hasDate) {
        if (!out.empty()) {
            out += ' ';
        }
        out += Render(conventions.longTimePattern, time, conventions, true);
    }
    return out;
}

} // namespace slidesmith::fill
