#include "definition/ProfileReader.h"

#include <gtest/gtest.h>

namespace slidesmith::definition {
namespace {

TEST(ProfileReader, FindsValuesByTheDesktopPlatformsRules) {
    const std::pair<const char*, const char*> cases[][2] = {
        {{"Data Source", "Name1"}, {"Sales", "first key of a name wins"}},
        {{"DATA SOURCE", "name2"}, {"Spaced out", "names ignore case, blanks trimmed"}},
        {{"Data Source", "Quoted1"}, {"C:\\Program Files\\x.ppt", "double quotes removed"}},
        {{"Data Source", "Quoted2"}, {"single", "apostrophes removed"}},
        {{"Data Source", "Quoted3"}, {"\"mixed'", "unmatched quotes kept"}},
        {{"Data Source", "Quoted4"}, {"\"twice\"", "only one pair removed"}},
        {{"Data Source", "Equals"}, {"a=b=c", "split at the first ="}},
        {{"Data Source", "no equals sign here"}, {"", "a line without = is no key"}},
        {{"File", "LogFileName"}, {"Log\\Sales.log", "section name up to ], trimmed"}},
        {{"Data Source", "Name3"}, {"", "only the first section of a name is searched"}},
        {{"", "Orphan"}, {"", "lines before the first section belong to none"}},
    };
    std::vector<ProfileReader::Key> wanted;
    for (const auto& c : cases)
        wanted.emplace_back(c[0].first, c[0].second);
    const ProfileReader profile("Orphan=before any section\r\n"
                                "[Data Source]\r\n"
                                "Name1=Sales\r\n"
                                "  NAME2 =  Spaced out  \r\n"
                                "Name1=second occurrence\r\n"
                                "Quoted1=\"C:\\Program Files\\x.ppt\"\r\n"
                                "Quoted2='single'\r\n"
                                "Quoted3=\"mixed'\r\n"
                                "Quoted4=\"\"twice\"\"\r\n"
                                "Equals=a=b=c\r\n"
                                "no equals sign here\r\n"
                                "\t[ File ] trailing text\n"
                                "LogFileName=Log\\Sales.log\n"
                                "[data source]\n"
                                "Name3=in a repeated section\n",
                                wanted);
    for (const auto& c : cases)
        EXPECT_EQ(profile.GetValue(c[0].first, c[0].second), c[1].first) << c[1].second;
}

TEST(ProfileReader, CutsLongValuesToTheBufferWithoutSplittingACharacter) {
    // 10238 ASCII characters, then "é" (two bytes): the cut keeps the "é" whole.
    const ProfileReader profile("[S]\nLong=" + std::string(20000, 'x') +
                                    "\nMixed=" + std::string(10238, 'y') + "\xC3\xA9zzz\n",
                                {{"S", "Long"}, {"S", "Mixed"}});
    EXPECT_EQ(profile.GetValue("S", "Long"), std::string(ProfileReader::kMaxValueLength, 'x'));
    EXPECT_EQ(profile.GetValue("S", "Mixed"), std::string(10238, 'y') + "\xC3\xA9");
}

} // namespace
} // namespace slidesmith::definition
