// Whole runs of grouped tables on SQLite and on the PostgreSQL test server: definition, query,
// grouped fill, saved report read back (texts, colours, slides) and, once, LibreOffice's view.
#include "PackageChecker.h"
#include "PresentationReader.h"
#include "RunHarness.h"
#include "ScenarioDatabase.h"
#include "TemplateBuilder.h"
#include "TemplateText.h"
#include "render/Render.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

// Slide 1: column titles, a region header row (with a static label), a product header row, a
// detail row and a totals row. Slide 2: a flat table whose detail row holds every field.
// Slide 3: the same across columns. Slide 4: a small table that may be deleted.
constexpr const char* kTemplate = R"(
slide title-only
placeholder title "By region"
table Own 5 3 0.5in 1.5in
cell 1 1 "Month" bold
cell 1 2 "Amount" bold
cell 1 3 "Quarter" bold
cell 2 1 "@" bold colour=1F4E79
cell 2 2 "region" colour=1F4E79
cell 3 1 "@" colour=C00000
cell 4 2 "#,##0;-#,##0;-" sections=000000,FF0000,808080
cell 5 1 "Total" bold
slide title-only
placeholder title "Flat"
table Flat 3 4 0.5in 1.5in
cell 1 1 "Region" bold
cell 1 2 "Product" bold
cell 1 3 "Month" bold
cell 1 4 "Amount" bold
cell 2 4 "#,##0;-#,##0;-"
cell 3 1 "Total" bold
slide title-only
placeholder title "Across"
table Across 2 3 0.5in 1.5in
cell 1 1 "Region" bold
cell 2 1 "Amount" bold
cell 1 2 "@" bold
cell 2 3 "#,##0"
slide title-only
placeholder title "Last"
table Last 1 1 0.5in 1.5in
)";

constexpr const char* kOwnQuery =
    "select region, product, quarter, month, amount from sales order by n";
constexpr const char* kFlatQuery = "select region, product, month, amount from sales order by n";

using Rows = std::vector<std::string>;

class RunGroupedTableTest : public ScenarioTest {
protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        if (IsSkipped())
            return;
        testtools::WriteTemplate(testtools::ParseTemplateText(kTemplate),
                                 run.Folder() / "template.pptx");
        ScenarioTable sales{"sales",
                            {{"n", ColumnType::Integer},
                             {"region", ColumnType::Text},
                             {"product", ColumnType::Text},
                             {"quarter", ColumnType::Text},
                             {"month", ColumnType::Text},
                             {"amount", ColumnType::Integer}}};
        sales.rows = {{"1", "'North'", "'Apples'", "'Q1'", "'Jan'", "100"},
                      {"2", "'North'", "'Apples'", "'Q1'", "'Feb'", "-20"},
                      {"3", "'North'", "'Apples'", "'Q2'", "'Apr'", "300"},
                      {"4", "'North'", "'Pears'", "'Q1'", "'Jan'", "40"},
                      {"5", "'North'", "'Pears'", "'Q2'", "'May'", "50"},
                      {"6", "'South'", "'Apples'", "'Q1'", "'Mar'", "60"},
                      {"7", "'South'", "'Plums'", "'Q1'", "'Jan'", "70"},
                      {"8", "'South'", "'Plums'", "'Q3'", "'Jul'", "0"},
                      {"9", "'West'", "'Pears'", "'Q4'", "'Oct'", "90"}};
        database.Create(sales);
    }

    // Runs REPORT statements given as (label, parameters, query) and returns what the log
    // says between opening the template and saving the report.
    Rows Run(const std::vector<std::array<std::string, 3>>& statements, bool interactive = false) {
        std::vector<std::string> lines;
        for (const auto& [label, parameters, query] : statements) {
            lines.push_back("@" + label + " = REPORT(" + parameters + ")");
            lines.push_back(query);
        }
        Define(lines);
        interactive ? run.Run(run.script) : run.Run();
        Rows log = run.LogLines();
        auto first = std::find_if(log.begin(), log.end(), [](const std::string& line) {
            return line.starts_with("Open the template file");
        });
        auto last = std::find_if(first, log.end(), [](const std::string& line) {
            return line.starts_with("Save the report file");
        });
        EXPECT_NE(last, log.end()) << "the report was not saved";
        return first == log.end() ? Rows{} : Rows(first + 1, last);
    }

    // The log lines of one statement: its header, its query and what the fill wrote.
    static Rows Logged(const std::string& label, const std::string& parameters,
                       const std::string& query, const Rows& body) {
        Rows lines = {"[" + label + "]    REPORT(" + parameters + ")",
                      "[" + label + "]    " + query};
        lines.insert(lines.end(), body.begin(), body.end());
        return lines;
    }

    // A table's rows, each row's cell texts joined by "|".
    static Rows Texts(const testtools::TableView& table) {
        Rows rows;
        for (const auto& row : table.cells) {
            std::string text;
            for (std::size_t c = 0; c < row.size(); ++c)
                text += (c > 0 ? "|" : "") + row[c].text;
            rows.push_back(text);
        }
        return rows;
    }

    // The rows of table `name` on every slide from `first` on, one entry per page.
    std::vector<Rows> Pages(std::size_t first, std::size_t count, const std::string& name) {
        testtools::PresentationReader report(run.PathOf("Report.pptx"));
        std::vector<Rows> pages;
        for (std::size_t slide = first; slide < first + count; ++slide)
            pages.push_back(Texts(report.Table(slide, name)));
        return pages;
    }

    std::string Check() const {
        return testtools::Describe(testtools::CheckPackage(run.PathOf("Report.pptx")));
    }
};

const std::string kTitles = "Month|Amount|Quarter";
const std::string kFlatTitles = "Region|Product|Month|Amount";
const std::string kOwnCells = "SLIDE=1 CELL=A2,A3,C4,A4,B4";
const Rows kSuccess = {"[1]    Returns 9 records from the data source.", "[1]    Success."};

TEST_P(RunGroupedTableTest,
       HeaderBlocksStartPagesASharedLevelShowsOncePerGroupAndColumnsMirrorRows) {
    const std::string own = kOwnCells + " GROUP=region GROUPRANGE=A2:C2 GROUP=product PAGEBREAK=G2";
    const std::string flat = "SLIDE=N CELL=A2 GROUP=Region";
    const std::string across = "SLIDE=N CELL=B1,C1,C2 FILLORDER=COL GROUP=1 PAGEBREAK=G1";
    const std::string acrossQuery = "select region, product, amount from sales order by n";
    Rows expected = Logged("1", own, kOwnQuery, kSuccess);
    for (const Rows& more :
         {Logged("2", flat, kFlatQuery,
                 {"[2]    Returns 9 records from the data source.", "[2]    Success."}),
          Logged("3", across, acrossQuery,
                 {"[3]    Returns 9 records from the data source.", "[3]    Success."})})
        expected.insert(expected.end(), more.begin(), more.end());
    ExpectLog(Run({{"1", own, kOwnQuery}, {"2", flat, kFlatQuery}, {"3", across, acrossQuery}}),
              expected);

    // A page per product; the region header only where the region changes; totals at the end.
    EXPECT_EQ(Pages(1, 5, "Own"),
              (std::vector<Rows>{
                  {kTitles, "North|region|", "Apples||", "Jan|100|Q1", "Feb|-20|Q1", "Apr|300|Q2"},
                  {kTitles, "Pears||", "Jan|40|Q1", "May|50|Q2"},
                  {kTitles, "South|region|", "Apples||", "Mar|60|Q1"},
                  {kTitles, "Plums||", "Jan|70|Q1", "Jul|-|Q3"},
                  {kTitles, "West|region|", "Pears||", "Oct|90|Q4", "Total||"}}));
    EXPECT_EQ(Pages(6, 1, "Flat").front(),
              (Rows{kFlatTitles, "North|Apples|Jan|100", "|Apples|Feb|-20", "|Apples|Apr|300",
                    "|Pears|Jan|40", "|Pears|May|50", "South|Apples|Mar|60", "|Plums|Jan|70",
                    "|Plums|Jul|-", "West|Pears|Oct|90", "Total|||"}));
    EXPECT_EQ(Pages(7, 3, "Across"),
              (std::vector<Rows>{
                  {"Region|North|Apples|Apples|Apples|Pears|Pears", "Amount||100|-20|300|40|50"},
                  {"Region|South|Apples|Plums|Plums", "Amount||60|70|0"},
                  {"Region|West|Pears", "Amount||90"}}));

    // Header rows keep the template's look; amounts take their section's colour.
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    EXPECT_EQ(report.SlideCount(), 10u);
    const testtools::TableView first = report.Table(1, "Own");
    EXPECT_EQ(first.cells[1][0].colour, "1F4E79");
    EXPECT_TRUE(first.cells[1][0].bold);
    EXPECT_EQ(first.cells[2][0].colour, "C00000");
    EXPECT_EQ(first.cells[3][1].colour, "000000");
    EXPECT_EQ(first.cells[4][1].colour, "FF0000");
    EXPECT_EQ(report.Table(4, "Own").cells[3][1].colour, "808080");
    EXPECT_EQ(Check(), "");

    if (GetParam() != Backend::Sqlite)
        return; // the rendering does not depend on the database
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    const auto pdf = render::RenderToPdf(run.PathOf("Report.pptx"));
    EXPECT_EQ(render::PdfPageCount(pdf), 10);
    const std::string text = render::PdfText(pdf);
    const std::string page1 = text.substr(0, text.find('\f'));
    EXPECT_LT(page1.find("North"), page1.find("Apples"));
    EXPECT_LT(page1.find("Apples"), page1.find("Feb"));
    EXPECT_EQ(page1.find("Total"), std::string::npos);
    EXPECT_NE(text.find("Pears"), std::string::npos);
}

TEST_P(RunGroupedTableTest, ThreeLevelsByNumberAndNameMoveG1SToTheInnermostHeaderLevel) {
    const std::string own =
        kOwnCells + " GROUP=1 GROUPRANGE=A2:C2 GROUP=PRODUCT GROUP=Quarter PAGEBREAK=G1S";
    ExpectLog(Run({{"1", own, kOwnQuery}}),
              Logged("1", own, kOwnQuery,
                     {"[1]    Returns 9 records from the data source.",
                      "Warning: The value for PAGEBREAK is invalid. And it is changed to \"g\" .",
                      "[1]    Success."}));
    EXPECT_EQ(Pages(1, 5, "Own"),
              (std::vector<Rows>{
                  {kTitles, "North|region|", "Apples||", "Jan|100|Q1", "Feb|-20|", "Apr|300|Q2"},
                  {kTitles, "North|region|", "Pears||", "Jan|40|Q1", "May|50|Q2"},
                  {kTitles, "South|region|", "Apples||", "Mar|60|Q1"},
                  {kTitles, "South|region|", "Plums||", "Jan|70|Q1", "Jul|-|Q3"},
                  {kTitles, "West|region|", "Pears||", "Oct|90|Q4", "Total||"}}));
    EXPECT_EQ(Check(), "");
}

TEST_P(RunGroupedTableTest, RecordBreaksSplitGroupsAndTheSFlagRepeatsEveryHeader) {
    const std::string own =
        kOwnCells + " GROUP=region GROUPRANGE=A2:C2 GROUP=product PAGEBREAK=G2S PAGEBREAK=2S";
    const std::string flat = "SLIDE=N CELL=A2 GROUP=region GROUP=product PAGEBREAK=G1 PAGEBREAK=3";
    Rows expected = Logged("1", own, kOwnQuery, kSuccess);
    const Rows second =
        Logged("2", flat, kFlatQuery,
               {"[2]    Returns 9 records from the data source.", "[2]    Success."});
    expected.insert(expected.end(), second.begin(), second.end());
    ExpectLog(Run({{"1", own, kOwnQuery}, {"2", flat, kFlatQuery}}), expected);

    EXPECT_EQ(Pages(1, 6, "Own"),
              (std::vector<Rows>{{kTitles, "North|region|", "Apples||", "Jan|100|Q1", "Feb|-20|Q1"},
                                 {kTitles, "North|region|", "Apples||", "Apr|300|Q2"},
                                 {kTitles, "North|region|", "Pears||", "Jan|40|Q1", "May|50|Q2"},
                                 {kTitles, "South|region|", "Apples||", "Mar|60|Q1"},
                                 {kTitles, "South|region|", "Plums||", "Jan|70|Q1", "Jul|-|Q3"},
                                 {kTitles, "West|region|", "Pears||", "Oct|90|Q4", "Total||"}}));
    // Without S a page that a record break starts shows only the levels that changed.
    EXPECT_EQ(Pages(7, 4, "Flat"),
              (std::vector<Rows>{{kFlatTitles, "North|Apples|Jan|100", "||Feb|-20", "||Apr|300"},
                                 {kFlatTitles, "|Pears|Jan|40", "||May|50"},
                                 {kFlatTitles, "South|Apples|Mar|60", "|Plums|Jan|70", "||Jul|-"},
                                 {kFlatTitles, "West|Pears|Oct|90", "Total|||"}}));
    EXPECT_EQ(testtools::PresentationReader(run.PathOf("Report.pptx")).SlideCount(), 12u);
    EXPECT_EQ(Check(), "");
}

TEST_P(RunGroupedTableTest, EndLeavesTheWrittenPageWithoutEmptyRowsOrTheSpareSlide) {
    const std::string own = kOwnCells + " GROUP=region GROUPRANGE=A2:C2 GROUP=product PAGEBREAK=G2";
    run.observer.onRecordProgress = [&](std::string_view shown) {
        if (shown == "4 / 9")
            run.state.Interrupted = true;
    };
    ExpectLog(Run({{"1", own, kOwnQuery}}, true),
              Logged("1", own, kOwnQuery,
                     {"[1]    Returns 9 records from the data source.", "[1]    Failure."}));
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    EXPECT_EQ(report.SlideCount(), 4u);
    EXPECT_EQ(Texts(report.Table(1, "Own")),
              (Rows{kTitles, "North|region|", "Apples||", "Jan|100|Q1", "Feb|-20|Q1", "Apr|300|Q2",
                    "Total||"}));
}

TEST_P(RunGroupedTableTest, RefusalsEndTheStatementBeforeTheTableIsTouched) {
    const std::string flat = "SLIDE=2 CELL=A2 RANGE=A2:D3 GROUP=region GROUPRANGE=A2:D3";
    const std::vector<std::pair<std::string, Rows>> cases = {
        {kOwnCells + " GROUP=region GROUP=colour PAGEBREAK=G",
         {"Error: Syntax error. Failed to parse group 2.",
          "Error Info: Can not find field \"colour\"."}},
        {kOwnCells + " GROUP=region GROUPRANGE=A2:B PAGEBREAK=G",
         {"Error: Syntax error. Failed to parse grouprange."}},
        {kOwnCells + " GROUP=region GROUPRANGE=A3:C3 PAGEBREAK=G",
         {"Error: The grouprange of group1 should be 2:2 ."}},
        {kOwnCells + " GROUP=region GROUP=product",
         {"Error: You should add a pagebreak by group when the grouprange is not same as the "
          "range of the detail."}},
        {kOwnCells + " GROUP=region GROUP=product RANGE=A4:C5 PAGEBREAK=G",
         {"Error: The length of the range can not be more then 1 row when the grouprange is not "
          "same as the range of the detail."}},
        {flat,
         {"Error: You should add a pagebreak by record or change the value for RESERVE when the "
          "length of the range is more then 1 row."}},
        {flat + " PAGEBREAK=3 RESERVE=2",
         {"Error: The value \"2\" for parameter RESERVE must be equal to the value \"3\" for "
          "PAGEBREAK when the length of the range is more then 1 row."}},
        {flat + " RESERVE=9 PAGEBREAK=G",
         {"Error: You should add a pagebreak by record when the length of the range is more "
          "then 1 row."}}};
    std::vector<std::array<std::string, 3>> script;
    Rows expected;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string label = std::to_string(i + 1);
        const std::string query = i < 5 ? kOwnQuery : kFlatQuery;
        script.push_back({label, cases[i].first, query});
        Rows body = {"[" + label + "]    Returns 9 records from the data source."};
        body.insert(body.end(), cases[i].second.begin(), cases[i].second.end());
        body.push_back("[" + label + "]    Failure.");
        const Rows lines = Logged(label, cases[i].first, query, body);
        expected.insert(expected.end(), lines.begin(), lines.end());
    }
    ExpectLog(Run(script), expected);
    EXPECT_EQ(run.state.ErrorCount, static_cast<int>(cases.size()));
    EXPECT_EQ(Pages(1, 1, "Own").front(),
              (Rows{kTitles, "@|region|", "@||", "|#,##0;-#,##0;-|", "Total||"}));
    EXPECT_EQ(testtools::PresentationReader(run.PathOf("Report.pptx")).SlideCount(), 4u);
}

TEST_P(RunGroupedTableTest, WithoutRecordsNoDataEmptiesOrRemovesTheBlocksTheTableOrTheSlide) {
    const std::string none = " from sales where region = 'None'";
    const std::vector<std::array<std::string, 3>> script = {
        {"1", "SLIDE=2 CELL=A2 GROUP=region", "select region, product, month, amount" + none},
        {"2", kOwnCells + " GROUP=region GROUP=product PAGEBREAK=G NODATA=DELRANGE",
         "select region, product, quarter, month, amount" + none},
        {"3", "SLIDE=3 CELL=B1,C1,C2 FILLORDER=COL GROUP=region PAGEBREAK=G NODATA=DELTABLE",
         "select region, product, amount" + none},
        {"4", "SLIDE=4 CELL=A1 GROUP=1 NODATA=DELSLIDE", "select region" + none}};
    Rows expected;
    for (const auto& [label, parameters, query] : script) {
        const Rows lines = Logged(label, parameters, query,
                                  {"[" + label + "]    Returns 0 record from the data source.",
                                   "[" + label + "]    Success."});
        expected.insert(expected.end(), lines.begin(), lines.end());
    }
    ExpectLog(Run(script), expected);
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 3u);
    EXPECT_EQ(Texts(report.Table(1, "Own")), (Rows{kTitles, "Total||"}));
    EXPECT_EQ(Texts(report.Table(2, "Flat")), (Rows{kFlatTitles, "|||", "Total|||"}));
    for (const testtools::ShapeView& shape : report.Shapes(3))
        EXPECT_NE(shape.kind, testtools::ShapeView::Kind::Table) << shape.name;
    EXPECT_EQ(Check(), "");
}

SLIDESMITH_SCENARIO_BACKENDS(RunGroupedTableTest);

} // namespace
} // namespace slidesmith::engine::test
