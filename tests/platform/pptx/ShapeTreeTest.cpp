#include "platform/pptx/ShapeTree.h"

#include "DomTestSupport.h"
#include "platform/pptx/Units.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

using test::CountingSink;

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
    void SetUp() override {
        m_document = test::ParseWithNamespaces(kSlide);
        m_tree = std::make_unique<ShapeTree>(test::Find(*m_document, "p:spTree"), m_sink);
    }
    std::unique_ptr<pugi::xml_document> m_document;
    CountingSink m_sink;
    std::unique_ptr<ShapeTree> m_tree;
};

TEST_F(ShapeTreeTest, ListsTopLevelShapesOnceInDocumentOrderWithTheirKinds) {
    ASSERT_EQ(m_tree->Count(), 6u);
    const std::vector<ShapeKind> kinds{ShapeKind::AutoShape, ShapeKind::AutoShape,
                                       ShapeKind::OleObject, ShapeKind::Chart,
                                       ShapeKind::Group,     ShapeKind::AutoShape};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(m_tree->Item(i + 1).Kind(), kinds[i]) << i + 1;
    }
    EXPECT_EQ(m_tree->Item(3).OleProgId(), "MSGraph.Chart.8");
    EXPECT_EQ(m_tree->Item(3).OleRelationshipId(), "rId4");
    EXPECT_EQ(m_tree->Item(4).ChartRelationshipId(), "rId2");
    EXPECT_EQ(m_tree->Item(4).OleProgId(), "");
    EXPECT_EQ(m_tree->Item(6).Id(), 9u);
    EXPECT_THROW(m_tree->Item(7), std::out_of_range);
    EXPECT_THROW(m_tree->Item(0), std::out_of_range);
}

TEST_F(ShapeTreeTest, FindsTheFirstTopLevelShapeWithExactlyThatName) {
    EXPECT_EQ(m_tree->Find("Box").Id(), 3u);
    EXPECT_FALSE(m_tree->Find("box"));
    EXPECT_FALSE(m_tree->Find("Line")) << "group members are not searched";
    EXPECT_EQ(m_tree->Find("Group").Children().at(1).Name(), "Line");
}

TEST_F(ShapeTreeTest, ReadsPlaceholdersAndFindsThemByIndexThenType) {
    EXPECT_EQ(m_tree->Item(1).PlaceholderType(), "title");
    EXPECT_EQ(m_tree->Item(2).PlaceholderType(), "obj");
    EXPECT_EQ(m_tree->Item(2).PlaceholderIndex(), 1u);
    EXPECT_EQ(m_tree->Item(3).PlaceholderType(), "");
    EXPECT_EQ(m_tree->FindPlaceholder("body", 1u).Id(), 3u);
    EXPECT_EQ(m_tree->FindPlaceholder("title", 5u).Id(), 2u);
    EXPECT_FALSE(m_tree->FindPlaceholder("ftr", std::nullopt));
}

TEST_F(ShapeTreeTest, GroupMembersReportAndTakeSlideCoordinates) {
    Shape picture = m_tree->Item(5).Children().at(0);
    EXPECT_EQ(picture.Kind(), ShapeKind::Picture);
    EXPECT_EQ(picture.Bounds(), (Rect{1200, 1100, 1000, 500}));
    picture.SetBounds(Rect{3000, 1500, 400, 100});
    EXPECT_EQ(picture.Bounds(), (Rect{3000, 1500, 400, 100}));
    const pugi::xml_node offset = picture.Node().child("p:spPr").child("a:xfrm").child("a:off");
    EXPECT_STREQ(offset.attribute("x").value(), "1000");
    EXPECT_STREQ(offset.attribute("y").value(), "500");
}

TEST_F(ShapeTreeTest, PlaceholderWithoutTransformGetsOneWhenPlaced) {
    Shape title = m_tree->Item(1);
    EXPECT_FALSE(title.Bounds());
    title.SetBounds(Rect{units::PointsToEmu(72), 0, units::PixelsToEmu(96), 12700});
    EXPECT_EQ(title.Bounds(), (Rect{914400, 0, 914400, 12700}));
    Shape chart = m_tree->Item(4);
    chart.SetBounds(Rect{1, 2, 3, 4});
    EXPECT_STREQ(chart.Node().child("p:xfrm").next_sibling().name(), "a:graphic");
    EXPECT_EQ(chart.Bounds(), (Rect{1, 2, 3, 4}));
}

TEST_F(ShapeTreeTest, InsertedShapesGetIdsAboveEveryIdOfTheSlide) {
    pugi::xml_document source;
    source.load_string("<p:pic><p:nvPicPr><p:cNvPr id=\"1\" name=\"Picture\"/></p:nvPicPr>"
                       "</p:pic>");
    const Shape first = m_tree->InsertShape(source.first_child());
    const Shape second = m_tree->InsertShape(source.first_child());
    EXPECT_EQ(first.Id(), 36u);
    EXPECT_EQ(second.Id(), 37u);
    EXPECT_EQ(m_tree->Count(), 8u);
    EXPECT_EQ(m_tree->Item(8).Node(), second.Node());
    EXPECT_STREQ(second.Node().next_sibling().name(), "p:extLst");
    EXPECT_GT(m_sink.changes, 0);
}

TEST_F(ShapeTreeTest, RemovingAWrappedShapeRemovesItsWrapper) {
    m_tree->Remove(6);
    EXPECT_EQ(m_tree->Count(), 5u);
    EXPECT_FALSE(test::Find(*m_document, "p:spTree").child("mc:AlternateContent"));
    EXPECT_EQ(ShapeTree(test::Find(*m_document, "p:spTree"), m_sink).Count(), 5u);
}

TEST_F(ShapeTreeTest, TextFrameIsCreatedInSchemaOrderWhenMissing) {
    Shape title = m_tree->Item(1);
    const pugi::xml_node body = title.TextBodyNode();
    EXPECT_STREQ(body.previous_sibling().name(), "p:spPr");
    EXPECT_TRUE(body.child("a:p"));
    EXPECT_FALSE(m_tree->Item(4).TextBodyNode());
}

// The OLE charts and tables of real files are found as the object model counts them.
TEST(RealShapes, FindsOleObjectsChartsAndTablesOfRealSlides) {
    const std::string folder = test::RealFixturesFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "real fixtures not installed";
    }
    struct Expectation {
        const char* file;
        const char* part;
        const char* shapeName;
        ShapeKind kind;
        const char* progId;
    };
    const Expectation expectations[] = {
        {"ole-msgraph-charts-table-ppt2007.pptx", "ppt/slides/slide6.xml", "Object 7",
         ShapeKind::OleObject, "MSGraph.Chart.8"},
        {"ole-msgraph-charts-table-ppt2007.pptx", "ppt/slides/slide8.xml", "Group 92",
         ShapeKind::Table, ""},
        {"ole-excel-sheet12-xlsx-mac2016.pptx", "ppt/slides/slide1.xml", "Object 1",
         ShapeKind::OleObject, "Excel.Sheet.12"},
        {"mixed-table-ole-chart-ppt2016.pptx", "ppt/slides/slide2.xml", "Object 8",
         ShapeKind::OleObject, "Excel.Sheet.12"},
        {"mixed-table-ole-chart-ppt2016.pptx", "ppt/slides/slide3.xml", "Content Placeholder 8",
         ShapeKind::Chart, ""},
        {"named-textboxes-groups-ppt2016.pptx", "ppt/slides/slide2.xml", "RotationGroup",
         ShapeKind::Group, ""},
    };
    for (const Expectation& e : expectations) {
        const std::string xml = test::ReadPackagePart(folder + "/" + e.file, e.part);
        ASSERT_FALSE(xml.empty()) << e.file;
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(xml.c_str()));
        CountingSink sink;
        ShapeTree tree(test::Find(document, "p:spTree"), sink);
        const Shape shape = tree.Find(e.shapeName);
        ASSERT_TRUE(shape) << e.file << " " << e.shapeName;
        EXPECT_EQ(shape.Kind(), e.kind) << e.file << " " << e.shapeName;
        EXPECT_EQ(shape.OleProgId(), e.progId) << e.file;
        if (e.kind == ShapeKind::Chart) {
            EXPECT_EQ(shape.ChartRelationshipId().substr(0, 3), "rId");
        }
        if (e.kind == ShapeKind::Group) {
            for (const Shape& member : shape.Children()) {
                ASSERT_TRUE(member.Bounds()) << member.Name();
                const Rect group = *shape.Bounds();
                const Rect inner = *member.Bounds();
                // Members lie inside their group on the slide.
                EXPECT_GE(inner.x, group.x - 1);
                EXPECT_LE(inner.x + inner.cx, group.x + group.cx + 1);
            }
        }
        EXPECT_EQ(sink.changes, 0) << "reading must not mark the part changed";
    }
}

} // namespace
} // namespace slidesmith::pptx
