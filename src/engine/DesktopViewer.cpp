#include "engine/DesktopViewer.h"

#include "platform/convert/ChildProcess.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace slidesmith::engine {

bool OpenWithDesktopViewer(const std::filesystem::path& file, std::string& description) {
    if (!convert::FindProgram("xdg-open")) {
        description = "xdg-open is not installed, so the report cannot be shown.";
        return false;
    }
    // The shell starts xdg-open in the background and ends at once: the viewer is not our child,
    // so it neither waits for us nor becomes a zombie when it ends.
    std::string script = "xdg-open \"$1\" </dev/null >/dev/null 2>&1 &";
    std::string shell = "/bin/sh";
    std::string dashC = "-c";
    std::string name = "sh";
    std::string target = file.string();
    std::vector<char*> argv{shell.data(), dashC.data(),  script.data(),
                            name.data(),  target.data(), nullptr};
    pid_t pid = 0;
    int rc = posix_spawn(&pid, shell.c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        description = "Starting xdg-open failed: " + std::string(std::strerror(rc));
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

} // namespace slidesmith::engine
