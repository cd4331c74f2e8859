#include "RunHarness.h"

#include "TemplateBuilder.h"
#include "TemplateText.h"
#include "definition/DefinitionFile.h"
#include "engine/ApplicationInfo.h"
#include "platform/files/FileIo.h"
#include "platform/odbc/Connection.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace slidesmith::engine::test {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "[20261206 10:00:00]    ";

constexpr const char* kTemplate = R"(
slide title-slide
placeholder ctrTitle "Sales"
slide title-only
placeholder title "Table"
table Sales 3 2 0.5in 1.6in
chart Revenue bar 5in 1.5in 4in 3in
categories "Q1" "Q2"
series "2026" 10 12
slide blank
table First 2 2 0.5in 1in
text Note 0.5in 2.5in 4in 0.4in "between the tables"
table Second 2 2 0.5in 3in
)";

std::string PostgresPort() {
    const char* port = std::getenv("SLIDESMITH_PG_PORT");
    return port != nullptr && *port != '\0' ? port : "55432";
}

std::string PostgresString(const std::string& database) {
    return "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=" + PostgresPort() +
           ";Database=" + database + ";UID=postgres";
}

} // namespace

RunHarness::RunHarness() : m_clock(LocalTime{2026, 12, 6, 10, 0, 0}) {
    std::string pattern = (fs::temp_directory_path() / "slidesmith-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("no temporary folder");
    m_folder = pattern;
    // A user DSN of our own, so data sources in DSN form connect without touching the machine.
    files::WriteFileAtomically(m_folder / "odbc.ini", "[SlidesmithDsn]\nDriver=SQLite3\nDatabase=" +
                                                          (m_folder / "dsn.db").string() + "\n");
    setenv("ODBCINI", (m_folder / "odbc.ini").c_str(), 1);
    conversionTable =
        definition::ReadConversionTable(fs::path(SLIDESMITH_SOURCE_DIR) / "share" / "sconv.cfg");
    options.Interactive = false;
}

RunHarness::~RunHarness() {
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
}

void RunHarness::WriteSalesDefinition(const std::vector<std::string>& fileSettings,
                                      const std::vector<std::string>& scriptLines,
                                      const std::vector<std::string>& extraSections) {
    std::vector<std::string> lines = {"Slidemill Version 2.0",
                                      "[Data Source]",
                                      "Name1=Sales",
                                      "ConnectionString1=" + salesConnection,
                                      "",
                                      "[File]"};
    lines.insert(lines.end(), fileSettings.begin(), fileSettings.end());
    lines.insert(lines.end(), extraSections.begin(), extraSections.end());
    lines.push_back("[SQL]");
    lines.insert(lines.end(), scriptLines.begin(), scriptLines.end());
    WriteDefinition(lines);
}

std::vector<std::string> RunHarness::StandardFiles() {
    return {"ReportTemplateFileName=template.pptx", "ReportFileName=Report.pptx",
            "LogFileName=run.log"};
}

void RunHarness::WriteDefinition(const std::vector<std::string>& lines, std::string_view name) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    fs::path path = m_folder / (std::string(name) + ".slm");
    files::WriteFileAtomically(path, text);
    definition::DefinitionOutcome outcome = definition::OpenDefinition(path, definition, script);
    ASSERT_TRUE(outcome.succeeded) << outcome.message;
    options.DefinitionPath = path.string();
}

void RunHarness::WriteTemplate(std::string_view name) {
    testtools::WriteTemplate(testtools::ParseTemplateText(kTemplate), m_folder / name);
}

void RunHarness::CreateSqliteDatabase(std::string_view name) {
    ExecuteSql(SqliteConnection(m_folder / name), "create table t(x integer)");
}

void RunHarness::Run(std::optional<std::string> scriptText) {
    m_scriptText = std::move(scriptText);
    options.Interactive = m_scriptText.has_value();
    RunContext context{
        .Definition = definition,
        .Options = options,
        .State = state,
        .Observer = observer,
        .ConversionTable = conversionTable,
        .ApplicationFolder = m_folder / "app",
        .ScriptText = m_scriptText ? std::optional<std::string_view>(*m_scriptText) : std::nullopt,
        .CodePage = definition::kDefaultCodePage,
        .Login = login,
        .ShowErrorBox = [this](std::string_view text) { errorBoxes.emplace_back(text); },
        .Viewer =
            [this](const fs::path& file, std::string&) {
                displayed.push_back(file);
                return true;
            },
        .LogClock = &m_clock,
    };
    RunReport(context);
}

std::vector<std::string> RunHarness::LogLines() const {
    std::vector<std::string> lines;
    std::string text = files::ReadWholeFile(definition.LogPath);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        lines.emplace_back(line.starts_with(kPrefix) ? line.substr(kPrefix.size()) : "?");
        start = end + 2;
    }
    return lines;
}

bool MatchesPattern(std::string_view text, std::string_view pattern) {
    std::size_t star = pattern.find('*');
    if (star == std::string_view::npos)
        return text == pattern;
    if (!text.starts_with(pattern.substr(0, star)))
        return false;
    std::string_view rest = pattern.substr(star + 1);
    for (std::size_t from = star; from <= text.size(); ++from) {
        if (MatchesPattern(text.substr(from), rest))
            return true;
    }
    return false;
}

void ExpectLog(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    bool same = actual.size() == expected.size();
    for (std::size_t i = 0; same && i < actual.size(); ++i)
        same = MatchesPattern(actual[i], expected[i]);
    if (same)
        return;
    std::string shown;
    for (const std::string& line : actual)
        shown += "  " + line + "\n";
    std::string wanted;
    for (const std::string& line : expected)
        wanted += "  " + line + "\n";
    ADD_FAILURE() << "log:\n" << shown << "expected:\n" << wanted;
}

std::vector<std::string>
RunHarness::SalesRunLog(const std::vector<std::vector<std::string>>& statements) const {
    std::vector<std::string> expected = LogHead();
    expected.push_back("Connect to database successfully. DSN=Sales, Using a connection string.");
    expected.push_back("Create the blank report file \"" + PathOf("Report.pptx") + "\".");
    expected.push_back("Open the template file \"" + PathOf("template.pptx") + "\".");
    for (const auto& statement : statements)
        expected.insert(expected.end(), statement.begin(), statement.end());
    expected.push_back("Save the report file \"" + PathOf("Report.pptx") + "\".");
    expected.push_back("Close the report file.");
    expected.push_back("Close the log file.");
    return expected;
}

std::vector<std::string> StatementLines(const std::string& label, const std::string& header,
                                        const std::string& sql,
                                        const std::vector<std::string>& body) {
    std::vector<std::string> lines = {"[" + label + "]    " + header, "[" + label + "]    " + sql};
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

std::vector<std::string> LogHead() {
    return {ApplicationNameAndVersion(), "Open log file successfully."};
}

std::vector<long long> QueryIntegers(const std::string& connectionString, const std::string& sql) {
    odbc::Connection connection;
    connection.Open(connectionString);
    odbc::Recordset records = connection.OpenRecordset(sql);
    std::vector<long long> values;
    for (records.MoveFirst(); !records.AtEnd(); records.MoveNext())
        values.push_back(records.Value(0).AsInteger());
    return values;
}

void ExecuteSql(const std::string& connectionString, const std::string& sql) {
    odbc::Connection connection;
    connection.Open(connectionString);
    connection.Execute(sql);
}

std::string SqliteConnection(const fs::path& database) {
    return "Driver=SQLite3;Database=" + database.string();
}

PostgresDatabase::PostgresDatabase() : m_name("slidesmith_engine_" + std::to_string(getpid())) {
    try {
        odbc::Timeouts quick{3, 30};
        odbc::Connection admin;
        admin.Open(PostgresString("postgres"), {}, {}, quick);
        admin.Execute("drop database if exists " + m_name);
        admin.Execute("create database " + m_name);
        ExecuteSql(ConnectionString(), "create table t(x integer)");
        m_available = true;
    } catch (const std::exception& error) {
        m_why = std::string("PostgreSQL test server not reachable: ") + error.what();
    }
}

PostgresDatabase::~PostgresDatabase() {
    if (!m_available)
        return;
    try {
        Drop();
    } catch (const std::exception&) {
        // A database left behind is dropped by the next test of the same process id.
    }
}

std::string PostgresDatabase::ConnectionString() const {
    return PostgresString(m_name);
}

void PostgresDatabase::Drop() {
    // "with (force)" ends the sessions and waits for them; terminating them first and dropping
    // at once races with their exit.
    ExecuteSql(PostgresString("postgres"), "drop database if exists " + m_name + " with (force)");
}

void PostgresDatabase::TerminateSessions() {
    ExecuteSql(PostgresString("postgres"),
               "select pg_terminate_backend(pid) from pg_stat_activity where datname = '" + m_name +
                   "' and pid <> pg_backend_pid()");
}

} // namespace slidesmith::engine::test
