#pragma once

#include "definition/ReportDefinition.h"
#include "ui/ConnectionTest.h"
#include "ui/EditMode.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace slidesmith::ui {

// frmDataSource: edits one row of the configuration dialog's data-source list, in DSN form
// (name, user, password) or connection-string form. Accepted means the caller stores Entry();
// OK without any edit closes as Cancel does, so the list is not marked changed.
class DataSourceDialog : public QDialog {
    Q_OBJECT
public:
    DataSourceDialog(EditMode mode, const definition::DataSourceEntry& row,
                     const ConnectionTest& test, QWidget* parent);

    // The row as the form shows it: empty user and password in connection-string form, an
    // empty connection string in DSN form.
    definition::DataSourceEntry Entry() const;

private:
    bool UsesConnectionString() const;
    void ShowForm(bool connectionString);
    void UpdateButtons();
    // False (after the error box) when the connection-string form has no connection string.
    bool CheckConnectionString();
    void Confirm();
    void Test();

    const ConnectionTest& m_test;
    QLineEdit* m_name;
    QRadioButton* m_dsnForm;
    QRadioButton* m_stringForm;
    QLabel* m_userLabel;
    QLineEdit* m_user;
    QLabel* m_passwordLabel;
    QLineEdit* m_password;
    QLabel* m_stringLabel;
    QLineEdit* m_connectionString;
    QPushButton* m_testButton;
    QPushButton* m_ok;
    bool m_openedInStringForm = false;
    bool m_edited = false;
};

} // namespace slidesmith::ui
