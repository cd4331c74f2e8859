#include "platform/odbc/ConnectionString.h"

#include <gtest/gtest.h>

namespace slidesmith::odbc {
namespace {

struct Translation {
    const char* given;
    const char* expected;
};

TEST(ToOdbcConnectionString, TranslatesTheOleDbFormAndPassesOdbcStringsThrough) {
    const Translation cases[] = {
        {"User ID=sa;Password=secret;Data Source=Sales", "UID=sa;PWD=secret;DSN=Sales"},
        {"user id=sa;PASSWORD=secret;data source=Sales", "UID=sa;PWD=secret;DSN=Sales"},
        // Empty credentials are left out so those stored with the DSN apply.
        {"User ID=;Password=;Data Source=Sales", "DSN=Sales"},
        {"Provider=MSDASQL.1;Persist Security Info=False;Data Source=Sales", "DSN=Sales"},
        {"Provider=MSDASQL;Extended Properties=\"DSN=Sales;UID=sa\"", "DSN=Sales;UID=sa"},
        {"Data Source=\"My;DSN\";Initial Catalog=crm", "DSN={My;DSN};DATABASE=crm"},
        {"Data Source='it''s'", "DSN=it's"},
        {"Driver={PostgreSQL Unicode};Server=db;Port=5432;Database=x;UID=u;PWD={p;w}",
         "Driver={PostgreSQL Unicode};Server=db;Port=5432;Database=x;UID=u;PWD={p;w}"},
        {"Driver=SQLite3;Database=sales.db;", "Driver=SQLite3;Database=sales.db"},
        {"", ""},
    };
    for (const Translation& c : cases) {
        EXPECT_EQ(ToOdbcConnectionString(c.given), c.expected) << c.given;
    }
}

TEST(BuildDsnConnectionString, QuotesValuesThatWouldBreakTheString) {
    EXPECT_EQ(BuildDsnConnectionString("Sales", "sa", "pw"), "DSN=Sales;UID=sa;PWD=pw");
    EXPECT_EQ(BuildDsnConnectionString("Sales", "", "ignored"), "DSN=Sales");
    EXPECT_EQ(BuildDsnConnectionString("My Sales", "sa", "a;b}c"),
              "DSN=My Sales;UID=sa;PWD={a;b}}c}");
    // The quoted password survives the trip through the parser unchanged.
    EXPECT_EQ(ToOdbcConnectionString(BuildDsnConnectionString("S", "u", "a;b}c")),
              "DSN=S;UID=u;PWD={a;b}}c}");
}

TEST(ApplyCredentials, ReplacesTheUserOnlyWhenOneIsGiven) {
    EXPECT_EQ(ApplyCredentials("DSN=x;UID=old;PWD=old;Port=1", "new", "pw"),
              "DSN=x;Port=1;UID=new;PWD=pw");
    EXPECT_EQ(ApplyCredentials("DSN=x;UID=old;PWD=old", "", "pw"), "DSN=x;UID=old;PWD=old");
}

TEST(ResolveSqliteDatabase, AnchorsRelativePathsAtTheDefinitionFolder) {
    const std::filesystem::path folder = "/reports/monthly";
    const Translation cases[] = {
        {"Driver=SQLite3;Database=sales.db",
         "Driver=SQLite3;Database=/reports/monthly/sales.db;NoCreat=1"},
        {"Driver={SQLite3};Database=../data/sales.db",
         "Driver={SQLite3};Database=/reports/data/sales.db;NoCreat=1"},
        {"DRIVER=SQLite3;database=/srv/sales.db",
         "DRIVER=SQLite3;database=/srv/sales.db;NoCreat=1"},
        {"Driver=SQLite3;Database=:memory:;NoCreat=0",
         "Driver=SQLite3;Database=:memory:;NoCreat=0"},
        {"Driver=SQLite3;Database={my data;1.db}",
         "Driver=SQLite3;Database={/reports/monthly/my data;1.db};NoCreat=1"},
        // Database means a database name, not a file, to other drivers.
        {"Driver={PostgreSQL Unicode};Database=sales",
         "Driver={PostgreSQL Unicode};Database=sales"},
        {"DSN=Sales", "DSN=Sales"},
    };
    for (const Translation& c : cases) {
        EXPECT_EQ(ResolveSqliteDatabase(c.given, folder), c.expected) << c.given;
    }
}

TEST(MaskPasswords, HidesEveryPasswordAndNothingElse) {
    EXPECT_EQ(MaskPasswords("DSN=x;UID=sa;PWD={a;b};Password=c"),
              "DSN=x;UID=sa;PWD=***;Password=***");
}

} // namespace
} // namespace slidesmith::odbc
