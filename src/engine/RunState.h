#pragma once

#include "engine/RunOptions.h"

#include <array>
#include <cstdint>
#include <string>

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
    std::string TemplatePath;                           // resolved absolute paths of this run
    std::string ReportPath;
    std::string LogPath;
};

} // namespace slidesmith::engine
