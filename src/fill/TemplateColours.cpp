#include "fill/TemplateColours.h"

#include "fill/DecimalNumber.h"
#include "fill/FormatSections.h"

#include <cmath>

namespace slidesmith::fill {

namespace {

// -1, 0 or 1, or nothing for values without a sign.
std::optional<int> SignOf(const odbc::FieldValue& value) {
    std::optional<DecimalNumber> number;
    switch (value.Kind()) {
    case odbc::FieldValueKind::Integer: {
        const std::int64_t integer = value.AsInteger();
        return integer < 0 ? -1 : (integer > 0 ? 1 : 0);
    }
    case odbc::FieldValueKind::Double: {
        const double real = value.AsDouble();
        if (std::isnan(real)) {
            return std::nullopt;
        }
        return real < 0 ? -1 : (real > 0 ? 1 : 0);
    }
    case odbc::FieldValueKind::Decimal:
        number = DecimalNumber::FromText(value.AsDecimal().text);
        break;
    case odbc::FieldValueKind::Text:
        number = DecimalNumber::FromText(value.AsText());
        break;
    default:
        break;
    }
    if (!number) {
        return std::nullopt;
    }
    return number->IsZero() ? 0 : (number->negative ? -1 : 1);
}

} // namespace

TemplateColours ReadTemplateColors(std::string_view formatText,
                                   const ColourOfCharacters& colourOf) {
    // Byte offsets of the first two separators.
    std::optional<std::size_t> separators[2];
    std::size_t found = 0;
    bool escaped = false;
    bool quoted = false; // as for Format, so that colours line up with its sections
    for (std::size_t pos = 0; pos < formatText.size() && found < 2;
         pos += Utf8Length(formatText, pos)) {
        if (escaped) {
            escaped = false;
        } else if (formatText[pos] == '"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (formatText[pos] == '\\') {
            escaped = true;
        } else if (formatText[pos] == ';') {
            separators[found++] = pos;
        }
    }
    const std::size_t length = formatText.size();
    const auto after = [&](std::size_t separator, std::size_t end) {
        return colourOf(separator + 1, end - separator - 1);
    };
    TemplateColours colours;
    colours.positive = colourOf(0, length);
    colours.negative = colours.positive;
    colours.zero = colours.positive;
    if (separators[1]) {
        colours.negative = after(*separators[0], *separators[1]);
        colours.zero = after(*separators[1], length);
    } else if (separators[0]) {
        colours.negative = after(*separators[0], length);
    }
    return colours;
}

std::optional<RgbColour> ChooseCellColour(const odbc::FieldValue& value, ValueKind kind,
                                          const TemplateColours& colours, FillKind fill) {
    if (kind != ValueKind::Number) {
        return std::nullopt;
    }
    const std::optional<int> sign = SignOf(value);
    if (!sign) {
        return std::nullopt;
    }
    const RgbColour chosen =
        *sign > 0 ? colours.positive : (*sign < 0 ? colours.negative : colours.zero);
    if (fill == FillKind::Fixed && (*sign > 0 || chosen == colours.positive)) {
        return std::nullopt;
    }
    return chosen;
}

} // namespace slidesmith::fill
