// The datasheet reference syntax, the worksheet a series formula names, and the cell plan the
// chart fills build from CELL and RANGE.
#include "fill/ChartReference.h"

#include "fill/ChartFillCommon.h"

#include <gtest/gtest.h>

namespace slidesmith::fill {
namespace {

TEST(ParseDatasheetRef, ReadsDataCellsHeaderCellsAndRefusesMalformedReferences) {
    struct Case {
        const char* text;
        bool ok;
        int row;
        int column;
    };
    const Case cases[] = {
        {"A1", true, 2, 2},
        {"a1", true, 2, 2},
        {"$B$3", true, 4, 3},
        {"A0", true, 1, 2}, // the series name cell of column A
        {"01", true, 2, 1}, // the category cell of row 1 ...
        {"1", true, 2, 1},  // ... written without the leading zero
        {"00", true, 1, 1}, // the corner
        {"0", true, 1, 1},
        {"A", true, 0, 2},
        {"", true, 0, 0},
        {"Z1", true, 2, 27},
        {"AA1", true, 2, 28},
        {"AAA1", true, 2, 704},
        {"EWU3999", true, 4000, 4000}, // the datasheet's last cell
        {"A3999", true, 4000, 2},
        {"A4000", true, -1, 2},
        {"A99999999999999999999", true, -1, 2},
        {"EWV1", true, 2, -1}, // three letters beyond column 4000
        {"ZZ1", true, 2, 703}, // two letters are never beyond the limit
        {"1A", false, -1, -1},
        {"A1B", false, -1, -1},
        {"ABCD1", false, -1, -1},
        {"A 1", false, -1, -1},
        {"A-1", false, -1, -1},
        {"A1:B2", false, -1, -1},
    };
    for (const Case& c : cases) {
        CellCoordinate cell{42, 42};
        EXPECT_EQ(ParseDatasheetRef(c.text, cell), c.ok) << c.text;
        EXPECT_EQ(cell, (CellCoordinate{c.row, c.column})) << c.text;
    }
}

TEST(DatasheetRefName, IsTheExactInverseOfParsingWithinTheLimits) {
    EXPECT_EQ(DatasheetRefName(2, 2), "A1");
    EXPECT_EQ(DatasheetRefName(1, 1), "00");
    EXPECT_EQ(DatasheetRefName(3, 1), "02");
    EXPECT_EQ(DatasheetRefName(0, 2), "A");
    EXPECT_EQ(DatasheetRefName(4001, 2), "");
    EXPECT_EQ(DatasheetRefName(2, -1), "");
    for (int column = 1; column <= kDatasheetLimit; ++column) {
        for (int row : {1, 2, 17, kDatasheetLimit}) {
            CellCoordinate cell;
            ASSERT_TRUE(ParseDatasheetRef(DatasheetRefName(row, column), cell));
            ASSERT_EQ(cell, (CellCoordinate{row, column})) << DatasheetRefName(row, column);
        }
    }
}

TEST(ParseDatasheetRange, ReadsCellAreasWholeRowsHeaderCellsAndWholeColumns) {
    struct Case {
        const char* text;
        bool ok;
        RangeReference range;
    };
    const Case cases[] = {
        {"A1:C2", true, {{2, 2}, {3, 4}}},
        {" b1 : c3 ", true, {{2, 3}, {4, 4}}},
        {"01:05", true, {{2, 1}, {6, 1}}}, // the header cells of rows 1 to 5
        {"1:5", true, {{2, 0}, {6, 0}}},   // whole rows
        {"0:0", true, {{1, 0}, {1, 0}}},
        {"0:5", true, {{1, 0}, {6, 0}}},
        {"0:C", true, {{0, 1}, {0, 4}}}, // whole columns from the header column to C
        {"A:C", true, {{0, 2}, {0, 4}}},
        {"C2:A1", true, {{3, 4}, {2, 2}}}, // order is not checked
        {"A1:B", false, {}},
        {"A:B1", false, {}},
        {"A1", false, {}},
        {"A1:B2:C3", false, {}},
        {"A1:1B", false, {}},
        {"01:C", false, {}},
    };
    for (const Case& c : cases) {
        RangeReference range;
        EXPECT_EQ(ParseDatasheetRange(c.text, range), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(range, c.range) << c.text;
        }
    }
}

TEST(SeriesSourceSheet, NamesTheSheetOfTheValuesArgument) {
    struct Case {
        const char* formula;
        const char* sheet;
    };
    const Case cases[] = {
        {"=SERIES(Sheet1!$B$1,Sheet1!$A$2:$A$5,Sheet1!$B$2:$B$5,1)", "Sheet1"},
        {"=SERIES('Sales 2008'!$B$1,'Sales 2008'!$A$2:$A$5,'Sales 2008'!$B$2:$B$5,1)",
         "Sales 2008"},
        // The categories come from another sheet: the values decide.
        {"=SERIES(,Labels!$A$2:$A$5,Data!$B$2:$B$5,1)", "Data"},
        {"=SERIES(\"North\",{\"a\",\"b\"},{1,2},1)", ""},
        {"=SERIES(\"North\",(Data!$A$2,Data!$A$4),(Data!$B$2,Data!$B$4),2)", "Data"},
        {"=SERIES(\"North\",{\"a\",\"b\"},'It''s'!$B$2:$B$3,1)", "It's"},
        {"=SERIES(,,$B$2:$B$5,1)", ""},
        {"=SERIES(Sheet1!$B$1,,Sheet1!$B$2:$B$5,1)", "Sheet1"},
        {"=SERIES(Sheet1!$B$1)", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SeriesSourceSheet(c.formula), c.sheet) << c.formula;
    }
}

std::optional<CellCoordinate> Datasheet(const std::string& entry) {
    CellCoordinate cell;
    if (!ParseDatasheetRef(entry, cell) || cell.row < 1 || cell.column < 1) {
        return std::nullopt;
    }
    return cell;
}

// The run scenarios cover derived cells, refused entries and every range message; what they do
// not show is a range taller than the cells, which moves each record by its own height.
TEST(EncloseBlock, ARangeAroundTheCellsBecomesTheBlockOfOneRecord) {
    ChartCellPlan plan;
    ASSERT_FALSE(PlanChartCells({"A1"}, 3, FillOrder::Row, Datasheet, plan));
    EXPECT_EQ(plan.cells, (std::vector<CellCoordinate>{{2, 2}, {2, 3}, {2, 4}}));
    RangeReference range;
    ASSERT_TRUE(ParseDatasheetRange("A1:C2", range));
    EXPECT_TRUE(EncloseBlock(range, plan));
    EXPECT_EQ(plan.Step(), 2); // two rows per record
    ASSERT_TRUE(ParseDatasheetRange("A1:B2", range));
    EXPECT_FALSE(EncloseBlock(range, plan));
}

TEST(ChartNumber, NumbersDatesAndNumberTextsBecomeNumbersAndOtherTextsDoNot) {
    EXPECT_EQ(ChartNumber(odbc::FieldValue::FromInteger(-7)), -7.0);
    EXPECT_EQ(ChartNumber(odbc::FieldValue::FromDecimal("1234.50", 2)), 1234.5);
    EXPECT_EQ(ChartNumber(odbc::FieldValue::FromDecimal("-.5", 1)), -0.5);
    EXPECT_EQ(ChartNumber(odbc::FieldValue::FromText("1.5E3")), 1500.0);
    EXPECT_EQ(ChartNumber(odbc::FieldValue::FromDate({2008, 1, 1})), 39448.0);
    EXPECT_EQ(ChartNumber(odbc::FieldValue::FromTime({18, 0, 0})), 0.75);
    for (const char* text : {"North", "inf", "nan", "1,234", "12 ", "", "-", "1e"}) {
        EXPECT_FALSE(ChartNumber(odbc::FieldValue::FromText(text))) << text;
    }
    EXPECT_FALSE(ChartNumber(odbc::FieldValue()));
}

} // namespace
} // namespace slidesmith::fill
