#include "engine/DataSources.h"

#include "platform/odbc/ConnectionString.h"
#include "platform/odbc/OdbcError.h"

#include <exception>
#include <utility>

namespace slidesmith::engine {
namespace {

constexpr std::string_view kFullWidthComma = "\xEF\xBC\x8C"; // U+FF0C

} // namespace

std::string UserSuffix(std::string_view user) {
    if (user.empty())
        return {};
    std::string suffix(kFullWidthComma);
    suffix += " USER=";
    suffix += user;
    return suffix;
}

DataSources::DataSources(definition::ReportDefinition& definition, const RunOptions& options,
                         RunLog& log, const LoginRetry& login,
                         std::filesystem::path definitionFolder)
    : m_definition(definition), m_options(options), m_log(log), m_login(login),
      m_definitionFolder(std::move(definitionFolder)) {}

odbc::Timeouts DataSources::Limits() const {
    return odbc::Timeouts{m_options.ConnectionTimeout, m_options.CommandTimeout};
}

bool DataSources::IsOpen(std::size_t index) const {
    return index < m_connections.size() && m_connections[index].IsOpen();
}

bool DataSources::OpenEntry(std::size_t index, std::string& description) {
    const definition::DataSourceEntry& entry = m_definition.DataSources[index];
    try {
        std::string connectionString;
        if (entry.ConnectionString.empty()) {
            connectionString = odbc::BuildDsnConnectionString(entry.Name, {}, {});
        } else {
            // A relative SQLite database lies beside the definition, wherever the run started.
            connectionString = odbc::ResolveSqliteDatabase(
                odbc::ToOdbcConnectionString(entry.ConnectionString), m_definitionFolder);
        }
        // An empty user passes no credentials, so those stored with the DSN or in the string
        // apply; a user given on the command line or at the login overrides them.
        if (entry.User.empty())
            m_connections[index].Open(connectionString, {}, {}, Limits());
        else
            m_connections[index].Open(connectionString, entry.User, entry.Password, Limits());
        return true;
    } catch (const std::exception& error) {
        description = error.what();
        return false;
    }
}

bool DataSources::RetryWithLogin(std::size_t index) {
    definition::DataSourceEntry& entry = m_definition.DataSources[index];
    LoginPrompt prompt{index, entry.Name, entry.User, {}};
    for (;;) {
        std::optional<LoginCredentials> typed = m_login(prompt);
        if (!typed)
            return false;
        try {
            // Whatever form the entry had, the dialog's retry is in the ODBC form.
            m_connections[index].Open(odbc::BuildDsnConnectionString(typed->Name, {}, {}),
                                      typed->User, typed->Password, Limits());
            entry.Name = typed->Name;
            entry.User = typed->User;
            // The typed password is not kept in the definition.
            entry.Password.clear();
            return true;
        } catch (const std::exception& error) {
            prompt.Name = typed->Name;
            prompt.User = typed->User;
            prompt.FailedRetryText = "Failed to connect to data source.\r\nDSN=" + typed->Name +
                                     UserSuffix(typed->User) + "\r\n" + error.what();
        }
    }
}

bool DataSources::ConnectDataSource(std::size_t index) {
    if (index >= m_definition.DataSources.size() || index >= m_connections.size())
        return false;
    // A connection left from anything before is replaced, as a new run replaces its slots.
    m_connections[index] = odbc::Connection();
    std::string description;
    bool opened = OpenEntry(index, description);
    if (!opened && m_options.Interactive && m_login)
        opened = RetryWithLogin(index);

    const definition::DataSourceEntry& entry = m_definition.DataSources[index];
    std::string what = "DSN=" + entry.Name;
    what += entry.ConnectionString.empty() ? UserSuffix(entry.User)
                                           : std::string(", Using a connection string.");
    if (!opened) {
        m_log.LogError("Failed to connect to database. " + what, description);
        return false;
    }
    m_log.WriteLogLine("Connect to database successfully. " + what);
    return true;
}

bool DataSources::DisconnectDataSource(std::size_t index) {
    if (index >= m_connections.size())
        return false;
    try {
        m_connections[index].Close();
        return true;
    } catch (const std::exception& error) {
        std::string name =
            index < m_definition.DataSources.size() ? m_definition.DataSources[index].Name : "";
        m_log.LogError("Failed to disconnect from database. DSN=" + name, error.what());
        return false;
    }
}

bool DataSources::ExecSql(std::size_t index, std::string_view sql) {
    try {
        if (!IsOpen(index)) {
            throw odbc::OdbcError("Data source " + std::to_string(index + 1) +
                                  " is not connected.");
        }
        m_connections[index].Execute(sql);
        return true;
    } catch (const std::exception& error) {
        m_log.LogError("Failed to execute function EXECSQL.", error.what());
        return false;
    }
}

void DataSources::CloseAll() noexcept {
    for (odbc::Connection& connection : m_connections) {
        try {
            connection.Close();
        } catch (const std::exception&) {
            // The run is over and the handles are released even when the driver refuses; there
            // is no log left to tell.
        }
    }
}

} // namespace slidesmith::engine
