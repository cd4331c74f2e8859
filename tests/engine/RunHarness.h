#pragma once

#include "definition/ConversionTable.h"
#include "definition/ReportDefinition.h"
#include "engine/Clock.h"
#include "engine/RunContext.h"
#include "engine/RunObserver.h"
#include "engine/RunOptions.h"
#include "engine/RunState.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::engine::test {

// Collects what a run shows and lets a test act when a given log line appears (delete a
// database, press End, stop a server), as a user or the world would in the middle of a run.
class ScriptedObserver final : public RunObserver {
public:
    std::vector<std::string> statuses;
    std::vector<std::string> labels;
    std::function<void(std::string_view line)> onLogLine;
    std::function<void()> onPendingEvents;
    std::function<void(std::string_view progress)> onRecordProgress;

    void EchoLogLine(std::string_view text) override {
        if (onLogLine)
            onLogLine(text);
    }
    void ShowStatus(std::string_view text) override { statuses.emplace_back(text); }
    void ShowStatementCount(std::string_view) override {}
    void ShowErrorCount(std::string_view) override {}
    void ShowFunctionLabel(std::string_view text) override { labels.emplace_back(text); }
    void ShowRecordProgress(std::string_view text) override {
        if (onRecordProgress)
            onRecordProgress(text);
    }
    void LetPendingEventsRun() override {
        if (onPendingEvents)
            onPendingEvents();
    }
};

// A folder of its own per test with a definition, a template and databases; runs the engine and
// reads back the log. The clock is fixed, so log lines compare whole.
class RunHarness {
public:
    RunHarness();
    ~RunHarness();
    RunHarness(const RunHarness&) = delete;
    RunHarness& operator=(const RunHarness&) = delete;

    const std::filesystem::path& Folder() const { return m_folder; }
    std::string PathOf(std::string_view name) const { return (m_folder / name).string(); }

    // Writes folder/name.slm from its lines (joined with CR LF) and loads it as the program does.
    void WriteDefinition(const std::vector<std::string>& lines, std::string_view name = "sales");
    // A definition with one data source "Sales" on `salesConnection` (by default the SQLite
    // database sales.db beside it), with the given [File] settings, further sections and script
    // lines.
    void WriteSalesDefinition(const std::vector<std::string>& fileSettings,
                              const std::vector<std::string>& scriptLines,
                              const std::vector<std::string>& extraSections = {});
    // The [File] settings most runs use: template.pptx, Report.pptx and run.log.
    static std::vector<std::string> StandardFiles();
    // A three-slide template: slide 1 a title, slide 2 one table "Sales" and a chart,
    // slide 3 two tables.
    void WriteTemplate(std::string_view name = "template.pptx");
    // Creates an SQLite database file with a table t(x integer).
    void CreateSqliteDatabase(std::string_view name);

    // Runs in batch mode (the script read from the file), or with the editor's text when
    // scriptText is given (interactive mode).
    void Run(std::optional<std::string> scriptText = std::nullopt);

    // The log without the fixed timestamp prefix, one entry per line; "?" when a line lacks it.
    std::vector<std::string> LogLines() const;

    // The whole log expected from a batch run of the sales definition with StandardFiles whose
    // one source connects: the head, the connection, report and template lines, then each
    // statement's lines, then the save and close lines.
    std::vector<std::string>
    SalesRunLog(const std::vector<std::vector<std::string>>& statements) const;

    definition::ReportDefinition definition;
    std::string script;
    RunOptions options;
    RunState state;
    ScriptedObserver observer;
    std::vector<definition::ConversionFormat> conversionTable;
    LoginRetry login;
    std::string salesConnection = "Driver=SQLite3;Database=sales.db";
    std::vector<std::string> errorBoxes;
    std::vector<std::filesystem::path> displayed;

private:
    std::filesystem::path m_folder;
    FixedClock m_clock;
    std::optional<std::string> m_scriptText;
};

// Compares log lines; "*" in an expected line matches any text (the driver's own wording of a
// failure).
void ExpectLog(const std::vector<std::string>& actual, const std::vector<std::string>& expected);

// The fixed head of every log: the application line and "Open log file successfully.".
std::vector<std::string> LogHead();

// The lines of one statement: its header and SQL lines with the label prefix, then `body`.
std::vector<std::string> StatementLines(const std::string& label, const std::string& header,
                                        const std::string& sql,
                                        const std::vector<std::string>& body);

// Rows of a one-column integer query, through the real driver.
std::vector<long long> QueryIntegers(const std::string& connectionString, const std::string& sql);

// Runs a statement through the real driver.
void ExecuteSql(const std::string& connectionString, const std::string& sql);

// "Driver=SQLite3;Database=<path>".
std::string SqliteConnection(const std::filesystem::path& database);

// A scratch PostgreSQL database on the test server, dropped at the end; Available() is false
// (with the reason) when no server answers.
class PostgresDatabase {
public:
    PostgresDatabase();
    ~PostgresDatabase();
    PostgresDatabase(const PostgresDatabase&) = delete;
    PostgresDatabase& operator=(const PostgresDatabase&) = delete;

    bool Available() const { return m_available; }
    const std::string& Why() const { return m_why; }
    const std::string& Name() const { return m_name; }
    std::string ConnectionString() const;
    // Ends every other session of the database, as a server restart would.
    void TerminateSessions();
    // Drops the database now (ending its sessions first), as if an administrator removed it.
    void Drop();

private:
    std::string m_name;
    std::string m_why;
    bool m_available = false;
};

} // namespace slidesmith::engine::test
