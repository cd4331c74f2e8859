#include "SampleTemplates.h"

#include <string>

namespace slidesmith::testtools {
namespace {

constexpr std::int64_t kInch = kEmuPerInch;

SlideDescription TableSlide() {
    SlideDescription slide{.layout = Layout::TitleAndContent};
    slide.shapes.push_back(PlaceholderShape{PlaceholderShape::Type::Title, "", "Sales by Region"});
    TableShape table = TableShape::Grid("Sales", 4, 3, kInch / 2, kInch * 16 / 10);
    table.columnWidths = {3 * kInch, 2 * kInch, 2 * kInch};
    const TextFormat bold{0, true, ""};
    const TextFormat red{0, false, "FF0000"};
    table.cells = {
        {{"Region", bold}, {"Revenue", bold}, {"Change", bold}},
        {{"North", {}}, {"1,234", {}}, {"#,##0;[Red]-#,##0", red}},
        {{"South", {}}, {"987", {1400, false, ""}}, {"-55", red}},
        {{"Total", bold, 2, 1}, {}, {"2,221", {0, false, "000000"}}},
    };
    slide.shapes.push_back(table);
    slide.shapes.push_back(TextShape{"Note",
                                     {kInch / 2, kInch * 65 / 10, 6 * kInch, kInch * 4 / 10},
                                     "Source: ERP export",
                                     {1200, false, "595959"}});
    return slide;
}

SlideDescription ChartSlide() {
    SlideDescription slide{.layout = Layout::TitleOnly};
    slide.shapes.push_back(PlaceholderShape{PlaceholderShape::Type::Title, "", "Charts"});
    ChartShape bar;
    bar.name = "Revenue";
    bar.box = {kInch / 2, kInch * 3 / 2, 4 * kInch, 3 * kInch};
    bar.categories = {"Q1", "Q2", "Q3", "Q4"};
    bar.series = {{"2025", {10, 12.5, 9, 14}}, {"2026", {11, 13, 10.25, 15}}};
    ChartShape line;
    line.name = "Trend";
    line.kind = ChartShape::Kind::Line;
    line.box = {5 * kInch, kInch * 3 / 2, 4 * kInch, 3 * kInch};
    line.categories = {"Jan", "Feb", "Mar"};
    line.series = {{"Visitors", {120, 150, 90}}};
    line.embeddedWorkbook = false;
    ChartShape pie;
    pie.name = "Share";
    pie.kind = ChartShape::Kind::Pie;
    pie.box = {kInch * 92 / 10, kInch * 3 / 2, kInch * 7 / 2, 3 * kInch};
    pie.categories = {"A", "B", "C"};
    pie.series = {{"Share", {50, 30, 20}}};
    pie.sheetName = "Data Sheet";
    slide.shapes.insert(slide.shapes.end(), {bar, line, pie});
    return slide;
}

} // namespace

TemplateDescription SampleReportTemplate() {
    TemplateDescription description;
    description.title = "Quarterly report template";
    SlideDescription cover{.layout = Layout::TitleSlide};
    cover.shapes.push_back(
        PlaceholderShape{PlaceholderShape::Type::CenteredTitle, "", "Quarterly Report"});
    cover.shapes.push_back(
        PlaceholderShape{PlaceholderShape::Type::Subtitle, "", "Prepared by Slidesmith"});
    SlideDescription pictures{.layout = Layout::Blank};
    const PictureShape logo{
        "Logo", {10 * kInch, kInch * 3 / 10, kInch * 3 / 2, kInch * 3 / 4}, 40, 20, "C00000"};
    PictureShape logo2 = logo;
    logo2.name = "Logo2";
    logo2.box.y = kInch * 13 / 10;
    pictures.shapes = {logo, logo2,
                       TextShape{"Footer",
                                 {kInch / 2, kInch * 68 / 10, 5 * kInch, kInch * 4 / 10},
                                 "Confidential\nSecond line",
                                 {0, true, ""}}};
    description.slides = {cover, TableSlide(), ChartSlide(), pictures};
    description.slides[1].notes = "Figures come from the ERP export.\nCheck the totals.";
    description.slides[2].notes = "Charts are refreshed monthly.";
    description.sections = {{"Cover", 1}, {"Figures", 3}, {"Empty", 0}};
    return description;
}

TemplateDescription SingleTableTemplate(int rows, int columns) {
    TemplateDescription description;
    SlideDescription slide{.layout = Layout::TitleAndContent};
    TableShape table = TableShape::Grid("Table 1", rows, columns);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            table.Cell(r, c).text = "R" + std::to_string(r + 1) + "C" + std::to_string(c + 1);
        }
    }
    slide.shapes.push_back(table);
    description.slides.push_back(slide);
    return description;
}

} // namespace slidesmith::testtools
