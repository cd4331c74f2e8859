// Whole runs that fill charts: the query through the real SQLite driver, the datasheet or the
// workbook path chosen by the chart, the log of each statement, and the saved report read back
// by an independent reader (caches, series formulas, workbook cells) and the package checker,
// whose chart checks compare every cached value with the workbook cell its formula names.
#include "ChartReport.h"
#include "PackageChecker.h"
#include "RunHarness.h"
#include "ScenarioDatabase.h"
#include "TemplateBuilder.h"
#include "TemplateText.h"
#include "render/Render.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

namespace fs = std::filesystem;

// Slide 1: records as categories (two sample rows); slide 2: records as series (two sample
// columns); slide 3: charts without workbook around a picture; slide 4: a data sheet whose
// name needs quotes.
constexpr const char* kTemplate = R"(
slide title-only
placeholder title "Quarters"
chart Revenue bar 0.5in 1.5in 6in 4in
categories "S1" "S2"
series "North" 1 2
series "South" 3 4
slide title-only
placeholder title "Measures"
chart Measures bar 0.5in 1.5in 6in 4in
categories "North" "South" "Total"
series "Sample 1" 1 2 3
series "Sample 2" 4 5 6
slide title-only
placeholder title "Datasheet"
chart Share pie 0.5in 1.5in 4in 4in cache-only
categories "A" "B"
series "Share" 1 2
picture Logo 4.6in 1.5in 0.6in 0.6in
chart Trend line 5.5in 1.5in 4in 4in cache-only
categories "Jan" "Feb"
series "Visits" 3 4
slide title-only
placeholder title "Sales 2008"
chart Yearly line 0.5in 1.5in 6in 4in sheet="Sales 2008"
categories "S1" "S2"
series "North" 1 2
)";

constexpr const char* kQuarters = "select q, north, south from quarters order by q";

class RunChartFillTest : public ScenarioTest {
protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        if (IsSkipped())
            return;
        testtools::WriteTemplate(testtools::ParseTemplateText(kTemplate), TemplatePath());
        // Every workbook gets a first sheet that holds no chart data, so a fill that writes
        // into the first sheet instead of the series' own shows.
        AddFirstSheet(TemplatePath(), "Notes");
        database.Create({"quarters",
                         {{"q", ColumnType::Text},
                          {"north", ColumnType::Integer},
                          {"south", ColumnType::Decimal}},
                         {{"'Q1'", "10", "7"},
                          {"'Q2'", "12", "9"},
                          {"'Q3'", "15", "11"},
                          {"'Q4'", "18", "13"},
                          {"'Q5'", "21", "15"}}});
    }

    fs::path TemplatePath() const { return run.Folder() / "template.pptx"; }
    fs::path ReportPath() const { return run.Folder() / "Report.pptx"; }

    // Runs one statement and checks the log: the header, the SQL text, then `body`.
    void RunStatement(const std::string& header, const std::string& sql,
                      const std::vector<std::string>& body) {
        run.WriteSalesDefinition(RunHarness::StandardFiles(), {"@1 = " + header, sql});
        run.Run();
        std::vector<std::string> expected = LogHead();
        expected.push_back("Connect to database successfully. DSN=Sales, Using a connection "
                           "string.");
        expected.push_back("Create the blank report file \"" + run.PathOf("Report.pptx") + "\".");
        expected.push_back("Open the template file \"" + run.PathOf("template.pptx") + "\".");
        expected.push_back("[1]    " + header);
        expected.push_back("[1]    " + sql);
        expected.insert(expected.end(), body.begin(), body.end());
        expected.push_back("Save the report file \"" + run.PathOf("Report.pptx") + "\".");
        expected.push_back("Close the report file.");
        expected.push_back("Close the log file.");
        ExpectLog(run.LogLines(), expected);
    }

    static std::vector<std::string> Succeeded(int records) {
        return {"[1]    Returns " + std::to_string(records) +
                    (records > 1 ? " records" : " record") + " from the data source.",
                "[1]    Success."};
    }

    void ExpectCleanPackage() {
        EXPECT_EQ(testtools::Describe(testtools::CheckPackage(ReportPath())), "");
    }
};

using Names = std::vector<std::string>;
using Values = std::vector<double>;

TEST_P(RunChartFillTest, FiveRecordsGrowTheSampleRowsAndEverySeriesStretchesOverThem) {
    RunStatement("CHART(SLIDE=1 CELL=A2)", kQuarters, Succeeded(5));
    ChartReport report(ReportPath());
    const testtools::ChartView chart = report.Chart(1, "Revenue");
    EXPECT_EQ(chart.categories, (Names{"Q1", "Q2", "Q3", "Q4", "Q5"}));
    ASSERT_EQ(chart.series.size(), 2u);
    EXPECT_EQ(chart.series[0].values, (Values{10, 12, 15, 18, 21}));
    EXPECT_EQ(chart.series[1].values, (Values{7, 9, 11, 13, 15}));
    EXPECT_EQ(report.ValueFormulas(1, "Revenue"), (Names{"Sheet1!$B$2:$B$6", "Sheet1!$C$2:$C$6"}));
    const testtools::EmbeddedWorkbook book = report.Workbook(1, "Revenue");
    EXPECT_EQ(CellText(book, "Sheet1", "A6"), "Q5");
    EXPECT_EQ(CellText(book, "Sheet1", "C6"), "15");
    EXPECT_EQ(CellText(book, "Sheet1", "B1"), "North"); // the series names stay
    EXPECT_EQ(CellText(book, "Notes", "A2"), "");
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, OneRecordShrinksTheSampleRowsToOneCategory) {
    RunStatement("CHART(SLIDE=1 CELL=A2)", "select q, north, south from quarters where q = 'Q3'",
                 Succeeded(1));
    ChartReport report(ReportPath());
    const testtools::ChartView chart = report.Chart(1, "Revenue");
    EXPECT_EQ(chart.categories, (Names{"Q3"}));
    ASSERT_EQ(chart.series.size(), 2u);
    EXPECT_EQ(chart.series[0].values, (Values{15}));
    EXPECT_EQ(chart.series[1].values, (Values{11}));
    EXPECT_EQ(report.ValueFormulas(1, "Revenue"), (Names{"Sheet1!$B$2", "Sheet1!$C$2"}));
    EXPECT_EQ(CellText(report.Workbook(1, "Revenue"), "Sheet1", "A3"), "");
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, TypeFixWritesEveryRecordButLeavesTheSeriesOverTheSampleRows) {
    RunStatement("CHART(SLIDE=1 TYPE=FIX CELL=A2)", kQuarters, Succeeded(5));
    ChartReport report(ReportPath());
    const testtools::ChartView chart = report.Chart(1, "Revenue");
    EXPECT_EQ(chart.categories, (Names{"Q1", "Q2"}));
    EXPECT_EQ(chart.series.at(0).values, (Values{10, 12}));
    EXPECT_EQ(report.ValueFormulas(1, "Revenue"), (Names{"Sheet1!$B$2:$B$3", "Sheet1!$C$2:$C$3"}));
    const testtools::EmbeddedWorkbook book = report.Workbook(1, "Revenue");
    EXPECT_EQ(CellText(book, "Sheet1", "A6"), "Q5");
    EXPECT_EQ(CellText(book, "Sheet1", "B6"), "21");
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, NoRecordsLeaveTheSampleDataAndSucceed) {
    RunStatement("CHART(SLIDE=1 CELL=A2)", "select q, north, south from quarters where 1 = 0",
                 {"[1]    Returns 0 record from the data source.", "[1]    Success."});
    ChartReport report(ReportPath());
    const testtools::ChartView chart = report.Chart(1, "Revenue");
    EXPECT_EQ(chart.categories, (Names{"S1", "S2"}));
    EXPECT_EQ(chart.series.at(0).values, (Values{1, 2}));
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, FillOrderColInsertsColumnsBetweenTheSampleSeries) {
    RunStatement("CHART(SLIDE=2 CELL=B1 FILLORDER=COL)",
                 "select q, north, south, north + south from quarters order by q", Succeeded(5));
    ChartReport report(ReportPath());
    const testtools::EmbeddedWorkbook book = report.Workbook(2, "Measures");
    const Names columns = {"B", "C", "D", "E", "F"};
    const Names quarters = {"Q1", "Q2", "Q3", "Q4", "Q5"};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(CellText(book, "Sheet1", columns[i] + "1"), quarters[i]);
    }
    EXPECT_EQ(CellText(book, "Sheet1", "F4"), "36");
    EXPECT_EQ(CellText(book, "Sheet1", "G1"), "");
    // The columns inserted between the sample series became series of their own.
    EXPECT_EQ(report.ValueFormulas(2, "Measures"),
              (Names{"Sheet1!$B$2:$B$4", "Sheet1!$C$2:$C$4", "Sheet1!$D$2:$D$4", "Sheet1!$E$2:$E$4",
                     "Sheet1!$F$2:$F$4"}));
    const testtools::ChartView chart = report.Chart(2, "Measures");
    EXPECT_EQ(chart.categories, (Names{"North", "South", "Total"}));
    ASSERT_EQ(chart.series.size(), 5u);
    for (std::size_t i = 0; i < quarters.size(); ++i) {
        EXPECT_EQ(chart.series[i].name, quarters[i]);
    }
    EXPECT_EQ(chart.series.back().values, (Values{21, 15, 36}));
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, FillOrderColWithOneRecordKeepsOneSeries) {
    RunStatement("CHART(SLIDE=2 CELL=B1 FILLORDER=COL)",
                 "select q, north, south, north + south from quarters where q = 'Q2'",
                 Succeeded(1));
    ChartReport report(ReportPath());
    const testtools::ChartView chart = report.Chart(2, "Measures");
    ASSERT_EQ(chart.series.size(), 1u);
    EXPECT_EQ(chart.series[0].name, "Q2");
    EXPECT_EQ(chart.series[0].values, (Values{12, 9, 21}));
    EXPECT_EQ(report.ValueFormulas(2, "Measures"), (Names{"Sheet1!$B$2:$B$4"}));
    EXPECT_EQ(CellText(report.Workbook(2, "Measures"), "Sheet1", "C1"), "");
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, TheFirstSeriesNamesTheDataWorksheet) {
    // Figures that arrive as text go into the workbook as numbers.
    RunStatement("CHART(SLIDE=4 CELL=A2)", "select q, north || '' from quarters order by q",
                 Succeeded(5));
    ChartReport report(ReportPath());
    const testtools::EmbeddedWorkbook book = report.Workbook(4, "Yearly");
    EXPECT_EQ(CellText(book, "Sales 2008", "A6"), "Q5");
    EXPECT_EQ(CellText(book, "Notes", "A2"), "");
    EXPECT_EQ(report.ValueFormulas(4, "Yearly"), (Names{"'Sales 2008'!$B$2:$B$6"}));
    EXPECT_EQ(report.Chart(4, "Yearly").series.at(0).values, (Values{10, 12, 15, 18, 21}));
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, AnArrayConstantFirstSeriesMakesTheFirstWorksheetTheDataWorksheet) {
    MakeFirstSeriesLiteral(TemplatePath());
    RunStatement("CHART(SLIDE=1 TYPE=FIX CELL=A2)", kQuarters, Succeeded(5));
    ChartReport report(ReportPath());
    const testtools::EmbeddedWorkbook book = report.Workbook(1, "Revenue");
    EXPECT_EQ(CellText(book, "Notes", "A2"), "Q1");
    EXPECT_EQ(CellText(book, "Notes", "C6"), "15");
    EXPECT_EQ(CellText(book, "Sheet1", "A2"), "S1");
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, ADatasheetGrowsByCategoriesWhenRecordsRunDownRows) {
    // Figures that arrive as text are figures in the datasheet's data cells.
    RunStatement("CHART(SLIDE=3 CELL=01,A1 FILLORDER=ROW)",
                 "select q, north || '' from quarters where q < 'Q5' order by q", Succeeded(4));
    ChartReport report(ReportPath());
    const testtools::ChartView chart = report.Chart(3, "Share");
    EXPECT_FALSE(chart.hasEmbeddedWorkbook);
    EXPECT_EQ(chart.categories, (Names{"Q1", "Q2", "Q3", "Q4"}));
    ASSERT_EQ(chart.series.size(), 1u);
    EXPECT_EQ(chart.series[0].values, (Values{10, 12, 15, 18}));
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, TheSecondChartIsFoundPastAPictureAndRecordsBecomeSeries) {
    // Default order on a datasheet: one record per column, its fields down the rows from the
    // series name in row 0.
    RunStatement("CHART(SLIDE=3 CHART=2 CELL=A0)",
                 "select q, north, south from quarters where q < 'Q3' order by q", Succeeded(2));
    ChartReport report(ReportPath());
    const testtools::ChartView trend = report.Chart(3, "Trend");
    EXPECT_EQ(trend.categories, (Names{"Jan", "Feb"}));
    ASSERT_EQ(trend.series.size(), 2u);
    EXPECT_EQ(trend.series[0].name, "Q1");
    EXPECT_EQ(trend.series[0].values, (Values{10, 7}));
    EXPECT_EQ(trend.series[1].name, "Q2");
    EXPECT_EQ(trend.series[1].values, (Values{12, 9}));
    EXPECT_EQ(report.Chart(3, "Share").categories, (Names{"A", "B"}));
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, AWorkbookThatCannotBeReadIsAChartThatCannotBeFound) {
    testtools::PartMap parts = testtools::ReadPackage(TemplatePath());
    for (auto& [name, bytes] : parts) {
        if (name.ends_with(".xlsx"))
            bytes = "no workbook here";
    }
    testtools::WritePackage(parts, TemplatePath());
    RunStatement("CHART(SLIDE=1 CELL=A2)", kQuarters,
                 {"Error: Unable to find the Excel chart.", "Error Info: *", "[1]    Failure."});
}

TEST_P(RunChartFillTest, ProgressLinesFollowTheIntervalAndEndWithProcessComplete) {
    run.options.ProgressInterval = 2;
    RunStatement("CHART(SLIDE=1 CELL=A2)", kQuarters,
                 {"[1]    Returns 5 records from the data source.",
                  "Processing record number 2 of 5...", "Processing record number 4 of 5...",
                  "Process complete.", "[1]    Success."});
}

TEST_P(RunChartFillTest, CellAndRangeMistakesEndTheStatementWithTheirMessages) {
    struct Case {
        std::string header;
        std::vector<std::string> entries;
    };
    const std::string fails = "[1]    Failure.";
    const std::string returns = "[1]    Returns 5 records from the data source.";
    const Case cases[] = {
        {"CHART(SLIDE=3 CELL=A)",
         {returns, "Error: Syntax error. Failed to parse cell 'A'.", fails}},
        {"CHART(SLIDE=3 CELL=A4000)",
         {returns, "Error: Syntax error. Failed to parse cell 'A4000'.", fails}},
        {"CHART(SLIDE=3 CELL=A1 RANGE=B1:C3)",
         {returns, "Error: The range or copyrange should be A1:A3.", fails}},
        {"CHART(SLIDE=3 CELL=A1 RANGE=1:3)",
         {returns, "Error: The range or copyrange should be A1:A3.", fails}},
        {"CHART(SLIDE=3 CELL=A1 RANGE=A1)",
         {returns, "Error: Syntax error. Failed to parse range 'A1'.", fails}},
        // A derived cell beyond the datasheet's last row faults at its first write.
        {"CHART(SLIDE=3 CELL=A3999)",
         {returns, "Error: Failed to execute function CHART.", "Error Info: *", fails}},
        {"CHART(SLIDE=1 CELL=A2 RANGE=B2:C2)",
         {returns, "Error: The range or copyrange should be A2:C2.", fails}},
        {"CHART(SLIDE=1 CELL=A2,ZZZZ2)",
         {returns, "Error: Syntax error. Failed to parse cell list.", "Error Info: *", fails}},
        {"CHART(SLIDE=1 CELL=A2 RANGE=Nowhere)",
         {returns, "Error: Syntax error. Failed to parse range 'Nowhere'.", "Error Info: *",
          fails}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        RunStatement(c.header, kQuarters, c.entries);
    }
    // Nothing was written by the failed statements, and nothing half-written was saved.
    ChartReport report(ReportPath());
    EXPECT_EQ(report.Chart(1, "Revenue").categories, (Names{"S1", "S2"}));
    EXPECT_EQ(report.Chart(3, "Share").categories, (Names{"A", "B"}));
    ExpectCleanPackage();
}

TEST_P(RunChartFillTest, EndKeepsTheWrittenDatasheetCellsButSavesNoHalfFilledWorkbook) {
    const std::string four = "select q, north from quarters where q < 'Q5' order by q";
    for (const char* header :
         {"CHART(SLIDE=1 CELL=A2)", "CHART(SLIDE=3 CELL=01,A1 FILLORDER=ROW)"}) {
        SCOPED_TRACE(header);
        run.WriteSalesDefinition(
            RunHarness::StandardFiles(),
            {std::string("@1 = ") + header, four, "@2 = CHART(SLIDE=4 CELL=A2)", four});
        run.observer.onRecordProgress = [&](std::string_view shown) {
            if (shown == "3 / 4")
                run.state.Interrupted = true;
        };
        run.Run(run.script);
        std::vector<std::string> log = run.LogLines();
        ASSERT_GE(log.size(), 9u);
        ExpectLog({log.begin() + 5, log.begin() + 9},
                  {std::string("[1]    ") + header, "[1]    " + four,
                   "[1]    Returns 4 records from the data source.", "[1]    Failure."});
        ExpectCleanPackage();
        // The datasheet keeps the first two records; the workbook chart its template data.
        ChartReport report(ReportPath());
        const bool datasheet = std::string_view(header).find("SLIDE=3") != std::string::npos;
        EXPECT_EQ(report.Chart(3, "Share").categories,
                  (datasheet ? Names{"Q1", "Q2"} : Names{"A", "B"}));
        EXPECT_EQ(report.Chart(1, "Revenue").categories, (Names{"S1", "S2"}));
        EXPECT_EQ(report.Chart(4, "Yearly").categories, (Names{"S1", "S2"}));
    }
}

TEST_P(RunChartFillTest, LibreOfficeDrawsTheNewValuesOfBarPieAndLineCharts) {
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    if (GetParam() == Backend::Postgres)
        GTEST_SKIP() << "one rendering is enough; the values are the same on both databases";
    database.Execute("create table days as with recursive n(i) as (select 1 union all select i + 1 "
                     "from n where i < 1000) select i, 'D' || i as label, 500 + (i % 37) * 10 as v "
                     "from n");
    run.WriteSalesDefinition(
        RunHarness::StandardFiles(),
        {"@1 = CHART(SLIDE=1 CELL=A2)", kQuarters, "@2 = CHART(SLIDE=2 CELL=B1 FILLORDER=COL)",
         "select q, north, south, north + south from quarters where q = 'Q4'",
         "@3 = CHART(SLIDE=3 CELL=01,A1 FILLORDER=ROW)",
         "select q, north from quarters where q < 'Q5' order by q", "@4 = CHART(SLIDE=4 CELL=A2)",
         "select label, v from days order by i"});
    run.Run();
    EXPECT_EQ(run.state.ErrorCount, 0);
    ExpectCleanPackage();
    ChartReport report(ReportPath());
    EXPECT_EQ(report.Chart(4, "Yearly").series.at(0).values.size(), 1000u);

    const fs::path pdf = render::RenderToPdf(ReportPath());
    EXPECT_EQ(render::PdfPageCount(pdf), 4);
    const std::string text = render::PdfText(pdf);
    for (const char* label : {"Q5", "Q4", "Q3", "North", "South", "Total"}) {
        EXPECT_NE(text.find(label), std::string::npos) << label << " in\n" << text;
    }
    const std::vector<fs::path> pages = render::RenderPngPages(pdf, 60);
    EXPECT_EQ(pages.size(), 4u);
    if (const char* keep = std::getenv("SLIDESMITH_KEEP_RENDERS")) {
        for (const fs::path& page : pages)
            fs::copy_file(page, fs::path(keep) / ("chart-fill-" + page.filename().string()),
                          fs::copy_options::overwrite_existing);
    }
}

SLIDESMITH_SCENARIO_BACKENDS(RunChartFillTest);

} // namespace
} // namespace slidesmith::engine::test
