#pragma once

#include "engine/RunLog.h"
#include "engine/RunObserver.h"
#include "engine/RunState.h"
#include "fill/FillReporter.h"

namespace slidesmith::engine {

// Lets a fill report into this run: its lines and errors go to the run log (so they count and
// echo like every other entry), its progress to the run window, and it sees the End button
// through the run state.
class RunFillReporter final : public fill::FillReporter {
public:
    RunFillReporter(RunState& state, RunObserver& observer, RunLog& log)
        : m_state(state), m_observer(observer), m_log(log) {}

    void WriteLine(std::string_view text) override { m_log.WriteLogLine(text); }
    void LogError(std::string_view message, std::string_view information) override {
        m_log.LogError(message, information);
    }
    void ShowRecordProgress(std::string_view text) override { m_observer.ShowRecordProgress(text); }
    void LetPendingEventsRun() override { m_observer.LetPendingEventsRun(); }
    bool Interrupted() const override { return m_state.Interrupted; }

private:
    RunState& m_state;
    RunObserver& m_observer;
    RunLog& m_log;
};

} // namespace slidesmith::engine
