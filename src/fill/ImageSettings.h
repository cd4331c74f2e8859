#pragma once

#include <optional>
#include <string_view>

namespace slidesmith::fill {

// How the pictures of an image field are sized, read from the text its template cell (or
// shape) holds in place of a format text: "W120 H80", "stretch", "h50".
struct ImageSettings {
    bool stretch = false; // as large as the cell
    double width = -1.0;  // points; below 0 when not given
    double height = -1.0; // points; below 0 when not given
    bool operator==(const ImageSettings&) const = default;
};

// Reads the blank-separated words of a template text, ignoring case: STRETCH, W<number> and
// H<number>. Other words, and W or H without a number, are ignored.
ImageSettings ReadImageSettings(std::string_view text);

// A number as the classic IsNumeric took one: blanks around, a sign, digits with an optional
// decimal point and exponent. Nothing for anything else (also for infinities and NaN).
std::optional<double> ParseNumber(std::string_view text);

} // namespace slidesmith::fill
