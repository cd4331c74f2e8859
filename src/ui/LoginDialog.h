#pragma once

#include "definition/ReportDefinition.h"

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;

namespace slidesmith::ui {

// Opens the failing data source's connection with the connection string (no separate user and
// password); returns the failure description, or an empty text when the connection is open. The
// run supplies it, because the connection belongs to the run's slot.
using ConnectAttempt = std::function<std::string(const std::string& connectionString)>;

// What an interactive run offers a data source that failed to open: lets the user correct the
// name, user and password and retry until the connection opens or the user cancels. True when
// the connection is open; then the entry's Name and User are the corrected ones and its
// Password is empty (a typed password is not kept in the definition).
using LoginPrompt =
    std::function<bool(definition::DataSourceEntry& entry, const ConnectAttempt& attempt)>;

// frmLogin. Each OK tries the ODBC form of the typed name, user and password; a failure shows
// the error box, empties the password box and keeps the dialog open for another try.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(definition::DataSourceEntry& entry, ConnectAttempt attempt, QWidget* parent);

    bool IsConnected() const { return m_connected; }

private:
    void TryConnect();

    definition::DataSourceEntry& m_entry;
    ConnectAttempt m_attempt;
    QLineEdit* m_name;
    QLineEdit* m_user;
    QLineEdit* m_password;
    bool m_connected = false;
};

// The login prompt shown over parent (the run window).
LoginPrompt MakeLoginPrompt(QWidget* parent);

} // namespace slidesmith::ui
