#pragma once

#include "engine/Clock.h"
#include "engine/RunObserver.h"
#include "engine/RunState.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace slidesmith::engine {

// The log of one run: one line per event, "[YYYYMMDD hh:mm:ss]" + four blanks + text + CR LF,
// written and flushed as the event happens, so a run that dies leaves everything up to that
// point. Every line is also echoed (without the prefix) to the observer. Text is written as
// given (UTF-8 from our own messages). No member throws; write failures are ignored because a
// run must not stop over its log.
class RunLog {
public:
    RunLog(RunState& state, RunObserver& observer, const Clock& clock);
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Creates the file, replacing an existing one. On failure returns false, sets
    // errorDescription to what the system said, and leaves the log closed.
    bool Open(const std::filesystem::path& path, std::string& errorDescription);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    // One timestamped line; the observer sees the text alone.
    void WriteLogLine(std::string_view text);
    // "Error: " + message, then "Error Info: " + information when that is not empty; counts one
    // error and shows the new count.
    void LogError(std::string_view message, std::string_view information);
    // The statement's header line, then exactly as LogError.
    void LogStatementError(std::string_view header, std::string_view message,
                           std::string_view information);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    RunState& m_state;
    RunObserver& m_observer;
    const Clock& m_clock;
    std::unique_ptr<std::FILE, FileCloser> m_file;
};

// Appends "[YYYYMMDD hh:mm:ss]    Error: " + message + CR LF to the start-up log, creating the file
// when missing. Used only before a run exists. Never throws; returns false when the line could
// not be written, so the caller may try another place.
bool WriteStartupError(const std::filesystem::path& file, std::string_view message,
                       const Clock& clock);

} // namespace slidesmith::engine
