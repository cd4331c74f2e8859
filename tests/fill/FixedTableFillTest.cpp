#include "TableFillHarness.h"

#include <gtest/gtest.h>

namespace slidesmith::fill::testing {
namespace {

using odbc::FieldValue;

class FixedTableFillTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!harness.Open()) {
            GTEST_SKIP() << "shared fixtures not found";
        }
        harness.statement.TableType = script::TableType::Fix;
        harness.statement.Cells = {"A2"};
    }
    FillHarness harness;
};

TEST_F(FixedTableFillTest, WritesRecordsDownwardsAndLeavesSpareRoomEmpty) {
    harness.ShapeTable(kSecondTableSlide,
                       {{"Id", "Name", "Note"}, {"000", "", "x"}, {"", ""}, {"#0.0", ""}, {}});
    harness.records = NumberedRecords(3);

    const TableFillResult result = harness.RunFixed(kSecondTableSlide);

    EXPECT_TRUE(result.success);
    EXPECT_TRUE(harness.records.Closed());
    EXPECT_EQ(harness.reporter.lines,
              std::vector<std::string>{"[t]    Returns 3 records from the data source."});
    harness.SaveAndReopen();
    // Record 2 finds its cell empty and takes the first record's format; record 3's cell holds
    // its own format text, which wins.
    EXPECT_EQ(harness.Texts(kSecondTableSlide), (TableTexts{{"Id", "Name", "Note"},
                                                            {"001", "name 1", "x"},
                                                            {"002", "name 2", ""},
                                                            {"3.0", "name 3", ""},
                                                            {"", "", ""}}));
}

TEST_F(FixedTableFillTest, ColumnOrderPutsFieldsDownAndRecordsAcross) {
    harness.ShapeTable(kSecondTableSlide, {{"Id", "", ""}, {"Name", "", ""}});
    harness.statement.FillOrder = script::FillOrder::Col;
    harness.statement.Cells = {"B1"};
    harness.records = NumberedRecords(2);

    ASSERT_TRUE(harness.RunFixed(kSecondTableSlide).success);

    harness.SaveAndReopen();
    EXPECT_EQ(harness.Texts(kSecondTableSlide),
              (TableTexts{{"Id", "1", "2"}, {"Name", "name 1", "name 2"}}));
}

TEST_F(FixedTableFillTest, RangeMakesEachRecordTakeTheWholeBlock) {
    harness.ShapeTable(kSecondTableSlide,
                       {{"", "", ""}, {"", "", "sub"}, {"", ""}, {"", "", "sub"}});
    harness.statement.RangeText = "A1:C2";
    harness.statement.Cells = {"A1"};
    harness.records = NumberedRecords(2);

    ASSERT_TRUE(harness.RunFixed(kSecondTableSlide).success);

    harness.SaveAndReopen();
    EXPECT_EQ(
        harness.Texts(kSecondTableSlide),
        (TableTexts{{"1", "name 1", ""}, {"", "", "sub"}, {"2", "name 2", ""}, {"", "", "sub"}}));
}

TEST_F(FixedTableFillTest, MoreRecordsThanRoomFailsAfterWritingThoseThatFit) {
    harness.ShapeTable(kSecondTableSlide, {{"Id", "Name"}, {"0", ""}, {}, {}});
    harness.records = NumberedRecords(5);

    const TableFillResult result = harness.RunFixed(kSecondTableSlide);

    EXPECT_FALSE(result.success);
    EXPECT_TRUE(harness.records.Closed());
    ASSERT_EQ(harness.reporter.errors.size(), 1U);
    EXPECT_EQ(harness.reporter.errors[0].first, "Failed to execute function REPORT.");
    EXPECT_NE(harness.reporter.errors[0].second.find("Slide 3"), std::string::npos)
        << harness.reporter.errors[0].second;
    harness.SaveAndReopen();
    EXPECT_EQ(
        harness.Texts(kSecondTableSlide),
        (TableTexts{
            {"Id", "Name", ""}, {"1", "name 1", ""}, {"2", "name 2", ""}, {"3", "name 3", ""}}));
}

TEST_F(FixedTableFillTest, NoRecordsEmptiesTheFormatTexts) {
    harness.ShapeTable(kSecondTableSlide, {{"Id", "Name", "Note"}, {"000", "@", "x"}});
    harness.records = NumberedRecords(0);

    EXPECT_TRUE(harness.RunFixed(kSecondTableSlide).success);

    EXPECT_EQ(harness.reporter.lines,
              std::vector<std::string>{"[t]    Returns 0 record from the data source."});
    harness.SaveAndReopen();
    EXPECT_EQ(harness.Texts(kSecondTableSlide),
              (TableTexts{{"Id", "Name", "Note"}, {"", "", "x"}}));
}

TEST_F(FixedTableFillTest, CellOutsideTheTableIsReportedBeforeAnythingIsWritten) {
    harness.ShapeTable(kSecondTableSlide, {{"Id", "Name", "Note"}, {"0"}});
    harness.statement.Cells = {"C2"}; // the second field would go to D2
    harness.records = NumberedRecords(1);

    EXPECT_FALSE(harness.RunFixed(kSecondTableSlide).success);

    EXPECT_TRUE(harness.records.Closed());
    ASSERT_EQ(harness.reporter.errors.size(), 1U);
    EXPECT_EQ(harness.reporter.errors[0],
              std::make_pair(std::string("Syntax error. Failed to parse cell 'D2'."),
                             std::string("The cell 'D2' is out of the range of the table.")));
    EXPECT_EQ(harness.Texts(kSecondTableSlide)[1][0], "0");
}

// Negative amounts take the colour of the format's second section; positive ones keep the
// cell's; a zero takes the third section's.
TEST_F(FixedTableFillTest, NumbersTakeTheColourOfTheirFormatSection) {
    const std::string format = "#,##0;(#,##0);\"nil\"";
    harness.ShapeTable(kSecondTableSlide, {{format}, {}, {}});
    harness.ColourCell(kSecondTableSlide, 1, 1, 0, format.size(), 0x112233);
    harness.ColourCell(kSecondTableSlide, 1, 1, 6, 7, 0xFF0000);
    harness.ColourCell(kSecondTableSlide, 1, 1, 14, 5, 0x00AA00);
    harness.statement.Cells = {"A1"};
    harness.records = MemoryRecords({5}, {{FieldValue::FromDouble(1234.0)},
                                          {FieldValue::FromDouble(-5.0)},
                                          {FieldValue::FromDouble(0.0)}});

    ASSERT_TRUE(harness.RunFixed(kSecondTableSlide).success);

    harness.SaveAndReopen();
    const TableTexts texts = harness.Texts(kSecondTableSlide);
    EXPECT_EQ((std::vector<std::string>{texts[0][0], texts[1][0], texts[2][0]}),
              (std::vector<std::string>{"1,234", "(5)", "nil"}));
    EXPECT_EQ(harness.TextColour(kSecondTableSlide, 1, 1), 0x112233U);
    EXPECT_EQ(harness.TextColour(kSecondTableSlide, 2, 1), 0xFF0000U);
    EXPECT_EQ(harness.TextColour(kSecondTableSlide, 3, 1), 0x00AA00U);
}

struct ProgressCase {
    double interval;
    bool interactive;
    std::vector<std::string> lines; // after the count line
    std::size_t shown;              // progress labels on screen
};

class FixedTableProgressTest : public FixedTableFillTest,
                               public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(FixedTableProgressTest, ReportsProgressByMode) {
    const ProgressCase& expected = GetParam();
    TableTexts rows(10, TableTexts::value_type{"0"});
    harness.ShapeTable(kSecondTableSlide, rows);
    harness.statement.Cells = {"A1"};
    harness.records = NumberedRecords(10);
    harness.options.progressInterval = expected.interval;
    harness.options.interactive = expected.interactive;

    ASSERT_TRUE(harness.RunFixed(kSecondTableSlide).success);

    std::vector<std::string> lines = harness.reporter.lines;
    lines.erase(lines.begin());
    EXPECT_EQ(lines, expected.lines);
    EXPECT_EQ(harness.reporter.progress.size(), expected.shown);
    if (expected.shown > 0) {
        EXPECT_EQ(harness.reporter.progress.back(), "10 / 10");
        EXPECT_EQ(harness.reporter.yields, 10);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FixedTableProgressTest,
    ::testing::Values(
        ProgressCase{0.5,
                     false,
                     {"Processing record number 5 of 10...", "Processing record number 10 of 10...",
                      "Process complete."},
                     0},
        ProgressCase{4,
                     false,
                     {"Processing record number 4 of 10...", "Processing record number 8 of 10...",
                      "Process complete."},
                     0},
        ProgressCase{0, false, {}, 0}, ProgressCase{0, true, {}, 10},
        // -I also applies to an interactive run, which shows progress on screen instead.
        ProgressCase{0.5, true, {"Process complete."}, 10}));

TEST_F(FixedTableFillTest, EndButtonStopsAtTheNextRecord) {
    harness.ShapeTable(kSecondTableSlide, {{"0"}, {}, {}, {}});
    harness.statement.Cells = {"A1"};
    harness.records = NumberedRecords(4);
    harness.options.interactive = true;
    harness.reporter.interruptAfterYields = 3;

    EXPECT_FALSE(harness.RunFixed(kSecondTableSlide).success);

    EXPECT_TRUE(harness.records.Closed());
    EXPECT_TRUE(harness.reporter.errors.empty());
    const TableTexts texts = harness.Texts(kSecondTableSlide);
    EXPECT_EQ((std::vector<std::string>{texts[0][0], texts[1][0], texts[2][0]}),
              (std::vector<std::string>{"1", "2", ""}));
}

} // namespace
} // namespace slidesmith::fill::testing
