#include "platform/pptx/TableEditor.h"

#include "DomTestSupport.h"
#include "PackageTestSupport.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

struct TableCase {
    const char* name;
    const char* before;
    char operation; // 'r' add row, 'c' add column, 'R' delete row, 'C' delete column
    std::size_t at;
    const char* after;
};

void PrintTo(const TableCase& c, std::ostream* out) {
    *out << c.name;
}

class TableEdit : public ::testing::TestWithParam<TableCase> {};

TEST_P(TableEdit, GivesTheExpectedGridAndKeepsTheTableValid) {
    const TableCase& c = GetParam();
    auto document = test::Parse(test::TableFrameXml(c.before));
    const pugi::xml_node frame = test::Find(*document, "p:graphicFrame");
    ASSERT_EQ(test::TableProblems(frame), "") << c.before;
    test::CountingSink sink;
    TableEditor editor(frame, sink);
    switch (c.operation) {
    case 'r':
        editor.AddRow(c.at);
        break;
    case 'c':
        editor.AddColumn(c.at);
        break;
    case 'R':
        editor.DeleteRow(c.at);
        break;
    default:
        editor.DeleteColumn(c.at);
        break;
    }
    EXPECT_EQ(test::DrawTable(editor.TableNode()), c.after);
    EXPECT_EQ(test::TableProblems(frame), "");
    EXPECT_GT(sink.changes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Merges, TableEdit,
    ::testing::Values(
        TableCase{"rowPlain", "ABC|DEF", 'r', 2, "ABC|123|DEF"},
        TableCase{"rowFirst", "ABC|DEF", 'r', 1, "123|ABC|DEF"},
        TableCase{"rowCopiesHorizontalMerge", "ABC|DDE", 'r', 2, "ABC|112|DDE"},
        TableCase{"rowJoinsVerticalMergeThroughIt", "ABC|ADE|FGH", 'r', 2, "ABC|A12|ADE|FGH"},
        TableCase{"rowStaysAboveMergeStartingThere", "ABC|DEF|DGH", 'r', 2, "ABC|123|DEF|DGH"},
        TableCase{"rowJoinsBlockThroughIt", "AAB|AAC|DEF", 'r', 2, "AAB|AA1|AAC|DEF"},
        TableCase{"rowAboveBlockGetsItsWidth", "ABC|DDE|DDF", 'r', 2, "ABC|112|DDE|DDF"},
        TableCase{"rowAppendedBelowMerge", "ABC|ADE", 'r', 3, "ABC|ADE|123"},
        TableCase{"rowAppendedBelowBlock", "AAB|AAC", 'r', 3, "AAB|AAC|112"},
        TableCase{"deleteRowMovesMergeTop", "ABC|ADE|FGH", 'R', 1, "ADE|FGH"},
        TableCase{"deleteRowInsideMerge", "ABC|ADE|AFG", 'R', 2, "ABC|AFG"},
        TableCase{"deleteRowMovesBlockTop", "AAB|AAC|AAD", 'R', 1, "AAC|AAD"},
        TableCase{"deleteRowInsideBlock", "AAB|AAC|AAD", 'R', 2, "AAB|AAD"},
        TableCase{"columnPlain", "AB|CD", 'c', 2, "A1B|C2D"},
        TableCase{"columnJoinsMergeThroughIt", "AAB|CDE", 'c', 2, "AAAB|C1DE"},
        TableCase{"columnStaysLeftOfMergeStartingThere", "ABB|CDE", 'c', 2, "A1BB|C2DE"},
        TableCase{"columnCopiesVerticalMerge", "AB|AC", 'c', 1, "1AB|1AC"},
        TableCase{"columnJoinsBlockThroughIt", "AAB|AAC", 'c', 2, "AAAB|AAAC"},
        TableCase{"columnAppendedRightOfBlock", "AA|AA|BC", 'c', 3, "AA1|AA1|BC2"},
        TableCase{"deleteColumnMovesMergeStart", "AAB|CDE", 'C', 1, "AB|DE"},
        TableCase{"deleteColumnInsideMerge", "AAAB", 'C', 2, "AAB"},
        TableCase{"deleteColumnMovesBlockStart", "AAB|AAC", 'C', 1, "AB|AC"},
        TableCase{"deleteLastColumn", "AB|CD", 'C', 2, "A|C"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(TableEditor, AddedRowTakesTheFormattingOfTheRowItIsAddedBefore) {
    auto document = test::Parse(test::TableFrameXml("AB|CD|EF"));
    test::CountingSink sink;
    TableEditor editor(test::Find(*document, "p:graphicFrame"), sink);
    editor.AddRow(2);
    EXPECT_EQ(editor.RowHeight(2), 200);
    EXPECT_STREQ(editor.Cell(2, 1).child("a:tcPr").attribute("marL").value(), "1");
    const pugi::xml_node paragraph = editor.Cell(2, 1).child("a:txBody").child("a:p");
    EXPECT_STREQ(paragraph.child("a:pPr").attribute("algn").value(), "r");
    EXPECT_STREQ(paragraph.child("a:endParaRPr").attribute("sz").value(), "1100");
    EXPECT_STREQ(paragraph.child("a:endParaRPr").attribute("b").value(), "1");
    EXPECT_FALSE(paragraph.child("a:endParaRPr").attribute("dirty"));
    EXPECT_FALSE(paragraph.child("a:r"));
}

TEST(TableEditor, IdsStayUniqueThroughManyInsertionsAndDeletions) {
    auto document = test::Parse(test::TableFrameXml("AB|CD|EF"));
    const pugi::xml_node frame = test::Find(*document, "p:graphicFrame");
    test::CountingSink sink;
    TableEditor editor(frame, sink);
    editor.DeleteRow(3); // its id must not come back while row 2 still has id 11
    for (int i = 0; i < 20; ++i) {
        editor.AddRow(2);
        editor.AddRow(editor.RowCount() + 1);
    }
    editor.AddColumn(1);
    editor.AddColumn(3);
    EXPECT_EQ(editor.RowCount(), 42u);
    EXPECT_EQ(editor.ColumnCount(), 4u);
    EXPECT_EQ(test::TableProblems(frame), "");
}

TEST(TableEditor, AddressesGridPositionsAndRefusesWhatLeavesTheGrid) {
    auto document = test::Parse(test::TableFrameXml("AAB|AAC"));
    test::CountingSink sink;
    TableEditor editor(test::Find(*document, "p:graphicFrame"), sink);
    EXPECT_STREQ(editor.Cell(2, 2).attribute("vMerge").value(), "1");
    EXPECT_EQ(editor.CellText(2, 3).Text(), "C");
    EXPECT_EQ(editor.AnchorOf(2, 2), (std::pair<std::size_t, std::size_t>{1, 1}));
    EXPECT_EQ(editor.CellText(2, 2).Text(), "A") << "a covered position shows its merged cell";
    EXPECT_THROW(editor.Cell(3, 1), std::out_of_range);
    EXPECT_THROW(editor.Cell(1, 4), std::out_of_range);
    EXPECT_THROW(editor.Cell(0, 1), std::out_of_range);
    EXPECT_THROW(editor.AddRow(4), std::out_of_range);
    EXPECT_THROW(editor.AddColumn(0), std::out_of_range);
    editor.DeleteRow(1);
    editor.DeleteColumn(1);
    editor.DeleteColumn(1);
    EXPECT_THROW(editor.DeleteRow(1), std::logic_error);
    EXPECT_THROW(editor.DeleteColumn(1), std::logic_error);
    EXPECT_EQ(test::TableProblems(test::Find(*document, "p:graphicFrame")), "");

    auto ragged =
        test::Parse("<p:graphicFrame><a:graphic><a:graphicData><a:tbl><a:tblGrid>"
                    "<a:gridCol w=\"1\"/><a:gridCol w=\"1\"/></a:tblGrid><a:tr h=\"1\">"
                    "<a:tc/></a:tr></a:tbl></a:graphicData></a:graphic></p:graphicFrame>");
    EXPECT_THROW(TableEditor(test::Find(*ragged, "p:graphicFrame"), sink), std::runtime_error);
    EXPECT_THROW(TableEditor(test::Find(*ragged, "a:tbl"), sink), std::runtime_error);
}

// Every table of the real presentations stays valid when rows and columns are added and deleted
// at every position, merged areas included.
TEST(RealTables, StayValidThroughRowAndColumnEditsEverywhere) {
    if (!test::HaveRealFixtures()) {
        GTEST_SKIP() << "real fixtures not installed";
    }
    int tables = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing::RealFixtures())) {
        for (int slide = 1; slide <= 12 && entry.path().extension() == ".pptx"; ++slide) {
            const std::string part = "ppt/slides/slide" + std::to_string(slide) + ".xml";
            const std::string where = entry.path().filename().string() + " " + part;
            pugi::xml_document document;
            document.load_string(test::RealPart(entry.path().filename(), part).c_str());
            for (pugi::xpath_node found : document.select_nodes("//p:graphicFrame[.//a:tbl]")) {
                const pugi::xml_node frame = found.node();
                ++tables;
                test::CountingSink sink;
                TableEditor editor(frame, sink);
                const std::size_t rows = editor.RowCount();
                const std::size_t columns = editor.ColumnCount();
                for (std::size_t r = 1; r <= rows + 1; ++r) {
                    editor.AddRow(r);
                    ASSERT_EQ(test::TableProblems(frame), "") << where << " add row " << r;
                    for (std::size_t c = 1; c <= columns; ++c) {
                        // Some programs omit the text body of covered cells; new cells get one.
                        EXPECT_EQ(TextBody(editor.Cell(r, c).child("a:txBody"), sink).Text(), "")
                            << where;
                        EXPECT_TRUE(editor.Cell(r, c).child("a:txBody").child("a:p")) << where;
                    }
                    editor.DeleteRow(r);
                    ASSERT_EQ(test::TableProblems(frame), "") << where << " delete row " << r;
                }
                for (std::size_t c = 1; c <= columns + 1; ++c) {
                    editor.AddColumn(c);
                    ASSERT_EQ(test::TableProblems(frame), "") << where << " add column " << c;
                    editor.DeleteColumn(c);
                    ASSERT_EQ(test::TableProblems(frame), "") << where << " delete column " << c;
                }
                while (editor.RowCount() > 1) {
                    editor.DeleteRow(1);
                    ASSERT_EQ(test::TableProblems(frame), "") << where << " delete first row";
                }
            }
        }
    }
    EXPECT_GE(tables, 10);
}

} // namespace
} // namespace slidesmith::pptx
