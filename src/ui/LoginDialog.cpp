#include "ui/LoginDialog.h"

#include "ui/DialogParts.h"
#include "ui/MessageService.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace slidesmith::ui {

LoginDialog::LoginDialog(const engine::LoginPrompt& prompt, QWidget* parent) : QDialog(parent) {
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

    m_name->setText(FromUtf8(prompt.Name));
    m_user->setText(FromUtf8(prompt.User));
    // The password is what usually needs correcting.
    m_password->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

engine::LoginCredentials LoginDialog::Typed() const {
    return {ToUtf8(m_name->text()), ToUtf8(m_user->text()), ToUtf8(m_password->text())};
}

engine::LoginRetry MakeLoginRetry(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    return [owner](const engine::LoginPrompt& prompt) -> std::optional<engine::LoginCredentials> {
        if (!prompt.FailedRetryText.empty()) {
            QString text = FromUtf8(prompt.FailedRetryText);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            ShowErrorBox(owner.data(), text);
        }
        LoginDialog dialog(prompt, owner.data());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Typed();
    };
}

} // namespace slidesmith::ui
