#include "platform/convert/ChildProcess.h"

#include "platform/convert/ConvertError.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace slidesmith::convert {
namespace {

constexpr std::size_t kMaxOutput = 64 * 1024;
// How often a running child is checked for having ended while its output pipe stays quiet.
constexpr int kPollMilliseconds = 50;
// Once its output is closed the child is about to end: check more often.
constexpr int kEndingPollMilliseconds = 10;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    void Close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd;
};

// posix_spawn is used rather than fork: it is safe in a threaded program (no allocation between
// fork and exec) and still executes the program directly, without a shell.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    void Prepare(int outputFd) {
        posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&m_actions, outputFd, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&m_actions, outputFd, STDERR_FILENO);
        // Its own process group, so a time-out can kill the program and every helper it started.
        // Signal handling is reset because the caller's ignored signals would be inherited.
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD}) {
            sigaddset(&defaults, signal);
        }
        posix_spawnattr_setpgroup(&m_attributes, 0);
        posix_spawnattr_setsigmask(&m_attributes, &none);
        posix_spawnattr_setsigdefault(&m_attributes, &defaults);
        posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                                    POSIX_SPAWN_SETSIGDEF);
    }

    const posix_spawn_file_actions_t* Actions() const { return &m_actions; }
    const posix_spawnattr_t* Attributes() const { return &m_attributes; }

private:
    posix_spawn_file_actions_t m_actions{};
    posix_spawnattr_t m_attributes{};
};

// Kills the child's process group and reaps the child if the run ends early, so neither a
// zombie nor a running LibreOffice is left behind when reading its output throws.
class ChildGuard {
public:
    explicit ChildGuard(pid_t pid) : m_pid(pid) {}
    ~ChildGuard() {
        if (!m_reaped) {
            KillGroup();
            int status = 0;
            while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
    ChildGuard(const ChildGuard&) = delete;
    ChildGuard& operator=(const ChildGuard&) = delete;

    void KillGroup() const { ::kill(-m_pid, SIGKILL); }

    // True when the child has ended; its status is then in `status`.
    bool TryReap(int& status) {
        if (!m_reaped) {
            pid_t result = -1;
            do {
                result = ::waitpid(m_pid, &status, WNOHANG);
            } while (result < 0 && errno == EINTR);
            // ECHILD: the host ignores SIGCHLD, so the system reaped the child and its status is
            // lost; it counts as ended with status 0 and the caller judges by its output.
            m_reaped = result == m_pid || (result < 0 && errno == ECHILD);
        }
        return m_reaped;
    }

    void Reap(int& status) {
        while (!m_reaped) {
            const pid_t result = ::waitpid(m_pid, &status, 0);
            m_reaped = result == m_pid || (result < 0 && errno != EINTR);
        }
    }

private:
    pid_t m_pid;
    bool m_reaped = false;
};

// Reads what is available; false once the pipe is at its end.
bool ReadSome(int fd, int waitMilliseconds, std::string& output) {
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, waitMilliseconds) <= 0) {
        return true; // nothing yet, or interrupted: try again
    }
    char buffer[4096];
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0) {
        return errno == EINTR || errno == EAGAIN;
    }
    if (count == 0) {
        return false;
    }
    const std::size_t room = kMaxOutput - std::min(kMaxOutput, output.size());
    output.append(buffer, std::min(room, static_cast<std::size_t>(count)));
    return true;
}

} // namespace

std::optional<std::filesystem::path> FindProgram(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? "" : folders.substr(colon + 1);
        if (folder.empty()) {
            continue; // an empty entry would mean the current folder, which we do not search
        }
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

ProcessResult RunChildProcess(const std::filesystem::path& program,
                              const std::vector<std::string>& arguments,
                              std::chrono::milliseconds timeLimit) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        throw ConvertError("cannot create a pipe to run " + program.string() + ": " +
                           std::strerror(errno));
    }
    FileDescriptor readEnd(fds[0]);
    FileDescriptor writeEnd(fds[1]);

    std::string programText = program.string();
    std::vector<std::string> argumentCopies = arguments;
    std::vector<char*> argv{programText.data()};
    for (std::string& argument : argumentCopies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    SpawnSetup setup;
    setup.Prepare(writeEnd.Get());
    pid_t pid = 0;
    const int spawnError = ::posix_spawn(&pid, programText.c_str(), setup.Actions(),
                                         setup.Attributes(), argv.data(), environ);
    writeEnd.Close(); // or the pipe never reports its end
    if (spawnError != 0) {
        throw ConvertError("cannot start " + programText + ": " + std::strerror(spawnError));
    }

    ChildGuard child(pid);
    ProcessResult result;
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    bool pipeOpen = true;
    int status = 0;
    for (;;) {
        const bool ended = child.TryReap(status);
        if (ended && !pipeOpen) {
            break;
        }
        if (ended) {
            child.KillGroup(); // helpers that still hold the output pipe
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            child.KillGroup();
            child.Reap(status);
            return result;
        }
        const int wait = static_cast<int>(std::min<long long>(left.count(), kPollMilliseconds));
        if (pipeOpen) {
            pipeOpen = ReadSome(readEnd.Get(), wait, result.output);
        } else {
            ::poll(nullptr, 0, std::min(wait, kEndingPollMilliseconds));
        }
    }
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace slidesmith::convert
