#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// A second, deliberately plain rendering of the stored-password cipher, written from the
// algorithm's description rather than from the code under test: the key schedule's starting j
// is a parameter, so the same routine with j = 0 must reproduce published RC4 vectors.
namespace slidesmith::definition::testing {

inline std::string ReferenceRc4(std::string data, std::string_view key, int startJ) {
    int s[256];
    int k[256];
    for (int i = 0; i < 256; ++i) {
        s[i] = i;
        k[i] = key.empty()
                   ? 0
                   : static_cast<unsigned char>(key[static_cast<std::size_t>(i) % key.size()]);
    }
    int j = startJ;
    for (int i = 0; i < 256; ++i) {
        j = (j + s[i] + k[i]) % 256;
        std::swap(s[i], s[j]);
    }
    int x = 0;
    int y = 0;
    for (char& c : data) {
        x = (x + 1) % 256;
        y = (y + s[x]) % 256;
        std::swap(s[x], s[y]);
        c = static_cast<char>(static_cast<unsigned char>(c) ^ s[(s[x] + s[y]) % 256]);
    }
    return data;
}

inline std::string ToHex(std::string_view bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string hex;
    for (char c : bytes) {
        hex += digits[static_cast<unsigned char>(c) >> 4];
        hex += digits[static_cast<unsigned char>(c) & 15];
    }
    return hex;
}

} // namespace slidesmith::definition::testing
