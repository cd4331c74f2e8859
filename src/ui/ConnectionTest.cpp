#include "ui/ConnectionTest.h"

#include "ui/BusyPointer.h"
#include "ui/MessageService.h"

namespace slidesmith::ui {

std::string DataSourceConnectionString(const std::string& name, const std::string& user,
                                       const std::string& password,
                                       const std::string& connectionString) {
    if (!connectionString.empty())
        return connectionString;
    return "User ID=" + user + ";Password=" + password + ";Data Source=" + name;
}

std::string DataSourceDescription(const std::string& name, const std::string& user,
                                  bool usesConnectionString) {
    std::string text = "DSN=" + name;
    if (usesConnectionString)
        text += ", Using a connection string.";
    else if (!user.empty())
        text += "\xEF\xBC\x8C USER=" + user;
    return text;
}

bool ConnectionTest::Run(QWidget* parent, const std::string& name, const std::string& user,
                         const std::string& password, const std::string& connectionString) const {
    std::string failure;
    {
        BusyPointer busy;
        try {
            failure = m_opener(DataSourceConnectionString(name, user, password, connectionString),
                               m_connectionTimeout);
        } catch (const std::exception& error) {
            // A layer that throws instead of answering still gets its reason shown.
            failure = error.what();
        }
    }
    std::string description = DataSourceDescription(name, user, !connectionString.empty());
    if (failure.empty()) {
        MessageService::Information(
            parent, QString::fromStdString("Connect to database successfully.\n" + description));
        return true;
    }
    ShowErrorBox(parent, QString::fromStdString("Failed to connect to data source.\n" +
                                                description + "\n" + failure));
    return false;
}

} // namespace slidesmith::ui
