// Growing and shrinking the data of charts made by the template builder, through the workbook
// (embedded charts) and the datasheet (cache-only charts).
#include "ChartTestSupport.h"
#include "platform/chart/ChartError.h"

#include <gtest/gtest.h>

namespace slidesmith::chart {
namespace {

using testing::OpenChart;
using testing::SavedCharts;
using testtools::ChartShape;

std::filesystem::path WriteChartTemplate(const testing::ScratchFolder& folder,
                                         const ChartShape& chart) {
    return testing::WriteChartTemplate(folder / "template.pptx", chart);
}

ChartShape QuarterlyBars(ChartShape::Kind kind = ChartShape::Kind::Bar) {
    ChartShape chart;
    chart.kind = kind;
    chart.box = {914400, 1371600, 6 * 914400, 4 * 914400};
    chart.categories = {"Q1", "Q2", "Q3", "Q4"};
    chart.series = {{"2025", {10, 12.5, 9, 14}}, {"2026", {11, 13, 10.25, 15}}};
    chart.numberFormat = "0.0";
    return chart;
}

std::string PartOf(const SavedCharts& saved) {
    return saved.PartNames().at(0);
}

TEST(TemplateChart, RowsInsertedInsideTheSeriesStretchEveryReferenceAndCache) {
    testing::ScratchFolder folder;
    testing::OpenedChart opened = OpenChart(WriteChartTemplate(folder, QuarterlyBars()));
    xlsx::Worksheet& sheet = opened.chart->Workbook().Sheet(1);
    sheet.Insert(xlsx::Range::WholeRows(3, 5), xlsx::Shift::Down); // 3 rows after the first
    for (std::uint32_t row = 2; row <= 8; ++row) {
        sheet.SetText(row, 1, "C" + std::to_string(row));
        sheet.SetNumber(row, 2, row * 1.5);
        sheet.SetNumber(row, 3, row * 2.0);
    }
    SavedCharts saved(testing::SaveChecked(opened, folder / "out.pptx"));
    testing::SavedCache categories = saved.Cache(PartOf(saved), 0, "cat");
    testing::SavedCache values = saved.Cache(PartOf(saved), 1, "val");
    EXPECT_EQ(categories.formula, "Sheet1!$A$2:$A$8");
    EXPECT_EQ(values.formula, "Sheet1!$C$2:$C$8");
    ASSERT_EQ(values.ptCount, 7);
    EXPECT_EQ(values.values.front(), "4");
    EXPECT_EQ(values.values.back(), "16");
    EXPECT_EQ(categories.values[6], "C8");
    EXPECT_EQ(values.formatCode, "0.0");
}

TEST(TemplateChart, DeletingTheFirstSampleBlockToTheLeftLeavesTheSecondSeries) {
    testing::ScratchFolder folder;
    testing::OpenedChart opened = OpenChart(WriteChartTemplate(folder, QuarterlyBars()));
    xlsx::Worksheet& sheet = opened.chart->Workbook().Sheet(1);
    // Only the data cells of series 1 go; the names in row 1 stay where they are.
    sheet.Delete(xlsx::Range::Cells(2, 2, 5, 2), xlsx::Shift::Left);
    EXPECT_EQ(opened.chart->SeriesFormulas(),
              std::vector<std::string>{"=SERIES(Sheet1!$C$1,Sheet1!$A$2:$A$5,Sheet1!$B$2:$B$5,1)"});
    SavedCharts saved(testing::SaveChecked(opened, folder / "out.pptx"));
    EXPECT_EQ(saved.Cache(PartOf(saved), 0, "val").values,
              (std::vector<std::string>{"11", "13", "10.25", "15"}));
}

TEST(TemplateChart, DatasheetWritesExtendCategoriesAndCloneSeries) {
    testing::ScratchFolder folder;
    ChartShape chart = QuarterlyBars(ChartShape::Kind::Line);
    chart.embeddedWorkbook = false;
    testing::OpenedChart opened = OpenChart(WriteChartTemplate(folder, chart));
    ASSERT_FALSE(opened.chart->HasEmbeddedWorkbook());
    Datasheet& datasheet = opened.chart->Datasheet();
    EXPECT_EQ(datasheet.RowCount(), 5);
    EXPECT_EQ(datasheet.ColumnCount(), 3);
    EXPECT_EQ(datasheet.Cell(1, 2).text, "2025");
    EXPECT_EQ(datasheet.Cell(3, 3).number, 13);
    datasheet.SetCell(7, 2, CellValue{CellValue::Type::Number, 99, {}, false});
    datasheet.SetCell(1, 4, CellValue{CellValue::Type::Text, 0, "2027", false});
    datasheet.SetCell(2, 4, CellValue{CellValue::Type::Number, 5, {}, false});
    EXPECT_THROW(datasheet.SetCell(4001, 2, CellValue{}), ChartError);
    datasheet.Update();
    SavedCharts saved(testing::SaveChecked(opened, folder / "out.pptx"));
    ASSERT_EQ(saved.SeriesCount(PartOf(saved)), 3u);
    testing::SavedCache first = saved.Cache(PartOf(saved), 0, "val");
    EXPECT_EQ(first.ptCount, 6);
    EXPECT_EQ(first.values, (std::vector<std::string>{"10", "12.5", "9", "14", "", "99"}));
    testing::SavedCache added = saved.Cache(PartOf(saved), 2, "val");
    EXPECT_EQ(added.formula, "Sheet1!$D$2:$D$7");
    EXPECT_EQ(added.values.front(), "5");
    EXPECT_EQ(saved.Cache(PartOf(saved), 2, "tx").values, std::vector<std::string>{"2027"});
}

} // namespace
} // namespace slidesmith::chart
