#include "PresentationReader.h"

#include "SampleTemplates.h"
#include "TemplateBuilder.h"
#include "TestToolError.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::testtools {
namespace {

using Kind = ShapeView::Kind;

TEST(PresentationReader, ReadsBackWhatTheBuilderWrote) {
    const PresentationReader reader(BuildTemplateParts(SampleReportTemplate()));
    ASSERT_EQ(reader.SlideCount(), 4U);

    std::vector<std::pair<std::string, Kind>> shapes;
    for (const ShapeView& shape : reader.Shapes(3)) {
        shapes.emplace_back(shape.name, shape.kind);
    }
    EXPECT_EQ(shapes, (std::vector<std::pair<std::string, Kind>>{{"Title 1", Kind::Placeholder},
                                                                 {"Revenue", Kind::Chart},
                                                                 {"Trend", Kind::Chart},
                                                                 {"Share", Kind::Chart}}));
    EXPECT_EQ(reader.Shape(1, "Title 1").text, "Quarterly Report");
    EXPECT_EQ(reader.Shape(4, "Footer").text, "Confidential\nSecond line");
    EXPECT_EQ(reader.Shape(4, "Logo2").box.y, kEmuPerInch * 13 / 10);

    const TableView table = reader.Table(2, "Sales");
    ASSERT_EQ(table.cells.size(), 4U);
    EXPECT_EQ(table.cells[1][2].text, "#,##0;[Red]-#,##0");
    EXPECT_EQ(table.cells[1][2].colour, "FF0000");
    EXPECT_TRUE(table.cells[0][0].bold);
    EXPECT_EQ(table.cells[3][0].gridSpan, 2);
    EXPECT_TRUE(table.cells[3][1].hMerge);
    EXPECT_EQ(table.frame.cx, 7 * kEmuPerInch);

    const ChartView bar = reader.Chart(3, "Revenue");
    EXPECT_TRUE(bar.hasEmbeddedWorkbook);
    EXPECT_EQ(bar.categories, (std::vector<std::string>{"Q1", "Q2", "Q3", "Q4"}));
    ASSERT_EQ(bar.series.size(), 2U);
    EXPECT_EQ(bar.series[1].name, "2026");
    EXPECT_EQ(bar.series[1].values, (std::vector<double>{11, 13, 10.25, 15}));
    EXPECT_FALSE(reader.Chart(3, "Trend").hasEmbeddedWorkbook);

    EXPECT_EQ(reader.Notes(2), "Figures come from the ERP export.\nCheck the totals.");
    EXPECT_EQ(reader.Notes(1), "");
    const auto sections = reader.Sections();
    ASSERT_EQ(sections.size(), 3U);
    EXPECT_EQ(sections[1].first, "Figures");
    EXPECT_EQ(sections[1].second, (std::vector<std::size_t>{2, 3, 4}));
    EXPECT_TRUE(sections[2].second.empty());

    EXPECT_THROW(reader.Shape(2, "Nope"), TestToolError);
    EXPECT_THROW(reader.Shapes(5), TestToolError);
    EXPECT_THROW(reader.Table(2, "Note"), TestToolError);
}

// The reader must agree with PowerPoint's own files, not only with the builder.
TEST(PresentationReader, ReadsPresentationsSavedByPowerPoint) {
    const std::filesystem::path folder = std::filesystem::path(SLIDESMITH_SHARED_FIXTURES) / "real";
    if (!std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no real presentations in " << folder;
    }
    const PresentationReader groups(folder / "named-textboxes-groups-ppt2016.pptx");
    EXPECT_EQ(groups.Shape(1, "RotationTextBox").text, "Rotation");
    std::vector<std::string> grouped;
    for (const ShapeView& shape : groups.Shapes(2)) {
        if (shape.depth == 1) {
            grouped.push_back(shape.name);
        }
    }
    EXPECT_EQ(grouped, (std::vector<std::string>{"Rectangle 1", "TextBox 2", "Smiley Face 5",
                                                 "Rectangle 8", "TextBox 9", "Smiley Face 10"}));

    const PresentationReader potx(folder / "template-financial-performance-ppt2007.potx");
    ASSERT_EQ(potx.SlideCount(), 7U);
    const TableView table = potx.Table(3, "Table 3");
    EXPECT_EQ(table.cells.size(), 8U);
    EXPECT_EQ(table.columnWidths.size(), 3U);
    EXPECT_EQ(table.cells[0][0].text, "(In millions)");
    EXPECT_EQ(potx.Notes(3), "") << "its notes slides hold only slide numbers";
    const PresentationReader notes(folder / "named-placeholders-notes-ppt2016.pptx");
    EXPECT_EQ(notes.Notes(1).rfind("I am the notes of the first slide", 0), 0U) << notes.Notes(1);
    EXPECT_EQ(notes.Shape(1, "The Title").text, "Title of the first slide");

    const PresentationReader charts(folder / "charts-named-pie3d-bar3d-ppt2016.pptx");
    const ChartView pie = charts.Chart(2, "PIE_CHART");
    EXPECT_TRUE(pie.hasEmbeddedWorkbook);
    ASSERT_EQ(pie.series.size(), 1U);
    EXPECT_EQ(pie.series[0].name, "Sales");
    EXPECT_EQ(pie.categories,
              (std::vector<std::string>{"1st Qtr", "2nd Qtr", "3rd Qtr", "4th Qtr"}));
    EXPECT_EQ(pie.series[0].values, (std::vector<double>{80, 32, 14, 12}));
}

// Files from every producer in the fixtures: each slide's shapes, tables and charts read without
// an exception, and every table has a width per column and a height per row.
TEST(PresentationReader, ReadsEveryShapeOfEveryRealFile) {
    const std::filesystem::path folder = std::filesystem::path(SLIDESMITH_SHARED_FIXTURES) / "real";
    if (!std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no real presentations in " << folder;
    }
    std::size_t tables = 0;
    std::size_t charts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".pptx" && extension != ".potx") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        const PresentationReader reader(entry.path());
        for (std::size_t slide = 1; slide <= reader.SlideCount(); ++slide) {
            for (const ShapeView& shape : reader.Shapes(slide)) {
                if (shape.kind == ShapeView::Kind::Table && shape.depth == 0) {
                    const TableView table = reader.Table(slide, shape.name);
                    EXPECT_EQ(table.rowHeights.size(), table.cells.size()) << shape.name;
                    ++tables;
                } else if (shape.kind == ShapeView::Kind::Chart && shape.depth == 0) {
                    const ChartView chart = reader.Chart(slide, shape.name);
                    for (const ChartSeries& series : chart.series) {
                        EXPECT_FALSE(series.values.empty()) << shape.name << " " << series.name;
                    }
                    ++charts;
                }
            }
        }
    }
    EXPECT_GT(tables, 20U);
    EXPECT_GT(charts, 20U);
}

} // namespace
} // namespace slidesmith::testtools
