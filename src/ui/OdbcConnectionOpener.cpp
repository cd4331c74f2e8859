#include "ui/OdbcConnectionOpener.h"

#include "platform/odbc/Connection.h"

namespace slidesmith::ui {

ConnectionOpener OdbcConnectionOpener() {
    return [](const std::string& connectionString, int timeoutSeconds) -> std::string {
        try {
            odbc::Connection connection;
            // A test runs no statement, so only the login limit matters.
            connection.Open(connectionString, {}, {}, odbc::Timeouts{timeoutSeconds, -1});
            connection.Close();
            return {};
        } catch (const std::exception& error) {
            return error.what();
        }
    };
}

} // namespace slidesmith::ui
