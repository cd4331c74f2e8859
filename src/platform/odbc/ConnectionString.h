#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Connection strings as definitions carry them, turned into what an ODBC driver understands.
// All functions are pure: they neither touch the file system nor throw.
namespace slidesmith::odbc {

// Translates the OLE DB form the classic ODBC provider accepted into an ODBC connection string:
// "Data Source" becomes DSN, "User ID" UID, "Password" PWD, "Initial Catalog" DATABASE; the
// OLE DB-only keys "Provider" and "Persist Security Info" are dropped; the contents of "Extended
// Properties" (an ODBC string itself) are spliced in. Keys compare case-insensitively; every
// other pair passes through exactly as written, so a plain ODBC string comes out unchanged.
// An empty UID or PWD is left out, so the credentials stored with the DSN still apply.
std::string ToOdbcConnectionString(std::string_view connectionString);

// The ODBC form of a definition's data source: DSN=<name>, plus UID and PWD when a user is
// given (with no user, the password is ignored, as the connect step ignores it). Values are
// braced when they hold ";" or braces, so any name or password survives.
std::string BuildDsnConnectionString(std::string_view dsn, std::string_view user,
                                     std::string_view password);

// The user and password given beside a connection string override any UID and PWD inside it;
// with an empty user the string is returned unchanged.
std::string ApplyCredentials(std::string_view odbcConnectionString, std::string_view user,
                             std::string_view password);

// For a string that uses an SQLite driver (its Driver value names SQLite): a relative Database
// path is made absolute against `folder` (the definition's folder), and NoCreat=1 is added
// unless the string sets NoCreat, so a mistyped path fails to connect instead of silently
// creating an empty database. ":memory:" and "file:" URIs are left alone. Any other string is
// returned unchanged.
std::string ResolveSqliteDatabase(std::string_view odbcConnectionString,
                                  const std::filesystem::path& folder);

// The string with every PWD and Password value replaced by "***", for messages and logs.
std::string MaskPasswords(std::string_view connectionString);

} // namespace slidesmith::odbc
