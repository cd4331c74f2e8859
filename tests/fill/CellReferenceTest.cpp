#include "fill/CellReference.h"

#include "fill/CellList.h"

#include <gtest/gtest.h>

namespace slidesmith::fill {
namespace {

TEST(ParseCellRef, AcceptsCellsColumnsRowsAndRejectsMalformedReferences) {
    struct Case {
        const char* text;
        bool ok;
        int row;
        int column;
    };
    const Case cases[] = {
        {"A1", true, 1, 1},
        {"$A$1", true, 1, 1},
        {"a1", true, 1, 1},
        {"$B$3", true, 3, 2},
        {"b3", true, 3, 2},
        {"AA10", true, 10, 27},
        {"IV65536", true, 65536, 256},
        {"C", true, 0, 3},
        {"7", true, 7, 0},
        {"", true, 0, 0},
        {"A$1", true, 1, 1},
        {"A1B", false, -1, -1},
        {"ABC1", false, -1, -1},
        {"A 1", false, -1, -1},
        {"A-1", false, -1, -1},
        {"Ä1", false, -1, -1},
        // Written but beyond the table object's limits: valid syntax, out-of-range part.
        {"IW1", true, 1, -1},
        {"A65537", true, -1, 1},
        {"A99999999999999999999", true, -1, 1},
    };
    for (const Case& c : cases) {
        CellCoordinate cell{42, 42};
        EXPECT_EQ(ParseCellRef(c.text, cell), c.ok) << c.text;
        EXPECT_EQ(cell, (CellCoordinate{c.row, c.column})) << c.text;
    }
}

TEST(CellRefName, WritesTheInverseOfParseCellRefAndNothingForUnrepresentableCells) {
    EXPECT_EQ(CellRefName(3, 2), "B3");
    EXPECT_EQ(CellRefName(5, 0), "5");
    EXPECT_EQ(CellRefName(0, 28), "AB");
    EXPECT_EQ(CellRefName(0, 26), "Z");
    EXPECT_EQ(CellRefName(0, 52), "AZ");
    EXPECT_EQ(CellRefName(1, 256), "IV1");
    EXPECT_EQ(CellRefName(0, 257), "");
    EXPECT_EQ(CellRefName(65537, 1), "");
    EXPECT_EQ(CellRefName(-1, 1), "");
    for (int column = 1; column <= kMaxColumn; ++column) {
        CellCoordinate cell;
        ASSERT_TRUE(ParseCellRef(CellRefName(9, column), cell));
        EXPECT_EQ(cell, (CellCoordinate{9, column}));
    }
}

TEST(ParseRangeRef, NeedsTwoEndsOfTheSameForm) {
    RangeReference range;
    ASSERT_TRUE(ParseRangeRef("A1:C5", range));
    EXPECT_EQ(range, (RangeReference{{1, 1}, {5, 3}}));
    ASSERT_TRUE(ParseRangeRef(" a:c ", range));
    EXPECT_EQ(range, (RangeReference{{0, 1}, {0, 3}}));
    ASSERT_TRUE(ParseRangeRef("2 : 4", range));
    EXPECT_EQ(range, (RangeReference{{2, 0}, {4, 0}}));
    ASSERT_TRUE(ParseRangeRef("C5:A1", range)) << "the order of the ends is not checked";
    for (const char* bad : {"A1:C", "A:C5", "A1", "A1:B2:C3", "A1:B2B", "A1;C5"}) {
        EXPECT_FALSE(ParseRangeRef(bad, range)) << bad;
    }
}

struct CellListCase {
    std::vector<std::string> cells;
    int fields;
    FillOrder order;
    std::vector<CellCoordinate> expected;
    BlockBounds bounds;
};

TEST(ResolveCellList, EmptyAndMissingEntriesFollowThePreviousFieldInFillOrder) {
    const CellListCase cases[] = {
        {{"B2"}, 3, FillOrder::Row, {{2, 2}, {2, 3}, {2, 4}}, {2, 2, 2, 4}},
        {{"B2"}, 3, FillOrder::Col, {{2, 2}, {3, 2}, {4, 2}}, {2, 4, 2, 2}},
        {{"B2"}, 3, FillOrder::Unset, {{2, 2}, {2, 3}, {2, 4}}, {2, 2, 2, 4}}, // ROW by default
        {{"B2", "", "E2"}, 3, FillOrder::Row, {{2, 2}, {2, 3}, {2, 5}}, {2, 2, 2, 5}},
        {{"C3", "A1"}, 2, FillOrder::Row, {{3, 3}, {1, 1}}, {1, 3, 1, 3}},
        {{"$a$1", "b2", "C3", "D4"}, 2, FillOrder::Row, {{1, 1}, {2, 2}}, {1, 2, 1, 2}},
    };
    for (const CellListCase& c : cases) {
        std::vector<std::string> cells = c.cells;
        ResolvedCells resolved;
        EXPECT_EQ(ResolveCellList(cells, c.fields, c.order, 10, 10, resolved), std::nullopt);
        EXPECT_EQ(resolved.cells, c.expected) << c.cells[0];
        EXPECT_EQ(resolved.bounds, c.bounds) << c.cells[0];
        EXPECT_EQ(cells, c.cells) << "a valid list is left as written";
    }
}

TEST(ResolveCellList, RejectsEntriesWithoutRowAndColumnAsWritten) {
    for (const char* entry : {"C", "7", "A1B", "IW1", "A0"}) {
        std::vector<std::string> cells{"A1", entry};
        ResolvedCells resolved;
        EXPECT_EQ(
            ResolveCellList(cells, 2, FillOrder::Row, 10, 10, resolved),
            (FillMessage{"Syntax error. Failed to parse cell '" + std::string(entry) + "'.", ""}));
    }
}

TEST(ResolveCellList, NamesACellOutsideTheTableAndRecordsThatNameInTheList) {
    std::vector<std::string> cells{"B2"};
    ResolvedCells resolved;
    EXPECT_EQ(ResolveCellList(cells, 3, FillOrder::Row, 5, 3, resolved),
              (FillMessage{"Syntax error. Failed to parse cell 'D2'.",
                           "The cell 'D2' is out of the range of the table."}));
    EXPECT_EQ(cells, (std::vector<std::string>{"B2", "", "D2"}));

    cells = {"A4", "A5"};
    EXPECT_EQ(ResolveCellList(cells, 2, FillOrder::Row, 4, 3, resolved)->message,
              "Syntax error. Failed to parse cell 'A5'.");
    EXPECT_EQ(cells[1], "A5");
}

TEST(ApplyRange, RangeMustEncloseTheCellsInFillOrderAndThenBecomesTheBlock) {
    const BlockBounds rows2to4{2, 4, 2, 3};
    BlockBounds bounds = rows2to4;
    EXPECT_EQ(ApplyRange("1:3", FillOrder::Row, bounds),
              (FillMessage{"The range or copyrange should be 2:4 .", ""}));
    EXPECT_EQ(bounds, rows2to4) << "a refused range changes nothing";

    bounds = rows2to4;
    EXPECT_EQ(ApplyRange("A1:A3", FillOrder::Col, bounds),
              (FillMessage{"The range or copyrange should be B:C .", ""}));

    bounds = {2, 2, 1, 3};
    EXPECT_EQ(ApplyRange("A2:C4", FillOrder::Row, bounds), std::nullopt);
    EXPECT_EQ(bounds, (BlockBounds{2, 4, 1, 3}));
    EXPECT_EQ(BlockLength(bounds, FillOrder::Row), 3) << "each record then takes three rows";

    bounds = {2, 2, 2, 2};
    EXPECT_EQ(ApplyRange("B:D", FillOrder::Col, bounds), std::nullopt);
    EXPECT_EQ(bounds, (BlockBounds{0, 0, 2, 4}));
    EXPECT_EQ(BlockLength(bounds, FillOrder::Col), 3);

    bounds = rows2to4;
    EXPECT_EQ(ApplyRange("", FillOrder::Row, bounds), std::nullopt);
    EXPECT_EQ(bounds, rows2to4);
    EXPECT_EQ(ApplyRange("A1:C", FillOrder::Row, bounds),
              (FillMessage{"Syntax error. Failed to parse range 'A1:C'.", ""}));
}

} // namespace
} // namespace slidesmith::fill
