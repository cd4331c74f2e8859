#include "OdbcTestDatabases.h"
#include "platform/odbc/Connection.h"
#include "platform/odbc/OdbcError.h"

#include <gtest/gtest.h>

namespace slidesmith::odbc {
namespace {

class PostgresConnection : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        const std::optional<std::string> connectionString = test::PostgresChinook(why);
        if (!connectionString) {
            GTEST_SKIP() << why;
        }
        m_connectionString = *connectionString;
    }

    std::string m_connectionString;
};

struct TypeCase {
    const char* expression;
    DataType type;
    bool isLong;
    FieldValue value;
};

TEST_F(PostgresConnection, MapsServerTypesToClassicCodesAndValues) {
    const TypeCase cases[] = {
        {"12::integer", DataType::Integer, false, FieldValue::FromInteger(12)},
        {"-7::smallint", DataType::SmallInt, false, FieldValue::FromInteger(-7)},
        {"9007199254740993::bigint", DataType::BigInt, false,
         FieldValue::FromInteger(9007199254740993)},
        {"1.5::real", DataType::Single, false, FieldValue::FromDouble(1.5)},
        {"-2.25::float8", DataType::Double, false, FieldValue::FromDouble(-2.25)},
        {"12345678901234567.89::numeric(20,2)", DataType::Numeric, false,
         FieldValue::FromDecimal("12345678901234567.89", 2)},
        {"'ab'::char(3)", DataType::Char, false, FieldValue::FromText("ab ")},
        {"'Straße'::varchar(20)", DataType::VarChar, false, FieldValue::FromText("Straße")},
        {"'x'::varchar(9000)", DataType::LongVarChar, true, FieldValue::FromText("x")},
        {"'x'::text", DataType::LongVarChar, true, FieldValue::FromText("x")},
        {"'2024-02-29'::date", DataType::DbDate, false, FieldValue::FromDate({2024, 2, 29})},
        {"'23:59:58'::time", DataType::DbTime, false, FieldValue::FromTime({23, 59, 58})},
        {"'2024-02-29 12:34:56.5'::timestamp", DataType::DbTimeStamp, false,
         FieldValue::FromTimestamp({{2024, 2, 29}, {12, 34, 56}, 500000000})},
        {"'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'::uuid", DataType::Guid, false,
         FieldValue::FromText("A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11")},
        {"'\\x0102ff'::bytea", DataType::LongVarBinary, true, FieldValue::FromBinary({1, 2, 255})},
        {"null::integer", DataType::Integer, false, FieldValue()},
    };
    Connection connection;
    connection.Open(m_connectionString);
    for (const TypeCase& c : cases) {
        Recordset records = connection.OpenRecordset(std::string("select ") + c.expression);
        ASSERT_EQ(records.RecordCount(), 1u) << c.expression;
        EXPECT_EQ(records.Field(0).type, c.type) << c.expression;
        EXPECT_EQ(records.Field(0).IsLong(), c.isLong) << c.expression;
        EXPECT_EQ(records.Value(0), c.value) << c.expression;
    }
}

TEST_F(PostgresConnection, ServerThatDropsTheConnectionGivesAnErrorNotACrash) {
    Connection victim;
    victim.Open(m_connectionString);
    const std::int64_t pid = victim.OpenRecordset("select pg_backend_pid()").Value(0).AsInteger();
    Connection killer;
    killer.Open(m_connectionString);
    killer.Execute("select pg_terminate_backend(" + std::to_string(pid) + ")");

    EXPECT_THROW(victim.OpenRecordset("select * from track"), OdbcError);
    EXPECT_THROW(victim.Execute("select 1"), OdbcError);
    try {
        victim.Close();
    } catch (const OdbcError&) {
        // Either outcome is fine for a dead link; what matters is that it is closed after.
    }
    EXPECT_FALSE(victim.IsOpen());
    victim.Open(m_connectionString);
    EXPECT_EQ(victim.OpenRecordset("select * from invoice").RecordCount(), 412u);
}

TEST_F(PostgresConnection, CommandTimeoutStopsALongStatement) {
    Connection connection;
    connection.Open(m_connectionString, {}, {}, Timeouts{15, 1});
    EXPECT_THROW(connection.Execute("select pg_sleep(5)"), OdbcError);
    EXPECT_EQ(connection.OpenRecordset("select 1").RecordCount(), 1u) << "still usable after";
}

TEST_F(PostgresConnection, RefusedConnectionsQuoteTheServer) {
    Connection connection;
    try {
        connection.Open(test::PostgresConnectionString("no_such_database"), "postgres", "pw");
        FAIL() << "a missing database must not open";
    } catch (const OdbcError& error) {
        const std::string what = error.what();
        EXPECT_NE(what.find("\"no_such_database\" does not exist"), std::string::npos) << what;
        EXPECT_EQ(what.find("PWD=pw"), std::string::npos) << what;
    }
    EXPECT_FALSE(connection.IsOpen());
}

TEST_F(PostgresConnection, ErrorInALaterStatementOfABatchIsReported) {
    Connection connection;
    connection.Open(m_connectionString);
    EXPECT_THROW(connection.Execute("select 1; select 1/0"), OdbcError);
    EXPECT_EQ(connection.Execute("create temporary table t (a int); insert into t values (1), (2)"),
              2);
}

} // namespace
} // namespace slidesmith::odbc
