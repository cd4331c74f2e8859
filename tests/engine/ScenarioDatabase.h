#pragma once

// One end-to-end scenario, two databases. A scenario describes its tables once (columns with a
// portable type, rows of SQL literals); ScenarioDatabase loads them into an SQLite file or into
// a scratch database on the PostgreSQL test server and hands out the connection string a
// definition names. ScenarioTest runs every TEST_P on both:
//
//     class ChartRunTest : public ScenarioTest {};
//
//     TEST_P(ChartRunTest, BarsFollowTheQuery) {
//         database.Create({"sales",
//                          {{"region", ColumnType::Text}, {"amount", ColumnType::Decimal}},
//                          {{"'North'", "12.5"}, {"'South'", "-3"}, {"null", "0"}}});
//         testtools::WriteTemplate(..., run.Folder() / "template.pptx");
//         Define({"@1 = CHART(...)", "select region, amount from sales order by region"});
//         run.Run();
//         ExpectLog(run.LogLines(), ...);
//     }
//     SLIDESMITH_SCENARIO_BACKENDS(ChartRunTest);
//
// Define writes the sales definition (data source "Sales" on this database; template.pptx,
// Report.pptx, run.log) through the RunHarness `run`. PostgreSQL cases skip with the reason when
// no server answers on 127.0.0.1:55432 (scripts/start-postgres.sh; SLIDESMITH_PG_PORT moves it);
// CI always starts one, so there they run.

#include "RunHarness.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::engine::test {

enum class Backend { Sqlite, Postgres };

// "SQLite" or "PostgreSQL", also the suffix of the test names.
std::string BackendName(Backend backend);

inline void PrintTo(Backend backend, std::ostream* out) {
    *out << BackendName(backend);
}

struct BackendTestName {
    std::string operator()(const ::testing::TestParamInfo<Backend>& param) const {
        return BackendName(param.param);
    }
};

// Column types both drivers report alike, so a fill classifies the field the same way on either
// database: Integer (32 bits), BigInt, Decimal (numeric 18,4), Double, Text (varchar 255; a
// server "text" would arrive as a long field), Memo (a long text field), Date, Timestamp (the
// fills treat it as neither number nor date).
enum class ColumnType { Integer, BigInt, Decimal, Double, Text, Memo, Date, Timestamp };

struct ScenarioColumn {
    std::string name;
    ColumnType type = ColumnType::Integer;
};

// A table to create. Each row holds one SQL literal per column, written so both databases read
// it: 12, -3.5, 'North', 'it''s', null, '2026-01-31', '2026-01-31 13:45:00'.
struct ScenarioTable {
    std::string name;
    std::vector<ScenarioColumn> columns = {};
    std::vector<std::vector<std::string>> rows = {};
};

class ScenarioDatabase {
public:
    // SQLite: the file folder/scenario.db. PostgreSQL: a scratch database dropped on destruction.
    ScenarioDatabase(Backend backend, const std::filesystem::path& folder);
    ~ScenarioDatabase();
    ScenarioDatabase(const ScenarioDatabase&) = delete;
    ScenarioDatabase& operator=(const ScenarioDatabase&) = delete;

    Backend Kind() const { return m_backend; }
    bool Available() const;
    const std::string& Why() const;

    // Creates the table (replacing one of the same name) and inserts its rows in order.
    void Create(const ScenarioTable& table);
    // The ODBC connection string for the definition's data source.
    std::string ConnectionString() const;

    // Runs a statement for its effects; integers of a one-column query.
    void Execute(const std::string& sql) const;
    std::vector<long long> QueryIntegers(const std::string& sql) const;

    // Takes the database away as an outside cause would in the middle of a run: the SQLite file
    // is deleted, the server ends every session of the database and drops it.
    void Vanish();

private:
    Backend m_backend;
    std::filesystem::path m_file;
    std::unique_ptr<PostgresDatabase> m_server;
};

// A test run once per backend: `run` (the harness and its folder) and `database` on that
// backend. SetUp skips PostgreSQL cases without a server and points the harness's sales
// definition at the database.
class ScenarioTest : public ::testing::TestWithParam<Backend> {
protected:
    ScenarioTest();
    void SetUp() override;

    // The sales definition with the standard files and these script lines (and sections before
    // [SQL], as "[Parameter]" blocks).
    void Define(const std::vector<std::string>& scriptLines,
                const std::vector<std::string>& extraSections = {});

    RunHarness run;
    ScenarioDatabase database;
};

} // namespace slidesmith::engine::test

// Instantiates a ScenarioTest subclass for SQLite and PostgreSQL, named by backend.
#define SLIDESMITH_SCENARIO_BACKENDS(Fixture)                                                      \
    INSTANTIATE_TEST_SUITE_P(Backends, Fixture,                                                    \
                             ::testing::Values(::slidesmith::engine::test::Backend::Sqlite,        \
                                               ::slidesmith::engine::test::Backend::Postgres),     \
                             ::slidesmith::engine::test::BackendTestName())
