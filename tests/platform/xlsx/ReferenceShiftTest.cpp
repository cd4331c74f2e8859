#include "platform/xlsx/ReferenceShift.h"

#include <gtest/gtest.h>

namespace slidesmith::xlsx {
namespace {

SheetEdit Rows(bool insert, std::uint32_t at, std::uint32_t count) {
    SheetEdit edit;
    edit.sheet = "Data";
    edit.insert = insert;
    edit.at = at;
    edit.count = count;
    return edit;
}

SheetEdit Columns(bool insert, std::uint32_t at, std::uint32_t count) {
    SheetEdit edit = Rows(insert, at, count);
    edit.axis = SheetEdit::Axis::Columns;
    edit.bandLast = kMaxRows;
    return edit;
}

struct FormulaCase {
    const char* before;
    const char* after;
};

void Check(const SheetEdit& edit, std::initializer_list<FormulaCase> cases) {
    for (const FormulaCase& c : cases)
        EXPECT_EQ(AdjustFormula(c.before, "Data", edit), c.after) << c.before;
}

TEST(ReferenceShiftTest, InsertingRowsMovesAndStretchesReferences) {
    // Two rows inserted before row 3.
    Check(Rows(true, 3, 2), {{"A1+A2", "A1+A2"},
                             {"A3*2", "A5*2"},
                             {"$B$3", "$B$5"},
                             {"SUM(B2:B3)", "SUM(B2:B5)"},
                             {"SUM($B$3:$B$4)", "SUM($B$5:$B$6)"},
                             {"SUM(B1:B2)", "SUM(B1:B2)"},
                             {"Data!C9", "Data!C11"},
                             {"data!C9", "data!C11"},
                             {"Other!C9+C9", "Other!C9+C11"},
                             {"'Other Sheet'!A5", "'Other Sheet'!A5"},
                             {"SUM(3:4)", "SUM(5:6)"},
                             {"SUM(A:A)", "SUM(A:A)"},
                             {"LOG10(A5)&\"A5\"", "LOG10(A7)&\"A5\""},
                             {"{1,2;3,4}+A4", "{1,2;3,4}+A6"},
                             {"[1]Data!A5+A5", "[1]Data!A5+A7"},
                             {"Table1[Col]+A9", "Table1[Col]+A11"},
                             {"#REF!+A3", "#REF!+A5"}});
}

TEST(ReferenceShiftTest, DeletingRowsShrinksAreasAndBreaksLostCells) {
    // Rows 3 and 4 deleted.
    Check(Rows(false, 3, 2), {{"A2", "A2"},
                              {"A3", "#REF!"},
                              {"Data!A4", "Data!#REF!"},
                              {"A5", "A3"},
                              {"SUM(A2:A10)", "SUM(A2:A8)"},
                              {"SUM(A3:A4)", "SUM(#REF!)"},
                              {"SUM(A4:A6)", "SUM(A3:A4)"},
                              {"SUM(A1:A3)", "SUM(A1:A2)"},
                              {"SUM($5:$6)", "SUM($3:$4)"},
                              {"Other!A9", "Other!A9"}});
}

TEST(ReferenceShiftTest, ColumnEditsFollowTheSameRules) {
    Check(Columns(true, 2, 3), {{"A1+B1", "A1+E1"},
                                {"SUM(A1:C1)", "SUM(A1:F1)"},
                                {"SUM(B:B)", "SUM(E:E)"},
                                {"SUM(2:2)", "SUM(2:2)"},
                                {"XFB1", "#REF!"}});
    Check(Columns(false, 2, 1), {{"C1", "B1"}, {"B1", "#REF!"}, {"SUM(A1:C1)", "SUM(A1:B1)"}});
}

TEST(ReferenceShiftTest, PartialBandsMoveOnlyWhatLiesInsideThem) {
    // Cells B3:C3 inserted, shifting down only columns B and C.
    SheetEdit edit = Rows(true, 3, 1);
    edit.bandFirst = 2;
    edit.bandLast = 3;
    Check(edit,
          {{"B5", "B6"}, {"A5", "A5"}, {"SUM(B2:C4)", "SUM(B2:C5)"}, {"SUM(A2:C4)", "SUM(A2:C4)"}});
}

TEST(ReferenceShiftTest, OffsetMovesOnlyRelativeParts) {
    EXPECT_EQ(OffsetFormula("A2*$B$1+B$1+$C2", 3, 1), "B5*$B$1+C$1+$C5");
    EXPECT_EQ(OffsetFormula("SUM(A1:A3)", -1, 0), "SUM(#REF!)");
    EXPECT_EQ(OffsetFormula("Other!A1", 1, 1), "Other!B2");
}

TEST(ReferenceShiftTest, AreaListsDropWhatIsDeleted) {
    EXPECT_EQ(AdjustAreaList("A1:B2 A3 C5:C9", Rows(false, 3, 1)), "A1:B2 C4:C8");
    EXPECT_EQ(AdjustAreaList("A3", Rows(false, 3, 1)), "");
}

} // namespace
} // namespace slidesmith::xlsx
