#include "ui/LoginDialog.h"

#include "ui/ConnectionTest.h"
#include "ui/DialogParts.h"
#include "ui/MessageService.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace slidesmith::ui {

LoginDialog::LoginDialog(definition::DataSourceEntry& entry, ConnectAttempt attempt,
                         QWidget* parent)
    : QDialog(parent), m_entry(entry), m_attempt(std::move(attempt)) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Login"));
    m_name = MakeLineEdit(this, "txtDSName");
    m_user = MakeLineEdit(this, "txtDSUser");
    m_password = MakeLineEdit(this, "txtDSPassword");
    m_password->setEchoMode(QLineEdit::Password);
    QPushButton* ok = MakeButton(this, "cmdOK", QStringLiteral("&OK"));
    QPushButton* cancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    ok->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(MakeLabel(this, "lblDSName", QStringLiteral("&Name:"), m_name), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(MakeLabel(this, "lblDSUser", QStringLiteral("&User:"), m_user), 1, 0);
    grid->addWidget(m_user, 1, 1);
    grid->addWidget(MakeLabel(this, "lblDSPassword", QStringLiteral("&Password:"), m_password), 2,
                    0);
    grid->addWidget(m_password, 2, 1);
    grid->setColumnMinimumWidth(1, 240);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 2);

    m_name->setText(FromUtf8(entry.Name));
    m_user->setText(FromUtf8(entry.User));
    connect(ok, &QPushButton::clicked, this, &LoginDialog::TryConnect);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void LoginDialog::TryConnect() {
    std::string name = ToUtf8(m_name->text());
    std::string user = ToUtf8(m_user->text());
    std::string password = ToUtf8(m_password->text());
    std::string failure;
    try {
        failure = m_attempt(DataSourceConnectionString(name, user, password, {}));
    } catch (const std::exception& error) {
        // The run must go on whatever the connection layer does; the user sees why.
        failure = error.what();
    }
    if (failure.empty()) {
        m_entry.Name = name;
        m_entry.User = user;
        m_entry.Password.clear();
        m_connected = true;
        accept();
        return;
    }
    ShowErrorBox(this, FromUtf8("Failed to connect to data source.\n" +
                                DataSourceDescription(name, user, false) + "\n" + failure));
    m_password->clear();
    m_password->setFocus();
}

LoginPrompt MakeLoginPrompt(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    return [owner](definition::DataSourceEntry& entry, const ConnectAttempt& attempt) {
        LoginDialog dialog(entry, attempt, owner.data());
        dialog.exec();
        return dialog.IsConnected();
    };
}

} // namespace slidesmith::ui
