#include "engine/RunLog.h"

#include "engine/CountFormat.h"

#include <cerrno>
#include <cstring>

namespace slidesmith::engine {
namespace {

std::string BuildLine(const Clock& clock, std::string_view text) {
    std::string line = FormatLogPrefix(clock.Now());
    line += text;
    line += "\r\n";
    return line;
}

// True when all bytes reached the file.
bool WriteAndFlush(std::FILE* file, std::string_view bytes) {
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fflush(file) == 0 && written;
}

} // namespace

RunLog::RunLog(RunState& state, RunObserver& observer, const Clock& clock)
    : m_state(state), m_observer(observer), m_clock(clock) {}

bool RunLog::Open(const std::filesystem::path& path, std::string& errorDescription) {
    Close();
    m_file.reset(std::fopen(path.c_str(), "wb"));
    if (!m_file) {
        errorDescription = path.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void RunLog::Close() {
    m_file.reset();
}

void RunLog::WriteLogLine(std::string_view text) {
    if (m_file) {
        // A full disk must not end the run; the log simply misses the line.
        WriteAndFlush(m_file.get(), BuildLine(m_clock, text));
    }
    m_observer.EchoLogLine(text);
}

void RunLog::LogError(std::string_view message, std::string_view information) {
    WriteLogLine(std::string("Error: ").append(message));
    if (!information.empty())
        WriteLogLine(std::string("Error Info: ").append(information));
    ++m_state.ErrorCount;
    m_observer.ShowErrorCount(FormatCount(m_state.ErrorCount, CountStyle::ZeroAsEmpty));
}

void RunLog::LogStatementError(std::string_view header, std::string_view message,
                               std::string_view information) {
    WriteLogLine(header);
    LogError(message, information);
}

bool WriteStartupError(const std::filesystem::path& file, std::string_view message,
                       const Clock& clock) {
    std::string line = BuildLine(clock, std::string("Error: ").append(message));
    std::FILE* stream = std::fopen(file.c_str(), "ab");
    if (stream == nullptr)
        return false;
    bool written = WriteAndFlush(stream, line);
    return std::fclose(stream) == 0 && written;
}

} // namespace slidesmith::engine
