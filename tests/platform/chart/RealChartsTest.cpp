// Every native chart of the real presentations: grown and shrunk through its workbook, or
// extended through its datasheet, then saved and judged by the independent package checker,
// which also compares every cache with the workbook cells its formula names.
#include "../pptx/PackageTestSupport.h"
#include "ChartTestSupport.h"
#include "platform/chart/SeriesReference.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/wait.h>

namespace slidesmith::chart {
namespace {

constexpr int kPowerPointFormat = 24;

enum class Resize { Grow, Shrink };

// The values area of a series formula's third argument, when it is one plain area.
std::optional<SeriesArea> ValuesArea(ChartModel& model, pugi::xml_node series) {
    std::optional<SeriesReference> reference =
        SeriesReference::Parse(model.ValuesOf(series).Formula());
    if (!reference || reference->Areas().size() != 1 || !reference->Areas()[0].area)
        return std::nullopt;
    return reference->Areas()[0];
}

// Inserts three lines after the first point of the first series, or deletes all but its first
// point, then writes a number into every value cell of every series.
void ResizeThroughWorkbook(ChartObject& chart, Resize resize) {
    ChartModel& model = chart.Model();
    if (model.SeriesCount() == 0)
        return; // a chart whose series were all removed in the template
    std::optional<SeriesArea> first = ValuesArea(model, model.Series().front());
    if (first) {
        xlsx::Worksheet* sheet = chart.Workbook().FindSheet(first->sheet);
        ASSERT_NE(sheet, nullptr) << first->sheet;
        const xlsx::Range& area = *first->area;
        bool down = model.RunsInColumns(model.Series().front());
        std::uint32_t start = (down ? area.Row() : area.Column()) + 1;
        std::uint32_t end = down ? area.LastRow() : area.LastColumn();
        if (resize == Resize::Grow) {
            sheet->Insert(down ? xlsx::Range::WholeRows(start, start + 2)
                               : xlsx::Range::WholeColumns(start, start + 2),
                          down ? xlsx::Shift::Down : xlsx::Shift::Right);
        } else if (end >= start) {
            sheet->Delete(down ? xlsx::Range::WholeRows(start, end)
                               : xlsx::Range::WholeColumns(start, end),
                          down ? xlsx::Shift::Up : xlsx::Shift::Left);
        }
    }
    double next = 1;
    for (pugi::xml_node series : model.Series()) {
        std::optional<SeriesArea> values = ValuesArea(model, series);
        if (!values)
            continue;
        xlsx::Worksheet* sheet = chart.Workbook().FindSheet(values->sheet);
        for (std::uint32_t row = values->area->Row(); row <= values->area->LastRow(); ++row) {
            for (std::uint32_t column = values->area->Column();
                 column <= values->area->LastColumn(); ++column)
                sheet->SetNumber(row, column, next++ * 1.25);
        }
    }
}

// What the checker reports for the output beyond what it reported for the input: some real
// files come with faults of their own (duplicate shape ids, stray parts, stale caches).
std::vector<std::string> NewFindings(const std::filesystem::path& input,
                                     const std::filesystem::path& output) {
    std::vector<std::string> before = testing::CheckerFindings(input);
    std::vector<std::string> fresh;
    for (std::string& finding : testing::CheckerFindings(output)) {
        if (std::find(before.begin(), before.end(), finding) == before.end())
            fresh.push_back(std::move(finding));
    }
    return fresh;
}

std::vector<std::filesystem::path> ChartPackages() {
    std::vector<std::filesystem::path> found;
    for (const std::filesystem::path& path : pptx::testing::RealPackages()) {
        testing::SavedCharts saved(path);
        if (!saved.PartNames().empty())
            found.push_back(path);
    }
    return found;
}

TEST(RealCharts, EveryEmbeddedChartGrowsAndShrinksWithCachesEqualToItsCells) {
    std::vector<std::filesystem::path> packages = ChartPackages();
    if (packages.empty())
        GTEST_SKIP() << "no shared fixtures";
    testing::ScratchFolder folder;
    int charts = 0;
    std::vector<std::filesystem::path> outputs;
    for (const std::filesystem::path& path : packages) {
        for (Resize resize : {Resize::Grow, Resize::Shrink}) {
            SCOPED_TRACE(path.filename().string() +
                         (resize == Resize::Grow ? " grown" : " shrunk"));
            std::unique_ptr<pptx::Presentation> presentation = pptx::Presentation::Open(path);
            std::vector<std::unique_ptr<ChartObject>> opened =
                testing::OpenAllCharts(*presentation);
            for (std::unique_ptr<ChartObject>& chart : opened) {
                if (!chart->HasEmbeddedWorkbook())
                    continue;
                SCOPED_TRACE(chart->PartName());
                ResizeThroughWorkbook(*chart, resize);
                chart->Save();
                ++charts;
            }
            std::filesystem::path output =
                folder /
                (path.stem().string() + (resize == Resize::Grow ? "-grown" : "-shrunk") + ".pptx");
            presentation->SaveAs(output, kPowerPointFormat);
            EXPECT_EQ(NewFindings(path, output), std::vector<std::string>{});
            outputs.push_back(output);
            if (const char* keep = std::getenv("SLIDESMITH_KEEP_RENDERS"))
                std::filesystem::copy_file(output, std::filesystem::path(keep) / output.filename(),
                                           std::filesystem::copy_options::overwrite_existing);
        }
    }
    EXPECT_GE(charts, 2 * 25);
    // A second opinion from an independent spreadsheet reader on every saved workbook.
    std::string command = "/usr/bin/python3 '" + std::string(SLIDESMITH_SERIES_CELLS_SCRIPT) + "'";
    for (const std::filesystem::path& output : outputs)
        command += " '" + output.string() + "'";
    int status = std::system(
        (command + " > '" + (folder / "differences.txt").string() + "' 2>/dev/null").c_str());
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "openpyxl is not installed";
    std::ifstream differences(folder / "differences.txt");
    std::string text((std::istreambuf_iterator<char>(differences)),
                     std::istreambuf_iterator<char>());
    EXPECT_EQ(status, 0) << text;
}

TEST(RealCharts, EveryDatasheetChartTakesANewCategoryAndDropsItsLink) {
    std::vector<std::filesystem::path> packages = ChartPackages();
    if (packages.empty())
        GTEST_SKIP() << "no shared fixtures";
    testing::ScratchFolder folder;
    int charts = 0;
    for (const std::filesystem::path& path : packages) {
        SCOPED_TRACE(path.filename().string());
        std::unique_ptr<pptx::Presentation> presentation = pptx::Presentation::Open(path);
        std::vector<std::unique_ptr<ChartObject>> opened = testing::OpenAllCharts(*presentation);
        for (std::unique_ptr<ChartObject>& chart : opened) {
            if (chart->HasEmbeddedWorkbook())
                continue;
            SCOPED_TRACE(chart->PartName());
            Datasheet& datasheet = chart->Datasheet();
            int row = datasheet.SeriesInColumns() ? datasheet.RowCount() + 1 : 2;
            int column = datasheet.SeriesInColumns() ? 2 : datasheet.ColumnCount() + 1;
            datasheet.SetCell(row, column, CellValue{CellValue::Type::Number, 77, {}, false});
            datasheet.SetCell(2, 2, CellValue{CellValue::Type::Number, 1.5, {}, false});
            chart->Save();
            EXPECT_FALSE(chart->HasExternalLink());
            ++charts;
        }
        std::filesystem::path output = folder / "out.pptx";
        presentation->SaveAs(output, kPowerPointFormat);
        EXPECT_EQ(NewFindings(path, output), std::vector<std::string>{});
    }
    EXPECT_GE(charts, 9);
}

} // namespace
} // namespace slidesmith::chart
