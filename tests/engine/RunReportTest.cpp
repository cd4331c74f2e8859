// Whole runs through the real driver, template and SQLite ODBC driver: what the log says, which
// files are left behind, and what the report holds.
#include "PackageChecker.h"
#include "PresentationReader.h"
#include "RunHarness.h"
#include "platform/convert/Converter.h"
#include "platform/files/FileIo.h"
#include "render/Render.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Join(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

class RunReportTest : public ::testing::Test {
protected:
    void Define(const std::vector<std::string>& fileSettings,
                const std::vector<std::string>& script,
                const std::vector<std::string>& extraSections = {}) {
        run.WriteSalesDefinition(fileSettings, script, extraSections);
    }
    std::string Quoted(std::string_view name) const { return "\"" + run.PathOf(name) + "\""; }

    RunHarness run;
};

TEST_F(RunReportTest, WithoutDataSourcesTheReportIsTheTemplateAndNoStatementRuns) {
    run.WriteTemplate();
    run.WriteDefinition({"Slidemill Version 2.0", "[Data Source]", "", "[File]",
                         "ReportTemplateFileName=template.pptx", "ReportFileName=out\\Report.pptx",
                         "LogFileName=Log\\Sales.log", "[SQL]", "@1 = EXECSQL()",
                         "insert into t values (1)"});
    run.Run();

    EXPECT_EQ(run.definition.LogPath, run.PathOf("Log/Sales.log"));
    ExpectLog(run.LogLines(),
              Join(LogHead(), {"Warning: None of data sources is defined.",
                               "Create the blank report file " + Quoted("out/Report.pptx") + ".",
                               "Open the template file " + Quoted("template.pptx") + ".",
                               "Save the report file " + Quoted("out/Report.pptx") + ".",
                               "Close the report file.", "Close the log file."}));
    EXPECT_EQ(run.state.StatementCount, 0);
    EXPECT_EQ(run.state.ErrorCount, 0);
    testtools::PresentationReader report(run.PathOf("out/Report.pptx"));
    EXPECT_EQ(report.SlideCount(), 3u);
    EXPECT_EQ(testtools::Describe(testtools::CheckPackage(run.PathOf("out/Report.pptx"))), "");
    EXPECT_EQ(run.observer.statuses, std::vector<std::string>{"Running"});
}

TEST_F(RunReportTest, WhenEverySourceFailsTheScriptIsSkippedButTheReportIsSaved) {
    run.WriteTemplate();
    run.WriteDefinition({"Slidemill Version 2.0", "[Data Source]", "Name1=Sales",
                         "ConnectionString1=Driver=SQLite3;Database=missing.db", "Name2=NoSuchDsn",
                         "User2=sa", "Password2=secret", "", "[File]",
                         "ReportTemplateFileName=template.pptx", "ReportFileName=Report.pptx",
                         "[SQL]", "@1 = EXECSQL()", "insert into t values (1)"});
    run.Run();

    // No LogFileName: the log lies beside the definition under its name, and the definition
    // remembers where.
    EXPECT_EQ(run.definition.LogFileName, run.PathOf("sales.log"));
    ExpectLog(run.LogLines(),
              Join(LogHead(),
                   {"Error: Failed to connect to database. DSN=Sales, Using a connection string.",
                    "Error Info: *",
                    "Error: Failed to connect to database. DSN=NoSuchDsn\xEF\xBC\x8C USER=sa",
                    "Error Info: *", "Create the blank report file " + Quoted("Report.pptx") + ".",
                    "Open the template file " + Quoted("template.pptx") + ".",
                    "Save the report file " + Quoted("Report.pptx") + ".", "Close the report file.",
                    "Close the log file."}));
    EXPECT_EQ(run.state.ErrorCount, 2);
    EXPECT_EQ(run.state.StatementCount, 0);
    // A mistyped SQLite name must not leave an empty database behind.
    EXPECT_FALSE(fs::exists(run.PathOf("missing.db")));
}

TEST_F(RunReportTest, FileSettingFaultsEndTheRunWithoutAReportFile) {
    struct Case {
        std::vector<std::string> settings;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {{"ReportFileName=Report.pptx"}, {"Error: The template file is not named correctly."}},
        {{"ReportTemplateFileName=..\\nowhere\\template.pptx", "ReportFileName=Report.pptx"},
         {"Error: Report template file \"" +
          (run.Folder().parent_path() / "nowhere/template.pptx").string() + "\" does not exist."}},
        {{"ReportTemplateFileName=C:\\Reports\\Template.pptx", "ReportFileName=Report.pptx"},
         {"Error: Report template file \"C:\\Reports\\Template.pptx\" does not exist."}},
        {{"ReportTemplateFileName=template.pptx"},
         {"Error: The report file is not named correctly."}},
    };
    run.WriteTemplate();
    run.CreateSqliteDatabase("sales.db");
    for (const Case& c : cases) {
        std::vector<std::string> settings = c.settings;
        settings.push_back("LogFileName=run.log");
        Define(settings, {"@1 = EXECSQL()", "insert into t values (1)"});
        run.Run();
        // No "Close the log file." line: the run ended before it began.
        ExpectLog(run.LogLines(), Join(LogHead(), c.log));
        EXPECT_EQ(run.state.ErrorCount, 1);
        EXPECT_FALSE(fs::exists(run.PathOf("Report.pptx")));
    }
    EXPECT_TRUE(QueryIntegers(SqliteConnection(run.PathOf("sales.db")), "select x from t").empty());
}

TEST_F(RunReportTest, ALogThatCannotBeCreatedMeansNoRunAndIsToldToTheCaller) {
    run.WriteTemplate();
    files::WriteFileAtomically(run.PathOf("file"), "not a folder");
    Define({"ReportTemplateFileName=template.pptx", "ReportFileName=Report.pptx",
            "LogFileName=file\\run.log"},
           {"@1 = EXECSQL()", "insert into t values (1)"});
    run.Run();
    EXPECT_FALSE(run.state.LogOpened);
    ASSERT_EQ(run.errorBoxes.size(), 1u);
    EXPECT_EQ(run.errorBoxes[0], run.PathOf("file/run.log") + ": Not a directory");
    EXPECT_FALSE(fs::exists(run.PathOf("Report.pptx")));
}

TEST_F(RunReportTest, ATemplateThatCannotBeOpenedLeavesNoBlankReportBehind) {
    files::WriteFileAtomically(run.PathOf("broken.pptx"), "this is no zip file");
    run.CreateSqliteDatabase("sales.db");
    Define(
        {"ReportTemplateFileName=broken.pptx", "ReportFileName=Report.pptx", "LogFileName=run.log"},
        {"@1 = EXECSQL()", "insert into t values (1)"});
    run.Run();
    ExpectLog(
        run.LogLines(),
        Join(LogHead(), {"Connect to database successfully. DSN=Sales, Using a connection string.",
                         "Create the blank report file " + Quoted("Report.pptx") + ".",
                         "Error: Failed to open the template file " + Quoted("broken.pptx") + ".",
                         "Error Info: *"}));
    EXPECT_FALSE(fs::exists(run.PathOf("Report.pptx")));
}

TEST_F(RunReportTest, ReportFileTypesPickTheSaveFormatAndAForeignExtensionIsReported) {
    struct Case {
        std::string type;
        std::string reportName;
        std::vector<std::string> saveLines;
        std::string written;
    };
    const Case cases[] = {
        {"POTX",
         "Report.potx",
         {"Save the report file " + Quoted("Report.potx") + "."},
         "Report.potx"},
        {"26",
         "Report.potx",
         {"Save the report file " + Quoted("Report.potx") + "."},
         "Report.potx"},
        // Not in the table: the default format, without a word about the type.
        {"nonsense",
         "Report.pptx",
         {"Save the report file " + Quoted("Report.pptx") + "."},
         "Report.pptx"},
        {"",
         "Report.ppt",
         {"Error: Can not save the report file " + Quoted("Report.ppt") + ".",
          "Save the report file as " + Quoted("Report.ppt.pptx") + "."},
         "Report.ppt.pptx"},
    };
    run.WriteTemplate();
    for (const Case& c : cases) {
        Define({"ReportTemplateFileName=template.pptx", "ReportFileName=" + c.reportName,
                "ReportFileType=" + c.type, "LogFileName=run.log"},
               {});
        run.definition.DataSources.clear();
        run.Run();
        std::vector<std::string> expected =
            Join(LogHead(), {"Warning: None of data sources is defined.",
                             "Create the blank report file " + Quoted(c.reportName) + ".",
                             "Open the template file " + Quoted("template.pptx") + "."});
        expected = Join(expected, c.saveLines);
        expected = Join(expected, {"Close the report file.", "Close the log file."});
        ExpectLog(run.LogLines(), expected);
        EXPECT_GT(fs::file_size(run.PathOf(c.written)), 0u) << c.type;
        fs::remove(run.PathOf(c.written));
    }
    // The blank file made for Report.ppt is gone: only the report actually written remains.
    EXPECT_FALSE(fs::exists(run.PathOf("Report.ppt")));
}

TEST_F(RunReportTest, DisplayingTheReportHandsTheSavedFileToTheViewer) {
    run.WriteTemplate();
    Define({"ReportTemplateFileName=template.pptx", "ReportFileName=Report.pptx",
            "LogFileName=run.log"},
           {});
    run.definition.DataSources.clear();
    run.options.DisplayReport = true;
    run.Run();
    std::vector<std::string> log = run.LogLines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "Display the report file with Microsoft PowerPoint.");
    EXPECT_EQ(log.back(), "Close the log file.");
    EXPECT_EQ(run.displayed, std::vector<fs::path>{run.PathOf("Report.pptx")});
}

TEST_F(RunReportTest, CommandLineValuesReachFileNamesAndSql) {
    run.WriteTemplate();
    run.CreateSqliteDatabase("sales.db");
    Define({"ReportTemplateFileName=template.pptx", "ReportFileName=Report_&Y.pptx",
            "LogFileName=Log\\&Y\\run.log"},
           {"@1 = EXECSQL()", "insert into t values (&Y)"},
           {"", "[Parameter]", "Name1=&Y", "Title1=Year", "Default1=2000", "Name2=&M",
            "Title2=Month", "Default2=1"});
    run.options.CommandLineValues = {"2012"};
    run.Run();

    EXPECT_EQ(run.definition.LogPath, run.PathOf("Log/2012/run.log"));
    ExpectLog(run.LogLines(),
              Join(LogHead(),
                   {"Warning: 2 parameters have been defined in the report, but just 1 parameter "
                    "is inputed on command line.",
                    "Connect to database successfully. DSN=Sales, Using a connection string.",
                    "Create the blank report file " + Quoted("Report_2012.pptx") + ".",
                    "Open the template file " + Quoted("template.pptx") + ".", "[1]    EXECSQL()",
                    "[1]    insert into t values (2012)", "[1]    Success.",
                    "Save the report file " + Quoted("Report_2012.pptx") + ".",
                    "Close the report file.", "Close the log file."}));
    EXPECT_EQ(QueryIntegers(SqliteConnection(run.PathOf("sales.db")), "select x from t"),
              std::vector<long long>{2012});
}

TEST_F(RunReportTest, EndingTheRunStopsTheScriptButTheReportIsStillSaved) {
    run.WriteTemplate();
    run.CreateSqliteDatabase("sales.db");
    Define({"ReportTemplateFileName=template.pptx", "ReportFileName=Report.pptx",
            "LogFileName=run.log"},
           {"@1 = EXECSQL()", "insert into t values (1)", "@2 = EXECSQL()",
            "insert into t values (2)", "@3 = EXECSQL()", "insert into t values (3)"});
    // The user presses End while statement 1 runs.
    run.observer.onLogLine = [this](std::string_view line) {
        if (line == "[1]    Success.")
            run.state.Interrupted = true;
    };
    run.Run(run.script);

    ExpectLog(
        run.LogLines(),
        Join(LogHead(), {"Connect to database successfully. DSN=Sales, Using a connection string.",
                         "Create the blank report file " + Quoted("Report.pptx") + ".",
                         "Open the template file " + Quoted("template.pptx") + ".",
                         "[1]    EXECSQL()", "[1]    insert into t values (1)", "[1]    Success.",
                         "Save the report file " + Quoted("Report.pptx") + ".",
                         "Close the report file.", "Close the log file."}));
    EXPECT_EQ(QueryIntegers(SqliteConnection(run.PathOf("sales.db")), "select x from t"),
              std::vector<long long>{1});
    EXPECT_EQ(run.observer.labels, std::vector<std::string>{"1"});
}

TEST_F(RunReportTest, EndingTheRunBeforeTheTemplateOpensLeavesNoReport) {
    run.WriteTemplate();
    run.CreateSqliteDatabase("sales.db");
    Define({"ReportTemplateFileName=template.pptx", "ReportFileName=Report.pptx",
            "LogFileName=run.log"},
           {"@1 = EXECSQL()", "insert into t values (1)"});
    run.observer.onPendingEvents = [this] { run.state.Interrupted = true; };
    run.Run(run.script);
    ExpectLog(run.LogLines(),
              Join(LogHead(),
                   {"Connect to database successfully. DSN=Sales, Using a connection string."}));
    EXPECT_FALSE(fs::exists(run.PathOf("Report.pptx")));
}

TEST_F(RunReportTest, AnOpenDocumentTemplateIsConvertedAndAPdfReportWrittenThroughLibreOffice) {
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    run.WriteTemplate("built.pptx");
    convert::ConvertPresentation(run.PathOf("built.pptx"), run.PathOf("template.odp"), "odp");
    Define({"ReportTemplateFileName=template.odp", "ReportFileName=Report.pdf",
            "ReportFileType=PDF", "LogFileName=run.log"},
           {});
    run.definition.DataSources.clear();
    run.Run();
    ExpectLog(run.LogLines(),
              Join(LogHead(), {"Warning: None of data sources is defined.",
                               "Create the blank report file " + Quoted("Report.pdf") + ".",
                               "Open the template file " + Quoted("template.odp") + ".",
                               "Save the report file " + Quoted("Report.pdf") + ".",
                               "Close the report file.", "Close the log file."}));
    EXPECT_EQ(render::PdfPageCount(run.PathOf("Report.pdf")), 3);
    EXPECT_NE(render::PdfText(run.PathOf("Report.pdf")).find("between the tables"),
              std::string::npos);
}

} // namespace
} // namespace slidesmith::engine::test
