#include "definition/PasswordCipher.h"

#include "ReferenceCipher.h"

#include <gtest/gtest.h>

namespace slidesmith::definition {
namespace {

using testing::ReferenceRc4;
using testing::ToHex;

TEST(ReferenceRc4, ReproducesPublishedRc4VectorsWhenTheScheduleStartsAtZero) {
    EXPECT_EQ(ToHex(ReferenceRc4("Plaintext", "Key", 0)), "BBF316E8D940AF0AD3");
    EXPECT_EQ(ToHex(ReferenceRc4("Attack at dawn", "Secret", 0)), "45A01F645FC35B383552544B9BF5");
}

TEST(Rc4Transform, StartsTheKeyScheduleWhereStoredFilesExpectForEveryKeyLength) {
    const std::pair<std::size_t, int> cases[] = {{0, 1},  {1, 2},   {2, 3},     {3, 2},    {4, 5},
                                                 {5, 2},  {6, 5},   {7, 5},     {8, 9},    {9, 5},
                                                 {10, 7}, {255, 2}, {256, 257}, {300, 257}};
    const std::string data = "correct horse battery staple";
    for (const auto& [keyLength, startJ] : cases) {
        std::string key;
        for (std::size_t i = 0; i < keyLength; ++i)
            key += static_cast<char>('a' + i * 7 % 26);
        std::string transformed = data;
        Rc4Transform(transformed, key);
        EXPECT_EQ(ToHex(transformed), ToHex(ReferenceRc4(data, key, startJ))) << keyLength;
        EXPECT_EQ(Rc4ScheduleStart(keyLength), static_cast<unsigned>(startJ)) << keyLength;
    }
    std::string empty;
    Rc4Transform(empty, "key");
    EXPECT_TRUE(empty.empty());
}

TEST(Base64, EncodesTheRfc4648VectorsAndDecodesWithoutEverRejecting) {
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},        {"f", "Zg=="},          {"fo", "Zm8="},
        {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}, {std::string("\xFB\xFF\0", 3), "+/8A"}};
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(Base64Encode(plain), encoded);
        EXPECT_EQ(Base64Decode(encoded), plain);
    }
    const std::pair<const char*, std::string> decodes[] = {
        {"Zm9vYg", "foo"},              // a group cut short by the end is dropped
        {"Zg==Zm9v", "f"},              // nothing after "=" in the third place
        {"Zm8=Zm9v", "fo"},             // nothing after "=" in the fourth place
        {"Z!==", "d"},                  // outside the alphabet: zero bits
        {"=AAA", std::string(3, '\0')}, // "=" in the first place is a stray character
        {"Zm9v\r\nZm9v", std::string("foo\0\x06"
                                     "f",
                                     6)}, // a line break is not skipped
    };
    for (const auto& [text, bytes] : decodes)
        EXPECT_EQ(ToHex(Base64Decode(text)), ToHex(bytes)) << text;
}

TEST(PasswordCipher, StoresBase64OfTheTransformAndTiesItToTheUser) {
    EXPECT_EQ(EncipherPassword("s3cret", "reporter"),
              Base64Encode(ReferenceRc4("s3cret", "reporter", 9)));
    EXPECT_EQ(EncipherPassword("s3cret", ""), Base64Encode(ReferenceRc4("s3cret", "", 1)));
    EXPECT_EQ(DecipherPassword(EncipherPassword("s3cret", ""), ""), "s3cret");
    EXPECT_EQ(EncipherPassword("", "reporter"), "");
    EXPECT_EQ(DecipherPassword("", "reporter"), "");

    const std::string forBert = EncipherPassword("s3cret", "bert");
    EXPECT_NE(EncipherPassword("s3cret", "anna"), forBert);
    EXPECT_EQ(DecipherPassword(forBert, "bert"), "s3cret");
    EXPECT_NE(DecipherPassword(forBert, "anna"), "s3cret");
}

} // namespace
} // namespace slidesmith::definition
