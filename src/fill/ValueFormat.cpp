#include "fill/ValueFormat.h"

#include "fill/CalendarTime.h"
#include "fill/DateSection.h"
#include "fill/DecimalNumber.h"
#include "fill/FormatSections.h"
#include "fill/NumberSection.h"
#include "fill/TextSection.h"

#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace slidesmith::fill {

namespace {

using odbc::FieldValue;
using odbc::FieldValueKind;

constexpr std::size_t kMaxFormattedLength = 255;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string PlainNumberText(const DecimalNumber& number, const LocaleConventions& conventions) {
    std::string out = number.negative ? "-" : "";
    const std::string integer = number.IntegerDigits();
    out += integer.empty() ? "0" : integer;
    const long fraction = static_cast<long>(number.digits.size()) - number.pointPosition;
    if (fraction > 0) {
        out += conventions.decimalSeparator;
        out += number.FractionDigits(fraction);
    }
    return out;
}

// A number as the classic conversion writes a double: plain, or d.dddE+xx outside
// 1E-04 .. 1E+15.
std::string GeneralText(const DecimalNumber& number, const LocaleConventions& conventions) {
    const long exponent = number.pointPosition - 1;
    if (number.IsZero() || (exponent >= -4 && exponent < 15)) {
        return PlainNumberText(number, conventions);
    }
    std::string out = number.negative ? "-" : "";
    out += number.digits[0];
    if (number.digits.size() > 1) {
        out += conventions.decimalSeparator;
        out += number.digits.substr(1);
    }
    out += exponent < 0 ? "E-" : "E+";
    const std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    out += digits.size() < 2 ? "0" + digits : digits;
    return out;
}

std::string GeneralNumberText(double value, const LocaleConventions& conventions) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    return GeneralText(DecimalNumber::FromDouble(value), conventions);
}

std::string HexText(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "0x";
    for (const std::uint8_t byte : bytes) {
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    }
    return out;
}

// The value in the form a format works on.
struct Operand {
    enum class Type { Null, Number, Date, Unformattable } type = Type::Null;
    DecimalNumber number;
    CalendarTime time;
};

Operand ToOperand(const FieldValue& value, const LocaleConventions& conventions) {
    Operand operand;
    const auto number = [&](std::optional<DecimalNumber> parsed) {
        operand.type = parsed ? Operand::Type::Number : Operand::Type::Unformattable;
        operand.number = parsed.value_or(DecimalNumber{});
    };
    const auto date = [&](const CalendarTime& time) {
        operand.type = Operand::Type::Date;
        operand.time = time;
    };
    switch (value.Kind()) {
    case FieldValueKind::Null:
        break;
    case FieldValueKind::Integer:
        number(DecimalNumber::FromInteger(value.AsInteger()));
        break;
    case FieldValueKind::Decimal:
        number(DecimalNumber::FromText(value.AsDecimal().text));
        break;
    case FieldValueKind::Double:
        number(std::isfinite(value.AsDouble())
                   ? std::optional(DecimalNumber::FromDouble(value.AsDouble()))
                   : std::nullopt);
        break;
    case FieldValueKind::Date:
        date(CalendarTime::FromDate(value.AsDate()));
        break;
    case FieldValueKind::Time:
        date(CalendarTime::FromTime(value.AsTime()));
        break;
    case FieldValueKind::Timestamp:
        date(CalendarTime::FromTimestamp(value.AsTimestamp()));
        break;
    case FieldValueKind::Text:
        if (auto parsed = DecimalNumber::FromText(value.AsText(), conventions.decimalSeparator)) {
            number(parsed);
        } else if (auto time = CalendarTime::FromIsoText(value.AsText())) {
            date(*time);
        } else {
            operand.type = Operand::Type::Unformattable;
        }
        break;
    case FieldValueKind::Binary:
        operand.type = Operand::Type::Unformattable;
        break;
    }
    return operand;
}

std::string LiteralText(std::string_view section) {
    std::string out;
    FormatLexer lexer(section);
    std::string_view literal;
    while (!lexer.AtEnd()) {
        out += lexer.TakeLiteral(literal) ? literal : lexer.TakeChar();
    }
    return out;
}

std::string FormatNumber(const std::vector<std::string_view>& sections, const DecimalNumber& number,
                         const LocaleConventions& conventions) {
    std::string_view section = sections[0];
    bool minus = false;
    if (number.IsZero()) {
        if (sections.size() >= 3 && !sections[2].empty()) {
            section = sections[2];
        }
    } else if (number.negative) {
        if (sections.size() >= 2 && !sections[1].empty()) {
            section = sections[1];
        } else {
            minus = true;
        }
    }
    if (section.empty()) {
        return GeneralText(number, conventions);
    }
    if (IsDateSection(section)) {
        const auto time = CalendarTime::FromSerial(number.ToDouble());
        return time ? RenderDateSection(section, *time, conventions)
                    : PlainNumberText(number, conventions);
    }
    return RenderNumberSection(section, number, minus, conventions);
}

std::string FormatDate(const std::vector<std::string_view>& sections, const CalendarTime& time,
                       const LocaleConventions& conventions) {
    if (sections[0].empty()) {
        return RenderGeneralDate(time, conventions);
    }
    if (IsDateSection(sections[0])) {
        return RenderDateSection(sections[0], time, conventions);
    }
    return FormatNumber(sections, DecimalNumber::FromDouble(time.Serial()), conventions);
}

std::string CurrencyPattern(const LocaleConventions& conventions) {
    std::string symbol;
    for (std::size_t pos = 0; pos < conventions.currencySymbol.size();) {
        const std::size_t length = Utf8Length(conventions.currencySymbol, pos);
        symbol += '\\';
        symbol += conventions.currencySymbol.substr(pos, length);
        pos += length;
    }
    std::string number = "#,##0";
    if (conventions.currencyDigits > 0) {
        number += '.';
        number.append(static_cast<std::size_t>(conventions.currencyDigits), '0');
    }
    const std::string space = conventions.currencySeparatedBySpace ? "\\ " : "";
    const std::string positive =
        conventions.currencyPrecedes ? symbol + space + number : number + space + symbol;
    return conventions.currencyNegativeInParentheses ? positive + ";\\(" + positive + "\\)"
                                                     : positive;
}

// The pattern a named format stands for, or nothing when the text names none of them.
std::optional<std::string> NamedPattern(std::string_view name,
                                        const LocaleConventions& conventions) {
    struct Alias {
        std::string_view name;
        std::string_view pattern;
    };
    static constexpr std::array<Alias, 9> kAliases{{
        {"Fixed", "0.00"},
        {"Standard", "#,##0.00"},
        {"Percent", "0.00%"},
        {"Scientific", "0.00E+00"},
        {"General Date", "c"},
        {"Long Date", "dddddd"},
        {"Medium Date", "dd-mmm-yy"},
        {"Short Date", "ddddd"},
        {"Long Time", "ttttt"},
    }};
    for (const Alias& alias : kAliases) {
        if (EqualsIgnoringCase(name, alias.name)) {
            return std::string(alias.pattern);
        }
    }
    if (EqualsIgnoringCase(name, "Medium Time")) {
        return conventions.mediumTimePattern;
    }
    if (EqualsIgnoringCase(name, "Short Time")) {
        return conventions.shortTimePattern;
    }
    if (EqualsIgnoringCase(name, "Currency")) {
        return CurrencyPattern(conventions);
    }
    return std::nullopt;
}

// The words of Yes/No, True/False and On/Off: {nonzero, zero}.
std::optional<std::array<std::string_view, 2>> TruthWords(std::string_view name) {
    static constexpr std::array<std::array<std::string_view, 3>, 3> kTruths{{
        {"Yes/No", "Yes", "No"},
        {"True/False", "True", "False"},
        {"On/Off", "On", "Off"},
    }};
    for (const auto& truth : kTruths) {
        if (EqualsIgnoringCase(name, truth[0])) {
            return std::array<std::string_view, 2>{truth[1], truth[2]};
        }
    }
    return std::nullopt;
}

// The sections of a format text that is not a name.
std::string FormatWithSections(const FieldValue& value, std::string_view formatText,
                               const LocaleConventions& conventions) {
    const std::vector<std::string_view> sections = SplitSections(formatText);
    if (IsTextSection(sections[0])) {
        const std::string text = DefaultText(value, conventions);
        if (text.empty() && sections.size() >= 2) {
            return RenderTextSection(sections[1], "");
        }
        // Null has nothing to format, unlike an empty text, which "@" placeholders pad.
        return value.IsNull() ? std::string() : RenderTextSection(sections[0], text);
    }
    const Operand operand = ToOperand(value, conventions);
    switch (operand.type) {
    case Operand::Type::Null:
        return sections.size() >= 4 ? LiteralText(sections[3]) : "";
    case Operand::Type::Number:
        return FormatNumber(sections, operand.number, conventions);
    case Operand::Type::Date:
        return FormatDate(sections, operand.time, conventions);
    case Operand::Type::Unformattable:
        break;
    }
    return DefaultText(value, conventions);
}

} // namespace

std::string DefaultText(const FieldValue& value, const LocaleConventions& conventions) {
    switch (value.Kind()) {
    case FieldValueKind::Null:
        return {};
    case FieldValueKind::Integer:
        return PlainNumberText(DecimalNumber::FromInteger(value.AsInteger()), conventions);
    case FieldValueKind::Decimal: {
        const auto number = DecimalNumber::FromText(value.AsDecimal().text);
        return number ? PlainNumberText(*number, conventions) : value.AsDecimal().text;
    }
    case FieldValueKind::Double:
        return GeneralNumberText(value.AsDouble(), conventions);
    case FieldValueKind::Text:
        return value.AsText();
    case FieldValueKind::Date:
        return RenderGeneralDate(CalendarTime::FromDate(value.AsDate()), conventions);
    case FieldValueKind::Time:
        return RenderGeneralDate(CalendarTime::FromTime(value.AsTime()), conventions);
    case FieldValueKind::Timestamp:
        return RenderGeneralDate(CalendarTime::FromTimestamp(value.AsTimestamp()), conventions);
    case FieldValueKind::Binary:
        return HexText(value.AsBinary());
    }
    return {};
}

std::string Format(const FieldValue& value, std::string_view formatText,
                   const LocaleConventions& conventions) {
    if (formatText.empty()) {
        return DefaultText(value, conventions);
    }
    if (const auto pattern = NamedPattern(formatText, conventions)) {
        return FormatWithSections(value, *pattern, conventions);
    }
    const bool generalNumber = EqualsIgnoringCase(formatText, "General Number") ||
                               EqualsIgnoringCase(formatText, "General");
    const auto truthWords = TruthWords(formatText);
    if (!generalNumber && !truthWords) {
        return FormatWithSections(value, formatText, conventions);
    }
    const Operand operand = ToOperand(value, conventions);
    if (operand.type != Operand::Type::Number) {
        return DefaultText(value, conventions);
    }
    if (truthWords) {
        return std::string((*truthWords)[operand.number.IsZero() ? 1 : 0]);
    }
    // Doubles keep their classic 15-digit form; exact numbers stay exact.
    return value.Kind() == FieldValueKind::Double ? DefaultText(value, conventions)
                                                  : PlainNumberText(operand.number, conventions);
}

std::string CellText(const FieldValue& value, std::string_view formatText,
                     const LocaleConventions& conventions) {
    std::string text = DefaultText(value, conventions);
    if (formatText.empty() || Utf8CharCount(text) > kMaxFormattedLength) {
        return text;
    }
    return Format(value, formatText, conventions);
}

} // namespace slidesmith::fill
