#pragma once

#include "definition/ReportDefinition.h"
#include "engine/RunContext.h"
#include "engine/RunLog.h"
#include "engine/RunOptions.h"
#include "platform/odbc/Connection.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace slidesmith::engine {

// The connection slots of one run, one per data-source entry of the definition (index i is
// entry i + 1): opening them with their log lines and the interactive login retry, closing them,
// and EXECSQL. The fills read their queries through Slot(i).
//
// The slots belong to the run and are closed when it ends, on every path: an open connection
// the program no longer uses would keep its database locked (an SQLite file, a server session)
// until the next run.
class DataSources {
public:
    // definitionFolder: relative SQLite database names in connection strings are taken from
    // there. The definition is changed by the login retry (Name, User, Password).
    DataSources(definition::ReportDefinition& definition, const RunOptions& options, RunLog& log,
                const LoginRetry& login, std::filesystem::path definitionFolder);

    // Opens data source i and logs the outcome: "Connect to database successfully. DSN=..." or
    // the error entry "Failed to connect to database. DSN=..." with the driver's description.
    // In an interactive run with a login callback a failure is retried with what the user types
    // until it opens or the user cancels. True when the connection is open.
    bool ConnectDataSource(std::size_t index);

    // Closes data source i; a refusal is logged as "Failed to disconnect from database. DSN=..."
    // and gives false (the connection is released either way).
    bool DisconnectDataSource(std::size_t index);

    // Runs a statement for its effects on data source `index` (rows a query returns are
    // discarded). A failure, also a slot that is not open, is logged as "Failed to execute
    // function EXECSQL." with the description, and gives false.
    bool ExecSql(std::size_t index, std::string_view sql);

    // The open (or closed) connection of slot i, for the fills.
    odbc::Connection& Slot(std::size_t index) { return m_connections.at(index); }
    bool IsOpen(std::size_t index) const;

    // Closes every slot without log lines (the end of a run that stopped early).
    void CloseAll() noexcept;

private:
    // Opens the entry as the definition states it; on failure returns false with the description.
    bool OpenEntry(std::size_t index, std::string& description);
    // The login dialog loop; true when a retry opened the connection.
    bool RetryWithLogin(std::size_t index);
    odbc::Timeouts Limits() const;

    definition::ReportDefinition& m_definition;
    const RunOptions& m_options;
    RunLog& m_log;
    const LoginRetry& m_login;
    std::filesystem::path m_definitionFolder;
    std::array<odbc::Connection, kCredentialSlotCount> m_connections;
};

// ", USER=<user>" with a full-width comma as the connection messages write it; empty for an
// empty user.
std::string UserSuffix(std::string_view user);

} // namespace slidesmith::engine
