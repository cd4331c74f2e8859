#include "fill/ImageSettings.h"

#include "script/TextScan.h"

#include <charconv>
#include <cmath>
#include <string>

namespace slidesmith::fill {

std::optional<double> ParseNumber(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(" \t");
    std::string_view number = text.substr(first, last - first + 1);
    if (number.front() == '+')
        number.remove_prefix(1);
    if (number.empty() || !(std::isdigit(static_cast<unsigned char>(number.front())) ||
                            number.front() == '-' || number.front() == '.'))
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

ImageSettings ReadImageSettings(std::string_view text) {
    ImageSettings settings;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t\r\n\v", pos);
        if (start == std::string_view::npos)
            break;
        std::size_t end = text.find_first_of(" \t\r\n\v", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string word = script::ToUpperAscii(text.substr(start, end - start));
        pos = end;
        if (word == "STRETCH") {
            settings.stretch = true;
        } else if (word.size() > 1 && (word[0] == 'W' || word[0] == 'H')) {
            if (const std::optional<double> number = ParseNumber(std::string_view(word).substr(1)))
                (word[0] == 'W' ? settings.width : settings.height) = *number;
        }
    }
    return settings;
}

} // namespace slidesmith::fill
