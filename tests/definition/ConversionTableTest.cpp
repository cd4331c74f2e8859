#include "definition/ConversionTable.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace slidesmith::definition {
namespace {

namespace fs = std::filesystem;

fs::path WriteTable(const std::string& name, const std::string& text) {
    const fs::path path =
        fs::temp_directory_path() / ("slidesmith-sconv-" + std::to_string(getpid()) + name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(ReadConversionTable, KeepsRowsOfFourFieldsAndSkipsCommentsAndShortLines) {
    const fs::path path = WriteTable("rows", "; Name\tNumber\tDescription\tExtensions\r\n"
                                             "  ;indented comment\t1\t2\t3\r\n"
                                             "ppt\t 1 \t PowerPoint Presentation \tppt pps\r\n"
                                             "three\tfields\tonly\r\n"
                                             "\r\n"
                                             " Web \tHTML\tWeb Page\thtm html\textra field\n"
                                             "big\t99999999999\tToo big\tx\n"
                                             "neg\t-3\tNegative\t\n");
    const std::vector<ConversionFormat> table = ReadConversionTable(path);
    fs::remove(path);
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0].Name, "ppt");
    EXPECT_TRUE(table[0].IsNumber);
    EXPECT_EQ(table[0].Number, 1);
    EXPECT_EQ(table[0].Description, "PowerPoint Presentation");
    EXPECT_EQ(table[0].Extensions, "ppt pps");
    EXPECT_EQ(table[1].Name, "Web");
    EXPECT_FALSE(table[1].IsNumber);
    EXPECT_FALSE(table[2].IsNumber) << "a number beyond 32 bits is no number";
    EXPECT_EQ(table[3].Number, -3);
    EXPECT_EQ(table[3].Extensions, "");
}

TEST(ReadConversionTable, StopsAt257RowsAndGivesAnEmptyTableForAMissingFile) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "f" + std::to_string(i) + "\t" + std::to_string(i) + "\td\te\n";
    const fs::path path = WriteTable("many", text);
    const std::vector<ConversionFormat> table = ReadConversionTable(path);
    fs::remove(path);
    ASSERT_EQ(table.size(), kMaxConversionFormats);
    EXPECT_EQ(table.back().Name, "f256");
    EXPECT_TRUE(ReadConversionTable("/nonexistent/sconv.cfg").empty());
}

TEST(FindConversionFormat, MatchesNumbersOrNamesAsAsked) {
    std::vector<ConversionFormat> table(4);
    table[0] = {"Web", 0, false, "", ""};
    table[1] = {"pptx", 24, true, "", ""};
    table[2] = {"PDF", 32, true, "", ""};
    table[3] = {"24", 7, true, "", ""};
    const struct {
        const char* key;
        CompareMode mode;
        int row;
    } cases[] = {
        {"", CompareMode::IgnoreCase, -1},   {"24", CompareMode::Exact, 1},
        {" 32 ", CompareMode::Exact, 2},     {"7", CompareMode::Exact, 3},
        {"0", CompareMode::Exact, -1},       {"PDF", CompareMode::Exact, 2},
        {"pdf", CompareMode::Exact, -1},     {"pdf", CompareMode::IgnoreCase, 2},
        {"WEB", CompareMode::IgnoreCase, 0}, {"odp", CompareMode::IgnoreCase, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindConversionFormat(table, c.key, c.mode), c.row) << "key '" << c.key << "'";
}

TEST(ShippedConversionTable, OffersEveryFormatTheEngineWritesOnceWithPowerPointsCodes) {
    const std::vector<ConversionFormat> table =
        ReadConversionTable(fs::path(SLIDESMITH_SOURCE_DIR) / "share" / "sconv.cfg");
    const std::pair<const char*, int> expected[] = {
        {"pptx", 24}, {"pptm", 25}, {"potx", 26}, {"ppsx", 28}, {"pdf", 32},
        {"odp", 35},  {"ppt", 2},   {"pot", 5},   {"pps", 7},
    };
    for (const auto& [name, number] : expected) {
        const int row = FindConversionFormat(table, name, CompareMode::IgnoreCase);
        ASSERT_GE(row, 0) << name;
        EXPECT_EQ(table[static_cast<std::size_t>(row)].Number, number) << name;
        EXPECT_EQ(table[static_cast<std::size_t>(row)].Extensions.substr(0, 4).find(name), 0u);
    }
    const int byDefaultCode = FindConversionFormat(table, "1", CompareMode::IgnoreCase);
    ASSERT_GE(byDefaultCode, 0);
    std::set<std::string> names;
    std::set<int> numbers;
    for (const ConversionFormat& row : table) {
        EXPECT_TRUE(row.IsNumber) << row.Name;
        EXPECT_TRUE(names.insert(row.Name).second) << "duplicate name " << row.Name;
        EXPECT_TRUE(numbers.insert(row.Number).second) << "duplicate number " << row.Number;
        EXPECT_FALSE(row.Extensions.empty()) << row.Name;
    }
}

} // namespace
} // namespace slidesmith::definition
