#include "OdbcTestDatabases.h"

#include "platform/odbc/Connection.h"
#include "platform/odbc/OdbcError.h"

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <unistd.h>

namespace slidesmith::odbc {

void PrintTo(const FieldValue& value, std::ostream* out) {
    *out << "kind " << static_cast<int>(value.Kind());
    if (value.Kind() == FieldValueKind::Text) {
        *out << " \"" << value.AsText() << "\"";
    } else if (value.Kind() == FieldValueKind::Integer) {
        *out << " " << value.AsInteger();
    } else if (value.Kind() == FieldValueKind::Decimal) {
        *out << " " << value.AsDecimal().text;
    }
}

} // namespace slidesmith::odbc

namespace slidesmith::odbc::test {

namespace fs = std::filesystem;

namespace {

constexpr const char* kChinookDatabase = "slidesmith_odbc_chinook";

std::string PostgresPort() {
    const char* port = std::getenv("SLIDESMITH_PG_PORT");
    return port != nullptr && *port != '\0' ? port : "55432";
}

bool DatabaseExists(Connection& admin, const std::string& name) {
    return admin.OpenRecordset("select 1 from pg_database where datname = '" + name + "'")
               .RecordCount() == 1;
}

// The script creates its own database "chinook" and switches to it; the test database gets the
// tables alone, so those lines are left out.
fs::path WriteLoadScript(const fs::path& folder) {
    std::ifstream in(fs::path(SLIDESMITH_SHARED_FIXTURES) / "data" / "chinook-postgresql.sql");
    const fs::path script = folder / "chinook.sql";
    std::ofstream out(script);
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("DROP DATABASE") || line.starts_with("CREATE DATABASE") ||
            line.starts_with("\\c ")) {
            continue;
        }
        out << line << '\n';
    }
    return script;
}

// Loads into a database of its own name and renames it when complete, so a test process that
// runs at the same time never sees half a database.
bool LoadChinook(Connection& admin, std::string& why) {
    const std::string loading =
        std::string(kChinookDatabase) + "_loading_" + std::to_string(getpid());
    admin.Execute("drop database if exists " + loading);
    admin.Execute("create database " + loading);
    ScratchFolder folder;
    const std::string command = "psql -q -X -v ON_ERROR_STOP=1 -h 127.0.0.1 -p " + PostgresPort() +
                                " -U postgres -d " + loading + " -f '" +
                                WriteLoadScript(folder.Path()).string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        admin.Execute("drop database if exists " + loading);
        why = "psql could not load chinook-postgresql.sql";
        return false;
    }
    try {
        admin.Execute("alter database " + loading + " rename to " + kChinookDatabase);
    } catch (const OdbcError&) {
        // Another test process finished loading first; its copy is as good as ours.
        admin.Execute("drop database if exists " + loading);
    }
    return true;
}

} // namespace

fs::path ChinookSqliteFixture() {
    const fs::path file = fs::path(SLIDESMITH_SHARED_FIXTURES) / "data" / "chinook.sqlite";
    return fs::exists(file) ? file : fs::path();
}

fs::path CopyChinook(const fs::path& folder) {
    const fs::path copy = folder / "chinook.sqlite";
    fs::copy_file(ChinookSqliteFixture(), copy);
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
    return copy;
}

std::string SqliteConnectionString(const fs::path& database) {
    return "Driver=SQLite3;Database=" + database.string();
}

std::string PostgresConnectionString(const std::string& database) {
    return "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=" + PostgresPort() +
           ";Database=" + database + ";UID=postgres";
}

std::optional<std::string> PostgresChinook(std::string& why) {
    static std::optional<std::string> loaded;
    static std::string loadFailure;
    if (loaded || !loadFailure.empty()) {
        why = loadFailure;
        return loaded;
    }
    try {
        Connection admin;
        admin.Open(PostgresConnectionString("postgres"), {}, {}, Timeouts{5, 60});
        if (DatabaseExists(admin, kChinookDatabase) || LoadChinook(admin, loadFailure)) {
            loaded = PostgresConnectionString(kChinookDatabase);
        }
    } catch (const OdbcError& error) {
        loadFailure =
            std::string("PostgreSQL test server not reachable (run scripts/start-postgres.sh): ") +
            error.what();
    }
    why = loadFailure;
    return loaded;
}

} // namespace slidesmith::odbc::test
