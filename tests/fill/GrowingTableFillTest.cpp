#include "TableFillHarness.h"
#include "render/Render.h"

#include <gtest/gtest.h>

namespace slidesmith::fill::testing {
namespace {

using odbc::FieldValue;
using script::NoDataAction;

class GrowingTableFillTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!harness.Open()) {
            GTEST_SKIP() << "shared fixtures not found";
        }
        harness.statement.Cells = {"A2"};
    }
    // Header, `reserve` prepared block rows with a static "EUR" in the third column, total.
    void Template(std::size_t slide, int reserve) {
        TableTexts rows{{"Id", "Name", "Unit"}};
        for (int i = 0; i < reserve; ++i) {
            rows.push_back({"0", "@", "EUR"});
        }
        rows.push_back({"Total", "", ""});
        harness.ShapeTable(slide, rows);
        harness.statement.Reserve = static_cast<std::int16_t>(reserve);
    }
    static TableTexts Expected(int first, int count, bool withTotal) {
        TableTexts rows{{"Id", "Name", "Unit"}};
        for (int k = first; k < first + count; ++k) {
            rows.push_back({std::to_string(k), "name " + std::to_string(k), "EUR"});
        }
        if (withTotal) {
            rows.push_back({"Total", "", ""});
        }
        return rows;
    }
    FillHarness harness;
};

struct GrowCase {
    const char* name;
    int reserve;
    int records;
};

class GrowingRowsTest : public GrowingTableFillTest,
                        public ::testing::WithParamInterface<GrowCase> {};

// Rows are added before the block (carrying its static "EUR") or removed from its top, and the
// total row stays below the records.
TEST_P(GrowingRowsTest, FitsTheBlockRowsToTheRecords) {
    Template(kSecondTableSlide, GetParam().reserve);
    harness.records = NumberedRecords(GetParam().records);

    EXPECT_TRUE(harness.RunGrowing(kSecondTableSlide).success);

    EXPECT_TRUE(harness.records.Closed());
    harness.SaveAndReopen();
    EXPECT_EQ(harness.Texts(kSecondTableSlide), Expected(1, GetParam().records, true));
}

INSTANTIATE_TEST_SUITE_P(Reserves, GrowingRowsTest,
                         ::testing::Values(GrowCase{"Grows", 1, 5}, GrowCase{"Shrinks", 5, 2},
                                           GrowCase{"Fits", 3, 3}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(GrowingTableFillTest, ColumnOrderAddsColumns) {
    harness.ShapeTable(kSecondTableSlide, {{"Id", "0", "Sum"}, {"Name", "@", ""}});
    harness.statement.FillOrder = script::FillOrder::Col;
    harness.statement.Cells = {"B1"};
    harness.records = NumberedRecords(3);

    ASSERT_TRUE(harness.RunGrowing(kSecondTableSlide).success);

    harness.SaveAndReopen();
    EXPECT_EQ(
        harness.Texts(kSecondTableSlide),
        (TableTexts{{"Id", "1", "2", "3", "Sum"}, {"Name", "name 1", "name 2", "name 3", ""}}));
}

// Three records a page: the template slide and two copies directly after it; only the last
// page keeps the total row, and the slide that followed the template follows the last page.
TEST_F(GrowingTableFillTest, PageBreakSpreadsRecordsOverCopiesOfTheSlide) {
    Template(kFirstTableSlide, 1);
    harness.statement.PageBreak.Rows = 3;
    harness.records = NumberedRecords(7);
    const std::size_t slidesBefore = harness.SlideCount();

    const TableFillResult result = harness.RunGrowing(kFirstTableSlide);

    EXPECT_TRUE(result.success);
    EXPECT_EQ(result.slideIndex, kFirstTableSlide + 2);
    harness.SaveAndReopen();
    ASSERT_EQ(harness.SlideCount(), slidesBefore + 2);
    const auto withoutUnit = [](TableTexts rows) {
        for (auto& row : rows) {
            row.push_back("");
        }
        return rows;
    };
    EXPECT_EQ(harness.Texts(0), withoutUnit(Expected(1, 3, false)));
    EXPECT_EQ(harness.Texts(1), withoutUnit(Expected(4, 3, false)));
    EXPECT_EQ(harness.Texts(2), withoutUnit(Expected(7, 1, true)));
    EXPECT_FALSE(harness.HasTable(3) && harness.Texts(3)[0][0] == "Id");
}

TEST_F(GrowingTableFillTest, ManyPagesAreFilledInOnePass) {
    Template(kSecondTableSlide, 20);
    harness.statement.PageBreak.Rows = 20;
    harness.records = NumberedRecords(10'000);

    ASSERT_TRUE(harness.RunGrowing(kSecondTableSlide).success);

    harness.SaveAndReopen();
    ASSERT_EQ(harness.SlideCount(), 3U + 499U);
    EXPECT_EQ(harness.Texts(kSecondTableSlide + 250), Expected(5001, 20, false));
    EXPECT_EQ(harness.Texts(kSecondTableSlide + 499), Expected(9981, 20, true));
}

struct ReserveCase {
    script::FillOrder order;
    std::int16_t reserve;
    std::int16_t pageBreak;
    int records;
    std::string message;
};

class ReserveConsistencyTest : public GrowingTableFillTest,
                               public ::testing::WithParamInterface<ReserveCase> {};

TEST_P(ReserveConsistencyTest, RefusesBlocksItCannotAdd) {
    const ReserveCase& c = GetParam();
    const TableTexts before{{"0", "@", ""}, {"", "", ""}, {"0", "@", ""}, {"", "", ""}};
    harness.ShapeTable(kSecondTableSlide, before);
    harness.statement.FillOrder = c.order;
    harness.statement.Cells = {"A1"};
    harness.statement.RangeText = c.order == script::FillOrder::Row ? "A1:C2" : "A1:B3";
    harness.statement.Reserve = c.reserve;
    harness.statement.PageBreak.Rows = c.pageBreak;
    harness.records = NumberedRecords(c.records);

    EXPECT_FALSE(harness.RunGrowing(kSecondTableSlide).success);

    EXPECT_TRUE(harness.records.Closed());
    ASSERT_EQ(harness.reporter.errors.size(), 1U);
    EXPECT_EQ(harness.reporter.errors[0], std::make_pair(c.message, std::string()));
    EXPECT_EQ(harness.SlideCount(), 3U);
    EXPECT_EQ(harness.Texts(kSecondTableSlide), before);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ReserveConsistencyTest,
    ::testing::Values(
        ReserveCase{script::FillOrder::Row, 2, 3, 7,
                    "The value \"2\" for parameter RESERVE must be equal to the value \"3\" for "
                    "PAGEBREAK when the length of the range is more then 1 row."},
        ReserveCase{script::FillOrder::Row, 3, 0, 4,
                    "You should add parameter PAGEBREAK or change the value for RESERVE when the "
                    "length of the range is more then 1 row."},
        ReserveCase{script::FillOrder::Col, 1, 0, 2,
                    "You should add parameter PAGEBREAK or change the value for RESERVE when the "
                    "length of the range is more then 1 column."}));

TEST_F(GrowingTableFillTest, TwoRowBlocksFillTheirPreparedPages) {
    harness.ShapeTable(kSecondTableSlide,
                       {{"0", "@"}, {"", "", "sub"}, {"0", "@"}, {"", "", "sub"}, {"end"}});
    harness.statement.Cells = {"A1"};
    harness.statement.RangeText = "A1:C2";
    harness.statement.Reserve = 2;
    harness.statement.PageBreak.Rows = 2;
    harness.records = NumberedRecords(3);

    ASSERT_TRUE(harness.RunGrowing(kSecondTableSlide).success);

    harness.SaveAndReopen();
    EXPECT_EQ(
        harness.Texts(kSecondTableSlide),
        (TableTexts{{"1", "name 1", ""}, {"", "", "sub"}, {"2", "name 2", ""}, {"", "", "sub"}}));
    EXPECT_EQ(harness.Texts(kSecondTableSlide + 1),
              (TableTexts{{"3", "name 3", ""}, {"", "", "sub"}, {"end", "", ""}}));
}

struct NoDataCase {
    NoDataAction action;
    bool tableKept;
    bool slideKept;
    TableTexts texts; // of the table when it is kept
};

class NoDataTest : public GrowingTableFillTest, public ::testing::WithParamInterface<NoDataCase> {};

TEST_P(NoDataTest, DecidesWhatHappensToTheEmptyBlock) {
    const NoDataCase& c = GetParam();
    Template(kSecondTableSlide, 3);
    harness.statement.NoData = c.action;
    harness.records = NumberedRecords(0);

    const TableFillResult result = harness.RunGrowing(kSecondTableSlide);

    EXPECT_TRUE(result.success);
    EXPECT_EQ(harness.reporter.lines,
              std::vector<std::string>{"[t]    Returns 0 record from the data source."});
    EXPECT_EQ(result.slideDeleted, !c.slideKept);
    EXPECT_EQ(result.tableDeleted, c.slideKept && !c.tableKept);
    harness.SaveAndReopen();
    ASSERT_EQ(harness.SlideCount(), c.slideKept ? 3U : 2U);
    if (c.slideKept) {
        ASSERT_EQ(harness.HasTable(kSecondTableSlide), c.tableKept);
        if (c.tableKept) {
            EXPECT_EQ(harness.Texts(kSecondTableSlide), c.texts);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Actions, NoDataTest,
    ::testing::Values(
        NoDataCase{NoDataAction::None,
                   true,
                   true,
                   {{"Id", "Name", "Unit"}, {"", "", "EUR"}, {"Total", "", ""}}},
        NoDataCase{NoDataAction::DelRange, true, true, {{"Id", "Name", "Unit"}, {"Total", "", ""}}},
        NoDataCase{NoDataAction::DelTable, false, true, {}},
        NoDataCase{NoDataAction::DelSlide, false, false, {}}));

TEST_F(GrowingTableFillTest, AddedRowsAreColouredBySign) {
    const std::string format = "0;(0);-";
    harness.ShapeTable(kSecondTableSlide, {{"Amount"}, {format}});
    harness.ColourCell(kSecondTableSlide, 2, 1, 0, format.size(), 0x0000FF);
    harness.ColourCell(kSecondTableSlide, 2, 1, 2, 3, 0xFF0000);
    harness.ColourCell(kSecondTableSlide, 2, 1, 6, 1, 0x808080);
    harness.statement.Cells = {"A2"};
    harness.records = MemoryRecords({131}, {{FieldValue::FromDecimal("-5", 0)},
                                            {FieldValue::FromDecimal("7", 0)},
                                            {FieldValue::FromDecimal("0", 0)}});

    ASSERT_TRUE(harness.RunGrowing(kSecondTableSlide).success);

    harness.SaveAndReopen();
    const TableTexts texts = harness.Texts(kSecondTableSlide);
    EXPECT_EQ((std::vector<std::string>{texts[1][0], texts[2][0], texts[3][0]}),
              (std::vector<std::string>{"(5)", "7", "-"}));
    EXPECT_EQ(harness.TextColour(kSecondTableSlide, 2, 1), 0xFF0000U);
    EXPECT_EQ(harness.TextColour(kSecondTableSlide, 3, 1), 0x0000FFU);
    EXPECT_EQ(harness.TextColour(kSecondTableSlide, 4, 1), 0x808080U);
}

TEST_F(GrowingTableFillTest, EndButtonStopsBetweenPages) {
    Template(kSecondTableSlide, 1);
    harness.statement.PageBreak.Rows = 2;
    harness.records = NumberedRecords(5);
    harness.options.interactive = true;
    harness.reporter.interruptAfterYields = 3;

    EXPECT_FALSE(harness.RunGrowing(kSecondTableSlide).success);

    EXPECT_TRUE(harness.records.Closed());
    EXPECT_EQ(harness.records.Position(), 2U);
    EXPECT_EQ(harness.reporter.progress.back(), "3 / 5");
}

TEST_F(GrowingTableFillTest, RenderedPagesShowTheRecordsInOrder) {
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    Template(kFirstTableSlide, 1);
    harness.statement.PageBreak.Rows = 2;
    harness.records = NumberedRecords(5);
    ASSERT_TRUE(harness.RunGrowing(kFirstTableSlide).success);
    harness.SaveAndReopen();

    const std::string text = render::PdfText(render::RenderToPdf(harness.savedPath));

    std::size_t position = 0;
    for (int k = 1; k <= 5; ++k) {
        const std::size_t found = text.find("name " + std::to_string(k), position);
        ASSERT_NE(found, std::string::npos) << "name " << k << " missing or out of order:\n"
                                            << text;
        position = found;
    }
    EXPECT_EQ(text.find("Total"), text.rfind("Total"));
}

} // namespace
} // namespace slidesmith::fill::testing
