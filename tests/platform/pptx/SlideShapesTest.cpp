#include "PackageTestSupport.h"
#include "platform/pptx/ColourResolver.h"
#include "platform/pptx/PptxError.h"
#include "platform/pptx/Presentation.h"
#include "render/Render.h"

#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

std::unique_ptr<Presentation> OpenFixture(const std::string& name) {
    fs::path path = testing::RealFixtures() / name;
    if (!fs::exists(path))
        return nullptr;
    return Presentation::Open(path);
}

#define OPEN_OR_SKIP(variable, name)                                                               \
    auto variable = OpenFixture(name);                                                             \
    if (!(variable))                                                                               \
    GTEST_SKIP() << "shared fixture " << (name) << " is absent"

std::uint32_t ColourAt(SlidePart& slide, const Shape& shape, std::size_t position) {
    ColourContext context = slide.ColourContextFor(shape);
    return ColourResolver(context).TextColour(slide.Text(shape), position);
}

TEST(SlideShapes, PlaceholdersTakeGeometryAndColoursFromTheirLayoutAndMaster) {
    OPEN_OR_SKIP(presentation, "named-placeholders-notes-ppt2016.pptx");
    SlidePart& slide = presentation->Slide(0);
    Shape title = slide.Shapes().Find("The Title");
    Shape subtitle = slide.Shapes().Find("Another Subtitle");
    ASSERT_TRUE(title);
    ASSERT_TRUE(subtitle);
    EXPECT_FALSE(slide.Shapes().Find("the title")) << "names compare exactly";

    EXPECT_EQ(slide.Bounds(title), (Rect{685800, 2130425, 7772400, 1470025}));
    EXPECT_EQ(slide.Text(title).Text(), "Title of the first slide");

    // Title: the master's title style, tx1 -> dk1 = black. Subtitle: the layout's list style,
    // tx1 at 75% tint (grey). The third paragraph's run says green itself.
    EXPECT_EQ(ColourAt(slide, title, 0), 0x000000u);
    std::uint32_t grey = ColourAt(slide, subtitle, 0);
    EXPECT_NE(grey, 0x000000u);
    EXPECT_EQ(grey >> 16, grey & 0xFF);
    std::string text = slide.Text(subtitle).Text();
    EXPECT_EQ(ColourAt(slide, subtitle, text.find("italic")), 0x92D050u);
}

TEST(SlideShapes, ChartsAndOleObjectsReportTheProgIdOfTheirKind) {
    struct Case {
        const char* file;
        std::size_t slide;
        const char* shape;
        ShapeKind kind;
        const char* progId;
    };
    const Case cases[] = {
        {"charts-named-pie3d-bar3d-ppt2016.pptx", 1, "PIE_CHART", ShapeKind::Chart,
         "Excel.Chart.8"},
        {"chart-bar-cache-only-ppt2013.pptx", 0, "Chart 5", ShapeKind::Chart, "MSGraph.Chart.8"},
        {"ole-msgraph-chart-govdocs-ppt2016.pptx", 0, "Object 2", ShapeKind::OleObject,
         "MSGraph.Chart.8"},
        {"table-merged-7x6-ppt2016.pptx", 0, "Table 3", ShapeKind::Table, ""},
    };
    for (const Case& item : cases) {
        auto presentation = OpenFixture(item.file);
        if (!presentation)
            GTEST_SKIP() << "shared fixtures are absent";
        SlidePart& slide = presentation->Slide(item.slide);
        Shape shape = slide.Shapes().Find(item.shape);
        ASSERT_TRUE(shape) << item.file << " " << item.shape;
        EXPECT_EQ(shape.Kind(), item.kind) << item.file;
        EXPECT_EQ(slide.ProgId(shape), item.progId) << item.file;
        EXPECT_EQ(slide.ChartPart(shape).empty(), item.kind != ShapeKind::Chart) << item.file;
    }
}

TEST(SlideShapes, TablesOfADuplicateAreEditedIndependentlyAndSurviveSaving) {
    OPEN_OR_SKIP(presentation, "table-merged-7x6-ppt2016.pptx");
    SlidePart& copy = presentation->Duplicate(0);
    Shape table = copy.Shapes().Find("Table 3");
    TableEditor editor = copy.Table(table);
    std::size_t rows = editor.RowCount();
    editor.AddRow(rows + 1);
    editor.CellText(rows + 1, 1).SetText("written in the copy");
    // A finished page may be released; its edits stay and it can be opened again.
    copy.Release();
    EXPECT_EQ(copy.Table(copy.Shapes().Find("Table 3")).CellText(rows + 1, 1).Text(),
              "written in the copy");
    copy.Release();

    ScratchFolder scratch;
    fs::path out = presentation->SaveAs(scratch / "out.pptx", 1);
    auto reopened = Presentation::Open(out);
    SlidePart& original = reopened->Slide(0);
    SlidePart& saved = reopened->Slide(1);
    EXPECT_EQ(original.Table(original.Shapes().Find("Table 3")).RowCount(), rows);
    TableEditor savedTable = saved.Table(saved.Shapes().Find("Table 3"));
    ASSERT_EQ(savedTable.RowCount(), rows + 1);
    EXPECT_EQ(savedTable.CellText(rows + 1, 1).Text(), "written in the copy");
    EXPECT_TRUE(testing::CheckPackage(out).empty());
}

TEST(SlideShapes, LibreOfficeShowsEveryPageOfAPaginatedReport) {
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    OPEN_OR_SKIP(presentation, "table-merged-7x6-ppt2016.pptx");
    for (int page = 2; page <= 3; ++page) {
        SlidePart& copy = presentation->Duplicate(presentation->SlideCount() - 1);
        TableEditor table = copy.Table(copy.Shapes().Find("Table 3"));
        table.AddRow(table.RowCount() + 1);
        // The header cell is on the visible part of the slide; the grown table runs off it.
        table.CellText(1, 1).SetText("Page" + std::to_string(page));
        copy.Release();
    }
    ScratchFolder scratch;
    fs::path out = presentation->SaveAs(scratch / "report.pptx", 1);
    EXPECT_TRUE(testing::CheckPackage(out).empty())
        << ::testing::PrintToString(testing::CheckPackage(out));
    fs::path pdf = render::RenderToPdf(out);
    EXPECT_EQ(render::PdfPageCount(pdf), 3);
    std::string text = render::PdfText(pdf);
    EXPECT_NE(text.find("Header1"), std::string::npos) << text;
    EXPECT_NE(text.find("Page2"), std::string::npos) << text;
    EXPECT_NE(text.find("Page3"), std::string::npos) << text;
}

TEST(SlideShapes, AskingAShapeForWhatItLacksNamesThePartAndTheShape) {
    OPEN_OR_SKIP(presentation, "table-merged-7x6-ppt2016.pptx");
    SlidePart& slide = presentation->Slide(0);
    Shape table = slide.Shapes().Find("Table 3");
    try {
        slide.Text(table);
        FAIL() << "expected PptxError";
    } catch (const PptxError& error) {
        EXPECT_NE(std::string(error.what()).find("ppt/slides/slide1.xml: shape \"Table 3\""),
                  std::string::npos)
            << error.what();
    }
}

TEST(SlideShapes, PicturesJoinTheShapeList) {
    OPEN_OR_SKIP(presentation, "table-merged-7x6-ppt2016.pptx");
    SlidePart& slide = presentation->Slide(0);
    std::size_t before = slide.Shapes().Count();
    std::uint32_t id = slide.AddPicture("GIF89a", "gif", "image/gif", {1, 2, 3, 4}, "Chart image");
    ASSERT_EQ(slide.Shapes().Count(), before + 1);
    Shape picture = slide.Shapes().Item(before + 1);
    EXPECT_EQ(picture.Kind(), ShapeKind::Picture);
    EXPECT_EQ(picture.Id(), id);
    EXPECT_EQ(picture.Name(), "Chart image");
    EXPECT_EQ(slide.Bounds(picture), (Rect{1, 2, 3, 4}));
}

} // namespace
} // namespace slidesmith::pptx
