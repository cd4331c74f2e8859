#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace slidesmith::definition {

// Reads "[section]" and "key=value" lines the way the desktop platform's private-profile
// function does:
// - lines end at LF (a CR before it is dropped); blanks around section names, keys and values
//   are trimmed;
// - a line whose first non-blank character is "[" opens a section named by the text up to the
//   next "]" (or the line end); lines before the first section belong to none;
// - other lines are split at their first "="; a line without "=" is no key;
// - section and key names compare case-insensitively (ASCII letters); only the first section of
//   a name is searched, and within it the first key of a name wins;
// - one pair of enclosing double quotes or apostrophes is removed from a value, and the value
//   is cut to kMaxValueLength characters (code points, never inside a UTF-8 sequence).
// The caller names the keys it will ask for, and one pass over the text keeps just their values,
// so memory stays small however many lines the text has.
class ProfileReader {
public:
    // The platform function's buffer holds 10240 characters including the terminator.
    static constexpr std::size_t kMaxValueLength = 10239;

    using Key = std::pair<std::string, std::string>; // section, key

    ProfileReader(std::string_view text, const std::vector<Key>& wanted);

    // The value, or empty when the section or the key is missing or was not asked for; absent
    // and empty values are alike, as with the platform function.
    std::string GetValue(std::string_view section, std::string_view key) const;

private:
    // Lower-cased section name, LF, lower-cased key -> value.
    std::unordered_map<std::string, std::string> m_values;
};

} // namespace slidesmith::definition
