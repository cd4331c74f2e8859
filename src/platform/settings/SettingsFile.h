#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::settings {

// Value type codes, numbered as the classic registry numbers them; other codes are kept as bytes
// but no reader accepts them.
inline constexpr std::uint32_t kTextType = 1;
inline constexpr std::uint32_t kBinaryType = 3;
inline constexpr std::uint32_t kNumberType = 4;

struct StoredValue {
    std::string name;
    std::uint32_t type = kTextType;
    std::string data; // the text for kTextType; raw bytes otherwise (4 little-endian for numbers)
};

// The settings file in memory: keys in file order, each with its values in file order.
//
// Text form, one item per line, made to be read and edited by hand:
//     Slidesmith Settings 1
//     ; comment
//     [SOFTWARE\Qorvanta\Slidesmith\Options]
//     "FontName"="DejaVu Sans Mono"
//     "ConnectionTimeout"=dword:0000001e
//     "Blob"=hex:01,02,03,04
//     "Other"=hex(2):41,00
// Quoted names and texts escape \\ \" \r \n \t, and write every other control character and
// every byte that is not part of valid UTF-8 as \xHH, so any byte string survives. "@" names the
// unnamed value. Key paths and value names compare without regard to ASCII case.
class SettingsFile {
public:
    // Lines that cannot be understood are skipped (and dropped by the next save): a damaged line
    // costs that one value, never the others.
    static SettingsFile Parse(std::string_view text);
    std::string Format() const;

    const StoredValue* Find(std::string_view keyPath, std::string_view name) const;
    // Creates the key when missing; replaces the value's type and data when it exists.
    void Set(std::string_view keyPath, std::string_view name, std::uint32_t type, std::string data);

private:
    struct Key {
        std::string path;
        std::vector<StoredValue> values;
    };

    Key* FindKey(std::string_view path);
    std::vector<Key> m_keys;
};

// Backslash-separated key path with empty levels removed: "A\\B\" gives "A\B".
std::string NormalizeKeyPath(std::string_view keyPath);

} // namespace slidesmith::settings
