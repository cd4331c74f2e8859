#pragma once

#include "engine/RunContext.h"

#include <QDialog>

class QLineEdit;

namespace slidesmith::ui {

// frmLogin: shows the failing data source's name and user with an empty password box. OK closes
// it with what was typed, and the run retries the connection with that; Cancel or Escape gives
// up on the data source.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(const engine::LoginPrompt& prompt, QWidget* parent);

    engine::LoginCredentials Typed() const;

private:
    QLineEdit* m_name;
    QLineEdit* m_user;
    QLineEdit* m_password;
};

// The run's login retry over frmLogin, modal over parent (the run window). The run owns the
// connection and retries it itself; when its retry with the typed values failed, the next call
// shows the error box first and then the dialog again with the typed name and user kept and the
// password box empty, so the user sees one dialog that stays until a login works or is
// cancelled.
engine::LoginRetry MakeLoginRetry(QWidget* parent);

} // namespace slidesmith::ui
