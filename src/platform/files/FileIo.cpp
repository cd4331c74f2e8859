#include "platform/files/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace slidesmith::files {
namespace {

std::string Describe(const std::filesystem::path& path, const char* step) {
    return path.string() + ": " + step + " failed: " + std::strerror(errno);
}

// Closes the descriptor and removes the temporary file unless the write was committed.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target)
        : m_path(target.string() + ".XXXXXX") {
        std::string pattern = m_path.string();
        m_fd = mkstemp(pattern.data());
        m_path = pattern;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (m_fd >= 0)
            close(m_fd);
        if (!m_committed)
            unlink(m_path.c_str());
    }
    int Fd() const { return m_fd; }
    const std::filesystem::path& Path() const { return m_path; }
    void CloseAndCommit(const std::filesystem::path& target) {
        if (close(m_fd) != 0) {
            m_fd = -1;
            throw FileError(Describe(m_path, "close"));
        }
        m_fd = -1;
        if (std::rename(m_path.c_str(), target.c_str()) != 0)
            throw FileError(Describe(target, "rename"));
        m_committed = true;
    }

private:
    std::filesystem::path m_path;
    int m_fd = -1;
    bool m_committed = false;
};

} // namespace

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FileError(Describe(path, "open"));
    std::string bytes;
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(path, sizeError);
    if (!sizeError)
        bytes.reserve(static_cast<std::size_t>(size));
    try {
        // Block reads: a character iterator takes most of a second for a 50 MB definition.
        char buffer[65536];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
            bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    } catch (const std::ios_base::failure&) {
        // libstdc++ reports a failed read (a directory opens but cannot be read) this way.
        throw FileError(Describe(path, "read"));
    }
    if (in.bad())
        throw FileError(Describe(path, "read"));
    return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    TemporaryFile temp(path);
    if (temp.Fd() < 0)
        throw FileError(Describe(temp.Path(), "create"));
    // mkstemp creates 0600; a report or settings file should get the usual umask permissions.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(temp.Fd(), 0666 & ~mask);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(temp.Fd(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(Describe(temp.Path(), "write"));
        }
        done += static_cast<std::size_t>(n);
    }
    temp.CloseAndCommit(path);
}

} // namespace slidesmith::files
