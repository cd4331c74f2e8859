#include "TableFillHarness.h"

#include <gtest/gtest.h>

namespace slidesmith::fill::testing {
namespace {

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

// The run scenarios refuse two-row blocks; a block of two columns takes the column wording.
TEST_F(GrowingTableFillTest, RefusesColumnBlocksItCannotAdd) {
    const TableTexts before{{"0", "@", ""}, {"", "", ""}, {"0", "@", ""}, {"", "", ""}};
    harness.ShapeTable(kSecondTableSlide, before);
    harness.statement.FillOrder = script::FillOrder::Col;
    harness.statement.Cells = {"A1"};
    harness.statement.RangeText = "A1:B3";
    harness.statement.Reserve = 1;
    harness.records = NumberedRecords(2);

    EXPECT_FALSE(harness.RunGrowing(kSecondTableSlide).success);

    EXPECT_TRUE(harness.records.Closed());
    ASSERT_EQ(harness.reporter.errors.size(), 1U);
    EXPECT_EQ(harness.reporter.errors[0],
              std::make_pair(std::string("You should add parameter PAGEBREAK or change the value "
                                         "for RESERVE when the length of the range is more then 1 "
                                         "column."),
                             std::string()));
    EXPECT_EQ(harness.SlideCount(), 3U);
    EXPECT_EQ(harness.Texts(kSecondTableSlide), before);
}

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

} // namespace
} // namespace slidesmith::fill::testing
