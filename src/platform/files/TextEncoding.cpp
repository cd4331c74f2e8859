#include "platform/files/TextEncoding.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <utility>

namespace slidesmith::files {
namespace {

constexpr std::string_view kLatin1 = "ISO-8859-1";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// iconv_open's failure value.
const iconv_t kNoHandle = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));

enum class Stop { Done, Invalid, Incomplete };

// Runs iconv over text from offset, appending to out, until the end or the first sequence it
// rejects; offset ends at the rejected sequence. At the end a stateful encoding gets the bytes
// that return it to its initial state.
Stop ConvertSome(iconv_t handle, std::string_view text, std::size_t& offset, std::string& out) {
    char buffer[4096];
    while (true) {
        // iconv's interface predates const; it never writes through the input pointer.
        char* in = const_cast<char*>(text.data() + offset);
        std::size_t inLeft = text.size() - offset;
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const bool flushing = inLeft == 0;
        const std::size_t rc = iconv(handle, flushing ? nullptr : &in, flushing ? nullptr : &inLeft,
                                     &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        offset = text.size() - inLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            if (flushing)
                return Stop::Done;
            continue;
        }
        if (error == E2BIG)
            continue;
        return error == EINVAL ? Stop::Incomplete : Stop::Invalid;
    }
}

std::string Describe(std::string_view from, std::string_view to, std::size_t offset,
                     const char* what) {
    return "converting text from " + std::string(from) + " to " + std::string(to) + ": " + what +
           " at byte " + std::to_string(offset);
}

// Which bytes from 0x80 up a single-byte code page leaves undefined; found on first need, once
// per conversion, since most texts never meet one.
class UndefinedBytes {
public:
    explicit UndefinedBytes(std::string_view encoding) : m_encoding(encoding) {}

    // True when the code page is single-byte and leaves byte (0x80..0xFF) undefined.
    bool Contains(unsigned byte) {
        if (!m_known)
            Find();
        return m_singleByte && byte >= 0x80 && byte <= 0xFF && m_undefined[byte - 0x80];
    }

private:
    void Find() {
        TextConverter decoder(m_encoding, kUtf8Encoding);
        for (unsigned b = 0x80; b <= 0xFF; ++b) {
            const char byte = static_cast<char>(b);
            std::string out;
            std::size_t offset = 0;
            bool incomplete = false;
            if (!decoder.ConvertPart(std::string_view(&byte, 1), offset, out, incomplete)) {
                // A lone byte that is only the start of a sequence: not a single-byte code page.
                if (incomplete)
                    m_singleByte = false;
                m_undefined[b - 0x80] = true;
            }
        }
        m_known = true;
    }

    std::string_view m_encoding;
    bool m_known = false;
    bool m_singleByte = true;
    std::array<bool, 128> m_undefined{};
};

// Decodes one UTF-8 sequence at offset (already known to be well-formed).
char32_t CodePointAt(std::string_view text, std::size_t offset, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[offset]);
    length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t value = length == 1 ? lead : lead & (0x3Fu >> (length - 1));
    for (std::size_t i = 1; i < length && offset + i < text.size(); ++i)
        value = (value << 6) | (static_cast<unsigned char>(text[offset + i]) & 0x3Fu);
    return value;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;  // overlong
            high = c == 0xED ? 0x9F : 0xBF; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;  // overlong
            high = c == 0xF4 ? 0x8F : 0xBF; // above U+10FFFF
        } else {
            return false;
        }
        if (n - i < length)
            return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high)
            return false;
        for (std::size_t k = 2; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < 0x80 || next > 0xBF)
                return false;
        }
        i += length;
    }
    return true;
}

bool IsKnownEncoding(std::string_view encoding) {
    try {
        TextConverter there(kUtf8Encoding, encoding);
        TextConverter back(encoding, kUtf8Encoding);
        return true;
    } catch (const EncodingError&) {
        return false;
    }
}

TextConverter::TextConverter(std::string_view from, std::string_view to)
    : m_handle(kNoHandle), m_from(from), m_to(to) {
    m_handle = iconv_open(m_to.c_str(), m_from.c_str());
    if (m_handle == kNoHandle)
        throw EncodingError("no conversion from " + m_from + " to " + m_to + " is known");
}

TextConverter::TextConverter(TextConverter&& other) noexcept
    : m_handle(std::exchange(other.m_handle, kNoHandle)), m_from(std::move(other.m_from)),
      m_to(std::move(other.m_to)) {}

TextConverter& TextConverter::operator=(TextConverter&& other) noexcept {
    if (this != &other) {
        if (m_handle != kNoHandle)
            iconv_close(m_handle);
        m_handle = std::exchange(other.m_handle, kNoHandle);
        m_from = std::move(other.m_from);
        m_to = std::move(other.m_to);
    }
    return *this;
}

TextConverter::~TextConverter() {
    if (m_handle != kNoHandle)
        iconv_close(m_handle);
}

bool TextConverter::ConvertPart(std::string_view text, std::size_t& offset, std::string& out,
                                bool& incomplete) {
    // Forget any shift state a previous rejected sequence left behind.
    iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
    const Stop stop = ConvertSome(m_handle, text, offset, out);
    incomplete = stop == Stop::Incomplete;
    return stop == Stop::Done;
}

std::string TextConverter::Convert(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    std::size_t offset = 0;
    bool incomplete = false;
    if (ConvertPart(text, offset, out, incomplete))
        return out;
    throw EncodingError(
        Describe(m_from, m_to, offset,
                 incomplete ? "incomplete sequence" : "invalid or unrepresentable sequence"));
}

std::string DecodeText(std::string_view bytes, std::string_view encoding) {
    TextConverter decoder(encoding, kUtf8Encoding);
    UndefinedBytes undefined(encoding);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    std::size_t offset = 0;
    bool incomplete = false;
    while (!decoder.ConvertPart(bytes, offset, out, incomplete)) {
        const auto byte = static_cast<unsigned char>(bytes[offset]);
        if (incomplete || !undefined.Contains(byte))
            throw EncodingError(Describe(encoding, kUtf8Encoding, offset,
                                         incomplete ? "incomplete sequence" : "invalid sequence"));
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
        ++offset;
    }
    return out;
}

std::string EncodeText(std::string_view text, std::string_view encoding) {
    TextConverter encoder(kUtf8Encoding, encoding);
    UndefinedBytes undefined(encoding);
    std::string out;
    out.reserve(text.size());
    std::size_t offset = 0;
    bool incomplete = false;
    while (!encoder.ConvertPart(text, offset, out, incomplete)) {
        std::size_t length = 1;
        const char32_t codePoint = incomplete ? 0 : CodePointAt(text, offset, length);
        const bool wellFormed = !incomplete && IsValidUtf8(text.substr(offset, length));
        if (!wellFormed || !undefined.Contains(static_cast<unsigned>(codePoint)))
            throw EncodingError(
                Describe(kUtf8Encoding, encoding, offset,
                         incomplete ? "incomplete sequence" : "character not representable"));
        out += static_cast<char>(codePoint);
        offset += length;
    }
    return out;
}

DecodedText DecodeFileText(std::string_view bytes, std::string_view codePage) {
    DecodedText result;
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark && IsValidUtf8(bytes)) {
        result.text = bytes.substr(kByteOrderMark.size());
        result.encoding = kUtf8Encoding;
        result.byteOrderMark = true;
        return result;
    }
    if (IsValidUtf8(bytes)) {
        result.text = bytes;
        result.encoding = kUtf8Encoding;
        return result;
    }
    try {
        result.text = DecodeText(bytes, codePage);
        result.encoding = codePage;
    } catch (const EncodingError&) {
        // An unknown code page setting or a byte sequence the code page rejects must not make
        // the file unreadable: ISO-8859-1 maps every byte and writes it back unchanged.
        result.text = DecodeText(bytes, kLatin1);
        result.encoding = kLatin1;
    }
    return result;
}

std::string EncodeFileText(std::string_view text, std::string_view encoding, bool byteOrderMark) {
    std::string bytes = byteOrderMark ? std::string(kByteOrderMark) : std::string();
    if (encoding == kUtf8Encoding)
        bytes += text;
    else
        bytes += EncodeText(text, encoding);
    return bytes;
}

} // namespace slidesmith::files
