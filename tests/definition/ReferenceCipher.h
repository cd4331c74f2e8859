#pragma once

#include <string>
#include <string_view>
#include <utility>

// A second, deliberately plain rendering of the stored-password cipher, written from the
// algorithm's description rather than from the code under test. The key schedule's starting j
// is a parameter, so with j = 0 it must reproduce published RC4 vectors.
namespace slidesmith::definition::testing {

inline std::string ReferenceRc4(std::string data, std::string_view key, int startJ) {
    int s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = i;
    for (int i = 0, j = startJ; i < 256; ++i) {
        const int k = key.empty() ? 0 : static_cast<unsigned char>(key[i % key.size()]);
        j = (j + s[i] + k) % 256;
        std::swap(s[i], s[j]);
    }
    for (int x = 0, y = 0, n = 0; n < static_cast<int>(data.size()); ++n) {
        x = (x + 1) % 256;
        y = (y + s[x]) % 256;
        std::swap(s[x], s[y]);
        data[n] = static_cast<char>(static_cast<unsigned char>(data[n]) ^ s[(s[x] + s[y]) % 256]);
    }
    return data;
}

inline std::string ToHex(std::string_view bytes) {
    std::string hex;
    for (char c : bytes) {
        hex += "0123456789ABCDEF"[static_cast<unsigned char>(c) >> 4];
        hex += "0123456789ABCDEF"[static_cast<unsigned char>(c) & 15];
    }
    return hex;
}

} // namespace slidesmith::definition::testing
