#include "engine/CountFormat.h"

namespace slidesmith::engine {

std::string FormatCount(std::int64_t value, CountStyle style) {
    if (value == 0)
        return style == CountStyle::ZeroAsDigit ? "0" : "";
    // Work on the magnitude as unsigned so that the most negative value does not overflow.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return value < 0 ? "-" + text : text;
}

} // namespace slidesmith::engine
