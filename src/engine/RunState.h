#pragma once

#include "engine/RunOptions.h"

#include <array>
#include <cstdint>

namespace slidesmith::engine {

// What one run has done so far. Reset at the start of every run; written by the run driver, the
// executor, the connections and the log; read by the fills and the run window. The log's open
// file is held by RunLog, which updates ErrorCount.
struct RunState {
    int StatementCount = 0;          // statements executed in this run
    int ErrorCount = 0;              // error entries written to the log in this run
    bool Interrupted = false;        // the user asked to stop; the parser and fills check it
    std::int32_t LastSlideIndex = 0; // slide of the previous statement, base of relative SLIDE
    std::array<bool, kCredentialSlotCount> Connected{}; // data source i is open
    // The run log could be created. False after a run means there was no run at all (the
    // batch program's exit status tells it apart from a run with errors).
    bool LogOpened = false;
    // The resolved template, report and log paths live in ReportDefinition: loading or resetting
    // a definition clears them there, and the windows read them after the run.
};

} // namespace slidesmith::engine
