// Whole runs that place pictures from data: sizes from the template cells' settings, pictures
// that cannot be placed, page breaks, names and numbers in IMAGE, files, file:// and http://.
#include "LoopbackServer.h"
#include "PackageChecker.h"
#include "PictureChecks.h"
#include "PngImage.h"
#include "PresentationReader.h"
#include "RunHarness.h"
#include "TemplateBuilder.h"
#include "TemplateText.h"
#include "platform/files/FileIo.h"
#include "platform/net/HttpFetch.h"
#include "render/Render.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

constexpr std::int64_t kPt = 12700;
constexpr std::int64_t kLeft = 457200;    // 0.5in: the tables' left edge
constexpr std::int64_t kTop = 1280160;    // 1.4in: their top edge
constexpr std::int64_t kColumn = 1828800; // 2in
constexpr std::int64_t kRow = 548640;     // 0.6in

// A picture's own size in EMU: MakePng records 2835 pixels per metre, a hair above 72 dpi.
std::int64_t OwnSize(int pixels) {
    return std::llround(pixels * 72.0 / (2835 * 0.0254) * kPt);
}

// Slide 1: a fixed table whose picture cells carry one size setting per row; slide 2: a
// growing table with a header, one record row (pictures 30 pt high) and a totals row; slide 3:
// a grouped table with a group header row (badges 20 pt high) above the record row.
constexpr const char* kTemplate = R"(
slide title-only
placeholder title "Photos"
table Photos 9 2 0.5in 1.4in col-width=2in row-height=0.6in
cell 1 1 "Name" bold
cell 1 2 "Photo" bold
cell 3 2 "W100"
cell 4 2 "h50"
cell 5 2 "W120 H80"
cell 6 2 "STRETCH"
slide title-only
placeholder title "Gallery"
table Gallery 3 2 0.5in 1.4in col-width=2in row-height=0.6in
cell 1 1 "Name" bold
cell 1 2 "Photo" bold
cell 2 2 "H30"
cell 3 1 "Total" bold
slide title-only
placeholder title "Groups"
table Grouped 4 2 0.5in 1.4in col-width=2in row-height=0.6in
cell 1 1 "Name" bold
cell 1 2 "Photo" bold
cell 2 2 "H20"
cell 3 2 "H30"
cell 4 1 "Total" bold
)";

class RunPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        testtools::WriteTemplate(testtools::ParseTemplateText(kTemplate),
                                 run.Folder() / "template.pptx");
        std::filesystem::create_directories(run.Folder() / "pics");
        // MakePng records 72 dpi, so a picture's own size in points is its size in pixels.
        files::WriteFileAtomically(run.Folder() / "pics/red.png",
                                   testtools::MakePng(40, 20, 0xC00000));
        files::WriteFileAtomically(run.Folder() / "pics/blue.png",
                                   testtools::MakePng(200, 100, 0x2050C0));
        files::WriteFileAtomically(run.Folder() / "pics/logo.svg",
                                   R"(<svg xmlns="http://www.w3.org/2000/svg" width="96" )"
                                   R"(height="48"><rect width="96" height="48" fill="green"/>)"
                                   R"(</svg>)");
        files::WriteFileAtomically(run.Folder() / "pics/corrupt.png",
                                   std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        db = SqliteConnection(run.Folder() / "sales.db");
        ExecuteSql(db, "create table photos(n integer, name text, photo text)");
    }

    void AddPhotos(const std::vector<std::string>& photos) {
        for (const std::string& photo : photos) {
            std::string quoted;
            for (char c : photo)
                quoted += c == '\'' ? std::string("''") : std::string(1, c);
            ExecuteSql(db, "insert into photos values ((select count(*) from photos) + 1, "
                           "'item ' || (select count(*) + 1 from photos), '" +
                               quoted + "')");
        }
    }

    static void ExpectBox(const testtools::Box& box, std::int64_t row, std::int64_t cx,
                          std::int64_t cy) {
        EXPECT_EQ(box.x, kLeft + kColumn) << "row " << row;
        EXPECT_EQ(box.y, kTop + (row - 1) * kRow) << "row " << row;
        EXPECT_EQ(box.cx, cx) << "row " << row;
        EXPECT_EQ(box.cy, cy) << "row " << row;
    }

    RunHarness run;
    std::string db;
};

TEST_F(RunPictureTest, CellSettingsSizeThePicturesAndBadPicturesShowErrorWhileTheFillGoesOn) {
    AddPhotos({"pics/red.png", "pics/blue.png", "pics\\red.png", "pics/blue.png", "pics/red.png",
               "pics/missing.png", "pics/corrupt.png", std::string(10000, 'x')});
    run.WriteSalesDefinition(RunHarness::StandardFiles(),
                             {"@1 = REPORT(SLIDE=1 TYPE=FIX CELL=A2 IMAGE=1,Photo)",
                              "select name, photo from photos order by n",
                              "@2 = REPORT(SLIDE=1 TYPE=FIX CELL=A2 IMAGE=3)",
                              "select name, photo from photos order by n",
                              "@3 = REPORT(SLIDE=1 TYPE=FIX CELL=A2 IMAGE=2)",
                              "select name, photo from photos order by n"});
    run.Run();
    const auto log = run.LogLines();
    ASSERT_GE(log.size(), 20u);
    EXPECT_EQ(run.state.ErrorCount, 2);
    // IMAGE 1,Photo reads numbers because the first entry is one; refusals touch no cell.
    ExpectLog({log.begin() + 7, log.begin() + 20},
              {"[1]    Returns 8 records from the data source.",
               "Error: Syntax error. Failed to parse image.",
               "Error Info: Can not find field \"Photo\" in the image list.", "[1]    Failure.",
               "[2]    *", "[2]    *", "[2]    Returns 8 records from the data source.",
               "Error: Syntax error. Failed to parse image.",
               "Error Info: Can not find field \"3\" in the image list.", "[2]    Failure.",
               "[3]    REPORT(SLIDE=1 TYPE=FIX CELL=A2 IMAGE=2)", "[3]    *",
               "[3]    Returns 8 records from the data source."});
    // One warning per picture left out, saying which and why.
    std::vector<std::string> warnings;
    for (const std::string& line : log) {
        if (line.find("Warning: Can not insert the picture") != std::string::npos)
            warnings.push_back(line);
    }
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0].find("missing.png\": "), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("corrupt.png"), std::string::npos) << warnings[1];

    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    const auto pictures = PicturesOn(report, 1);
    ASSERT_EQ(pictures.size(), 5u);
    ExpectBox(pictures[0].box, 2, OwnSize(40), OwnSize(20)); // own size
    ExpectBox(pictures[1].box, 3, 100 * kPt, 50 * kPt);      // W100 keeps 2:1
    ExpectBox(pictures[2].box, 4, 100 * kPt, 50 * kPt);      // h50 keeps 2:1
    ExpectBox(pictures[3].box, 5, 120 * kPt, 80 * kPt);      // both given
    ExpectBox(pictures[4].box, 6, kColumn, kRow);            // the cell's size
    const testtools::TableView table = report.Table(1, "Photos");
    for (std::size_t row = 1; row <= 5; ++row)
        EXPECT_EQ(table.cells.at(row).at(1).text, "") << "row " << row + 1;
    for (std::size_t row = 6; row <= 8; ++row) {
        EXPECT_EQ(table.cells.at(row).at(1).text, "#Error") << "row " << row + 1;
        EXPECT_EQ(table.cells.at(row).at(0).text, "item " + std::to_string(row)) << row + 1;
    }
    EXPECT_EQ(MediaCount(report), 2u); // red and blue, each stored once
    EXPECT_EQ(testtools::Describe(testtools::CheckPackage(run.PathOf("Report.pptx"))), "");
}

TEST_F(RunPictureTest, PicturesFollowTheirRowsAcrossPageBreaksByFieldNameAndSvgKeepsAFallback) {
    const std::string folder = std::filesystem::absolute(run.Folder()).string();
    AddPhotos({"pics\\red.png", "pics/logo.svg", "  pics/red.png  ",
               "file://" + folder + "/pics/blue.png", ""});
    run.WriteSalesDefinition(RunHarness::StandardFiles(),
                             {"@1 = REPORT(SLIDE=2 CELL=A2 IMAGE=photo PAGEBREAK=2)",
                              "select name, photo from photos order by n"});
    run.Run();
    EXPECT_EQ(run.state.ErrorCount, 0);
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 5u);
    // Pages of two records on slides 2 to 4; every picture is 30 pt high in its record's row.
    const std::vector<std::vector<std::int64_t>> widths = {{60, 60}, {60, 60}, {}};
    for (std::size_t page = 0; page < 3; ++page) {
        const auto pictures = PicturesOn(report, page + 2);
        ASSERT_EQ(pictures.size(), widths[page].size()) << "page " << page + 1;
        for (std::size_t k = 0; k < pictures.size(); ++k)
            ExpectBox(pictures[k].box, static_cast<std::int64_t>(k) + 2, widths[page][k] * kPt,
                      30 * kPt);
    }
    EXPECT_EQ(report.Table(4, "Gallery").cells.at(1).at(0).text, "item 5");
    EXPECT_EQ(report.Table(4, "Gallery").cells.at(2).at(0).text, "Total");
    // PowerPoint's form: a PNG blip for older readers with the SVG in its extension list.
    const std::string& slide = report.Parts().at(report.SlidePart(2));
    EXPECT_NE(slide.find("asvg:svgBlip"), std::string::npos);
    EXPECT_EQ(MediaCount(report), 4u); // red, the SVG, its PNG fallback, blue
    EXPECT_EQ(testtools::Describe(testtools::CheckPackage(run.PathOf("Report.pptx"))), "");
    if (render::LibreOfficeAvailable()) {
        const auto pdf = render::RenderToPdf(run.Folder() / "Report.pptx");
        EXPECT_EQ(render::PdfPageCount(pdf), 5);
        EXPECT_NE(render::PdfText(pdf).find("item 5"), std::string::npos);
        KeepRenders(render::RenderPngPages(pdf, 48), "pictures-");
    }
}

TEST_F(RunPictureTest, GroupedTablesPlaceHeaderAndRecordPicturesOnEveryGroupPage) {
    ExecuteSql(db, "create table members(n integer, region text, badge text, name text, photo "
                   "text)");
    ExecuteSql(db, "insert into members values (1, 'North', 'pics/blue.png', 'a', "
                   "'pics/red.png'), (2, 'North', 'pics/blue.png', 'b', 'pics/red.png'), "
                   "(3, 'North', 'pics/blue.png', 'c', 'pics/nothing.png'), "
                   "(4, 'South', 'pics/blue.png', 'd', 'pics/red.png')");
    run.WriteSalesDefinition(RunHarness::StandardFiles(),
                             {"@1 = REPORT(SLIDE=3 CELL=A2,B2,A3,B3 GROUP=region,badge "
                              "GROUPRANGE=A2:B2 PAGEBREAK=G1 IMAGE=2,4)",
                              "select region, badge, name, photo from members order by n"});
    run.Run();
    EXPECT_EQ(run.state.ErrorCount, 0);
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 4u);
    // A page per region: its badge in the header row, a picture per record in the rows below.
    const auto north = PicturesOn(report, 3);
    ASSERT_EQ(north.size(), 3u);
    ExpectBox(north[0].box, 2, 40 * kPt, 20 * kPt);
    ExpectBox(north[1].box, 3, 60 * kPt, 30 * kPt);
    ExpectBox(north[2].box, 4, 60 * kPt, 30 * kPt);
    EXPECT_EQ(report.Table(3, "Grouped").cells.at(4).at(1).text, "#Error");
    const auto south = PicturesOn(report, 4);
    ASSERT_EQ(south.size(), 2u);
    ExpectBox(south[0].box, 2, 40 * kPt, 20 * kPt);
    ExpectBox(south[1].box, 3, 60 * kPt, 30 * kPt);
    EXPECT_EQ(report.Table(4, "Grouped").cells.at(3).at(0).text, "Total");
    EXPECT_EQ(testtools::Describe(testtools::CheckPackage(run.PathOf("Report.pptx"))), "");
}

TEST_F(RunPictureTest, WebPicturesAreFetchedWithRedirectsAndFailedFetchesShowError) {
    const std::string red = testtools::MakePng(40, 20, 0xC00000);
    LoopbackServer server({{"/red.png", {200, red, ""}}, {"/moved", {302, "", "/red.png"}}});
    AddPhotos({server.Address() + "/red.png", server.Address() + "/moved",
               server.Address() + "/missing.png", server.Address() + "/endless",
               "http://127.0.0.1:1/closed.png", "HTTP://127.0.0.1:1/closed.png"});
    run.WriteSalesDefinition(RunHarness::StandardFiles(),
                             {"@1 = REPORT(SLIDE=1 TYPE=FIX CELL=A2 IMAGE=2)",
                              "select name, photo from photos order by n"});
    run.Run();
    EXPECT_EQ(run.state.ErrorCount, 0);
    std::vector<std::string> reasons;
    for (const std::string& line : run.LogLines()) {
        if (line.find("Warning: Can not insert the picture") != std::string::npos)
            reasons.push_back(line);
    }
    ASSERT_EQ(reasons.size(), 4u);
    EXPECT_NE(reasons[0].find("HTTP 404"), std::string::npos) << reasons[0];
    EXPECT_NE(reasons[1].find("larger than 50 MB"), std::string::npos) << reasons[1];

    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    const auto pictures = PicturesOn(report, 1);
    ASSERT_EQ(pictures.size(), 2u);
    ExpectBox(pictures[0].box, 2, OwnSize(40), OwnSize(20));
    ExpectBox(pictures[1].box, 3, 100 * kPt, 50 * kPt);
    const testtools::TableView table = report.Table(1, "Photos");
    for (std::size_t row = 3; row <= 6; ++row)
        EXPECT_EQ(table.cells.at(row).at(1).text, "#Error") << "row " << row + 1;
    EXPECT_EQ(MediaCount(report), 1u);
}

TEST(WebPictureLimitsTest, AStalledDownloadIsGivenUpRatherThanWaitedForever) {
    LoopbackServer server({});
    net::FetchLimits limits;
    limits.stallSeconds = 1;
    try {
        net::FetchUrl(server.Address() + "/stall", limits);
        ADD_FAILURE() << "a stalled download returned";
    } catch (const net::FetchError& error) {
        EXPECT_NE(std::string(error.what()).find("/stall: "), std::string::npos) << error.what();
    }
}

} // namespace
} // namespace slidesmith::engine::test
