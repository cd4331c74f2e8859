#pragma once

#include "platform/convert/TempFolder.h"
#include "platform/odbc/FieldValue.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

namespace slidesmith::odbc {
// Readable values in failure messages (found by GoogleTest through argument lookup).
void PrintTo(const FieldValue& value, std::ostream* out);
} // namespace slidesmith::odbc

namespace slidesmith::odbc::test {

// A private folder below the system temp folder, removed with its contents at the end.
class ScratchFolder : public convert::TempFolder {
public:
    ScratchFolder() : convert::TempFolder("slidesmith-odbc") {}
};

// The shared Chinook SQLite file, or an empty path when the fixtures are absent.
std::filesystem::path ChinookSqliteFixture();

// Copies the Chinook SQLite file into `folder` (tests may change their copy) and returns the
// copy's path.
std::filesystem::path CopyChinook(const std::filesystem::path& folder);

// "Driver=SQLite3;Database=<path>".
std::string SqliteConnectionString(const std::filesystem::path& database);

// Connection string of a PostgreSQL database holding Chinook on the test server, loading it on
// first use. Nothing when the server is not reachable or cannot be loaded; `why` says why.
std::optional<std::string> PostgresChinook(std::string& why);

// Connection string for the test server's maintenance database "postgres".
std::string PostgresConnectionString(const std::string& database);

} // namespace slidesmith::odbc::test
