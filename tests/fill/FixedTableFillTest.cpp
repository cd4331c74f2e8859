#include "TableFillHarness.h"

#include <gtest/gtest.h>

namespace slidesmith::fill::testing {
namespace {

using odbc::FieldValue;
using script::FillOrder;

class FixedTableFillTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!harness.Open()) {
            GTEST_SKIP() << "shared fixtures not found";
        }
        harness.statement.TableType = script::TableType::Fix;
    }
    FillHarness harness;
};

struct LayoutCase {
    const char* name;
    FillOrder order;
    std::string cell;
    std::string range;
    int records;
    TableTexts before;
    TableTexts after;
};

class FixedTableLayoutTest : public FixedTableFillTest,
                             public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(FixedTableLayoutTest, WritesRecordsBlockAfterBlock) {
    const LayoutCase& c = GetParam();
    harness.ShapeTable(kSecondTableSlide, c.before);
    harness.statement.FillOrder = c.order;
    harness.statement.Cells = {c.cell};
    harness.statement.RangeText = c.range;
    harness.records = NumberedRecords(c.records);

    EXPECT_TRUE(harness.RunFixed(kSecondTableSlide).success);

    EXPECT_TRUE(harness.records.Closed());
    EXPECT_EQ(harness.reporter.lines,
              std::vector<std::string>{"[t]    Returns " + std::to_string(c.records) +
                                       (c.records > 1 ? " records" : " record") +
                                       " from the data source."});
    harness.SaveAndReopen();
    EXPECT_EQ(harness.Texts(kSecondTableSlide), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FixedTableLayoutTest,
    ::testing::Values(
        // Record 2 finds its cell empty and takes the first record's format; record 3's cell
        // holds its own format text, which wins. The spare row stays empty.
        LayoutCase{"RowsWithRoomToSpare",
                   FillOrder::Row,
                   "A2",
                   "",
                   3,
                   {{"Id", "Name", "Note"}, {"000", "", "x"}, {}, {"#0.0"}, {}},
                   {{"Id", "Name", "Note"},
                    {"001", "name 1", "x"},
                    {"002", "name 2", ""},
                    {"3.0", "name 3", ""},
                    {"", "", ""}}},
        LayoutCase{"ColumnsAcross",
                   FillOrder::Col,
                   "B1",
                   "",
                   2,
                   {{"Id"}, {"Name"}},
                   {{"Id", "1", "2"}, {"Name", "name 1", "name 2"}}},
        LayoutCase{"RangeBlocks",
                   FillOrder::Row,
                   "A1",
                   "A1:C2",
                   2,
                   {{}, {"", "", "sub"}, {}, {"", "", "sub"}},
                   {{"1", "name 1", ""}, {"", "", "sub"}, {"2", "name 2", ""}, {"", "", "sub"}}}),
    [](const auto& test) { return std::string(test.param.name); });

// Negative amounts take the colour of the format's second section, zeros the third's; positive
// ones keep the cell's.
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
};

class FixedTableProgressTest : public FixedTableFillTest,
                               public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(FixedTableProgressTest, ReportsProgressByMode) {
    const ProgressCase& c = GetParam();
    harness.ShapeTable(kSecondTableSlide, TableTexts(10, TableTexts::value_type{"0"}));
    harness.statement.Cells = {"A1"};
    harness.records = NumberedRecords(10);
    harness.options.progressInterval = c.interval;
    harness.options.interactive = c.interactive;

    ASSERT_TRUE(harness.RunFixed(kSecondTableSlide).success);

    EXPECT_EQ(
        std::vector<std::string>(harness.reporter.lines.begin() + 1, harness.reporter.lines.end()),
        c.lines);
    EXPECT_EQ(harness.reporter.progress.size(), c.interactive ? 10U : 0U);
    EXPECT_EQ(harness.reporter.yields, c.interactive ? 10 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FixedTableProgressTest,
    ::testing::Values(ProgressCase{0.5,
                                   false,
                                   {"Processing record number 5 of 10...",
                                    "Processing record number 10 of 10...", "Process complete."}},
                      ProgressCase{0, false, {}},
                      // On screen instead of in the log; -I still ends with the last line.
                      ProgressCase{0.5, true, {"Process complete."}}));

TEST_F(FixedTableFillTest, EndButtonStopsAtTheNextRecord) {
    harness.ShapeTable(kSecondTableSlide, {{"0"}, {}, {}, {}});
    harness.statement.Cells = {"A1"};
    harness.records = NumberedRecords(4);
    harness.options.interactive = true;
    harness.reporter.interruptAfterYields = 3;

    EXPECT_FALSE(harness.RunFixed(kSecondTableSlide).success);

    EXPECT_TRUE(harness.records.Closed());
    EXPECT_TRUE(harness.reporter.errors.empty());
    EXPECT_EQ(harness.reporter.progress, (std::vector<std::string>{"1 / 4", "2 / 4", "3 / 4"}));
    const TableTexts texts = harness.Texts(kSecondTableSlide);
    EXPECT_EQ((std::vector<std::string>{texts[1][0], texts[2][0]}),
              (std::vector<std::string>{"2", ""}));
}

} // namespace
} // namespace slidesmith::fill::testing
