#pragma once

#include "platform/files/FileIo.h"

#include <iconv.h>
#include <string>
#include <string_view>

// Text encodings of the files users bring from other systems. In memory all text is UTF-8; a
// file is read as UTF-8 when its bytes are valid UTF-8 and is otherwise decoded from a code page
// (an iconv name such as "CP1252"), and written back the way it was read.
namespace slidesmith::files {

// Thrown when a code page is unknown or a text cannot be represented in it.
class EncodingError : public FileError {
public:
    using FileError::FileError;
};

inline constexpr std::string_view kUtf8Encoding = "UTF-8";

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points
// above U+10FFFF, no sequence cut short at the end).
bool IsValidUtf8(std::string_view bytes);

// True when iconv knows the encoding in both directions to and from UTF-8.
bool IsKnownEncoding(std::string_view encoding);

// One conversion direction. Owns its iconv descriptor; move-only.
class TextConverter {
public:
    // Throws EncodingError when iconv does not know either encoding.
    TextConverter(std::string_view from, std::string_view to);
    TextConverter(TextConverter&& other) noexcept;
    TextConverter& operator=(TextConverter&& other) noexcept;
    TextConverter(const TextConverter&) = delete;
    TextConverter& operator=(const TextConverter&) = delete;
    ~TextConverter();

    // Converts the whole text. Throws EncodingError naming the byte offset of the first
    // sequence the source encoding does not allow or the target cannot represent.
    std::string Convert(std::string_view text);

    // Converts from offset, appending to out, up to the end or up to the first sequence it
    // rejects; offset ends there. Returns true at the end of the text; otherwise incomplete tells
    // a sequence cut short at the end from an invalid or unrepresentable one.
    bool ConvertPart(std::string_view text, std::size_t& offset, std::string& out,
                     bool& incomplete);

private:
    iconv_t m_handle;
    std::string m_from;
    std::string m_to;
};

// Bytes in an encoding to UTF-8. With a single-byte code page, a byte the code page leaves
// undefined (0x81 in CP1252) becomes the code point of the same value, as the desktop platform
// does, so that every byte sequence decodes and encodes back unchanged. Throws EncodingError for
// an unknown encoding or an invalid multi-byte sequence.
std::string DecodeText(std::string_view bytes, std::string_view encoding);

// UTF-8 text to bytes in an encoding; the inverse of DecodeText. Throws EncodingError when a
// character cannot be represented.
std::string EncodeText(std::string_view text, std::string_view encoding);

// A file's text, decoded, with what is needed to write it back the same way.
struct DecodedText {
    std::string text;
    // kUtf8Encoding, the code page, or "ISO-8859-1" when the code page could not decode the
    // bytes (ISO-8859-1 decodes every byte sequence).
    std::string encoding;
    // The file began with a UTF-8 byte order mark, which is not part of text.
    bool byteOrderMark = false;
};

// Decodes a file's bytes by the rule above. Never throws.
DecodedText DecodeFileText(std::string_view bytes, std::string_view codePage);

// Encodes text for a file: the encoding, preceded by a UTF-8 byte order mark when asked.
// Throws EncodingError like EncodeText.
std::string EncodeFileText(std::string_view text, std::string_view encoding, bool byteOrderMark);

} // namespace slidesmith::files
