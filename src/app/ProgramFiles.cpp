#include "app/ProgramFiles.h"

#include <cstdlib>
#include <system_error>

namespace slidesmith::app {

namespace fs = std::filesystem;

fs::path ExecutablePath() {
    std::error_code error;
    fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : path;
}

fs::path FindApplicationFolder(const fs::path& executable) {
    fs::path folder = executable.parent_path();
    std::error_code ignored;
    if (fs::is_regular_file(folder / kConversionTableName, ignored))
        return folder;
    return folder.parent_path() / "share" / "slidesmith";
}

fs::path StartupLogName(const fs::path& executable) {
    fs::path name = executable.filename();
    name.replace_extension(".log");
    return name;
}

fs::path StartupLogFallbackFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && fs::path(state).is_absolute())
        return fs::path(state) / "slidesmith";
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0')
        return {};
    return fs::path(home) / ".local" / "state" / "slidesmith";
}

} // namespace slidesmith::app
