// Charts of 10,000 categories through the workbook, and as many as the datasheet holds through
// the datasheet: every point arrives and the caches end where the data ends. (Their timing is
// measured by the chart job benchmark; here only the results count.)
#include "ChartTestSupport.h"

#include <gtest/gtest.h>

namespace slidesmith::chart {
namespace {

constexpr std::uint32_t kCategories = 10000;

std::filesystem::path WriteTemplate(const testing::ScratchFolder& folder, bool workbook) {
    testtools::ChartShape chart;
    chart.categories = {"A", "B"};
    chart.series = {{"One", {1, 2}}, {"Two", {3, 4}}};
    chart.embeddedWorkbook = workbook;
    return testing::WriteChartTemplate(folder / "template.pptx", chart);
}

void ExpectFullCaches(const std::filesystem::path& output, std::uint32_t count) {
    testing::SavedCharts saved(output);
    std::string part = saved.PartNames().at(0);
    testing::SavedCache values = saved.Cache(part, 1, "val");
    testing::SavedCache categories = saved.Cache(part, 0, "cat");
    ASSERT_EQ(values.ptCount, count);
    EXPECT_EQ(values.values.back(), std::to_string(2 * count));
    EXPECT_EQ(categories.values.back(), "K" + std::to_string(count));
}

TEST(LargeChart, TenThousandCategoriesThroughTheWorkbook) {
    testing::ScratchFolder folder;
    testing::OpenedChart opened = testing::OpenChart(WriteTemplate(folder, true));
    xlsx::Worksheet& sheet = opened.chart->Workbook().Sheet(1);
    sheet.Insert(xlsx::Range::WholeRows(3, kCategories), xlsx::Shift::Down);
    for (std::uint32_t i = 1; i <= kCategories; ++i) {
        sheet.SetText(i + 1, 1, "K" + std::to_string(i));
        sheet.SetNumber(i + 1, 2, i);
        sheet.SetNumber(i + 1, 3, 2.0 * i);
    }
    opened.chart->Save();
    std::filesystem::path output = folder / "out.pptx";
    opened.presentation->SaveAs(output, 24);
    ExpectFullCaches(output, kCategories);
    EXPECT_EQ(testing::CheckerFindings(output), std::vector<std::string>{});
}

TEST(LargeChart, AFullDatasheetOfCategories) {
    constexpr int kRows = Datasheet::kLimit - 1; // the header row takes one
    testing::ScratchFolder folder;
    testing::OpenedChart opened = testing::OpenChart(WriteTemplate(folder, false));
    Datasheet& datasheet = opened.chart->Datasheet();
    for (int i = 1; i <= kRows; ++i) {
        datasheet.SetCell(i + 1, 1, CellValue{CellValue::Type::Text, 0, "K" + std::to_string(i)});
        datasheet.SetCell(i + 1, 2, CellValue{CellValue::Type::Number, double(i), {}});
        datasheet.SetCell(i + 1, 3, CellValue{CellValue::Type::Number, 2.0 * i, {}});
    }
    datasheet.Update();
    opened.chart->Save();
    std::filesystem::path output = folder / "out.pptx";
    opened.presentation->SaveAs(output, 24);
    ExpectFullCaches(output, kRows);
    EXPECT_EQ(testing::CheckerFindings(output), std::vector<std::string>{});
}

} // namespace
} // namespace slidesmith::chart
