#pragma once

#include "app/InteractiveSession.h"

#include <iosfwd>
#include <memory>

namespace slidesmith::ui {

class MainWindow;

// Whether a window system can be reached: DISPLAY or WAYLAND_DISPLAY is set, or QT_QPA_PLATFORM
// names a platform that needs no server (xcb needs DISPLAY, wayland WAYLAND_DISPLAY). Checked
// before Qt starts, because Qt aborts the process when it finds no display.
bool HasDisplay();

// The interactive start with a running QApplication: announces a missing conversion table,
// shows the main window from its stored geometry, the tip of the day when ShowTips is set, and
// opens the definition named on the command line.
std::unique_ptr<MainWindow> StartInteractive(app::InteractiveSession& session);

// The whole desktop program: checks for a display (else explains on err and returns 2), starts
// Qt, runs StartInteractive and the event loop until the main window closes.
int RunDesktopProgram(int& argc, char** argv, app::InteractiveSession& session, std::ostream& err);

} // namespace slidesmith::ui
