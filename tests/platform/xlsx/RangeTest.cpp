#include "platform/xlsx/Range.h"

#include <gtest/gtest.h>

namespace slidesmith::xlsx {
namespace {

struct ReferenceCase {
    const char* text;
    std::uint32_t row, column, rows, columns;
    const char* address;  // Address()
    const char* relative; // Address(false, false)
    const char* written;  // Text()
    const char* sheet;
};

TEST(RangeTest, ReadsEveryFormOfTheNotation) {
    const ReferenceCase cases[] = {
        {"A1", 1, 1, 1, 1, "$A$1", "A1", "A1", ""},
        {"$B$3", 3, 2, 1, 1, "$B$3", "B3", "$B$3", ""},
        {"B2:D5", 2, 2, 4, 3, "$B$2:$D$5", "B2:D5", "B2:D5", ""},
        {"b$2:$d5", 2, 2, 4, 3, "$B$2:$D$5", "B2:D5", "B$2:$D5", ""},
        {"D5:B2", 2, 2, 4, 3, "$B$2:$D$5", "B2:D5", "B2:D5", ""},
        {"A:C", 1, 1, kMaxRows, 3, "$A:$C", "A:C", "A:C", ""},
        {"$2:$4", 2, 1, 3, kMaxColumns, "$2:$4", "2:4", "$2:$4", ""},
        {"XFD1048576", kMaxRows, kMaxColumns, 1, 1, "$XFD$1048576", "XFD1048576", "XFD1048576", ""},
        {"Sheet1!$A$2:$A$3", 2, 1, 2, 1, "$A$2:$A$3", "A2:A3", "Sheet1!$A$2:$A$3", "Sheet1"},
        {"'Sales 2008'!$A$1:$B$5", 1, 1, 5, 2, "$A$1:$B$5", "A1:B5", "'Sales 2008'!$A$1:$B$5",
         "Sales 2008"},
        {"'O''Brien''s'!C7", 7, 3, 1, 1, "$C$7", "C7", "'O''Brien''s'!C7", "O'Brien's"},
        {"  C3  ", 3, 3, 1, 1, "$C$3", "C3", "C3", ""},
    };
    for (const ReferenceCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::optional<Range> range = Range::Parse(c.text);
        ASSERT_TRUE(range.has_value());
        EXPECT_EQ(range->Row(), c.row);
        EXPECT_EQ(range->Column(), c.column);
        EXPECT_EQ(range->RowCount(), c.rows);
        EXPECT_EQ(range->ColumnCount(), c.columns);
        EXPECT_EQ(range->Address(), c.address);
        EXPECT_EQ(range->Address(false, false), c.relative);
        EXPECT_EQ(range->Text(), c.written);
        EXPECT_EQ(range->Sheet(), c.sheet);
        std::optional<Range> again = Range::Parse(range->Text());
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(*again, *range);
        EXPECT_EQ(again->Text(), range->Text());
    }
}

TEST(RangeTest, RefusesWhatIsNoReference) {
    for (const char* text :
         {"",      "A",   "1",    "A0",      "XFE1",    "A1048577",   "1A",    "A1B",
          "A1:",   ":A1", "A1:C", "A:1",     "Sheet1!", "'Sheet1!A1", "''!A1", "Sheet1:Sheet3!A1",
          "A1,B2", "$",   "A$",   "SUM(A1)", "#REF!",   "Name"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Range::Parse(text).has_value());
    }
}

TEST(RangeTest, ColumnLettersAndSheetPrefixes) {
    const std::pair<std::uint32_t, const char*> columns[] = {
        {1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (auto [number, letters] : columns) {
        EXPECT_EQ(ColumnName(number), letters);
        EXPECT_EQ(ColumnNumber(letters), number);
    }
    EXPECT_EQ(ColumnName(0), "");
    EXPECT_EQ(ColumnName(16385), "");
    EXPECT_FALSE(ColumnNumber("XFE").has_value());

    const std::pair<const char*, const char*> prefixes[] = {
        {"Sheet1", "Sheet1"},      {"Sales 2008", "'Sales 2008'"},
        {"2008", "'2008'"},        {"A1", "'A1'"},
        {"R1C1", "'R1C1'"},        {"rc", "'rc'"},
        {"O'Brien", "'O''Brien'"}, {"Übersicht", "Übersicht"},
        {"a-b", "'a-b'"},          {"Data_2.x", "Data_2.x"}};
    for (auto [name, prefix] : prefixes)
        EXPECT_EQ(SheetPrefix(name), prefix) << name;
}

TEST(RangeTest, ScanFindsReferencesInsideFormulas) {
    std::optional<ReferenceMatch> match = ScanReference("SUM('My Data'!B2:B9)*2", 4);
    ASSERT_TRUE(match && match->area);
    EXPECT_TRUE(match->hasSheet);
    EXPECT_EQ(match->areaBegin, 14u);
    EXPECT_EQ(match->end, 19u);
    EXPECT_EQ(match->area->Sheet(), "My Data");
    // A function whose name reads like a cell, and a name longer than a column, are no cells.
    EXPECT_FALSE(ScanReference("LOG10(4)", 0).has_value());
    EXPECT_FALSE(ScanReference("TOTAL1+1", 0).has_value());
    // A sheet followed by #REF! is still a sheet prefix, with no area.
    match = ScanReference("Sheet2!#REF!", 0);
    ASSERT_TRUE(match.has_value());
    EXPECT_FALSE(match->area.has_value());
    EXPECT_EQ(match->end, 7u);
}

} // namespace
} // namespace slidesmith::xlsx
