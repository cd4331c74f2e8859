#pragma once

#include "script/StatementHost.h"
#include "script/StatementRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::script {

// Stands in for the engine: keeps the statements it was given and writes every log entry and
// execution into one ordered event list, so tests can check order as well as content.
class RecordingHost : public StatementHost {
public:
    bool ExecuteStatement(StatementRecord& record) override {
        executed.push_back(record);
        events.push_back("run " + record.LogPrefix + " | " + record.SqlText);
        if (interruptAfterRuns > 0 && executed.size() >= interruptAfterRuns)
            interrupted = true;
        return true;
    }
    bool IsDataSourceConnected(std::size_t index) const override {
        return index < connected.size() && connected[index];
    }
    void LogStatementError(std::string_view header, std::string_view message,
                           std::string_view information) override {
        events.push_back("error " + std::string(header) + " | " + std::string(message) +
                         (information.empty() ? "" : " | " + std::string(information)));
    }
    void LogError(std::string_view message, std::string_view information) override {
        events.push_back("fault " + std::string(message) + " | " + std::string(information));
    }
    void ProcessPendingEvents() override { ++eventPumps; }
    bool IsInterrupted() const override { return interrupted; }

    std::vector<StatementRecord> executed;
    std::vector<std::string> events;
    std::vector<bool> connected{true, true, false};
    std::size_t interruptAfterRuns = 0;
    bool interrupted = false;
    int eventPumps = 0;
};

} // namespace slidesmith::script
