// Whole runs of named-shape reports (TYPE FORM): one slide per record, shapes found by name
// (placeholders and group members too), refusals before any slide is copied, colours by sign,
// pictures in shapes, NODATA and GROUP.
#include "PackageChecker.h"
#include "PictureChecks.h"
#include "PngImage.h"
#include "PresentationReader.h"
#include "RunHarness.h"
#include "TemplateBuilder.h"
#include "TemplateText.h"
#include "platform/files/FileIo.h"
#include "platform/pptx/Presentation.h"
#include "render/Render.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

constexpr std::int64_t kPt = 12700;

// Slide 1 is the form: a title placeholder, an amount in three coloured sections, a picture
// box asking for 50 pt wide pictures, a region inside a group, and a picture without text.
constexpr const char* kTemplate = R"(
slide title-only
placeholder title "Customer" name="Heading"
text Amount 1in 2in 3in 0.6in "#,##0;(#,##0);zero" sections=000000,FF0000,0000FF
text Photo 6in 2in 3in 2in "W50"
text Region 1in 3in 3in 0.6in "region"
picture Logo 9in 0.2in 1in 0.5in
slide title-only
placeholder title "The end" name="Heading"
)";

// Wraps the named shape of slide 1 in a group, as a user grouping it with nothing else would.
void GroupShape(const std::filesystem::path& path, const std::string& name) {
    auto presentation = pptx::Presentation::Open(path);
    pptx::XmlPart& xml = presentation->Slide(0).Xml();
    pugi::xml_node tree = xml.Root().child("p:cSld").child("p:spTree");
    pugi::xml_node target = tree.find_child([&](pugi::xml_node node) {
        return std::string_view(
                   node.child("p:nvSpPr").child("p:cNvPr").attribute("name").value()) == name;
    });
    ASSERT_TRUE(target) << name;
    pugi::xml_node group = tree.insert_child_before("p:grpSp", target);
    pugi::xml_node properties = group.append_child("p:nvGrpSpPr");
    pugi::xml_node id = properties.append_child("p:cNvPr");
    id.append_attribute("id") = 99;
    id.append_attribute("name") = "Group 99";
    properties.append_child("p:cNvGrpSpPr");
    properties.append_child("p:nvPr");
    pugi::xml_node transform = group.append_child("p:grpSpPr").append_child("a:xfrm");
    const pugi::xml_node own = target.child("p:spPr").child("a:xfrm");
    transform.append_copy(own.child("a:off"));
    transform.append_copy(own.child("a:ext"));
    transform.append_copy(own.child("a:off")).set_name("a:chOff");
    transform.append_copy(own.child("a:ext")).set_name("a:chExt");
    group.append_move(target);
    xml.MarkChanged();
    presentation->SaveAs(path, 24);
}

class RunFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto path = run.Folder() / "template.pptx";
        testtools::WriteTemplate(testtools::ParseTemplateText(kTemplate), path);
        GroupShape(path, "Region");
        files::WriteFileAtomically(run.Folder() / "red.png", testtools::MakePng(40, 20, 0xC00000));
        db = SqliteConnection(run.Folder() / "sales.db");
        ExecuteSql(db, "create table customers(n integer, name text, amount integer, photo "
                       "text, region text)");
        ExecuteSql(db, "insert into customers values (1, 'Anna', 1200, 'red.png', 'North'), "
                       "(2, 'Ben', -300, 'red.png', 'South'), (3, 'Cleo', 0, '', 'North')");
    }

    void Define(const std::vector<std::string>& script) {
        run.WriteSalesDefinition(RunHarness::StandardFiles(), script);
    }

    // The text of a shape of a slide, group members included.
    static std::string Text(const testtools::PresentationReader& report, std::size_t slide,
                            const std::string& name) {
        for (const auto& shape : report.Shapes(slide)) {
            if (shape.name == name)
                return shape.text;
        }
        return "<no shape " + name + ">";
    }

    // The explicit colour of the first run of a shape's text.
    static std::string Colour(const testtools::PresentationReader& report, std::size_t slide,
                              const std::string& name) {
        pugi::xml_document document;
        document.load_string(report.Parts().at(report.SlidePart(slide)).c_str());
        const pugi::xpath_node run = document.select_node(
            ("//p:sp[p:nvSpPr/p:cNvPr/@name='" + name + "']//a:r/a:rPr/a:solidFill/a:srgbClr")
                .c_str());
        return run ? run.node().attribute("val").value() : "";
    }

    RunHarness run;
    std::string db;
};

TEST_F(RunFormTest, EveryRecordFillsACopyOfTheSlideInOrder) {
    const std::string sql = "select name, amount, photo, region from customers order by n";
    Define({"@1 = REPORT(SLIDE=1 TYPE=FORM CELL=Heading,Amount,Photo,Region IMAGE=3)", sql,
            "@2 = REPORT(SLIDE=N TYPE=FORM CELL=Heading)", "select 'after' "});
    run.Run();
    EXPECT_EQ(run.state.ErrorCount, 0);
    const auto log = run.LogLines();
    ASSERT_GE(log.size(), 9u);
    EXPECT_EQ(log[7], "[1]    Returns 3 records from the data source.");
    EXPECT_EQ(log[8], "[1]    Success.");

    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 4u);
    const std::vector<std::string> names = {"Anna", "Ben", "Cleo"};
    const std::vector<std::string> amounts = {"1,200", "(300)", "zero"};
    const std::vector<std::string> colours = {"000000", "FF0000", "0000FF"};
    const std::vector<std::string> regions = {"North", "South", "North"};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(Text(report, k + 1, "Heading"), names[k]);
        EXPECT_EQ(Text(report, k + 1, "Amount"), amounts[k]);
        EXPECT_EQ(Colour(report, k + 1, "Amount"), colours[k]) << "slide " << k + 1;
        EXPECT_EQ(Text(report, k + 1, "Region"), regions[k]);
        EXPECT_EQ(Text(report, k + 1, "Photo"), "");
    }
    // A picture 50 pt wide (2:1) on the Photo box's corner; the empty value places none.
    for (std::size_t k = 0; k < 2; ++k) {
        const auto pictures = PicturesOn(report, k + 1, "Logo");
        ASSERT_EQ(pictures.size(), 1u) << "slide " << k + 1;
        EXPECT_EQ(pictures[0].box.x, 6 * 914400);
        EXPECT_EQ(pictures[0].box.y, 2 * 914400);
        EXPECT_EQ(pictures[0].box.cx, 50 * kPt);
        EXPECT_EQ(pictures[0].box.cy, 25 * kPt);
    }
    EXPECT_TRUE(PicturesOn(report, 3, "Logo").empty());
    // "N" after the form is the slide after its last copy.
    EXPECT_EQ(Text(report, 4, "Heading"), "after");
    EXPECT_EQ(testtools::Describe(testtools::CheckPackage(run.PathOf("Report.pptx"))), "");
    if (render::LibreOfficeAvailable()) {
        const auto pdf = render::RenderToPdf(run.Folder() / "Report.pptx");
        EXPECT_EQ(render::PdfPageCount(pdf), 4);
        const std::string text = render::PdfText(pdf);
        for (const char* expected : {"Anna", "1,200", "(300)", "zero", "South", "after"})
            EXPECT_NE(text.find(expected), std::string::npos) << expected;
        KeepRenders(render::RenderPngPages(pdf, 48), "form-");
    }
}

TEST_F(RunFormTest, WrongShapesAreRefusedBeforeAnySlideIsCopied) {
    const std::string sql = "select name, amount from customers order by n";
    Define({"@1 = REPORT(SLIDE=1 TYPE=FORM CELL=Heading,Nope)", sql,
            "@2 = REPORT(SLIDE=1 TYPE=FORM CELL=Logo)", sql,
            "@3 = REPORT(SLIDE=1 TYPE=FORM CELL=heading)", sql});
    run.Run();
    const auto log = run.LogLines();
    ASSERT_GE(log.size(), 20u);
    ExpectLog({log.begin() + 7, log.begin() + 20},
              {"[1]    Returns 3 records from the data source.",
               "Error: Can not find the shape \"Nope\" in the slide.", "[1]    Failure.",
               "[2]    REPORT(SLIDE=1 TYPE=FORM CELL=Logo)", "[2]    " + sql,
               "[2]    Returns 3 records from the data source.",
               "Error: Can not add text in the shape \"Logo\".", "[2]    Failure.",
               "[3]    REPORT(SLIDE=1 TYPE=FORM CELL=heading)", "[3]    " + sql,
               "[3]    Returns 3 records from the data source.",
               "Error: Can not find the shape \"heading\" in the slide.", "[3]    Failure."});
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    EXPECT_EQ(report.SlideCount(), 2u);
    EXPECT_EQ(Text(report, 1, "Heading"), "Customer");
}

TEST_F(RunFormTest, NoRecordsEmptyTheShapesOrDeleteTheSlideAndOneRecordCopiesNothing) {
    Define({"@1 = REPORT(SLIDE=2 TYPE=FORM CELL=Heading NODATA=DELSLIDE)",
            "select name from customers where n > 9",
            "@2 = REPORT(SLIDE=1 TYPE=FORM CELL=Heading,Amount NODATA=DELTABLE)",
            "select name, amount from customers where n > 9",
            "@3 = REPORT(SLIDE=1 TYPE=FORM CELL=Region)",
            "select region from customers where n = 2"});
    run.Run();
    EXPECT_EQ(run.state.ErrorCount, 0);
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 1u);
    EXPECT_EQ(Text(report, 1, "Heading"), "");
    EXPECT_EQ(Text(report, 1, "Amount"), "");
    EXPECT_EQ(Text(report, 1, "Region"), "South");
}

TEST_F(RunFormTest, AGroupShowsItsValuesOnTheFirstSlideOfTheGroupOnly) {
    Define({"@1 = REPORT(SLIDE=1 TYPE=FORM CELL=Region,Heading GROUP=1)",
            "select region, name from customers order by region, n",
            "@2 = REPORT(SLIDE=1 TYPE=FORM CELL=Region GROUP=Town)",
            "select region from customers"});
    run.Run();
    const auto log = run.LogLines();
    ASSERT_GE(log.size(), 14u);
    ExpectLog({log.begin() + 7, log.begin() + 14},
              {"[1]    Returns 3 records from the data source.", "[1]    Success.",
               "[2]    REPORT(SLIDE=1 TYPE=FORM CELL=Region GROUP=Town)", "[2]    *",
               "[2]    Returns 3 records from the data source.",
               "Error: Syntax error. Failed to parse group 1.",
               "Error Info: Can not find field \"Town\"."});
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 4u);
    const std::vector<std::string> regions = {"North", "", "South"};
    const std::vector<std::string> names = {"Anna", "Cleo", "Ben"};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(Text(report, k + 1, "Region"), regions[k]) << "slide " << k + 1;
        EXPECT_EQ(Text(report, k + 1, "Heading"), names[k]) << "slide " << k + 1;
    }
}

TEST_F(RunFormTest, AThousandRecordsMakeAThousandSlidesSharingOnePicture) {
    ExecuteSql(db, "delete from customers");
    ExecuteSql(db, "with recursive k(n) as (select 1 union all select n + 1 from k where n < "
                   "1000) insert into customers select n, 'customer ' || n, n - 500, 'red.png', "
                   "'North' from k");
    Define({"@1 = REPORT(SLIDE=1 TYPE=FORM CELL=Heading,Amount,Photo IMAGE=Photo)",
            "select name, amount, photo from customers order by n"});
    run.Run();
    EXPECT_EQ(run.state.ErrorCount, 0);
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 1001u);
    EXPECT_EQ(Text(report, 1, "Heading"), "customer 1");
    EXPECT_EQ(Text(report, 1000, "Heading"), "customer 1000");
    EXPECT_EQ(Text(report, 500, "Amount"), "zero");
    EXPECT_EQ(Text(report, 1001, "Heading"), "The end");
    EXPECT_EQ(PicturesOn(report, 1000, "Logo").size(), 1u);
    EXPECT_EQ(MediaCount(report), 2u); // the template's logo and the one red picture
}

} // namespace
} // namespace slidesmith::engine::test
