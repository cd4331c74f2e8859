#include "ui/DataSourceDialog.h"

#include "ui/DialogParts.h"
#include "ui/MessageService.h"
#include "ui/ReportFileNames.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace slidesmith::ui {

DataSourceDialog::DataSourceDialog(EditMode mode, const definition::DataSourceEntry& row,
                                   const ConnectionTest& test, QWidget* parent)
    : QDialog(parent), m_test(test) {
    setObjectName(QStringLiteral("frmDataSource"));
    setWindowTitle(mode == EditMode::New ? QStringLiteral("New Data Source")
                                         : QStringLiteral("Edit Data Source"));
    m_name = MakeLineEdit(this, "txtDSName");
    m_dsnForm = new QRadioButton(QStringLiteral("Using ODBC &data source name"), this);
    m_dsnForm->setObjectName(QStringLiteral("optDSN"));
    m_user = MakeLineEdit(this, "txtDSUser");
    m_password = MakeLineEdit(this, "txtDSPassword");
    m_password->setEchoMode(QLineEdit::Password);
    m_stringForm = new QRadioButton(QStringLiteral("Using con&nection string"), this);
    m_stringForm->setObjectName(QStringLiteral("optConString"));
    m_connectionString = MakeLineEdit(this, "txtDSConString");
    m_userLabel = MakeLabel(this, "lblDSUser", QStringLiteral("&User:"), m_user);
    m_passwordLabel = MakeLabel(this, "lblDSPassword", QStringLiteral("&Password:"), m_password);
    m_stringLabel = MakeLabel(this, "lblDSConString", QStringLiteral("Connection &String:"),
                              m_connectionString);
    m_testButton = MakeButton(this, "cmdTest", QStringLiteral("&Test"));
    m_ok = MakeButton(this, "cmdOK", QStringLiteral("OK"));
    QPushButton* cancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    m_ok->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(MakeLabel(this, "lblDSName", QStringLiteral("&Name:"), m_name), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(m_dsnForm, 1, 0, 1, 3);
    grid->addWidget(m_userLabel, 2, 1);
    grid->addWidget(m_user, 2, 2);
    grid->addWidget(m_passwordLabel, 3, 1);
    grid->addWidget(m_password, 3, 2);
    grid->addWidget(m_stringForm, 4, 0, 1, 3);
    grid->addWidget(m_stringLabel, 5, 1);
    grid->addWidget(m_connectionString, 5, 2);
    grid->setColumnMinimumWidth(0, 20);
    grid->setColumnMinimumWidth(2, 320);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_testButton);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 6, 0, 1, 3);

    if (mode == EditMode::Edit) {
        m_name->setText(FromUtf8(row.Name));
        m_user->setText(FromUtf8(row.User));
        m_password->setText(FromUtf8(row.Password));
        m_connectionString->setText(FromUtf8(row.ConnectionString));
        m_openedInStringForm = !row.ConnectionString.empty();
    }
    (m_openedInStringForm ? m_stringForm : m_dsnForm)->setChecked(true);
    ShowForm(m_openedInStringForm);

    for (QLineEdit* field : {m_name, m_user, m_password, m_connectionString})
        connect(field, &QLineEdit::textEdited, this, [this] { m_edited = true; });
    connect(m_name, &QLineEdit::textChanged, this, &DataSourceDialog::UpdateButtons);
    connect(m_stringForm, &QRadioButton::toggled, this, &DataSourceDialog::ShowForm);
    connect(m_testButton, &QPushButton::clicked, this, &DataSourceDialog::Test);
    connect(m_ok, &QPushButton::clicked, this, &DataSourceDialog::Confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdateButtons();
}

definition::DataSourceEntry DataSourceDialog::Entry() const {
    definition::DataSourceEntry entry;
    entry.Name = ToUtf8(m_name->text());
    if (UsesConnectionString()) {
        entry.ConnectionString = ToUtf8(m_connectionString->text());
    } else {
        entry.User = ToUtf8(m_user->text());
        entry.Password = ToUtf8(m_password->text());
    }
    return entry;
}

bool DataSourceDialog::UsesConnectionString() const {
    return m_stringForm->isChecked();
}

void DataSourceDialog::ShowForm(bool connectionString) {
    for (QWidget* widget :
         {static_cast<QWidget*>(m_userLabel), static_cast<QWidget*>(m_user),
          static_cast<QWidget*>(m_passwordLabel), static_cast<QWidget*>(m_password)})
        widget->setEnabled(!connectionString);
    m_stringLabel->setEnabled(connectionString);
    m_connectionString->setEnabled(connectionString);
}

void DataSourceDialog::UpdateButtons() {
    bool hasName = !TrimBlanks(ToUtf8(m_name->text())).empty();
    m_ok->setEnabled(hasName);
    m_testButton->setEnabled(hasName);
}

bool DataSourceDialog::CheckConnectionString() {
    if (UsesConnectionString() && TrimBlanks(ToUtf8(m_connectionString->text())).empty()) {
        ShowErrorBox(this, QStringLiteral("Please input a connection string."));
        m_connectionString->setFocus();
        return false;
    }
    return true;
}

void DataSourceDialog::Confirm() {
    if (!CheckConnectionString())
        return;
    if (!m_edited && UsesConnectionString() == m_openedInStringForm) {
        reject();
        return;
    }
    accept();
}

void DataSourceDialog::Test() {
    if (!CheckConnectionString())
        return;
    definition::DataSourceEntry entry = Entry();
    m_test.Run(this, entry.Name, entry.User, entry.Password, entry.ConnectionString);
}

} // namespace slidesmith::ui
