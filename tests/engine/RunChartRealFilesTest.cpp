// Chart fills on templates saved by real presentation programs: every kind of plot with an
// embedded workbook, charts that only have caches or link to an outside workbook, and OLE chart
// objects, which are found and counted but cannot be filled here.
#include "ChartReport.h"
#include "PackageChecker.h"
#include "RunHarness.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

namespace fs = std::filesystem;

const fs::path kReal = fs::path(SLIDESMITH_SHARED_FIXTURES) / "real";

class RunChartRealFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string db = SqliteConnection(run.Folder() / "sales.db");
        ExecuteSql(db, "create table quarters(q text, north integer, south integer)");
        ExecuteSql(db, "insert into quarters values ('Q1', 10, 7), ('Q2', 12, 9), "
                       "('Q3', 15, 11), ('Q4', 18, 13), ('Q5', 21, 15)");
    }

    // Copies the fixture as the template and runs one statement; false when it is missing.
    bool RunOn(const std::string& fixture, const std::string& header, const std::string& sql) {
        if (!fs::exists(kReal / fixture))
            return false;
        fs::copy_file(kReal / fixture, run.Folder() / "template.pptx",
                      fs::copy_options::overwrite_existing);
        run.WriteSalesDefinition(RunHarness::StandardFiles(), {"@1 = " + header, sql});
        run.Run();
        return true;
    }

    // What the checker finds in the report and did not find in the template: real files bring
    // their own oddities (a reused master shape id, a stale cache of another chart).
    std::vector<testtools::Finding> NewFindings() const {
        const std::vector<testtools::Finding> before =
            testtools::CheckPackage(run.Folder() / "template.pptx");
        std::vector<testtools::Finding> added;
        for (const testtools::Finding& finding :
             testtools::CheckPackage(run.Folder() / "Report.pptx")) {
            const bool known = std::any_of(before.begin(), before.end(), [&](const auto& old) {
                return old.kind == finding.kind && old.message == finding.message;
            });
            if (!known)
                added.push_back(finding);
        }
        return added;
    }

    // The log lines of the statement, from its SQL text to its last line.
    std::vector<std::string> StatementLines() const {
        std::vector<std::string> lines = run.LogLines();
        auto first = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& line) { return line.starts_with("[1]"); });
        auto save = std::find_if(first, lines.end(), [](const std::string& line) {
            return line.starts_with("Save the report");
        });
        return std::vector<std::string>(first + (first == lines.end() ? 0 : 2), save);
    }

    RunHarness run;
};

TEST_F(RunChartRealFilesTest, EveryPlotKindWithAWorkbookTakesTheRecordsAndStaysConsistent) {
    struct Case {
        const char* fixture;
        std::size_t slide;
        const char* chart;
        const char* header;
        const char* sql;
    };
    const char* categories = "select q, north, south, north + south from quarters order by q";
    const char* numbers = "select north, south, north + south from quarters order by q";
    const Case cases[] = {
        {"chart-bar-embedded-xlsx-ppt2013.pptx", 1, "Chart 5", "CHART(SLIDE=1 CELL=A2)",
         categories},
        {"chart-pie-ppt2010.pptx", 1, "Chart 1", "CHART(SLIDE=1 CELL=A2)", categories},
        {"charts-bar-line-pie-scatter-bubble-mac2011.pptx", 1, "Chart 1", "CHART(SLIDE=1 CELL=A2)",
         categories},
        {"charts-bar-line-pie-scatter-bubble-mac2011.pptx", 4, "Chart 1", "CHART(SLIDE=4 CELL=A2)",
         categories},
        {"charts-bar-line-pie-scatter-bubble-mac2011.pptx", 5, "Chart 1", "CHART(SLIDE=5 CELL=A2)",
         categories},
        {"charts-bar-line-pie-scatter-bubble-mac2011.pptx", 6, "Chart 1", "CHART(SLIDE=6 CELL=A2)",
         numbers},
        {"charts-bar-line-pie-scatter-bubble-mac2011.pptx", 7, "Chart 1", "CHART(SLIDE=7 CELL=A2)",
         numbers},
        {"charts-named-pie3d-bar3d-ppt2016.pptx", 2, "BAR_CHART", "CHART(SLIDE=2 CHART=2 CELL=A2)",
         categories},
        {"charts-combo-sections-2masters-ppt2016.pptx", 1, "Chart 9", "CHART(SLIDE=1 CELL=A2)",
         categories},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " " + c.header);
        if (!RunOn(c.fixture, c.header, c.sql))
            GTEST_SKIP() << "shared fixtures not found";
        EXPECT_EQ(StatementLines(),
                  (std::vector<std::string>{"[1]    Returns 5 records from the data source.",
                                            "[1]    Success."}));
        ChartReport report(run.Folder() / "Report.pptx");
        const testtools::ChartView chart = report.Chart(c.slide, c.chart);
        ASSERT_FALSE(chart.series.empty());
        ASSERT_GE(chart.series[0].values.size(), 5u);
        if (c.sql == categories) {
            EXPECT_EQ(
                std::vector<std::string>(chart.categories.begin(), chart.categories.begin() + 5),
                (std::vector<std::string>{"Q1", "Q2", "Q3", "Q4", "Q5"}));
            EXPECT_EQ(chart.series[0].values[4], 21);
        } else {
            EXPECT_EQ(chart.series[0].values[4], 15);
        }
        EXPECT_EQ(testtools::Describe(NewFindings()), "");
    }
}

TEST_F(RunChartRealFilesTest, ChartsWithoutAWorkbookAreFilledAsDatasheetsAndLoseTheirLink) {
    struct Case {
        const char* fixture;
        const char* chart;
    };
    const Case cases[] = {
        {"chart-bar-cache-only-ppt2013.pptx", "Chart 5"},
        {"chart-pie-linked-external-xlsb-ppt2016.pptx", "Chart 3"},
        {"libreoffice74-resaved-charts-cache-only.pptx", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        if (!RunOn(c.fixture, "CHART(SLIDE=1 CELL=01,A1 FILLORDER=ROW)",
                   "select q, north from quarters order by q"))
            GTEST_SKIP() << "shared fixtures not found";
        EXPECT_EQ(StatementLines(),
                  (std::vector<std::string>{"[1]    Returns 5 records from the data source.",
                                            "[1]    Success."}));
        ChartReport report(run.Folder() / "Report.pptx");
        std::string name = c.chart != nullptr ? c.chart : "";
        if (name.empty()) {
            testtools::PresentationReader reader(run.Folder() / "Report.pptx");
            for (const testtools::ShapeView& shape : reader.Shapes(1)) {
                if (shape.kind == testtools::ShapeView::Kind::Chart && name.empty())
                    name = shape.name;
            }
        }
        const testtools::ChartView chart = report.Chart(1, name);
        ASSERT_GE(chart.categories.size(), 5u);
        EXPECT_EQ(std::vector<std::string>(chart.categories.begin(), chart.categories.begin() + 5),
                  (std::vector<std::string>{"Q1", "Q2", "Q3", "Q4", "Q5"}));
        EXPECT_EQ(chart.series.at(0).values.at(4), 21);
        EXPECT_FALSE(report.HasExternalLink(1, name));
        EXPECT_EQ(testtools::Describe(NewFindings()), "");
    }
}

TEST_F(RunChartRealFilesTest, AnOleGraphObjectIsCountedButFailsWithAClearDescription) {
    if (!RunOn("ole-msgraph-chart-govdocs-ppt2016.pptx", "CHART(SLIDE=1 CELL=A1)",
               "select q, north from quarters"))
        GTEST_SKIP() << "shared fixtures not found";
    EXPECT_EQ(StatementLines(),
              (std::vector<std::string>{
                  "Error: Failed to execute function CHART.",
                  "Error Info: Chart 1 of slide 1, \"Object 2\", is an embedded OLE object "
                  "(MSGraph.Chart.8) that only its own program can redraw; Slidesmith fills "
                  "native charts only. Replace the object by a chart inserted in the "
                  "presentation program.",
                  "[1]    Failure."}));
    EXPECT_EQ(run.state.ErrorCount, 1);
}

TEST_F(RunChartRealFilesTest, OleSpreadsheetsCountAsChartsButOtherObjectsDoNot) {
    // Nine OLE objects, of which only the two spreadsheets count: the second one is the last.
    if (!RunOn("wps-ole-embeddings.pptx", "CHART(SLIDE=1 CHART=3 CELL=A1)",
               "select q, north from quarters"))
        GTEST_SKIP() << "shared fixtures not found";
    EXPECT_EQ(StatementLines(),
              (std::vector<std::string>{"Error: Syntax error. The chart \"3\" in slide \"1\" does "
                                        "not exist."}));
    ASSERT_TRUE(RunOn("wps-ole-embeddings.pptx", "CHART(SLIDE=1 CHART=2 CELL=A1)",
                      "select q, north from quarters"));
    const std::vector<std::string> lines = StatementLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[1].find("(Excel.Sheet.") != std::string::npos) << lines[1];
}

} // namespace
} // namespace slidesmith::engine::test
