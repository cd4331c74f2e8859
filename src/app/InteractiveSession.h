#pragma once

#include "definition/ConversionTable.h"
#include "definition/ReportDefinition.h"
#include "engine/RunOptions.h"
#include "engine/RunState.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace slidesmith::app {

// What start-up hands the desktop program: the process-wide records it owns, read and changed
// by the windows, and where the program's own files are.
struct InteractiveSession {
    engine::RunOptions& Options;
    engine::RunState& State;
    definition::ReportDefinition& Definition;
    const std::vector<definition::ConversionFormat>& ConversionTable;
    std::filesystem::path ApplicationFolder;
    // The code page of definition files that are not UTF-8.
    std::string CodePage;
};

// The desktop program's entry, set by main when the program is built with it; returns the exit
// status.
using DesktopEntry = std::function<int(InteractiveSession&)>;

} // namespace slidesmith::app
