// Faults in the middle of a run, on both databases: a cell outside its table, the database
// going away, a save that cannot replace the report. Each is logged, the run goes on to its
// end, and what is left on disk is a whole report or none at all.
#include "PackageChecker.h"
#include "PresentationReader.h"
#include "RunHarness.h"
#include "ScenarioDatabase.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

namespace fs = std::filesystem;

class RunFailureTest : public ScenarioTest {
protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        if (IsSkipped())
            return;
        run.WriteTemplate();
        ScenarioTable items{"items", {{"n", ColumnType::Integer}, {"amount", ColumnType::Integer}}};
        for (int n = 1; n <= 7; ++n)
            items.rows.push_back({std::to_string(n), std::to_string(n * 10)});
        database.Create(items);
    }

    // Files in the run's folder other than the ones every run leaves.
    std::vector<std::string> StrayFiles() const {
        std::vector<std::string> stray;
        for (const fs::directory_entry& entry : fs::directory_iterator(run.Folder())) {
            const std::string name = entry.path().filename().string();
            if (name != "template.pptx" && name != "Report.pptx" && name != "run.log" &&
                name != "sales.slm" && name != "odbc.ini" && name != "scenario.db")
                stray.push_back(name);
        }
        return stray;
    }
};

TEST_P(RunFailureTest, ACellOutsideItsTableAndAVanishedDatabaseFailOnlyTheirStatements) {
    const std::string two = "select n, amount from items where n <= 2 order by n";
    const std::string all = "select n, amount from items order by n";
    Define({"@1 = REPORT(SLIDE=2 TYPE=FIX CELL=A2,C2)", two,
            "@2 = REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", two,
            "@3 = REPORT(SLIDE=3 TYPE=FIX CELL=A1,B1)", all, "@4 = EXECSQL()",
            "insert into items values (8, 80)"});
    run.observer.onLogLine = [this](std::string_view line) {
        if (line == "[2]    Success.")
            database.Vanish();
    };
    run.Run();

    // Closing a connection whose server session was ended may be refused: the log is pinned up
    // to the save.
    std::vector<std::string> log = run.LogLines();
    auto closed = std::find(log.begin(), log.end(), "Close the report file.");
    ASSERT_NE(closed, log.end());
    EXPECT_EQ(log.back(), "Close the log file.");
    std::vector<std::string> expected = run.SalesRunLog(
        {StatementLines("1", "REPORT(SLIDE=2 TYPE=FIX CELL=A2,C2)", two,
                        {"[1]    Returns 2 records from the data source.",
                         "Error: Syntax error. Failed to parse cell 'C2'.",
                         "Error Info: The cell 'C2' is out of the range of the table.",
                         "[1]    Failure."}),
         StatementLines("2", "REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", two,
                        {"[2]    Returns 2 records from the data source.", "[2]    Success."}),
         StatementLines(
             "3", "REPORT(SLIDE=3 TYPE=FIX CELL=A1,B1)", all,
             {"Error: Failed to execute function REPORT.", "Error Info: *", "[3]    Failure."}),
         StatementLines(
             "4", "EXECSQL()", "insert into items values (8, 80)",
             {"Error: Failed to execute function EXECSQL.", "Error Info: *", "[4]    Failure."})});
    expected.resize(expected.size() - 1); // up to "Close the report file."
    ExpectLog({log.begin(), closed + 1}, expected);
    EXPECT_GE(run.state.ErrorCount, 3);

    EXPECT_EQ(testtools::Describe(testtools::CheckPackage(run.PathOf("Report.pptx"))), "");
    testtools::PresentationReader report(run.PathOf("Report.pptx"));
    EXPECT_EQ(report.Table(2, "Sales").cells.at(2).at(1).text, "20");
    EXPECT_EQ(StrayFiles(), std::vector<std::string>{});
}

TEST_P(RunFailureTest, ASaveThatCannotReplaceTheReportLeavesNoPartialFile) {
    Define({"@1 = REPORT(SLIDE=2 TYPE=FIX CELL=A2,B2)", "select n, amount from items where n = 1"});
    // Something takes the report's place while the run works: a folder that is not empty.
    run.observer.onLogLine = [this](std::string_view line) {
        if (line == "[1]    Success.") {
            fs::remove(run.PathOf("Report.pptx"));
            fs::create_directories(run.PathOf("Report.pptx/held"));
        }
    };
    run.Run();
    std::vector<std::string> log = run.LogLines();
    auto failed = std::find(log.begin(), log.end(), "Error: Failed to save the report file.");
    ASSERT_NE(failed, log.end());
    ASSERT_EQ(log.end() - failed, 3);
    EXPECT_TRUE(failed[1].starts_with("Error Info: ")) << failed[1];
    EXPECT_EQ(failed[2], "Close the log file.");
    EXPECT_TRUE(fs::is_directory(run.PathOf("Report.pptx/held")));
    EXPECT_EQ(StrayFiles(), std::vector<std::string>{});
}

SLIDESMITH_SCENARIO_BACKENDS(RunFailureTest);

} // namespace
} // namespace slidesmith::engine::test
