#include "ScenarioDatabase.h"

#include "platform/odbc/Connection.h"

#include <stdexcept>

namespace slidesmith::engine::test {

namespace fs = std::filesystem;

namespace {

// The declared type per backend. The SQLite driver reports a column by its declared name, so the
// names are chosen for the ODBC type they give there.
std::string TypeName(ColumnType type, Backend backend) {
    const bool server = backend == Backend::Postgres;
    switch (type) {
    case ColumnType::Integer:
        return "integer";
    case ColumnType::BigInt:
        return "bigint";
    case ColumnType::Decimal:
        return "numeric(18,4)";
    case ColumnType::Double:
        return server ? "double precision" : "double";
    case ColumnType::Text:
        return "varchar(255)";
    case ColumnType::Memo:
        return server ? "text" : "longvarchar";
    case ColumnType::Date:
        return "date";
    case ColumnType::Timestamp:
        return "timestamp";
    }
    throw std::logic_error("unknown column type");
}

// Rows go in batches of multi-row inserts: one statement per row would make a scenario with a
// few thousand rows slow on the server.
constexpr std::size_t kRowsPerInsert = 500;

} // namespace

std::string BackendName(Backend backend) {
    return backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
}

ScenarioDatabase::ScenarioDatabase(Backend backend, const fs::path& folder)
    : m_backend(backend), m_file(folder / "scenario.db") {
    if (backend == Backend::Postgres)
        m_server = std::make_unique<PostgresDatabase>();
}

ScenarioDatabase::~ScenarioDatabase() = default;

bool ScenarioDatabase::Available() const {
    return m_server == nullptr || m_server->Available();
}

const std::string& ScenarioDatabase::Why() const {
    static const std::string none;
    return m_server != nullptr ? m_server->Why() : none;
}

std::string ScenarioDatabase::ConnectionString() const {
    return m_server != nullptr ? m_server->ConnectionString() : SqliteConnection(m_file);
}

void ScenarioDatabase::Create(const ScenarioTable& table) {
    odbc::Connection connection;
    connection.Open(ConnectionString());
    connection.Execute("drop table if exists " + table.name);
    std::string create = "create table " + table.name + " (";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        create += (i > 0 ? ", " : "") + table.columns[i].name + " " +
                  TypeName(table.columns[i].type, m_backend);
    }
    connection.Execute(create + ")");
    for (std::size_t first = 0; first < table.rows.size(); first += kRowsPerInsert) {
        std::string insert = "insert into " + table.name + " values ";
        const std::size_t end = std::min(table.rows.size(), first + kRowsPerInsert);
        for (std::size_t r = first; r < end; ++r) {
            const std::vector<std::string>& row = table.rows[r];
            if (row.size() != table.columns.size())
                throw std::invalid_argument("row " + std::to_string(r + 1) + " of " + table.name +
                                            " has the wrong number of values");
            insert += r > first ? ", (" : "(";
            for (std::size_t c = 0; c < row.size(); ++c)
                insert += (c > 0 ? ", " : "") + row[c];
            insert += ")";
        }
        connection.Execute(insert);
    }
}

void ScenarioDatabase::Execute(const std::string& sql) const {
    ExecuteSql(ConnectionString(), sql);
}

std::vector<long long> ScenarioDatabase::QueryIntegers(const std::string& sql) const {
    return test::QueryIntegers(ConnectionString(), sql);
}

void ScenarioDatabase::Vanish() {
    if (m_server == nullptr) {
        // An open connection keeps a deleted file's data on this system; emptying it first makes
        // the loss visible to the run, as a deleted database on a share would be.
        fs::resize_file(m_file, 0);
        fs::remove(m_file);
        return;
    }
    m_server->Drop();
}

ScenarioTest::ScenarioTest() : database(GetParam(), run.Folder()) {}

void ScenarioTest::SetUp() {
    if (!database.Available())
        GTEST_SKIP() << database.Why();
    run.salesConnection = database.ConnectionString();
}

void ScenarioTest::Define(const std::vector<std::string>& scriptLines,
                          const std::vector<std::string>& extraSections) {
    run.WriteSalesDefinition(RunHarness::StandardFiles(), scriptLines, extraSections);
}

} // namespace slidesmith::engine::test
