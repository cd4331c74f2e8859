#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An exact decimal number for the formatter: rounding and scaling work on its digits, so
// decimals with more digits than a double keeps are never disturbed.
namespace slidesmith::fill {

// value = (negative ? -1 : 1) * 0.d1d2d3... * 10^pointPosition
struct DecimalNumber {
    bool negative = false;
    std::string digits; // significant digits, no leading or trailing zeros; empty for zero
    long pointPosition = 0;

    bool IsZero() const { return digits.empty(); }

    static DecimalNumber FromInteger(std::int64_t value);

    // A double as the classic conversions see it: rounded to 15 significant digits, which
    // hides binary noise such as 0.1 + 0.2 = 0.30000000000000004. Needs a finite value.
    static DecimalNumber FromDouble(double value);

    // Parses [blanks][+|-]digits[sep digits][(E|e)[+|-]digits][blanks], where sep is "." or
    // the given decimal separator; digits may be missing on one side of sep ("5.", ".5").
    // Nothing else is accepted. Exponents beyond kMaxExponent are refused, so that a number
    // never writes many more digits than its text holds.
    static std::optional<DecimalNumber> FromText(std::string_view text,
                                                 std::string_view decimalSeparator = ".");

    // Multiplies by 10^power.
    void Shift(long power);

    // Rounds half away from zero to fractionDigits digits after the point.
    void RoundToFraction(long fractionDigits);

    // The digits before the point, "" when that part is 0.
    std::string IntegerDigits() const;

    // Exactly count digits after the point (truncating; round first).
    std::string FractionDigits(long count) const;

    // The nearest double, for the few uses that need one (date serials).
    double ToDouble() const;

    static constexpr long kMaxExponent = 1000;

private:
    void Normalise();
};

} // namespace slidesmith::fill
