#pragma once

#include <string_view>

namespace slidesmith::engine {

// What a run shows while it happens. The desktop program implements it on its run window; batch
// mode passes a NullRunObserver, because nothing is on screen and the log file is the whole
// report. Every call comes from the run's own thread, in program order.
class RunObserver {
public:
    virtual ~RunObserver() = default;

    // A log line as written to the file, without the timestamp prefix.
    virtual void EchoLogLine(std::string_view text) = 0;
    // "Ready", "Running", "Done".
    virtual void ShowStatus(std::string_view text) = 0;
    // Counter texts, already formatted with thousands separators (see FormatCount).
    virtual void ShowStatementCount(std::string_view text) = 0;
    virtual void ShowErrorCount(std::string_view text) = 0;
    // The label of the statement being executed.
    virtual void ShowFunctionLabel(std::string_view text) = 0;
    // Record progress of the current fill, "<record> / <total>".
    virtual void ShowRecordProgress(std::string_view text) = 0;
    // Lets queued window events run, so that the End button can set RunState::Interrupted.
    virtual void LetPendingEventsRun() = 0;
};

// Ignores everything: batch mode and tests that only look at the log file.
class NullRunObserver final : public RunObserver {
public:
    void EchoLogLine(std::string_view) override {}
    void ShowStatus(std::string_view) override {}
    void ShowStatementCount(std::string_view) override {}
    void ShowErrorCount(std::string_view) override {}
    void ShowFunctionLabel(std::string_view) override {}
    void ShowRecordProgress(std::string_view) override {}
    void LetPendingEventsRun() override {}
};

} // namespace slidesmith::engine
