#pragma once

#include "app/InteractiveSession.h"

#include <string>

class QWidget;

namespace slidesmith::ui {

// The editor's Report menu: the configuration dialog for the open definition; true when the
// user confirmed it (the dialog sets Modified itself).
bool OpenReportConfiguration(QWidget* parent, app::InteractiveSession& session);

// The editor's Run command: the run window for the open definition and the editor's text,
// whose Start runs the report through the run driver.
void RunReportFromEditor(QWidget* parent, app::InteractiveSession& session,
                         const std::string& scriptText);

} // namespace slidesmith::ui
