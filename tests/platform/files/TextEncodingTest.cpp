#include "platform/files/TextEncoding.h"

#include <gtest/gtest.h>

namespace slidesmith::files {
namespace {

TEST(IsValidUtf8, AcceptsWellFormedTextAndRejectsEveryKindOfMalformedSequence) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", true}, // é € 😀
        {"\xF4\x8F\xBF\xBF", true},                     // U+10FFFF
        {"Caf\xC3", false},                             // cut short at the end
        {"\xC3(", false},                               // missing continuation
        {"\xC0\xAF", false},                            // overlong "/"
        {"\xE0\x80\xAF", false},                        // overlong "/"
        {"\xED\xA0\x80", false},                        // surrogate
        {"\xF4\x90\x80\x80", false},                    // above U+10FFFF
        {"\xE9t\xE9", false},                           // CP1252 "été"
    };
    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ(IsValidUtf8(bytes), valid) << ::testing::PrintToString(bytes);
}

TEST(TextEncoding, DecodesAndEncodesEveryByteOfASingleByteCodePageUnchanged) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string text = DecodeText(all, "CP1252");
    EXPECT_NE(text.find("\xE2\x82\xAC"), std::string::npos) << "0x80 is the euro sign";
    EXPECT_NE(text.find("\xC2\x81"), std::string::npos) << "undefined 0x81 keeps its value";
    EXPECT_EQ(EncodeText(text, "CP1252"), all);
    EXPECT_EQ(DecodeText("\x93\xFA\x96\x7B", "SHIFT_JIS"), "\xE6\x97\xA5\xE6\x9C\xAC"); // 日本
}

TEST(TextEncoding, RefusesWhatTheEncodingCannotHold) {
    EXPECT_THROW(EncodeText("\xE6\x9D\xB1", "CP1252"), EncodingError);
    EXPECT_THROW(DecodeText("\x82", "SHIFT_JIS"), EncodingError) << "lead byte cut short";
    EXPECT_THROW(TextConverter("NO-SUCH-CODE-PAGE", "UTF-8"), EncodingError);
    TextConverter converter("UTF-8", "ISO-8859-1");
    EXPECT_THROW(converter.Convert("\xE2\x82\xAC"), EncodingError);
    EXPECT_EQ(converter.Convert("\xC3\xA9"), "\xE9") << "a refused text leaves no state behind";
    // An unknown code page still reads the file: ISO-8859-1 takes every byte as it is.
    const DecodedText unknown = DecodeFileText("\xE9t\xE9", "NO-SUCH-CODE-PAGE");
    EXPECT_EQ(unknown.encoding, "ISO-8859-1");
    EXPECT_EQ(EncodeFileText(unknown.text, unknown.encoding, false), "\xE9t\xE9");
}

} // namespace
} // namespace slidesmith::files
