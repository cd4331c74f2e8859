#pragma once

#include "platform/odbc/OdbcHandle.h"
#include "platform/odbc/Recordset.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace slidesmith::odbc {

// Time limits in seconds. 0 means no limit; a negative value leaves the driver's own default.
struct Timeouts {
    int connectionSeconds = 15; // logging in
    int commandSeconds = 0;     // each statement
};

// One open connection to a data source through the unixODBC driver manager. Closed until Open
// succeeds; Close (or destruction) disconnects. Move-only; not for use from two threads at once.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects without ever prompting. `connectionString` may be an ODBC string or the OLE DB
    // form (see ToOdbcConnectionString); a non-empty `user` with `password` overrides the UID
    // and PWD inside it. An open connection is closed first. Throws OdbcError quoting the
    // driver's messages and the connection string with its password masked.
    void Open(std::string_view connectionString, std::string_view user = {},
              std::string_view password = {}, const Timeouts& timeouts = {});
    bool IsOpen() const { return m_isOpen; }
    // Disconnects and releases the handles. Throws OdbcError when the driver refuses to
    // disconnect; the handles are released even then, so the connection is closed afterwards.
    void Close();

    // Runs a statement for its effects and returns the number of rows it changed (summed over
    // the statements of a batch), or -1 when the driver cannot tell, as for a query, whose rows
    // are discarded unread. Throws OdbcError, also when a later statement of a batch fails.
    std::int64_t Execute(std::string_view sql);

    // Runs a query and reads all its records. Results without columns that come first (a batch
    // that changes rows before it selects) are passed over. Throws OdbcError when the
    // statement returns no records at all or the driver fails.
    Recordset OpenRecordset(std::string_view sql);

private:
    StatementHandle Run(std::string_view sql, SQLRETURN& rc);
    StatementHandle RunToFirstRecords(std::string_view sql, bool& skippedResults);
    void CheckOpen(const char* operation) const;

    EnvironmentHandle m_environment;
    ConnectionHandle m_connection;
    int m_commandSeconds = -1;
    bool m_isOpen = false;
};

} // namespace slidesmith::odbc
