#include "TemplateBuilder.h"

#include "ChartParts.h"
#include "SampleTemplates.h"
#include "TestToolError.h"

#include <cstring>
#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace slidesmith::testtools {
namespace {

pugi::xml_document Parse(const std::string& bytes) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_buffer(bytes.data(), bytes.size()));
    return document;
}

std::vector<pugi::xml_node> All(const pugi::xml_document& document, const char* name) {
    std::vector<pugi::xml_node> nodes;
    for (const pugi::xpath_node& hit : document.select_nodes((std::string("//") + name).c_str())) {
        nodes.push_back(hit.node());
    }
    return nodes;
}

TEST(TemplateBuilder, WritesMergedCellsTheWayPowerPointDoes) {
    TemplateDescription description = SingleTableTemplate(3, 3);
    auto& table = std::get<TableShape>(description.slides[0].shapes[0]);
    table.Cell(0, 0).gridSpan = 2;
    table.Cell(0, 0).rowSpan = 2;
    table.Cell(2, 1).gridSpan = 2;
    const auto slide = Parse(BuildTemplateParts(description).at("ppt/slides/slide1.xml"));
    std::vector<std::string> roles;
    for (pugi::xml_node cell : All(slide, "a:tc")) {
        std::string role;
        for (const char* name : {"gridSpan", "rowSpan", "hMerge", "vMerge"}) {
            if (cell.attribute(name)) {
                role += std::string(name) + "=" + cell.attribute(name).value() + " ";
            }
        }
        roles.push_back(role + cell.child("a:txBody").child("a:p").child("a:r").child_value("a:t"));
        EXPECT_TRUE(cell.child("a:txBody").child("a:p")) << "every cell keeps a paragraph";
    }
    const std::vector<std::string> expected = {"gridSpan=2 rowSpan=2 R1C1",
                                               "hMerge=1 ",
                                               "R1C3",
                                               "vMerge=1 ",
                                               "hMerge=1 vMerge=1 ",
                                               "R2C3",
                                               "R3C1",
                                               "gridSpan=2 R3C2",
                                               "hMerge=1 "};
    EXPECT_EQ(roles, expected);
}

TEST(TemplateBuilder, SizesTheTableFrameToItsGridAndSharesIdenticalPictures) {
    const PartMap parts = BuildTemplateParts(SampleReportTemplate());
    const auto slide = Parse(parts.at("ppt/slides/slide2.xml"));
    const auto extent = slide.select_node("//p:graphicFrame/p:xfrm/a:ext").node();
    EXPECT_EQ(extent.attribute("cx").as_llong(), 7 * kEmuPerInch);
    EXPECT_EQ(extent.attribute("cy").as_llong(), 4 * 370840);
    EXPECT_EQ(parts.count("ppt/media/image1.png"), 1U);
    EXPECT_EQ(parts.count("ppt/media/image2.png"), 0U) << "Logo and Logo2 are the same image";
    const std::string& png = parts.at("ppt/media/image1.png");
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(static_cast<unsigned char>(png[19]), 40U) << "width in IHDR";
}

TEST(TemplateBuilder, MarksATemplateByItsMainContentTypeAndBuildsTheSameBytesTwice) {
    TemplateDescription description = SampleReportTemplate();
    description.asTemplate = true;
    const PartMap parts = BuildTemplateParts(description);
    EXPECT_NE(parts.at("[Content_Types].xml").find("presentationml.template.main+xml\""),
              std::string::npos);
    EXPECT_EQ(WritePackageToMemory(parts), WritePackageToMemory(BuildTemplateParts(description)));
}

TEST(TemplateBuilder, RefusesDescriptionsItCannotWriteValidly) {
    const std::vector<std::pair<const char*, std::function<void(TemplateDescription&)>>> cases = {
        {"merge past the grid",
         [](TemplateDescription& d) {
             std::get<TableShape>(d.slides[0].shapes[0]).Cell(0, 1).gridSpan = 3;
         }},
        {"merge below the last row",
         [](TemplateDescription& d) {
             std::get<TableShape>(d.slides[0].shapes[0]).Cell(1, 0).rowSpan = 2;
         }},
        {"more cells than columns",
         [](TemplateDescription& d) { std::get<TableShape>(d.slides[0].shapes[0]).Cell(0, 5); }},
        {"series shorter than the categories",
         [](TemplateDescription& d) {
             d.slides[0].shapes.push_back(ChartShape{"C",
                                                     ChartShape::Kind::Bar,
                                                     {},
                                                     {"a", "b"},
                                                     {{"s", {1}}},
                                                     true,
                                                     "Sheet1",
                                                     "General"});
         }},
        {"sections holding fewer slides than the template",
         [](TemplateDescription& d) {
             d.sections = {{"Only", 0}};
         }},
        {"a placeholder the layout does not have",
         [](TemplateDescription& d) {
             d.slides[0].layout = Layout::Blank;
             d.slides[0].shapes.push_back(PlaceholderShape{});
         }},
        {"a colour that is not RRGGBB",
         [](TemplateDescription& d) {
             d.slides[0].shapes.push_back(PictureShape{"P", {}, 2, 2, "red"});
         }},
    };
    for (const auto& [what, spoil] : cases) {
        TemplateDescription description = SingleTableTemplate(2, 2);
        spoil(description);
        EXPECT_THROW(BuildTemplateParts(description), TestToolError) << what;
    }
}

TEST(ChartParts, QuotesSheetNamesAndNamesColumnsPastZ) {
    EXPECT_EQ(ChartParts::CellReference("Sheet1", "$A$1"), "Sheet1!$A$1");
    EXPECT_EQ(ChartParts::CellReference("Data Sheet", "$A$1"), "'Data Sheet'!$A$1");
    EXPECT_EQ(ChartParts::CellReference("Bob's", "$A$1"), "'Bob''s'!$A$1");
    EXPECT_EQ(ChartParts::CellReference("2025", "$A$1"), "'2025'!$A$1");
    EXPECT_EQ(ChartParts::ColumnName(0), "A");
    EXPECT_EQ(ChartParts::ColumnName(25), "Z");
    EXPECT_EQ(ChartParts::ColumnName(26), "AA");
    EXPECT_EQ(ChartParts::ColumnName(701), "ZZ");
    EXPECT_EQ(ChartParts::ColumnName(702), "AAA");
}

} // namespace
} // namespace slidesmith::testtools
