#pragma once

#include "ui/ConnectionTest.h"

namespace slidesmith::ui {

// The program's connection layer for the connection test: opens through ODBC with the login
// time limit, closes again, and answers with the driver's description of a failure.
ConnectionOpener OdbcConnectionOpener();

// The connection test the editor's dialogs use.
inline ConnectionTest MakeOdbcConnectionTest(int connectionTimeout) {
    return ConnectionTest(OdbcConnectionOpener(), connectionTimeout);
}

} // namespace slidesmith::ui
