#include "fill/DecimalNumber.h"

#include <charconv>

namespace slidesmith::fill {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

void DecimalNumber::Normalise() {
    std::size_t leading = 0;
    while (leading < digits.size() && digits[leading] == '0') {
        ++leading;
    }
    digits.erase(0, leading);
    pointPosition -= static_cast<long>(leading);
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
    if (digits.empty()) {
        negative = false;
        pointPosition = 0;
    }
}

DecimalNumber DecimalNumber::FromInteger(std::int64_t value) {
    DecimalNumber number;
    number.negative = value < 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    std::uint64_t magnitude =
        number.negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude).ptr;
    number.digits.assign(buffer, end);
    number.pointPosition = static_cast<long>(number.digits.size());
    number.Normalise();
    return number;
}

DecimalNumber DecimalNumber::FromDouble(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    // A finite double always fits and always parses.
    return FromText(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)))
        .value_or(DecimalNumber{});
}

std::optional<DecimalNumber> DecimalNumber::FromText(std::string_view text,
                                                     std::string_view decimalSeparator) {
    std::size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos])) {
        ++pos;
    }
    DecimalNumber number;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        number.negative = text[pos++] == '-';
    }
    bool anyDigit = false;
    bool seenPoint = false;
    long pointPosition = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (IsDigit(c)) {
            number.digits += c;
            anyDigit = true;
            if (!seenPoint) {
                ++pointPosition;
            }
            ++pos;
        } else if (!seenPoint && c == '.') {
            seenPoint = true;
            ++pos;
        } else if (!seenPoint && !decimalSeparator.empty() &&
                   text.substr(pos).starts_with(decimalSeparator)) {
            seenPoint = true;
            pos += decimalSeparator.size();
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            negativeExponent = text[pos++] == '-';
        }
        if (pos == text.size() || !IsDigit(text[pos])) {
            return std::nullopt;
        }
        long exponent = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            exponent = exponent * 10 + (text[pos++] - '0');
            if (exponent > kMaxExponent) {
                return std::nullopt;
            }
        }
        pointPosition += negativeExponent ? -exponent : exponent;
    }
    while (pos < text.size() && IsSpace(text[pos])) {
        ++pos;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    number.pointPosition = pointPosition;
    number.Normalise();
    return number;
}

void DecimalNumber::Shift(long power) {
    if (!IsZero()) {
        pointPosition += power;
    }
}

void DecimalNumber::RoundToFraction(long fractionDigits) {
    const long cut = pointPosition + fractionDigits; // index of the first digit dropped
    if (IsZero() || cut >= static_cast<long>(digits.size())) {
        return;
    }
    if (cut < 0) {
        // Below half of the last kept place.
        digits.clear();
        Normalise();
        return;
    }
    const bool roundUp = digits[static_cast<std::size_t>(cut)] >= '5';
    digits.resize(static_cast<std::size_t>(cut));
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
            ++pointPosition;
        } else {
            ++digits[i - 1];
        }
    }
    const bool wasNegative = negative;
    Normalise();
    // A value that rounds to zero keeps no sign; callers that care look at the sign first.
    negative = wasNegative && !IsZero();
}

std::string DecimalNumber::IntegerDigits() const {
    if (pointPosition <= 0) {
        return {};
    }
    std::string result = digits.substr(0, static_cast<std::size_t>(pointPosition));
    result.append(static_cast<std::size_t>(pointPosition) - result.size(), '0');
    return result;
}

std::string DecimalNumber::FractionDigits(long count) const {
    std::string result;
    if (count <= 0) {
        return result;
    }
    result.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        const long index = pointPosition + i;
        const bool inside = index >= 0 && index < static_cast<long>(digits.size());
        result += inside ? digits[static_cast<std::size_t>(index)] : '0';
    }
    return result;
}

double DecimalNumber::ToDouble() const {
    if (IsZero()) {
        return 0.0;
    }
    std::string text = negative ? "-0." : "0.";
    text += digits;
    text += 'e';
    text += std::to_string(pointPosition);
    // from_chars, not strtod: the result must not depend on the process locale.
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace slidesmith::fill
