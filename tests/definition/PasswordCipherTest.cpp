#include "definition/PasswordCipher.h"

#include "ReferenceCipher.h"

#include <gtest/gtest.h>

namespace slidesmith::definition {
namespace {

using testing::ReferenceRc4;
using testing::ToHex;

TEST(ReferenceRc4, ReproducesPublishedRc4VectorsWhenTheScheduleStartsAtZero) {
    EXPECT_EQ(ToHex(ReferenceRc4("Plaintext", "Key", 0)), "BBF316E8D940AF0AD3");
    EXPECT_EQ(ToHex(ReferenceRc4("pedia", "Wiki", 0)), "1021BF0420");
    EXPECT_EQ(ToHex(ReferenceRc4("Attack at dawn", "Secret", 0)), "45A01F645FC35B383552544B9BF5");
}

TEST(Rc4Transform, StartsTheKeyScheduleWhereStoredFilesExpectForEveryKeyLength) {
    const std::string data = "correct horse battery staple";
    const struct {
        std::size_t keyLength;
        int startJ;
    } cases[] = {{0, 1}, {1, 2}, {2, 3}, {3, 2},  {4, 5},   {5, 2},     {6, 5},
                 {7, 5}, {8, 9}, {9, 5}, {10, 7}, {255, 2}, {256, 257}, {300, 257}};
    for (const auto& c : cases) {
        std::string key;
        for (std::size_t i = 0; i < c.keyLength; ++i)
            key += static_cast<char>('a' + i * 7 % 26);
        std::string transformed = data;
        Rc4Transform(transformed, key);
        EXPECT_EQ(ToHex(transformed), ToHex(ReferenceRc4(data, key, c.startJ)))
            << "key of " << c.keyLength << " bytes";
        EXPECT_EQ(Rc4ScheduleStart(c.keyLength) % 256, static_cast<unsigned>(c.startJ) % 256);
        // The deviation from plain RC4 is what makes stored files readable; it must show (with
        // an empty key both starts happen to give the same state).
        if (c.keyLength > 0) {
            EXPECT_NE(ToHex(transformed), ToHex(ReferenceRc4(data, key, 0)));
        }
    }
}

TEST(Rc4Transform, IsItsOwnInverseOverAllByteValuesAndLeavesEmptyDataEmpty) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    std::string data = all;
    Rc4Transform(data, "J\xE9r\xF4me");
    EXPECT_NE(data, all);
    Rc4Transform(data, "J\xE9r\xF4me");
    EXPECT_EQ(data, all);

    std::string empty;
    Rc4Transform(empty, "key");
    EXPECT_TRUE(empty.empty());
}

TEST(Base64, EncodesAndDecodesTheRfc4648Vectors) {
    const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                           {"f", "Zg=="},
                                                           {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},
                                                           {"foob", "Zm9vYg=="},
                                                           {"fooba", "Zm9vYmE="},
                                                           {"foobar", "Zm9vYmFy"}};
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(Base64Encode(plain), encoded);
        EXPECT_EQ(Base64Decode(encoded), plain);
    }
    EXPECT_EQ(Base64Encode(std::string("\xFB\xFF\x00", 3)), "+/8A");
    EXPECT_EQ(Base64Decode("+/8A"), std::string("\xFB\xFF\x00", 3));
}

TEST(Base64Decode, StopsAtPaddingOrAnIncompleteGroupAndNeverRejectsCharacters) {
    const std::pair<const char*, std::string> cases[] = {
        {"Zm9vYg", "foo"},              // the cut-short last group is dropped
        {"Zm9", ""},                    // no whole group at all
        {"Zg==Zm9v", "f"},              // nothing after a "=" in the third place
        {"Zm8=Zm9v", "fo"},             // nothing after a "=" in the fourth place
        {"Z!==", "d"},                  // "!" is outside the alphabet: zero bits
        {"=AAA", std::string(3, '\0')}, // "=" in the first place is just another stray character
        {"Zm9v\r\nZm9v", std::string("foo\0\x06"
                                     "f",
                                     6)}, // a line break is not skipped
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(ToHex(Base64Decode(text)), ToHex(bytes)) << text;
}

TEST(PasswordCipher, StoresBase64OfTheTransformKeyedWithTheUserName) {
    EXPECT_EQ(EncipherPassword("s3cret", "reporter"),
              Base64Encode(ReferenceRc4("s3cret", "reporter", 9)));
    EXPECT_EQ(DecipherPassword(EncipherPassword("s3cret", "reporter"), "reporter"), "s3cret");
    // An empty user still enciphers, with the empty-key schedule.
    EXPECT_EQ(EncipherPassword("s3cret", ""), Base64Encode(ReferenceRc4("s3cret", "", 1)));
    EXPECT_EQ(DecipherPassword(EncipherPassword("s3cret", ""), ""), "s3cret");
}

TEST(PasswordCipher, KeepsEmptyPasswordsEmptyAndTiesEachStoredFormToItsUser) {
    EXPECT_EQ(EncipherPassword("", "reporter"), "");
    EXPECT_EQ(DecipherPassword("", "reporter"), "");

    const std::string forAnna = EncipherPassword("s3cret", "anna");
    const std::string forBert = EncipherPassword("s3cret", "bert");
    EXPECT_NE(forAnna, forBert);
    EXPECT_EQ(DecipherPassword(forBert, "bert"), "s3cret");
    EXPECT_NE(DecipherPassword(forBert, "anna"), "s3cret");
    // Every stored form is plain Base64, so it survives the file's text format.
    EXPECT_EQ(
        EncipherPassword(std::string("\n=\r[\x01", 5), "u")
            .find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
        std::string::npos);
}

} // namespace
} // namespace slidesmith::definition
