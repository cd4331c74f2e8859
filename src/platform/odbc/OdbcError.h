#pragma once

#include <cstdint>
#include <sql.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace slidesmith::odbc {

// One diagnostic record as the driver (or the driver manager) reported it.
struct Diagnostic {
    std::string state;        // SQLSTATE, five characters such as "HY000" or "08S01"
    std::int32_t nativeError; // the database's own error number, 0 when it has none
    std::string message;      // UTF-8, line breaks folded into blanks
};

// The data access layer's one exception type. what() reads "<what failed>: <message> (<state>)",
// one message per diagnostic record, e.g. "Running the query failed: [SQLite]no such table: x
// (1) (HY000)"; the driver's own words come first in each record because they are what a user
// can act on.
class OdbcError : public std::runtime_error {
public:
    OdbcError(const std::string& context, std::vector<Diagnostic> diagnostics);
    explicit OdbcError(const std::string& description);

    const std::vector<Diagnostic>& Diagnostics() const { return m_diagnostics; }
    // The SQLSTATE of the first record, empty when the error did not come from the driver.
    std::string State() const;

private:
    std::vector<Diagnostic> m_diagnostics;
};

// Every diagnostic record attached to the handle, in the driver's order.
std::vector<Diagnostic> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// Throws OdbcError with the handle's records when rc is neither SQL_SUCCESS nor
// SQL_SUCCESS_WITH_INFO. SQL_NO_DATA counts as failure here; callers that expect it test first.
void CheckResult(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle,
                 const std::string& context);

} // namespace slidesmith::odbc
