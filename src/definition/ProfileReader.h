#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::definition {

// Reads "[section]" and "key=value" lines the way the desktop platform's private-profile
// function does, from text already in memory, parsed once:
// - lines end at LF (a CR before it is dropped); blanks around section names, keys and values
//   are trimmed;
// - a line whose first non-blank character is "[" opens a section named by the text up to the
//   next "]" (or the line end); lines before the first section belong to none;
// - other lines are split at their first "="; a line without "=" is ignored;
// - section and key names compare case-insensitively (ASCII letters); the first section of a
//   name is the only one searched, and within it the first key of a name wins;
// - one pair of enclosing double quotes or apostrophes is removed from a value, and the value
//   is cut to kMaxValueLength characters (code points, never inside a UTF-8 sequence).
// The reader keeps views into its own copy of the text, so it can be neither copied nor moved.
class ProfileReader {
public:
    // The platform function's buffer holds 10240 characters including the terminator.
    static constexpr std::size_t kMaxValueLength = 10239;

    explicit ProfileReader(std::string text);
    ProfileReader(const ProfileReader&) = delete;
    ProfileReader& operator=(const ProfileReader&) = delete;

    // The value, or empty when the section or the key is missing; absent and empty values are
    // alike, as with the platform function.
    std::string GetValue(std::string_view section, std::string_view key) const;

private:
    struct Entry {
        std::string_view key;
        std::string_view value;
    };
    struct Section {
        std::string_view name;
        std::vector<Entry> entries;
    };

    std::string m_text;
    std::vector<Section> m_sections;
};

} // namespace slidesmith::definition
