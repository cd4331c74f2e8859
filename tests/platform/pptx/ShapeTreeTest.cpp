#include "platform/pptx/ShapeTree.h"

#include "DomTestSupport.h"
#include "platform/pptx/Units.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

// One of each kind PowerPoint writes, an OLE object in both mc branches, a shape wrapped in
// mc:AlternateContent, two shapes of the same name and a scaled group.
constexpr const char* kSlide =
    "<p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
    "<p:grpSpPr/>"
    "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"Title 1\"/><p:cNvSpPr/><p:nvPr><p:ph "
    "type=\"title\"/></p:nvPr></p:nvSpPr><p:spPr/></p:sp>"
    "<p:sp><p:nvSpPr><p:cNvPr id=\"3\" name=\"Box\"/><p:cNvSpPr/><p:nvPr><p:ph idx=\"1\"/>"
    "</p:nvPr></p:nvSpPr><p:spPr><a:xfrm><a:off x=\"100\" y=\"200\"/><a:ext cx=\"300\" "
    "cy=\"400\"/></a:xfrm></p:spPr><p:txBody><a:bodyPr/><a:p/></p:txBody></p:sp>"
    "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"7\" name=\"Object 7\"/>"
    "<p:cNvGraphicFramePr/><p:nvPr/></p:nvGraphicFramePr><p:xfrm><a:off x=\"1\" y=\"2\"/>"
    "<a:ext cx=\"3\" cy=\"4\"/></p:xfrm><a:graphic><a:graphicData "
    "uri=\"http://schemas.openxmlformats.org/presentationml/2006/ole\"><mc:AlternateContent>"
    "<mc:Choice Requires=\"v\"><p:oleObj spid=\"_x0000_s1\" r:id=\"rId4\" "
    "progId=\"MSGraph.Chart.8\"><p:embed/></p:oleObj></mc:Choice><mc:Fallback><p:oleObj "
    "r:id=\"rId4\" progId=\"MSGraph.Chart.8\"><p:embed/><p:pic><p:nvPicPr><p:cNvPr id=\"0\" "
    "name=\"\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr></p:pic></p:oleObj></mc:Fallback>"
    "</mc:AlternateContent></a:graphicData></a:graphic></p:graphicFrame>"
    "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"8\" name=\"Chart\"/>"
    "<p:cNvGraphicFramePr/><p:nvPr/></p:nvGraphicFramePr><p:xfrm/><a:graphic><a:graphicData "
    "uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"><c:chart "
    "xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" r:id=\"rId2\"/>"
    "</a:graphicData></a:graphic></p:graphicFrame>"
    "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"20\" name=\"Group\"/><p:cNvGrpSpPr/><p:nvPr/>"
    "</p:nvGrpSpPr><p:grpSpPr><a:xfrm><a:off x=\"1000\" y=\"1000\"/><a:ext cx=\"2000\" "
    "cy=\"1000\"/><a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"1000\" cy=\"1000\"/></a:xfrm>"
    "</p:grpSpPr><p:pic><p:nvPicPr><p:cNvPr id=\"21\" name=\"Box\"/><p:cNvPicPr/><p:nvPr/>"
    "</p:nvPicPr><p:blipFill/><p:spPr><a:xfrm><a:off x=\"100\" y=\"100\"/><a:ext cx=\"500\" "
    "cy=\"500\"/></a:xfrm></p:spPr></p:pic><p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"35\" "
    "name=\"Line\"/><p:cNvCxnSpPr/><p:nvPr/></p:nvCxnSpPr><p:spPr/></p:cxnSp></p:grpSp>"
    "<mc:AlternateContent><mc:Choice Requires=\"p14\"><p:sp><p:nvSpPr><p:cNvPr id=\"9\" "
    "name=\"Box\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr/></p:sp></mc:Choice><mc:Fallback>"
    "<p:sp><p:nvSpPr><p:cNvPr id=\"9\" name=\"Box\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr/>"
    "</p:sp></mc:Fallback></mc:AlternateContent>"
    "<p:extLst><p:ext uri=\"x\"/></p:extLst></p:spTree>";

class ShapeTreeTest : public testing::Test {
protected:
    std::unique_ptr<pugi::xml_document> m_document = test::Parse(kSlide);
    test::CountingSink m_sink;
    ShapeTree m_tree{test::Find(*m_document, "p:spTree"), m_sink};
};

TEST_F(ShapeTreeTest, ListsShapesAsTheObjectModelCountsAndNamesThem) {
    std::string kinds;
    for (const Shape& shape : m_tree.Shapes()) {
        kinds += std::to_string(static_cast<int>(shape.Kind()));
    }
    // sp, sp, OLE counted once over both mc branches, chart, group, wrapped sp.
    EXPECT_EQ(kinds, "004350");
    EXPECT_EQ(m_tree.Item(3).OleProgId(), "MSGraph.Chart.8");
    EXPECT_EQ(m_tree.Item(3).OleRelationshipId(), "rId4");
    EXPECT_EQ(m_tree.Item(4).ChartRelationshipId(), "rId2");
    EXPECT_EQ(m_tree.Item(6).Id(), 9u);
    EXPECT_THROW(m_tree.Item(7), std::out_of_range);
    EXPECT_EQ(m_tree.Find("Box").Id(), 3u) << "the first of equal names";
    EXPECT_FALSE(m_tree.Find("box"));
    EXPECT_FALSE(m_tree.Find("Line")) << "group members are not searched";
    EXPECT_EQ(m_tree.Find("Group").Children().at(1).Name(), "Line");
    EXPECT_EQ(m_tree.Item(1).PlaceholderType(), "title");
    EXPECT_EQ(m_tree.Item(2).PlaceholderType(), "obj");
    EXPECT_EQ(m_tree.FindPlaceholder("body", 1u).Id(), 3u);
    EXPECT_EQ(m_tree.FindPlaceholder("title", 5u).Id(), 2u);
    EXPECT_FALSE(m_tree.FindPlaceholder("ftr", std::nullopt));
    EXPECT_EQ(m_sink.changes, 0);
}

TEST_F(ShapeTreeTest, PositionsAreInSlideCoordinatesAlsoInsideScaledGroups) {
    Shape picture = m_tree.Item(5).Children().at(0);
    EXPECT_EQ(picture.Bounds(), (Rect{1200, 1100, 1000, 500}));
    picture.SetBounds(Rect{3000, 1500, 400, 100});
    EXPECT_EQ(picture.Bounds(), (Rect{3000, 1500, 400, 100}));
    EXPECT_STREQ(picture.Node().select_node(".//a:off").node().attribute("x").value(), "1000");
    Shape title = m_tree.Item(1);
    EXPECT_FALSE(title.Bounds()) << "a placeholder that inherits its place states none";
    title.SetBounds(Rect{units::PointsToEmu(72), 0, units::PixelsToEmu(96), 12700});
    EXPECT_EQ(title.Bounds(), (Rect{914400, 0, 914400, 12700}));
    Shape chart = m_tree.Item(4);
    chart.SetBounds(Rect{1, 2, 3, 4});
    EXPECT_STREQ(chart.Node().child("p:xfrm").next_sibling().name(), "a:graphic");
    // CT_Shape: the text body follows spPr.
    EXPECT_STREQ(title.TextBodyNode().previous_sibling().name(), "p:spPr");
    EXPECT_GT(m_sink.changes, 0);
}

TEST_F(ShapeTreeTest, InsertedShapesGetIdsAboveEveryIdAndRemovalTakesWrappers) {
    pugi::xml_document source;
    source.load_string("<p:pic><p:nvPicPr><p:cNvPr id=\"1\" name=\"P\"/></p:nvPicPr></p:pic>");
    EXPECT_EQ(m_tree.InsertShape(source.first_child()).Id(), 36u);
    const Shape second = m_tree.InsertShape(source.first_child());
    EXPECT_EQ(second.Id(), 37u);
    EXPECT_EQ(m_tree.Item(8).Node(), second.Node());
    EXPECT_STREQ(second.Node().next_sibling().name(), "p:extLst");
    m_tree.Remove(6);
    EXPECT_FALSE(test::Find(*m_document, "p:spTree").child("mc:AlternateContent"));
    EXPECT_EQ(ShapeTree(test::Find(*m_document, "p:spTree"), m_sink).Count(), 7u);
}

// The OLE charts, tables and groups of real files are found as the object model counts them.
TEST(RealShapes, FindsOleObjectsChartsTablesAndGroupsOfRealSlides) {
    if (!test::HaveRealFixtures()) {
        GTEST_SKIP() << "real fixtures not installed";
    }
    struct Expectation {
        const char* file;
        int slide;
        const char* shapeName;
        ShapeKind kind;
        const char* progId;
    };
    for (const Expectation& e : {
             Expectation{"ole-msgraph-charts-table-ppt2007.pptx", 6, "Object 7",
                         ShapeKind::OleObject, "MSGraph.Chart.8"},
             Expectation{"ole-msgraph-charts-table-ppt2007.pptx", 8, "Group 92", ShapeKind::Table,
                         ""},
             Expectation{"ole-excel-sheet12-xlsx-mac2016.pptx", 1, "Object 1", ShapeKind::OleObject,
                         "Excel.Sheet.12"},
             Expectation{"mixed-table-ole-chart-ppt2016.pptx", 2, "Object 8", ShapeKind::OleObject,
                         "Excel.Sheet.12"},
             Expectation{"mixed-table-ole-chart-ppt2016.pptx", 3, "Content Placeholder 8",
                         ShapeKind::Chart, ""},
             Expectation{"named-textboxes-groups-ppt2016.pptx", 2, "RotationGroup",
                         ShapeKind::Group, ""},
         }) {
        pugi::xml_document document;
        document.load_string(
            test::RealPart(e.file, "ppt/slides/slide" + std::to_string(e.slide) + ".xml").c_str());
        test::CountingSink sink;
        const Shape shape = ShapeTree(test::Find(document, "p:spTree"), sink).Find(e.shapeName);
        ASSERT_TRUE(shape) << e.file << " " << e.shapeName;
        EXPECT_EQ(shape.Kind(), e.kind) << e.file << " " << e.shapeName;
        EXPECT_EQ(shape.OleProgId(), e.progId) << e.file;
        EXPECT_EQ(shape.Kind() == ShapeKind::Chart, !shape.ChartRelationshipId().empty());
        for (const Shape& member : shape.Children()) {
            // Members lie inside their group on the slide.
            const Rect group = shape.Bounds().value();
            const Rect inner = member.Bounds().value();
            EXPECT_GE(inner.x, group.x - 1) << member.Name();
            EXPECT_LE(inner.x + inner.cx, group.x + group.cx + 1) << member.Name();
        }
    }
}

} // namespace
} // namespace slidesmith::pptx
