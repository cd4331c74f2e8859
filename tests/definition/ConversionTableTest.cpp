#include "definition/ConversionTable.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace slidesmith::definition {
namespace {

namespace fs = std::filesystem;

std::vector<ConversionFormat> ReadTable(const std::string& text) {
    const fs::path path = fs::temp_directory_path() / ("sconv-" + std::to_string(getpid()));
    std::ofstream(path, std::ios::binary) << text;
    std::vector<ConversionFormat> table = ReadConversionTable(path);
    fs::remove(path);
    return table;
}

TEST(ReadConversionTable, KeepsRowsOfFourFieldsUpTo257) {
    std::string text = "; Name\tNumber\tDescription\tExtensions\r\n"
                       "  ;indented comment\t1\t2\t3\r\n"
                       "ppt\t 1 \t PowerPoint Presentation \tppt pps\r\n"
                       "three\tfields\tonly\r\n"
                       " Web \tHTML\tWeb Page\thtm html\textra field\n"
                       "big\t99999999999\tToo big\tx\n";
    for (int i = 0; i < 300; ++i)
        text += "f" + std::to_string(i) + "\t" + std::to_string(i) + "\td\te\n";
    const std::vector<ConversionFormat> table = ReadTable(text);
    ASSERT_EQ(table.size(), kMaxConversionFormats);
    EXPECT_EQ(table[0].Name, "ppt");
    EXPECT_TRUE(table[0].IsNumber);
    EXPECT_EQ(table[0].Number, 1);
    EXPECT_EQ(table[0].Description, "PowerPoint Presentation");
    EXPECT_EQ(table[0].Extensions, "ppt pps");
    EXPECT_EQ(table[1].Name, "Web");
    EXPECT_FALSE(table[1].IsNumber);
    EXPECT_FALSE(table[2].IsNumber) << "a number beyond 32 bits is no number";
    EXPECT_EQ(table.back().Name, "f253");
    EXPECT_TRUE(ReadConversionTable("/nonexistent/sconv.cfg").empty());
}

TEST(FindConversionFormat, MatchesNumbersOrNamesAsAsked) {
    const std::vector<ConversionFormat> table = {{"Web", 0, false, "", ""},
                                                 {"pptx", 24, true, "", ""},
                                                 {"PDF", 32, true, "", ""},
                                                 {"24", 7, true, "", ""}};
    const struct {
        const char* key;
        CompareMode mode;
        int row;
    } cases[] = {{"", CompareMode::IgnoreCase, -1},  {"24", CompareMode::Exact, 1},
                 {" 32 ", CompareMode::Exact, 2},    {"0", CompareMode::Exact, -1},
                 {"pdf", CompareMode::Exact, -1},    {"pdf", CompareMode::IgnoreCase, 2},
                 {"WEB", CompareMode::IgnoreCase, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(FindConversionFormat(table, c.key, c.mode), c.row) << "key '" << c.key << "'";
}

TEST(ShippedConversionTable, GivesEachFormatTheEngineWritesItsOwnPowerPointCode) {
    const std::vector<ConversionFormat> table =
        ReadConversionTable(fs::path(SLIDESMITH_SOURCE_DIR) / "share" / "sconv.cfg");
    const std::pair<const char*, int> expected[] = {
        {"Presentation", 1}, {"pptx", 24}, {"pptm", 25}, {"potx", 26}, {"ppsx", 28},
        {"pdf", 32},         {"odp", 35},  {"ppt", 2},   {"pot", 5},   {"pps", 7}};
    ASSERT_EQ(table.size(), std::size(expected));
    for (const auto& [name, number] : expected) {
        EXPECT_EQ(FindConversionFormat(table, name, CompareMode::Exact),
                  FindConversionFormat(table, std::to_string(number), CompareMode::Exact))
            << name << " must be the only row with " << number;
    }
}

} // namespace
} // namespace slidesmith::definition
