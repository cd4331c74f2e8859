// Whole runs that fill tables: the query through the real SQLite driver, the fill chosen by
// TYPE, the log lines of each statement, and the saved report read back.
#include "PackageChecker.h"
#include "PresentationReader.h"
#include "RunHarness.h"
#include "ScenarioDatabase.h"
#include "TemplateBuilder.h"
#include "TemplateText.h"

#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

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

    std::vector<std::string> Statement(const std::string& label, const std::string& header,
                                       const std::string& sql,
                                       const std::vector<std::string>& body) const {
        std::vector<std::string> lines = {"[" + label + "]    " + header,
                                          "[" + label + "]    " + sql};
        lines.insert(lines.end(), body.begin(), body.end());
        return lines;
    }

    std::vector<std::string> Run(const std::vector<std::vector<std::string>>& statements) {
        run.Run();
        std::vector<std::string> expected = LogHead();
        expected.push_back("Connect to database successfully. DSN=Sales, Using a connection "
                           "string.");
        expected.push_back("Create the blank report file \"" + run.PathOf("Report.pptx") + "\".");
        expected.push_back("Open the template file \"" + run.PathOf("template.pptx") + "\".");
        for (const auto& statement : statements)
            expected.insert(expected.end(), statement.begin(), statement.end());
        expected.push_back("Save the report file \"" + run.PathOf("Report.pptx") + "\".");
        expected.push_back("Close the report file.");
        expected.push_back("Close the log file.");
        return expected;
    }
};

TEST_P(RunTableFillTest, AFixedTableTakesTheRecordsAndAFailingQueryIsAFailedStatement) {
    const std::string regions = "select name, amount from regions order by name";
    Define({"@1 = REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", regions,
            "@2 = REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", "select nothing from nowhere"});
    const auto expected =
        Run({Statement("1", "REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", regions,
                       {"[1]    Returns 3 records from the data source.", "[1]    Success."}),
             Statement("2", "REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", "select nothing from nowhere",
                       {"Error: Failed to execute function REPORT.", "Error Info: *",
                        "[2]    Failure."})});
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
    const auto expected =
        Run({Statement("1", "REPORT(SLIDE=1 CELL=A2,B2 PAGEBREAK=3)", items,
                       {"[1]    Returns 7 records from the data source.", "[1]    Success."}),
             Statement("2", "REPORT(SLIDE=N TYPE=FIX CELL=A2,B2)", regions,
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
    // The template paints the negative section red: negative amounts take it, others stay black.
    const testtools::TableView first = report.Table(1, "Detail");
    EXPECT_EQ(first.cells.at(1).at(1).colour, "FF0000");
    EXPECT_EQ(first.cells.at(3).at(1).colour, "000000");
    EXPECT_EQ(Column(report.Table(4, "Regions"), 0),
              (std::vector<std::string>{"Region", "North", "South", "West"}));
    EXPECT_EQ(testtools::Describe(testtools::CheckPackage(run.PathOf("Report.pptx"))), "");
}

SLIDESMITH_SCENARIO_BACKENDS(RunTableFillTest);

} // namespace
} // namespace slidesmith::engine::test
