// Whole runs that fill tables: the query through the real SQLite driver, the fill chosen by
// TYPE, the log lines of each statement, and the saved report read back.
#include "PackageChecker.h"
#include "PresentationReader.h"
#include "RunHarness.h"
#include "ScenarioDatabase.h"
#include "TemplateBuilder.h"
#include "TemplateText.h"
#include "TestToolError.h"
#include "render/Render.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

namespace fs = std::filesystem;

// Slide 1: a detail table with a header row, one record row and a totals row; slide 2: a fixed
// table with room for three regions.
constexpr const char* kTemplate = R"(
slide title-only
placeholder title "Detail"
table Detail 3 2 0.5in 1.6in
cell 1 1 "Item" bold
cell 1 2 "Amount" bold
cell 2 2 "#,##0;-#,##0" sections=000000,FF0000
cell 3 1 "Total" bold
slide title-only
placeholder title "Regions"
table Regions 4 2 0.5in 1.6in
cell 1 1 "Region" bold
cell 1 2 "Amount" bold
cell 2 2 "#,##0"
)";

class RunTableFillTest : public ScenarioTest {
protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        if (IsSkipped())
            return;
        testtools::WriteTemplate(testtools::ParseTemplateText(kTemplate),
                                 run.Folder() / "template.pptx");
        ScenarioTable items{"items", {{"n", ColumnType::Integer}, {"amount", ColumnType::Integer}}};
        for (int n = 1; n <= 7; ++n)
            items.rows.push_back({std::to_string(n), std::to_string(n * 1000 - 2500)});
        database.Create(items);
        database.Create({"regions",
                         {{"name", ColumnType::Text}, {"amount", ColumnType::Integer}},
                         {{"'North'", "12345"}, {"'South'", "678"}, {"'West'", "9"}}});
    }

    // The texts of one table column, top to bottom.
    static std::vector<std::string> Column(const testtools::TableView& table, std::size_t column) {
        std::vector<std::string> texts;
        for (const auto& row : table.cells)
            texts.push_back(row.at(column).text);
        return texts;
    }

    void Template(const char* text) {
        testtools::WriteTemplate(testtools::ParseTemplateText(text),
                                 run.Folder() / "template.pptx");
    }

    std::vector<std::string> Run(const std::vector<std::vector<std::string>>& statements) {
        run.Run();
        return run.SalesRunLog(statements);
    }
};

TEST_P(RunTableFillTest, AFixedTableTakesTheRecordsAndAFailingQueryIsAFailedStatement) {
    const std::string regions = "select name, amount from regions order by name";
    Define({"@1 = REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", regions,
            "@2 = REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", "select nothing from nowhere"});
    const auto expected = Run(
        {StatementLines("1", "REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", regions,
                        {"[1]    Returns 3 records from the data source.", "[1]    Success."}),
         StatementLines(
             "2", "REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", "select nothing from nowhere",
             {"Error: Failed to execute function REPORT.", "Error Info: *", "[2]    Failure."})});
    ExpectLog(run.LogLines(), expected);
    EXPECT_EQ(run.state.ErrorCount, 1);

    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 2u);
    const testtools::TableView table = report.Table(2, "Regions");
    EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"Region", "North", "South", "West"}));
    EXPECT_EQ(Column(table, 1), (std::vector<std::string>{"Amount", "12,345", "678", "9"}));
    EXPECT_EQ(testtools::Describe(testtools::CheckPackage(run.PathOf("Report.pptx"))), "");
}

TEST_P(RunTableFillTest, AGrowingTableBreaksIntoPageSlidesAndTheNextStatementFollowsThem) {
    const std::string items = "select n, amount from items order by n";
    const std::string regions = "select name, amount from regions order by name";
    Define({"@1 = REPORT(SLIDE=1 CELL=A2,B2 PAGEBREAK=3)", items,
            "@2 = REPORT(SLIDE=N TYPE=FIX CELL=A2,B2)", regions});
    const auto expected = Run(
        {StatementLines("1", "REPORT(SLIDE=1 CELL=A2,B2 PAGEBREAK=3)", items,
                        {"[1]    Returns 7 records from the data source.", "[1]    Success."}),
         StatementLines("2", "REPORT(SLIDE=N TYPE=FIX CELL=A2,B2)", regions,
                        {"[2]    Returns 3 records from the data source.", "[2]    Success."})});
    ExpectLog(run.LogLines(), expected);
    EXPECT_EQ(run.state.ErrorCount, 0);

    // Three records a page on copies of slide 1; only the last page keeps the totals row, and
    // statement 2's "N" is the regions slide that now comes after the pages.
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 4u);
    const std::vector<std::vector<std::string>> items1 = {
        {"Item", "1", "2", "3"}, {"Item", "4", "5", "6"}, {"Item", "7", "Total"}};
    const std::vector<std::vector<std::string>> amounts = {{"Amount", "-1,500", "-500", "500"},
                                                           {"Amount", "1,500", "2,500", "3,500"},
                                                           {"Amount", "4,500", ""}};
    for (std::size_t page = 0; page < 3; ++page) {
        const testtools::TableView table = report.Table(page + 1, "Detail");
        EXPECT_EQ(Column(table, 0), items1[page]) << "page " << page + 1;
        EXPECT_EQ(Column(table, 1), amounts[page]) << "page " << page + 1;
    }
    // The template paints the negative section red: negative amounts take it, in the template's
    // row and in the rows added beside it alike; others stay black.
    const testtools::TableView first = report.Table(1, "Detail");
    EXPECT_EQ(first.cells.at(1).at(1).colour, "FF0000");
    EXPECT_EQ(first.cells.at(2).at(1).colour, "FF0000");
    EXPECT_EQ(first.cells.at(3).at(1).colour, "000000");
    EXPECT_EQ(Column(report.Table(4, "Regions"), 0),
              (std::vector<std::string>{"Region", "North", "South", "West"}));
    EXPECT_EQ(testtools::Describe(testtools::CheckPackage(run.PathOf("Report.pptx"))), "");

    // A viewer shows four pages: the records in order, the totals row once, then the regions.
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    const fs::path pdf = render::RenderToPdf(run.PathOf("Report.pptx"));
    EXPECT_EQ(render::PdfPageCount(pdf), 4);
    const std::string text = render::PdfText(pdf);
    std::size_t position = 0;
    for (const char* value :
         {"-1,500", "500", "1,500", "3,500", "4,500", "Total", "North", "12,345", "West", "9"}) {
        const std::size_t found = text.find(value, position);
        ASSERT_NE(found, std::string::npos) << value << " missing or out of order:\n" << text;
        position = found;
    }
    EXPECT_EQ(text.find("Total"), text.rfind("Total"));
}

TEST_P(RunTableFillTest, FixedTablesKeepSpareRowsAndFailWhenTheRecordsOverflow) {
    Template(R"(
slide title-only
placeholder title "Regions"
table Spare 5 2 0.5in 1.6in
cell 1 1 "Region" bold
cell 2 2 "#,##0"
cell 5 1 "kept"
table Tight 3 2 5in 1.6in
cell 1 1 "Region" bold
cell 2 2 "#,##0"
)");
    const std::string regions = "select name, amount from regions order by name";
    Define({"@1 = REPORT(SLIDE=1 TABLE=1 TYPE=FIX CELL=A2,B2)", regions,
            "@2 = REPORT(SLIDE=1 TABLE=2 TYPE=FIX CELL=A2,B2)", regions});
    const auto expected =
        Run({StatementLines("1", "REPORT(SLIDE=1 TABLE=1 TYPE=FIX CELL=A2,B2)", regions,
                            {"[1]    Returns 3 records from the data source.", "[1]    Success."}),
             StatementLines("2", "REPORT(SLIDE=1 TABLE=2 TYPE=FIX CELL=A2,B2)", regions,
                            {"[2]    Returns 3 records from the data source.",
                             "Error: Failed to execute function REPORT.",
                             "Error Info: Slide 1, table \"2\": *", "[2]    Failure."})});
    ExpectLog(run.LogLines(), expected);
    EXPECT_EQ(run.state.ErrorCount, 1);

    // The two records that fit stay written.
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    EXPECT_EQ(Column(report.Table(1, "Spare"), 0),
              (std::vector<std::string>{"Region", "North", "South", "West", "kept"}));
    EXPECT_EQ(Column(report.Table(1, "Spare"), 1),
              (std::vector<std::string>{"", "12,345", "678", "9", ""}));
    EXPECT_EQ(Column(report.Table(1, "Tight"), 0),
              (std::vector<std::string>{"Region", "North", "South"}));
}

TEST_P(RunTableFillTest, GrowingTablesAddAndRemoveRowsAndRenderInOrder) {
    Template(R"(
slide title-only
placeholder title "Grow"
table Grow 3 2 0.5in 1.6in
cell 1 1 "Item" bold
cell 2 2 "#,##0;-#,##0" sections=000000,FF0000
cell 3 1 "Total" bold
slide title-only
placeholder title "Shrink"
table Shrink 6 2 0.5in 1.6in
cell 1 1 "Region" bold
cell 6 1 "Sum" bold
)");
    const std::string items = "select n, amount from items order by n";
    const std::string regions = "select name, amount from regions order by amount desc";
    Define({"@1 = REPORT(SLIDE=1 CELL=A2,B2)", items, "@2 = REPORT(SLIDE=2 CELL=A2,B2 RESERVE=4)",
            regions});
    const auto expected = Run(
        {StatementLines("1", "REPORT(SLIDE=1 CELL=A2,B2)", items,
                        {"[1]    Returns 7 records from the data source.", "[1]    Success."}),
         StatementLines("2", "REPORT(SLIDE=2 CELL=A2,B2 RESERVE=4)", regions,
                        {"[2]    Returns 3 records from the data source.", "[2]    Success."})});
    ExpectLog(run.LogLines(), expected);

    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    EXPECT_EQ(Column(report.Table(1, "Grow"), 0),
              (std::vector<std::string>{"Item", "1", "2", "3", "4", "5", "6", "7", "Total"}));
    EXPECT_EQ(Column(report.Table(1, "Grow"), 1),
              (std::vector<std::string>{"", "-1,500", "-500", "500", "1,500", "2,500", "3,500",
                                        "4,500", ""}));
    EXPECT_EQ(Column(report.Table(2, "Shrink"), 0),
              (std::vector<std::string>{"Region", "North", "South", "West", "Sum"}));

    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    const std::string text = render::PdfText(render::RenderToPdf(run.PathOf("Report.pptx")));
    std::size_t position = 0;
    for (const char* value : {"-1,500", "-500", "500", "4,500", "Total", "North", "12345", "South",
                              "678", "West", "Sum"}) {
        const std::size_t found = text.find(value, position);
        ASSERT_NE(found, std::string::npos) << value << " missing or out of order:\n" << text;
        position = found;
    }
}

TEST_P(RunTableFillTest, BlocksOfTwoRowsNeedReserveToMatchThePageBreak) {
    Template(R"(
slide title-only
placeholder title "Blocks"
table Blocks 5 2 0.5in 1.6in
cell 1 1 "Item" bold
cell 3 2 "note"
cell 5 2 "note"
)");
    const std::string items = "select n, amount from items order by n";
    Define({"@1 = REPORT(SLIDE=1 CELL=A2,B2 RANGE=A2:B3 RESERVE=2 PAGEBREAK=3)", items,
            "@2 = REPORT(SLIDE=1 CELL=A2,B2 RANGE=A2:B3 RESERVE=2)", items});
    const auto expected = Run(
        {StatementLines("1", "REPORT(SLIDE=1 CELL=A2,B2 RANGE=A2:B3 RESERVE=2 PAGEBREAK=3)", items,
                        {"[1]    Returns 7 records from the data source.",
                         "Error: The value \"2\" for parameter RESERVE must be equal to the value "
                         "\"3\" for PAGEBREAK when the length of the range is more then 1 row.",
                         "[1]    Failure."}),
         StatementLines("2", "REPORT(SLIDE=1 CELL=A2,B2 RANGE=A2:B3 RESERVE=2)", items,
                        {"[2]    Returns 7 records from the data source.",
                         "Error: You should add parameter PAGEBREAK or change the value for "
                         "RESERVE when the length of the range is more then 1 row.",
                         "[2]    Failure."})});
    ExpectLog(run.LogLines(), expected);
    EXPECT_EQ(run.state.ErrorCount, 2);
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    EXPECT_EQ(report.SlideCount(), 1u);
    EXPECT_EQ(Column(report.Table(1, "Blocks"), 1),
              (std::vector<std::string>{"", "", "note", "", "note"}));
}

TEST_P(RunTableFillTest, EmptyQueriesEmptyDeleteTheBlockTheTableOrTheSlide) {
    std::string text;
    for (const char* title : {"None", "Range", "Table", "Slide", "Fixed"}) {
        text += std::string("slide title-only\nplaceholder title \"") + title +
                "\"\ntable T 3 3 0.5in 1.6in\ncell 1 1 \"Head\"\ncell 2 1 \"@\"\n"
                "cell 2 2 \"#,##0\"\ncell 2 3 \"EUR\"\ncell 3 1 \"Foot\"\n";
    }
    Template(text.c_str());
    const std::string none = "select n, amount from items where n < 0";
    const std::string regions = "select name, amount from regions order by name";
    Define({"@1 = REPORT(SLIDE=1 CELL=A2,B2)", none,
            "@2 = REPORT(SLIDE=2 CELL=A2,B2 NODATA=DELRANGE)", none,
            "@3 = REPORT(SLIDE=3 CELL=A2,B2 NODATA=DELTABLE)", none,
            "@4 = REPORT(SLIDE=4 CELL=A2,B2 NODATA=DELSLIDE)", none,
            "@5 = REPORT(SLIDE=N TYPE=FIX CELL=A2,B2)", none});
    auto empty = [&](const std::string& label, const std::string& header) {
        return StatementLines(label, header, none,
                              {"[" + label + "]    Returns 0 record from the data source.",
                               "[" + label + "]    Success."});
    };
    const auto expected = Run({empty("1", "REPORT(SLIDE=1 CELL=A2,B2)"),
                               empty("2", "REPORT(SLIDE=2 CELL=A2,B2 NODATA=DELRANGE)"),
                               empty("3", "REPORT(SLIDE=3 CELL=A2,B2 NODATA=DELTABLE)"),
                               empty("4", "REPORT(SLIDE=4 CELL=A2,B2 NODATA=DELSLIDE)"),
                               empty("5", "REPORT(SLIDE=N TYPE=FIX CELL=A2,B2)")});
    ExpectLog(run.LogLines(), expected);

    // "N" after the deleted fourth slide is the fixed slide, now fourth itself.
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    ASSERT_EQ(report.SlideCount(), 4u);
    EXPECT_EQ(Column(report.Table(1, "T"), 0), (std::vector<std::string>{"Head", "", "Foot"}));
    // Format texts go, a static text beside them stays.
    EXPECT_EQ(Column(report.Table(1, "T"), 2), (std::vector<std::string>{"", "EUR", ""}));
    EXPECT_EQ(Column(report.Table(2, "T"), 0), (std::vector<std::string>{"Head", "Foot"}));
    EXPECT_THROW(report.Table(3, "T"), testtools::TestToolError);
    EXPECT_EQ(Column(report.Table(4, "T"), 0), (std::vector<std::string>{"Head", "", "Foot"}));
    EXPECT_EQ(Column(report.Table(4, "T"), 1), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(Column(report.Table(4, "T"), 2), (std::vector<std::string>{"", "EUR", ""}));
}

TEST_P(RunTableFillTest, BatchRunsLogProgressEveryIntervalOfRecords) {
    const std::string items = "select n, amount from items order by n";
    Define({"@1 = REPORT(SLIDE=1 CELL=A2,B2)", items});
    run.options.ProgressInterval = 2;
    const auto expected = Run({StatementLines(
        "1", "REPORT(SLIDE=1 CELL=A2,B2)", items,
        {"[1]    Returns 7 records from the data source.", "Processing record number 2 of 7...",
         "Processing record number 4 of 7...", "Processing record number 6 of 7...",
         "Process complete.", "[1]    Success."})});
    ExpectLog(run.LogLines(), expected);
}

TEST_P(RunTableFillTest, EndDuringAFillFailsTheStatementStopsTheScriptAndSavesTheReport) {
    const std::string items = "select n, amount from items order by n";
    Define({"@1 = REPORT(SLIDE=1 CELL=A2,B2)", items, "@2 = REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)",
            "select name, amount from regions"});
    std::vector<std::string> progress;
    run.observer.onRecordProgress = [&](std::string_view shown) {
        progress.emplace_back(shown);
        if (shown == "3 / 7")
            run.state.Interrupted = true;
    };
    run.Run(run.script);
    const auto expected = run.SalesRunLog(
        {StatementLines("1", "REPORT(SLIDE=1 CELL=A2,B2)", items,
                        {"[1]    Returns 7 records from the data source.", "[1]    Failure."})});
    ExpectLog(run.LogLines(), expected);
    EXPECT_EQ(progress, (std::vector<std::string>{"0", "1 / 7", "2 / 7", "3 / 7"}));
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    EXPECT_EQ(Column(report.Table(1, "Detail"), 0)[1], "1");
    EXPECT_EQ(Column(report.Table(2, "Regions"), 0)[1], "");
}

TEST_P(RunTableFillTest, CommandLineValuesReachTheReportNameAndTheQuery) {
    run.WriteSalesDefinition(
        {"ReportTemplateFileName=template.pptx", "ReportFileName=Items_&N.pptx",
         "LogFileName=run.log"},
        {"@1 = REPORT(SLIDE=1 CELL=A2,B2)", "select n, amount from items where n <= &N order by n"},
        {"", "[Parameter]", "Name1=&N", "Title1=Items", "Default1=7"});
    run.options.CommandLineValues = {"2"};
    run.Run();
    std::vector<std::string> log = run.LogLines();
    ASSERT_GE(log.size(), 9u);
    ExpectLog({log.begin() + 3, log.begin() + 9},
              {"Create the blank report file \"" + run.PathOf("Items_2.pptx") + "\".", "*",
               "[1]    REPORT(SLIDE=1 CELL=A2,B2)",
               "[1]    select n, amount from items where n <= 2 order by n",
               "[1]    Returns 2 records from the data source.", "[1]    Success."});
    testtools::PresentationReader report(run.PathOf("Items_2.pptx"));
    EXPECT_EQ(Column(report.Table(1, "Detail"), 0),
              (std::vector<std::string>{"Item", "1", "2", "Total"}));
}

SLIDESMITH_SCENARIO_BACKENDS(RunTableFillTest);

} // namespace
} // namespace slidesmith::engine::test
