#pragma once

#include <filesystem>
#include <string>

namespace slidesmith::engine {

// Opens a file with the desktop's default application (xdg-open), without waiting for the
// application: it lives on after the run, as a displayed report should. False with a
// description when xdg-open is not installed or could not be started.
bool OpenWithDesktopViewer(const std::filesystem::path& file, std::string& description);

} // namespace slidesmith::engine
