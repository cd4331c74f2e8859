// Statements on slides: which slide and table a statement addresses, and every check before a
// fill, through whole runs on a real template.
#include "engine/StatementExecutor.h"

#include "RunHarness.h"

#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

TEST(SlideIndexFromText, CountsRelativeSlidesFromTheLastOneUsed) {
    struct Case {
        const char* text;
        std::int32_t last;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"1", 0, 1},   {"12", 5, 12}, {" 3 ", 0, 3},  {"N", 0, 1},
        {"n", 3, 4},   {"N2", 3, 6},  {"N -1", 3, 3}, {"N-1", 3, 3},
        {"N-3", 2, 0}, {"0", 0, 0},   {"-2", 0, 0},   {"Nx", 3, 0},
        {"x", 0, 0},   {"2.5", 0, 0}, {"", 4, 0},     {"N99999999999999999999", 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SlideIndexFromText(c.text, c.last), c.expected) << c.text << " after " << c.last;
}

TEST(StatementExecutor, SlideTableAndChartLookupsAndChecksFollowTheScript) {
    RunHarness run;
    run.WriteTemplate();
    run.CreateSqliteDatabase("sales.db");
    run.WriteSalesDefinition(RunHarness::StandardFiles(),
                             {"@1 = REPORT(SLIDE=1 CELL=A1) select x from t",
                              "@2 = REPORT(SLIDE=N CELL=A1) select x from t",
                              "@3 = REPORT(SLIDE=N TABLE=2 CELL=A1) select x from t",
                              "@4 = REPORT(SLIDE=N-1 TABLE=Sales CELL=A1) select x from t",
                              "@5 = REPORT(SLIDE=N CELL=A1) select x from t",
                              "@6 = REPORT(SLIDE=2) select x from t",
                              "@7 = REPORT(SLIDE=1 TYPE=FORM CELL=Title) select x from t",
                              "@8 = CHART(SLIDE=N CELL=A1) select x from t",
                              "@9 = CHART(SLIDE=2 CHART=Revenue CELL=A1) select x from t",
                              "@10 = REPORT(SLIDE=N CELL=A1 PAGEBREAK=0) select x from t",
                              "@11 = REPORT(SLIDE=0 CELL=A1) select x from t",
                              "@12 = REPORT(SLIDE=3 TABLE=3 CELL=A1) select x from t"});
    run.Run();

    std::vector<std::string> expected = LogHead();
    std::vector<std::string> statements = {
        "[1]    REPORT(SLIDE=1 CELL=A1)",
        "[1]    select x from t",
        "Error: Syntax error. The table \"\" in slide \"1\" does not exist.",
        "[2]    REPORT(SLIDE=N CELL=A1)",
        "[2]    select x from t",
        "[2]    Returns 0 record from the data source.",
        "[2]    Success.",
        "[3]    REPORT(SLIDE=N TABLE=2 CELL=A1)",
        "[3]    select x from t",
        "[3]    Returns 0 record from the data source.",
        "[3]    Success.",
        "[4]    REPORT(SLIDE=N-1 TABLE=Sales CELL=A1)",
        "[4]    select x from t",
        "Error: Syntax error. The table \"Sales\" in slide \"N-1\" does not exist.",
        "[5]    REPORT(SLIDE=N CELL=A1)",
        "[5]    select x from t",
        "Error: Syntax error. The silde \"N\" does not exist.",
        "[6]    REPORT(SLIDE=2)",
        "[6]    select x from t",
        "Error: Syntax error. There is a lack of the parameter \"CELL\".",
        "[7]    REPORT(SLIDE=1 TYPE=FORM CELL=Title)",
        "[7]    select x from t",
        "[7]    Returns 0 record from the data source.",
        "Error: Can not find the shape \"Title\" in the slide.",
        "[7]    Failure.",
        "[8]    CHART(SLIDE=N CELL=A1)",
        "[8]    select x from t",
        "[8]    Returns 0 record from the data source.",
        "[8]    Success.",
        "[9]    CHART(SLIDE=2 CHART=Revenue CELL=A1)",
        "[9]    select x from t",
        "Error: Syntax error. The chart \"Revenue\" in slide \"2\" does not exist.",
        "[10]    REPORT(SLIDE=N CELL=A1 PAGEBREAK=0)",
        "[10]    select x from t",
        "Error: Syntax error. Error in pagebreak \"0\".",
        "[10]    Returns 0 record from the data source.",
        "[10]    Success.",
        "[11]    REPORT(SLIDE=0 CELL=A1)",
        "[11]    select x from t",
        "Error: Syntax error. The silde \"0\" does not exist.",
        "[12]    REPORT(SLIDE=3 TABLE=3 CELL=A1)",
        "[12]    select x from t",
        "Error: Syntax error. The table \"3\" in slide \"3\" does not exist."};
    expected.push_back("Connect to database successfully. DSN=Sales, Using a connection string.");
    expected.push_back("Create the blank report file \"" + run.PathOf("Report.pptx") + "\".");
    expected.push_back("Open the template file \"" + run.PathOf("template.pptx") + "\".");
    expected.insert(expected.end(), statements.begin(), statements.end());
    expected.push_back("Save the report file \"" + run.PathOf("Report.pptx") + "\".");
    expected.push_back("Close the report file.");
    expected.push_back("Close the log file.");
    ExpectLog(run.LogLines(), expected);
    EXPECT_EQ(run.state.StatementCount, 12);
    EXPECT_EQ(run.state.LastSlideIndex, 3);
}

} // namespace
} // namespace slidesmith::engine::test
