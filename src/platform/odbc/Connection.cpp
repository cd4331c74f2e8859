#include "platform/odbc/Connection.h"

#include "platform/odbc/ConnectionString.h"
#include "platform/odbc/OdbcError.h"
#include "platform/odbc/ResultFetcher.h"

#include <algorithm>
#include <sqlext.h>

namespace slidesmith::odbc {

namespace {

SQLPOINTER AsPointer(SQLULEN value) {
    return reinterpret_cast<SQLPOINTER>(value);
}

// The narrow calls take UTF-8 (see WideText.h); they want a mutable buffer for historical
// reasons but do not write to it.
SQLCHAR* AsSqlChars(std::string& text) {
    return reinterpret_cast<SQLCHAR*>(text.data());
}

// The statement as a log line can show it: the start of its first line.
std::string Excerpt(std::string_view sql) {
    constexpr std::size_t kLength = 60;
    std::string text;
    for (char c : sql) {
        if (text.size() >= kLength) {
            return text + "...";
        }
        text += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
    }
    return text;
}

} // namespace

Connection::~Connection() {
    try {
        Close();
    } catch (const OdbcError&) {
        // A destructor cannot report; Close has released the handles anyway.
    }
}

Connection::Connection(Connection&& other) noexcept
    : m_environment(std::move(other.m_environment)), m_connection(std::move(other.m_connection)),
      m_commandSeconds(other.m_commandSeconds), m_isOpen(std::exchange(other.m_isOpen, false)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        try {
            Close();
        } catch (const OdbcError&) {
            // As in the destructor: the handles are gone, and the caller replaced them on purpose.
        }
        m_environment = std::move(other.m_environment);
        m_connection = std::move(other.m_connection);
        m_commandSeconds = other.m_commandSeconds;
        m_isOpen = std::exchange(other.m_isOpen, false);
    }
    return *this;
}

void Connection::Open(std::string_view connectionString, std::string_view user,
                      std::string_view password, const Timeouts& timeouts) {
    Close();
    const std::string odbcString =
        ApplyCredentials(ToOdbcConnectionString(connectionString), user, password);
    const std::string context = "Connecting with \"" + MaskPasswords(odbcString) + "\" failed";

    EnvironmentHandle environment(SQL_NULL_HANDLE);
    CheckResult(SQLSetEnvAttr(environment.Get(), SQL_ATTR_ODBC_VERSION, AsPointer(SQL_OV_ODBC3), 0),
                SQL_HANDLE_ENV, environment.Get(), context);
    ConnectionHandle connection(environment.Get());
    if (timeouts.connectionSeconds >= 0) {
        // Not every driver can limit the log-in; connecting without the limit is still right.
        SQLSetConnectAttr(connection.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                          AsPointer(static_cast<SQLULEN>(timeouts.connectionSeconds)), 0);
    }
    std::string text = odbcString;
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnect(connection.Get(), nullptr, AsSqlChars(text),
                                          static_cast<SQLSMALLINT>(text.size()), nullptr, 0,
                                          &outLength, SQL_DRIVER_NOPROMPT);
    CheckResult(rc, SQL_HANDLE_DBC, connection.Get(), context);

    m_environment = std::move(environment);
    m_connection = std::move(connection);
    m_commandSeconds = timeouts.commandSeconds;
    m_isOpen = true;
}

void Connection::Close() {
    if (!m_isOpen) {
        m_connection.Reset();
        m_environment.Reset();
        return;
    }
    m_isOpen = false;
    const SQLRETURN rc = SQLDisconnect(m_connection.Get());
    std::vector<Diagnostic> diagnostics;
    if (!SQL_SUCCEEDED(rc)) {
        diagnostics = ReadDiagnostics(SQL_HANDLE_DBC, m_connection.Get());
        // An open transaction keeps the driver connected; roll it back and disconnect anyway,
        // because the handles are released below whatever happens.
        SQLEndTran(SQL_HANDLE_DBC, m_connection.Get(), SQL_ROLLBACK);
        SQLDisconnect(m_connection.Get());
    }
    m_connection.Reset();
    m_environment.Reset();
    if (!SQL_SUCCEEDED(rc)) {
        throw OdbcError("Disconnecting failed", std::move(diagnostics));
    }
}

void Connection::CheckOpen(const char* operation) const {
    if (!m_isOpen) {
        throw OdbcError(std::string(operation) + " failed: the connection is closed");
    }
}

StatementHandle Connection::Run(std::string_view sql, SQLRETURN& rc) {
    StatementHandle statement(m_connection.Get());
    if (m_commandSeconds >= 0) {
        // Drivers that cannot limit statements run them without a limit, as they always did.
        SQLSetStmtAttr(statement.Get(), SQL_ATTR_QUERY_TIMEOUT,
                       AsPointer(static_cast<SQLULEN>(m_commandSeconds)), 0);
    }
    std::string text(sql);
    rc = SQLExecDirect(statement.Get(), AsSqlChars(text), static_cast<SQLINTEGER>(text.size()));
    if (rc != SQL_NO_DATA) {
        CheckResult(rc, SQL_HANDLE_STMT, statement.Get(),
                    "Running \"" + Excerpt(sql) + "\" failed");
    }
    return statement;
}

std::int64_t Connection::Execute(std::string_view sql) {
    CheckOpen("Running a statement");
    SQLRETURN rc = SQL_SUCCESS;
    StatementHandle statement = Run(sql, rc);
    std::int64_t affected = -1;
    for (;;) {
        SQLSMALLINT columns = 0;
        SQLLEN rows = -1;
        if (rc == SQL_NO_DATA) {
            // An update or delete that matched nothing.
            affected = std::max<std::int64_t>(affected, 0);
        } else if (SQL_SUCCEEDED(SQLNumResultCols(statement.Get(), &columns)) && columns == 0 &&
                   SQL_SUCCEEDED(SQLRowCount(statement.Get(), &rows)) && rows >= 0) {
            affected = std::max<std::int64_t>(affected, 0) + rows;
        }
        // Later statements of a batch report their errors only when their turn comes.
        rc = SQLMoreResults(statement.Get());
        if (rc == SQL_NO_DATA) {
            break;
        }
        CheckResult(rc, SQL_HANDLE_STMT, statement.Get(),
                    "Running \"" + Excerpt(sql) + "\" failed");
    }
    return affected;
}

StatementHandle Connection::RunToFirstRecords(std::string_view sql, bool& skippedResults) {
    const std::string context = "Running \"" + Excerpt(sql) + "\" failed";
    SQLRETURN rc = SQL_SUCCESS;
    StatementHandle statement = Run(sql, rc);
    skippedResults = false;
    for (;;) {
        SQLSMALLINT columns = 0;
        if (rc != SQL_NO_DATA) {
            CheckResult(SQLNumResultCols(statement.Get(), &columns), SQL_HANDLE_STMT,
                        statement.Get(), context);
        }
        if (columns > 0) {
            return statement;
        }
        skippedResults = true;
        rc = SQLMoreResults(statement.Get());
        if (rc == SQL_NO_DATA) {
            throw OdbcError("The statement \"" + Excerpt(sql) + "\" returned no records to read");
        }
        CheckResult(rc, SQL_HANDLE_STMT, statement.Get(), context);
    }
}

Recordset Connection::OpenRecordset(std::string_view sql) {
    CheckOpen("Opening a recordset");
    bool skippedResults = false;
    StatementHandle statement = RunToFirstRecords(sql, skippedResults);
    ResultFetcher fetcher(statement.Get());
    if (fetcher.HasLongField()) {
        return fetcher.FetchByRows();
    }
    if (std::optional<Recordset> records = fetcher.FetchInBlocks()) {
        return std::move(*records);
    }
    // A value outgrew its declared size (SQLite does not enforce sizes). Read the result again
    // a row at a time, which fits any size. A lone query has no side effects, so running it
    // twice is harmless; a batch that changed rows before it selected must not run twice.
    if (skippedResults) {
        throw OdbcError("Running \"" + Excerpt(sql) +
                        "\" failed: a value is longer than its column declares; run the query "
                        "on its own, apart from the statements before it");
    }
    statement = RunToFirstRecords(sql, skippedResults);
    ResultFetcher again(statement.Get());
    return again.FetchByRows();
}

} // namespace slidesmith::odbc
