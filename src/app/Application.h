#pragma once

#include "app/InteractiveSession.h"
#include "definition/ConversionTable.h"
#include "definition/ReportDefinition.h"
#include "engine/Clock.h"
#include "engine/RunOptions.h"
#include "engine/RunState.h"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::app {

// Process exit status of the batch program. A scheduler needs more than "it ended", so the
// status tells the outcome that the logs describe.
inline constexpr int kExitSuccess = 0;   // the run logged no error
inline constexpr int kExitRunErrors = 1; // the run logged errors
inline constexpr int kExitNotRun = 2;    // no run: the definition or the run log failed

// The program: reads the settings and the command line, then runs one definition in batch mode.
// Owns the process-wide records (options, definition, run state, conversion table) that the run
// reads, and hands them on by reference.
class Application {
public:
    // arguments: the command line without the program name, as the shell split it.
    Application(std::vector<std::string> arguments, std::ostream& out, std::ostream& err);

    // Everything from start-up to the end of the run; returns the exit status.
    int Run();

    // The desktop program started when no -C is given; without one the interactive mode
    // explains that this build has none.
    void SetDesktopEntry(DesktopEntry entry) { m_desktopEntry = std::move(entry); }

private:
    bool HandleInfoRequest();
    void ReadSettings();
    int RunBatch();
    int RunInteractive();
    // Writes a failure before the run to the start-up log (falling back to the state folder
    // when the application folder takes no file) and to stderr.
    void ReportStartupError(std::string_view message);

    std::vector<std::string> m_arguments;
    std::ostream& m_out;
    std::ostream& m_err;
    engine::SystemClock m_clock;
    std::filesystem::path m_executable;
    std::filesystem::path m_applicationFolder;
    std::string m_codePage;
    engine::RunOptions m_options;
    engine::RunState m_state;
    definition::ReportDefinition m_definition;
    std::vector<definition::ConversionFormat> m_conversionTable;
    DesktopEntry m_desktopEntry;
};

} // namespace slidesmith::app
