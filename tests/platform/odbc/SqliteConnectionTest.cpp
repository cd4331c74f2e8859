#include "OdbcTestDatabases.h"
#include "platform/odbc/Connection.h"
#include "platform/odbc/ConnectionString.h"
#include "platform/odbc/OdbcError.h"

#include <gtest/gtest.h>

namespace slidesmith::odbc {
namespace {

namespace fs = std::filesystem;
using test::ScratchFolder;

class SqliteConnection : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::ChinookSqliteFixture().empty()) {
            GTEST_SKIP() << "shared fixtures not found: " << SLIDESMITH_SHARED_FIXTURES;
        }
        test::CopyChinook(m_folder.Path());
    }

    ScratchFolder m_folder;
};

TEST_F(SqliteConnection, FindsARelativeDatabaseBesideTheDefinition) {
    Connection connection;
    connection.Open(
        ResolveSqliteDatabase("Driver=SQLite3;Database=chinook.sqlite", m_folder.Path()));
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_EQ(connection.OpenRecordset("select * from Track").RecordCount(), 3503u);
}

TEST_F(SqliteConnection, MissingDatabaseFileFailsToConnectAndCreatesNothing) {
    Connection connection;
    try {
        connection.Open(ResolveSqliteDatabase("Driver=SQLite3;Database=sales.db", m_folder.Path()));
        FAIL() << "a missing database must not open";
    } catch (const OdbcError& error) {
        EXPECT_NE(std::string(error.what()).find((m_folder.Path() / "sales.db").string()),
                  std::string::npos)
            << "the message names the file: " << error.what();
    }
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_FALSE(fs::exists(m_folder.Path() / "sales.db"));
}

TEST_F(SqliteConnection, UnknownDataSourceNameQuotesTheDriverManager) {
    Connection connection;
    try {
        connection.Open("User ID=sa;Password=secret;Data Source=NoSuchSales");
        FAIL() << "an unknown DSN must not open";
    } catch (const OdbcError& error) {
        const std::string what = error.what();
        EXPECT_EQ(error.State(), "IM002") << what;
        EXPECT_NE(what.find("DSN=NoSuchSales"), std::string::npos) << what;
        EXPECT_EQ(what.find("secret"), std::string::npos) << "passwords stay out of logs";
    }
}

TEST_F(SqliteConnection, ExecuteCountsChangedRowsAndRecordsetsNeedRows) {
    Connection connection;
    connection.Open(test::SqliteConnectionString(m_folder.Path() / "chinook.sqlite"));
    EXPECT_EQ(connection.Execute("update Track set Composer = Composer where AlbumId = 1"), 10);
    EXPECT_EQ(connection.Execute("delete from Track where TrackId < 0"), 0);
    EXPECT_EQ(connection.Execute("select * from Track"), -1) << "rows are discarded";
    EXPECT_THROW(connection.OpenRecordset("update Track set Name = Name where TrackId = 1"),
                 OdbcError);
    EXPECT_THROW(connection.Execute("update Nowhere set x = 1"), OdbcError);
}

TEST_F(SqliteConnection, ReadsValuesLongerThanTheirColumnDeclares) {
    Connection connection;
    connection.Open(test::SqliteConnectionString(m_folder.Path() / "chinook.sqlite"));
    connection.Execute("create table Codes (Id integer, Code varchar(3), Data blob)");
    connection.Execute("insert into Codes values (1, 'abc', x'0102'), "
                       "(2, 'Grétrystraat 63 is longer', zeroblob(1000)), (3, null, null)");
    Recordset codes = connection.OpenRecordset("select Code, Data from Codes order by Id");
    ASSERT_EQ(codes.RecordCount(), 3u);
    EXPECT_EQ(codes.Field(0).type, DataType::VarChar);
    EXPECT_EQ(codes.Value(0), FieldValue::FromText("abc"));
    EXPECT_EQ(codes.Value(1), FieldValue::FromBinary({1, 2}));
    codes.MoveNext();
    EXPECT_EQ(codes.Value(0), FieldValue::FromText("Grétrystraat 63 is longer"));
    EXPECT_EQ(codes.Value(1), FieldValue::FromBinary(std::vector<std::uint8_t>(1000, 0)));
    codes.MoveNext();
    EXPECT_TRUE(codes.Value(0).IsNull());
    EXPECT_TRUE(codes.Value(1).IsNull());
    EXPECT_THROW(static_cast<void>(codes.GetChunk(0, 10)), OdbcError) << "not a long field";
}

TEST_F(SqliteConnection, ClosedConnectionRefusesWorkAndClosesTwiceQuietly) {
    Connection connection;
    EXPECT_THROW(connection.Execute("select 1"), OdbcError);
    connection.Open(test::SqliteConnectionString(m_folder.Path() / "chinook.sqlite"));
    Connection moved = std::move(connection);
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(moved.OpenRecordset("select 1").RecordCount(), 1u);
    moved.Close();
    moved.Close();
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_THROW(moved.OpenRecordset("select 1"), OdbcError);
}

} // namespace
} // namespace slidesmith::odbc
