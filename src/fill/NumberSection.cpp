#include "fill/NumberSection.h"

#include "fill/FormatSections.h"

#include <algorithm>
#include <vector>

namespace slidesmith::fill {

namespace {

enum class TokenType { Literal, Digit };

struct Token {
    TokenType type = TokenType::Literal;
    std::string_view text; // the literal; for a digit "0" or "#"
    bool IsZero() const { return type == TokenType::Digit && text == "0"; }
};

struct NumberPattern {
    std::vector<Token> integerZone;
    std::vector<Token> fractionZone;
    std::vector<Token> exponentZone;
    bool hasPoint = false;
    std::string_view exponentMark; // "E+", "e-", ... or empty
    bool grouping = false;
    long scaleThousands = 0;
    long percentCount = 0;

    bool HasExponent() const { return !exponentMark.empty(); }
};

long CountDigits(const std::vector<Token>& tokens) {
    return static_cast<long>(std::count_if(tokens.begin(), tokens.end(), [](const Token& token) {
        return token.type == TokenType::Digit;
    }));
}

bool HasNumberPart(const NumberPattern& pattern) {
    return pattern.hasPoint || CountDigits(pattern.integerZone) > 0 ||
           CountDigits(pattern.fractionZone) > 0 || pattern.HasExponent();
}

NumberPattern ParsePattern(std::string_view section) {
    NumberPattern pattern;
    std::vector<Token>* zone = &pattern.integerZone;
    long commas = 0;        // commas since the last digit placeholder
    bool digitSeen = false; // a digit placeholder before the exponent
    const auto closeZone = [&] {
        // Commas right after the last digit of the integer or fraction part divide by 1000.
        if (digitSeen && zone != &pattern.exponentZone) {
            pattern.scaleThousands += commas;
        }
        commas = 0;
    };
    FormatLexer lexer(section);
    std::string_view literal;
    while (!lexer.AtEnd()) {
        if (lexer.TakeLiteral(literal)) {
            zone->push_back({TokenType::Literal, literal});
            continue;
        }
        const char c = lexer.Peek();
        const bool isPoint = c == '.' && !pattern.hasPoint && !pattern.HasExponent();
        const bool isExponent = (c == 'E' || c == 'e') && !pattern.HasExponent() &&
                                (lexer.Peek(1) == '+' || lexer.Peek(1) == '-');
        if (c == '0' || c == '#') {
            // Commas between integer digits group them; elsewhere they are dropped.
            pattern.grouping = pattern.grouping || (commas > 0 && zone == &pattern.integerZone);
            digitSeen = digitSeen || zone != &pattern.exponentZone;
            commas = 0;
            zone->push_back({TokenType::Digit, lexer.TakeChar()});
        } else if (c == ',') {
            commas += zone != &pattern.exponentZone ? 1 : 0;
            lexer.Skip(1);
        } else if (c == '%') {
            ++pattern.percentCount;
            zone->push_back({TokenType::Literal, lexer.TakeChar()});
        } else if (isPoint) {
            closeZone();
            pattern.hasPoint = true;
            zone = &pattern.fractionZone;
            lexer.Skip(1);
        } else if (isExponent) {
            closeZone();
            pattern.exponentMark = section.substr(lexer.Position(), 2);
            zone = &pattern.exponentZone;
            lexer.Skip(2);
        } else {
            zone->push_back({TokenType::Literal, lexer.TakeChar()});
        }
    }
    closeZone();
    return pattern;
}

// Builds the integer part from the right, where grouping and surplus digits are decided.
class ReversedText {
public:
    void Append(std::string_view text) { m_text.append(text.rbegin(), text.rend()); }
    void Append(char c) { m_text += c; }
    std::string Take() {
        std::reverse(m_text.begin(), m_text.end());
        return std::move(m_text);
    }

private:
    std::string m_text;
};

std::string RenderIntegerZone(const std::vector<Token>& zone, std::string digits, bool grouping,
                              const LocaleConventions& conventions) {
    const long placeholders = CountDigits(zone);
    // Every placeholder from the leftmost "0" rightwards shows a digit, zeros included.
    long minimumDigits = 0;
    long position = 0;
    for (auto token = zone.rbegin(); token != zone.rend(); ++token) {
        if (token->type == TokenType::Digit) {
            ++position;
            if (token->IsZero()) {
                minimumDigits = position;
            }
        }
    }
    if (static_cast<long>(digits.size()) < minimumDigits) {
        digits.insert(0, static_cast<std::size_t>(minimumDigits) - digits.size(), '0');
    }

    ReversedText out;
    std::size_t remaining = digits.size();
    long written = 0;
    const auto writeDigit = [&] {
        if (grouping && written > 0 && written % 3 == 0) {
            out.Append(conventions.thousandsSeparator);
        }
        out.Append(digits[--remaining]);
        ++written;
    };
    long seen = 0;
    for (auto token = zone.rbegin(); token != zone.rend(); ++token) {
        if (token->type == TokenType::Literal) {
            out.Append(token->text);
        } else if (++seen == placeholders) {
            // The leftmost placeholder takes every digit that is left.
            while (remaining > 0) {
                writeDigit();
            }
        } else if (remaining > 0) {
            writeDigit();
        }
    }
    return out.Take();
}

std::string RenderFractionZone(const std::vector<Token>& zone, const DecimalNumber& value) {
    const long placeholders = CountDigits(zone);
    const std::string digits = value.FractionDigits(placeholders);
    long lastShown = -1;
    long index = 0;
    for (const Token& token : zone) {
        if (token.type == TokenType::Digit) {
            if (token.IsZero() || digits[static_cast<std::size_t>(index)] != '0') {
                lastShown = index;
            }
            ++index;
        }
    }
    // A "#" shows a zero only when a later digit is shown.
    std::string out;
    index = 0;
    for (const Token& token : zone) {
        if (token.type == TokenType::Literal) {
            out += token.text;
        } else {
            if (index <= lastShown) {
                out += digits[static_cast<std::size_t>(index)];
            }
            ++index;
        }
    }
    return out;
}

std::string RenderExponentZone(const NumberPattern& pattern, long exponent) {
    std::string out(1, pattern.exponentMark[0]);
    if (exponent < 0) {
        out += '-';
    } else if (pattern.exponentMark[1] == '+') {
        out += '+';
    }
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    const auto zeros = static_cast<std::size_t>(
        std::count_if(pattern.exponentZone.begin(), pattern.exponentZone.end(),
                      [](const Token& token) { return token.IsZero(); }));
    if (digits.size() < zeros) {
        digits.insert(0, zeros - digits.size(), '0');
    }
    bool digitsWritten = false;
    for (const Token& token : pattern.exponentZone) {
        if (token.type == TokenType::Literal) {
            out += token.text;
        } else if (!digitsWritten) {
            out += digits;
            digitsWritten = true;
        }
    }
    if (!digitsWritten) {
        out += digits;
    }
    return out;
}

} // namespace

std::string RenderNumberSection(std::string_view section, DecimalNumber value, bool minus,
                                const LocaleConventions& conventions) {
    NumberPattern pattern = ParsePattern(section);
    if (!HasNumberPart(pattern)) {
        std::string out;
        for (const Token& token : pattern.integerZone) {
            out += token.text;
        }
        return out;
    }
    value.negative = false;
    value.Shift(2 * pattern.percentCount - 3 * pattern.scaleThousands);

    const long fractionPlaces = CountDigits(pattern.fractionZone);
    long exponent = 0;
    if (pattern.HasExponent()) {
        const long integerPlaces = CountDigits(pattern.integerZone);
        if (!value.IsZero()) {
            exponent = value.pointPosition - integerPlaces;
            value.pointPosition = integerPlaces;
            value.RoundToFraction(fractionPlaces);
            if (value.pointPosition > integerPlaces) { // 9.99 rounded up to 10.0
                exponent += value.pointPosition - integerPlaces;
                value.pointPosition = integerPlaces;
            }
        }
    } else {
        value.RoundToFraction(fractionPlaces);
    }

    if (CountDigits(pattern.integerZone) == 0) {
        // Without integer placeholders the integer digits still show, before the point.
        pattern.integerZone.push_back({TokenType::Digit, "#"});
    }
    std::string out = minus ? "-" : "";
    out += RenderIntegerZone(pattern.integerZone, value.IntegerDigits(), pattern.grouping,
                             conventions);
    if (pattern.hasPoint) {
        out += conventions.decimalSeparator;
    }
    out += RenderFractionZone(pattern.fractionZone, value);
    if (pattern.HasExponent()) {
        out += RenderExponentZone(pattern, exponent);
    }
    return out;
}

} // namespace slidesmith::fill
