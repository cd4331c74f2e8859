// Data-source connections and EXECSQL through the real ODBC drivers: SQLite always, PostgreSQL
// when the test server runs. Databases that fail or vanish in the middle of a run.
#include "RunHarness.h"
#include "platform/odbc/Connection.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

namespace fs = std::filesystem;

const std::string kUserComma = "\xEF\xBC\x8C USER=";

std::vector<std::string> Lines(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Definition lines for the given data-source lines and script, with a template and a log.
std::vector<std::string> Definition(const std::vector<std::string>& sources,
                                    const std::vector<std::string>& script) {
    return Lines({{"Slidemill Version 2.0", "[Data Source]"},
                  sources,
                  {"", "[File]", "ReportTemplateFileName=template.pptx",
                   "ReportFileName=Report.pptx", "LogFileName=run.log", "[SQL]"},
                  script});
}

class ConnectionsTest : public ::testing::Test {
protected:
    void SetUp() override { run.WriteTemplate(); }
    std::vector<std::string> Opened() const {
        return {"Create the blank report file \"" + run.PathOf("Report.pptx") + "\".",
                "Open the template file \"" + run.PathOf("template.pptx") + "\"."};
    }
    std::vector<std::string> Closed() const {
        return {"Save the report file \"" + run.PathOf("Report.pptx") + "\".",
                "Close the report file.", "Close the log file."};
    }

    RunHarness run;
};

TEST_F(ConnectionsTest, StatementsReachTheDataSourceTheyNameByNameOrNumber) {
    run.CreateSqliteDatabase("sales.db");
    run.CreateSqliteDatabase("dsn.db"); // behind the user DSN SlidesmithDsn
    run.WriteDefinition(Definition(
        {"Name1=Sales", "ConnectionString1=Driver=SQLite3;Database=sales.db", "Name2=SlidesmithDsn",
         "User2=sa", "Password2=pw", "Name3=Broken",
         "ConnectionString3=Driver=SQLite3;Database=nowhere.db"},
        {"@1 = EXECSQL(CONNECT=2)", "insert into t values (2)", "@2 = EXECSQL(CONNECT=Sales)",
         "insert into t values (1)", "@3 = EXECSQL()", "insert into t values (10)",
         "@4 = EXECSQL(CONNECT=Broken)", "insert into t values (3)", "@5 = EXECSQL(CONNECT=9)",
         "insert into t values (9)"}));
    run.Run();

    ExpectLog(
        run.LogLines(),
        Lines({LogHead(),
               {"Connect to database successfully. DSN=Sales, Using a connection string.",
                "Connect to database successfully. DSN=SlidesmithDsn" + kUserComma + "sa",
                "Error: Failed to connect to database. DSN=Broken, Using a connection "
                "string.",
                "Error Info: *"},
               Opened(),
               {"[1]    EXECSQL(CONNECT=2)", "[1]    insert into t values (2)", "[1]    Success.",
                "[2]    EXECSQL(CONNECT=Sales)", "[2]    insert into t values (1)",
                "[2]    Success.", "[3]    EXECSQL()", "[3]    insert into t values (10)",
                "[3]    Success.", // The parser logs the header as far as it got.
                "[4]    EXECSQL(CONNECT=Broken",
                "Error: Connection error in [4]. Can not connect to the data source "
                "\"Broken\".",
                "[5]    EXECSQL(CONNECT=9",
                "Error: Connection error in [5]. Can not find data source \"9\"."},
               Closed()}));
    EXPECT_EQ(QueryIntegers(SqliteConnection(run.PathOf("sales.db")), "select x from t order by x"),
              (std::vector<long long>{1, 10}));
    EXPECT_EQ(QueryIntegers(SqliteConnection(run.PathOf("dsn.db")), "select x from t"),
              std::vector<long long>{2});
    EXPECT_EQ(run.state.StatementCount, 3);
    EXPECT_EQ(run.state.ErrorCount, 3);
}

TEST_F(ConnectionsTest, BadSqlFailsItsStatementAndTheRunGoesOn) {
    run.CreateSqliteDatabase("sales.db");
    run.WriteDefinition(Definition(
        {"Name1=Sales", "ConnectionString1=Driver=SQLite3;Database=sales.db"},
        {"@1 = EXECSQL()", "selec nonsense", "@2 = EXECSQL()", "insert into missing values (1)",
         "@3 = EXECSQL() insert into t values (3)", "@4 = EXECSQL()", "select x from t"}));
    run.Run();

    ExpectLog(
        run.LogLines(),
        Lines({LogHead(),
               {"Connect to database successfully. DSN=Sales, Using a connection string."},
               Opened(),
               {"[1]    EXECSQL()", "[1]    selec nonsense",
                "Error: Failed to execute function EXECSQL.", "Error Info: *", "[1]    Failure.",
                "[2]    EXECSQL()", "[2]    insert into missing values (1)",
                "Error: Failed to execute function EXECSQL.",
                "Error Info: *no such table: missing*", "[2]    Failure.", "[3]    EXECSQL()",
                "[3]    insert into t values (3)", "[3]    Success.",
                // A query run for its effects succeeds; its rows are dropped.
                "[4]    EXECSQL()", "[4]    select x from t", "[4]    Success."},
               Closed()}));
    EXPECT_EQ(run.state.ErrorCount, 2);
}

TEST_F(ConnectionsTest, CommandLineCredentialsReplaceUserAndPasswordTogether) {
    run.CreateSqliteDatabase("dsn.db");
    run.WriteDefinition(Definition({"Name1=SlidesmithDsn", "User1=defined", "Password1=pw"},
                                   {"@1 = EXECSQL()", "insert into t values (1)"}));
    run.options.CredentialGiven[0] = true;
    run.options.CredentialUser[0] = "";
    run.options.CredentialPassword[0] = "given";
    run.Run();
    std::vector<std::string> log = run.LogLines();
    ASSERT_GT(log.size(), 2u);
    // -P alone: the user is empty now, so the line ends after the name.
    EXPECT_EQ(log[2], "Connect to database successfully. DSN=SlidesmithDsn");
    EXPECT_EQ(run.definition.DataSources[0].Password, "given");
}

TEST_F(ConnectionsTest, AnInteractiveRunRetriesAFailedSourceWithTheLogin) {
    run.CreateSqliteDatabase("dsn.db");
    run.WriteDefinition(Definition({"Name1=WrongDsn", "User1=old", "Password1=pw"},
                                   {"@1 = EXECSQL()", "insert into t values (1)"}));
    std::vector<LoginPrompt> prompts;
    run.login = [&prompts](const LoginPrompt& prompt) -> std::optional<LoginCredentials> {
        prompts.push_back(prompt);
        if (prompts.size() == 1)
            return LoginCredentials{"AlsoWrong", "u", "p"};
        return LoginCredentials{"SlidesmithDsn", "reporter", "secret"};
    };
    run.Run(run.script);

    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].Name, "WrongDsn");
    EXPECT_EQ(prompts[0].User, "old");
    EXPECT_EQ(prompts[0].FailedRetryText, "");
    EXPECT_TRUE(prompts[1].FailedRetryText.starts_with(
        "Failed to connect to data source.\r\nDSN=AlsoWrong" + kUserComma + "u\r\n"))
        << prompts[1].FailedRetryText;
    ExpectLog(
        run.LogLines(),
        Lines({LogHead(),
               {"Connect to database successfully. DSN=SlidesmithDsn" + kUserComma + "reporter"},
               Opened(),
               {"[1]    EXECSQL()", "[1]    insert into t values (1)", "[1]    Success."},
               Closed()}));
    // The definition keeps what worked, but not the typed password.
    EXPECT_EQ(run.definition.DataSources[0].Name, "SlidesmithDsn");
    EXPECT_EQ(run.definition.DataSources[0].User, "reporter");
    EXPECT_EQ(run.definition.DataSources[0].Password, "");
}

TEST_F(ConnectionsTest, ACancelledLoginAndABatchRunLogTheFailureOnce) {
    run.WriteDefinition(Definition({"Name1=WrongDsn", "User1=old", "Password1=pw"},
                                   {"@1 = EXECSQL()", "insert into t values (1)"}));
    int prompts = 0;
    run.login = [&prompts](const LoginPrompt&) -> std::optional<LoginCredentials> {
        ++prompts;
        return std::nullopt;
    };
    const std::vector<std::string> expected =
        Lines({LogHead(),
               {"Error: Failed to connect to database. DSN=WrongDsn" + kUserComma + "old",
                "Error Info: *"},
               Opened(),
               Closed()});
    run.Run(run.script);
    ExpectLog(run.LogLines(), expected);
    EXPECT_EQ(prompts, 1);

    run.Run(); // batch mode never asks
    ExpectLog(run.LogLines(), expected);
    EXPECT_EQ(prompts, 1);
}

TEST_F(ConnectionsTest, ALockedOrDeletedSqliteDatabaseFailsStatementsWithoutHanging) {
    run.CreateSqliteDatabase("sales.db");
    run.WriteDefinition(Definition(
        {"Name1=Sales", "ConnectionString1=Driver=SQLite3;Database=sales.db;Timeout=200"},
        {"@1 = EXECSQL()", "insert into t values (1)", "@2 = EXECSQL()", "insert into t values (2)",
         "@3 = EXECSQL()", "insert into t values (3)"}));
    odbc::Connection locker;
    run.observer.onLogLine = [&](std::string_view line) {
        if (line == "[1]    Success.") {
            // Another program takes the database for itself...
            locker.Open(SqliteConnection(run.PathOf("sales.db")));
            locker.Execute("begin exclusive");
        } else if (line == "[2]    Failure.") {
            // ...and then removes it.
            locker.Close();
            fs::remove(run.PathOf("sales.db"));
        }
    };
    run.Run();
    std::vector<std::string> log = run.LogLines();
    ASSERT_GE(log.size(), 15u);
    ExpectLog(std::vector<std::string>(log.begin() + 7, log.begin() + 15),
              {"[1]    Success.", "[2]    EXECSQL()", "[2]    insert into t values (2)",
               "Error: Failed to execute function EXECSQL.", "Error Info: *locked*",
               "[2]    Failure.", "[3]    EXECSQL()", "[3]    insert into t values (3)"});
    EXPECT_EQ(log.back(), "Close the log file.");
    EXPECT_TRUE(fs::exists(run.PathOf("Report.pptx")));
}

class PostgresConnectionsTest : public ConnectionsTest {
protected:
    void SetUp() override {
        if (!database.Available())
            GTEST_SKIP() << database.Why();
        ConnectionsTest::SetUp();
    }
    PostgresDatabase database;
};

TEST_F(PostgresConnectionsTest, StatementsRunAndFailOnAServerDatabaseThatMayDropTheSession) {
    run.WriteDefinition(Definition(
        {"Name1=Server", "ConnectionString1=" + database.ConnectionString(), "Name2=Missing",
         "ConnectionString2=Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=55432;"
         "Database=slidesmith_no_such_db;UID=postgres"},
        {"@1 = EXECSQL(CONNECT=Server)", "insert into t values (1)", "@2 = EXECSQL(CONNECT=1)",
         "insert into t values ('x')", "@3 = EXECSQL(CONNECT=2)", "insert into t values (3)",
         "@4 = EXECSQL()", "insert into t values (4); insert into t values (5)", "@5 = EXECSQL()",
         "insert into t values (6)"}));
    // The server ends the session after statement 4, as a restart would.
    run.observer.onLogLine = [this](std::string_view line) {
        if (line == "[4]    Success.")
            database.TerminateSessions();
    };
    run.Run();
    // Closing the dropped session may or may not be refused: the log is pinned up to the save.
    std::vector<std::string> log = run.LogLines();
    auto saved = std::find(log.begin(), log.end(), "Close the report file.");
    ASSERT_NE(saved, log.end());
    EXPECT_EQ(log.back(), "Close the log file.");
    ExpectLog(
        std::vector<std::string>(log.begin(), saved + 1),
        Lines({LogHead(),
               {"Connect to database successfully. DSN=Server, Using a connection string.",
                "Error: Failed to connect to database. DSN=Missing, Using a connection "
                "string.",
                "Error Info: *slidesmith_no_such_db*"},
               Opened(),
               {"[1]    EXECSQL(CONNECT=Server)", "[1]    insert into t values (1)",
                "[1]    Success.", "[2]    EXECSQL(CONNECT=1)", "[2]    insert into t values ('x')",
                "Error: Failed to execute function EXECSQL.", "Error Info: *", "[2]    Failure.",
                "[3]    EXECSQL(CONNECT=2",
                "Error: Connection error in [3]. Can not connect to the data source \"2\".",
                "[4]    EXECSQL()", "[4]    insert into t values (4); insert into t values (5)",
                "[4]    Success.", "[5]    EXECSQL()", "[5]    insert into t values (6)",
                "Error: Failed to execute function EXECSQL.", "Error Info: *", "[5]    Failure."},
               {"Save the report file \"" + run.PathOf("Report.pptx") + "\".",
                "Close the report file."}}));
    EXPECT_EQ(QueryIntegers(database.ConnectionString(), "select x from t order by x"),
              (std::vector<long long>{1, 4, 5}));
}

} // namespace
} // namespace slidesmith::engine::test
