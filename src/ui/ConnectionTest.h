#pragma once

#include <functional>
#include <string>

class QWidget;

namespace slidesmith::ui {

// Opens a database connection with the connection string and the login time limit in seconds
// (negative: the driver's own default), closes it again, and returns the failure description,
// or an empty text when the connection opened. The desktop program passes the ODBC layer; tests
// pass a function that answers as a database would.
using ConnectionOpener =
    std::function<std::string(const std::string& connectionString, int timeoutSeconds)>;

// The connection string of a data source: the string itself in connection-string form, else the
// ODBC form built from the data source name and the credentials.
std::string DataSourceConnectionString(const std::string& name, const std::string& user,
                                       const std::string& password,
                                       const std::string& connectionString);

// "DSN=<name>" and what tells the two forms apart: ", Using a connection string." or
// "， USER=<user>" (full-width comma) when a user is given.
std::string DataSourceDescription(const std::string& name, const std::string& user,
                                  bool usesConnectionString);

// The shared connection test of the data-source dialogs: tries the connection with the busy
// pointer shown and tells the outcome in a message box. Returns true when it connected.
class ConnectionTest {
public:
    ConnectionTest(ConnectionOpener opener, int connectionTimeout)
        : m_opener(std::move(opener)), m_connectionTimeout(connectionTimeout) {}

    bool Run(QWidget* parent, const std::string& name, const std::string& user,
             const std::string& password, const std::string& connectionString) const;

private:
    ConnectionOpener m_opener;
    int m_connectionTimeout;
};

} // namespace slidesmith::ui
