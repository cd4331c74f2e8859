// Charts grown to 1,000 categories, shrunk to one, and a pie coloured point by point, rendered by
// LibreOffice: they must open, show their new data and keep their formatting. Set
// SLIDESMITH_KEEP_RENDERS to a folder to keep the PNG pages for a look by eye.
#include "ChartTestSupport.h"
#include "PackageFiles.h"
#include "TemplateBuilder.h"
#include "render/Render.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace slidesmith::chart {
namespace {

using testtools::ChartShape;

constexpr int kPowerPointFormat = 24;
const char* const kPalette[] = {"C00000", "FFC000", "70AD47", "5B9BD5"};

ChartShape Chart(ChartShape::Kind kind, const std::string& name) {
    ChartShape chart;
    chart.kind = kind;
    chart.name = name;
    chart.box = {914400, 1371600, 8 * 914400, 5 * 914400};
    chart.categories = {"Q1", "Q2", "Q3", "Q4"};
    chart.series = {{"North", {10, 12.5, 9, 14}}};
    if (kind == ChartShape::Kind::Bar)
        chart.series.push_back({"South", {11, 13, 10.25, 15}});
    return chart;
}

// The template builder writes pies without point formatting; this gives every point of every
// pie its own fill and the last point its own label, as a designer's template often has.
void ColourPiePoints(testtools::PartMap& parts) {
    for (auto& [name, bytes] : parts) {
        if (name.find("charts/chart") == std::string::npos || !name.ends_with(".xml"))
            continue;
        pugi::xml_document document;
        document.load_buffer(bytes.data(), bytes.size());
        pugi::xpath_node_set series = document.select_nodes("//c:pieChart/c:ser");
        for (pugi::xpath_node found : series) {
            pugi::xml_node ser = found.node();
            pugi::xml_node before = ser.child("c:cat");
            for (int i = 0; i < 4; ++i) {
                pugi::xml_node point = ser.insert_child_before("c:dPt", before);
                point.append_child("c:idx").append_attribute("val") = i;
                point.append_child("c:bubble3D").append_attribute("val") = 0;
                point.append_child("c:spPr")
                    .append_child("a:solidFill")
                    .append_child("a:srgbClr")
                    .append_attribute("val") = kPalette[i];
            }
            pugi::xml_node labels = ser.insert_child_before("c:dLbls", before);
            pugi::xml_node label = labels.append_child("c:dLbl");
            label.append_child("c:idx").append_attribute("val") = 3;
            for (const char* flag : {"c:showLegendKey", "c:showVal", "c:showCatName",
                                     "c:showSerName", "c:showPercent", "c:showBubbleSize"})
                label.append_child(flag).append_attribute("val") = flag == std::string("c:showVal");
            for (const char* flag : {"c:showLegendKey", "c:showVal", "c:showCatName",
                                     "c:showSerName", "c:showPercent", "c:showBubbleSize"})
                labels.append_child(flag).append_attribute("val") = 0;
        }
        if (!series.empty()) {
            std::ostringstream out;
            document.save(out, "", pugi::format_raw);
            bytes = out.str();
        }
    }
}

void WriteCategories(xlsx::Worksheet& sheet, std::uint32_t count, std::uint32_t seriesCount) {
    for (std::uint32_t row = 2; row <= count + 1; ++row) {
        sheet.SetText(row, 1, "K" + std::to_string(row - 1));
        for (std::uint32_t column = 2; column <= seriesCount + 1; ++column)
            sheet.SetNumber(row, column, 5 + (row * 7 + column * 3) % 20);
    }
}

TEST(ChartRendering, GrownShrunkAndPointColouredChartsOpenInLibreOfficeWithTheirFormatting) {
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    testing::ScratchFolder folder;
    testtools::TemplateDescription description;
    for (auto [kind, name] :
         {std::pair{ChartShape::Kind::Bar, "Bars"}, std::pair{ChartShape::Kind::Line, "Line"},
          std::pair{ChartShape::Kind::Pie, "Pie"}}) {
        testtools::SlideDescription slide{.layout = testtools::Layout::TitleOnly};
        slide.shapes.push_back(Chart(kind, name));
        description.slides.push_back(slide);
    }
    testtools::PartMap parts = testtools::BuildTemplateParts(description);
    ColourPiePoints(parts);
    std::filesystem::path input = folder / "template.pptx";
    testtools::WritePackage(parts, input);

    std::unique_ptr<pptx::Presentation> presentation = pptx::Presentation::Open(input);
    std::vector<std::unique_ptr<ChartObject>> charts = testing::OpenAllCharts(*presentation);
    ASSERT_EQ(charts.size(), 3u);
    xlsx::Worksheet& bars = charts[0]->Workbook().Sheet(1);
    bars.Insert(xlsx::Range::WholeRows(3, 998), xlsx::Shift::Down);
    WriteCategories(bars, 1000, 2);
    xlsx::Worksheet& line = charts[1]->Workbook().Sheet(1);
    line.Delete(xlsx::Range::WholeRows(3, 5), xlsx::Shift::Up);
    WriteCategories(line, 1, 1);
    xlsx::Worksheet& pie = charts[2]->Workbook().Sheet(1);
    pie.Insert(xlsx::Range::WholeRows(3, 5), xlsx::Shift::Down);
    WriteCategories(pie, 7, 1);
    for (auto& chart : charts)
        chart->Save();
    std::filesystem::path output = folder / "charts.pptx";
    presentation->SaveAs(output, kPowerPointFormat);
    EXPECT_EQ(testing::CheckerFindings(output), std::vector<std::string>{});

    testing::SavedCharts before(input), after(output);
    std::vector<std::string> names = after.PartNames();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(after.Cache(names[0], 1, "val").ptCount, 1000);
    EXPECT_EQ(after.Cache(names[1], 0, "cat").values, std::vector<std::string>{"K1"});
    // Formatting stays: series fills and lines are untouched, the pie's points cycle through
    // the template's colours, and the label of a point that still exists survives.
    for (std::size_t part = 0; part < 3; ++part) {
        std::ostringstream was, is;
        before.Series(names[part])[0].child("c:spPr").print(was);
        after.Series(names[part])[0].child("c:spPr").print(is);
        EXPECT_EQ(was.str(), is.str()) << names[part];
    }
    pugi::xml_node pieSeries = after.Series(names[2])[0];
    std::vector<std::string> colours;
    for (pugi::xml_node point : pieSeries.children("c:dPt"))
        colours.push_back(point.select_node(".//a:srgbClr").node().attribute("val").value());
    EXPECT_EQ(colours, (std::vector<std::string>{"C00000", "FFC000", "70AD47", "5B9BD5", "C00000",
                                                 "FFC000", "70AD47"}));
    EXPECT_EQ(pieSeries.child("c:dLbls").child("c:dLbl").child("c:idx").attribute("val").as_int(),
              3);

    std::filesystem::path pdf = render::RenderToPdf(output);
    EXPECT_EQ(render::PdfPageCount(pdf), 3);
    std::string text = render::PdfText(pdf);
    EXPECT_NE(text.find("K7"), std::string::npos) << text; // the pie's legend
    std::vector<std::filesystem::path> pages = render::RenderPngPages(pdf, 60);
    EXPECT_EQ(pages.size(), 3u);
    if (const char* keep = std::getenv("SLIDESMITH_KEEP_RENDERS")) {
        for (const std::filesystem::path& page : pages)
            std::filesystem::copy_file(page, std::filesystem::path(keep) / page.filename(),
                                       std::filesystem::copy_options::overwrite_existing);
    }
}

} // namespace
} // namespace slidesmith::chart
