#include "definition/PasswordCipher.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace slidesmith::definition {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::uint32_t SextetOf(char c) {
    const std::size_t index = kAlphabet.find(c);
    return index == std::string_view::npos ? 0 : static_cast<std::uint32_t>(index);
}

} // namespace

unsigned Rc4ScheduleStart(std::size_t keyLength) {
    if (keyLength == 0)
        return 1;
    return static_cast<unsigned>(255 % keyLength) + 2;
}

void Rc4Transform(std::string& data, std::string_view key) {
    if (data.empty())
        return;
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i)
        state[i] = static_cast<std::uint8_t>(i);
    unsigned j = Rc4ScheduleStart(key.size());
    for (std::size_t i = 0; i < state.size(); ++i) {
        const auto keyByte =
            key.empty() ? 0u
                        : static_cast<unsigned>(static_cast<std::uint8_t>(key[i % key.size()]));
        j = (j + state[i] + keyByte) % 256;
        std::swap(state[i], state[j]);
    }
    unsigned i = 0;
    j = 0;
    for (char& c : data) {
        i = (i + 1) % 256;
        j = (j + state[i]) % 256;
        std::swap(state[i], state[j]);
        const std::uint8_t pad = state[(state[i] + state[j]) % 256];
        c = static_cast<char>(static_cast<std::uint8_t>(c) ^ pad);
    }
}

std::string Base64Encode(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::uint32_t byte = k < count ? static_cast<std::uint8_t>(bytes[i + k]) : 0u;
            group = (group << 8) | byte;
        }
        for (std::size_t k = 0; k < 4; ++k)
            text += k <= count ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return text;
}

std::string Base64Decode(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) {
        std::uint32_t group = 0;
        std::size_t count = 3;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=' && k >= 2 && count == 3)
                count = k - 1;
            group = (group << 6) | (count == 3 ? SextetOf(c) : 0u);
        }
        for (std::size_t k = 0; k < count; ++k)
            bytes += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
        if (count < 3)
            break;
    }
    return bytes;
}

std::string EncipherPassword(std::string_view password, std::string_view user) {
    std::string bytes(password);
    Rc4Transform(bytes, user);
    return Base64Encode(bytes);
}

std::string DecipherPassword(std::string_view stored, std::string_view user) {
    std::string bytes = Base64Decode(stored);
    Rc4Transform(bytes, user);
    return bytes;
}

} // namespace slidesmith::definition
