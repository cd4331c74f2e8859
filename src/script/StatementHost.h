#pragma once

#include "script/StatementRecord.h"

#include <cstddef>
#include <string_view>

namespace slidesmith::script {

// What the parser needs from the run: the engine implements it with the statement executor,
// the run log and the run window. Calls happen on the parser's thread, in script order.
class StatementHost {
public:
    virtual ~StatementHost() = default;

    // Runs one complete statement with a non-empty SqlText; the executor may write the record's
    // TargetOrdinal and PageBreak. The result is the statement's success; the parser goes on
    // either way.
    virtual bool ExecuteStatement(StatementRecord& record) = 0;

    // Whether the data source at this 0-based index was connected at the start of the run.
    virtual bool IsDataSourceConnected(std::size_t index) const = 0;

    // The run log's statement error entry: the header line, "Error: " + message, and
    // "Error Info: " + information when that is not empty.
    virtual void LogStatementError(std::string_view header, std::string_view message,
                                   std::string_view information) = 0;

    // The run log's error entry without a header line.
    virtual void LogError(std::string_view message, std::string_view information) = 0;

    // Lets pending window events run (the run window's End button among them); called once per
    // script line.
    virtual void ProcessPendingEvents() = 0;

    // Set when the user ended the run; the parser stops at the next line.
    virtual bool IsInterrupted() const = 0;
};

} // namespace slidesmith::script
