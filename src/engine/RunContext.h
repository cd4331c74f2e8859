#pragma once

#include "definition/ConversionTable.h"
#include "definition/ReportDefinition.h"
#include "engine/Clock.h"
#include "engine/RunLog.h"
#include "engine/RunObserver.h"
#include "engine/RunOptions.h"
#include "engine/RunState.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::engine {

// What the login dialog shows when a data source failed to open in an interactive run.
struct LoginPrompt {
    std::size_t Slot = 0; // 0-based index of the data source
    std::string Name;     // the data source's name as it stands now
    std::string User;     // the user as it stands now; the password box starts empty
    // Empty the first time the dialog is shown for this data source. After a retry with the
    // typed credentials failed, the text to show in the error box before the dialog opens again:
    // "Failed to connect to data source." CR LF "DSN=<name>[， USER=<user>]" CR LF <description>.
    std::string FailedRetryText;
};

// What the user typed into the login dialog.
struct LoginCredentials {
    std::string Name;
    std::string User;
    std::string Password;
};

// Asked again after every failed retry, until a retry opens the data source or the user cancels
// (std::nullopt). The engine does the retry itself (ODBC form with the typed name, user and
// password) and on success stores Name and User in the definition and clears its Password.
using LoginRetry = std::function<std::optional<LoginCredentials>(const LoginPrompt&)>;

// Shows a saved report to the user (the "display" option). Returns false with a description
// when no viewer could be started.
using ReportViewer = std::function<bool(const std::filesystem::path&, std::string& description)>;

// The shared error box of the desktop program ("Error!", "Error Info: " + text).
using ErrorBox = std::function<void(std::string_view text)>;

// Everything one run reads and writes. The caller owns every record and keeps it alive for the
// run; RunReport changes the definition (resolved paths, parameter defaults and credentials from
// the command line in batch mode, a default LogFileName, credentials from the login dialog), the
// state, and nothing else of the caller's.
struct RunContext {
    definition::ReportDefinition& Definition;
    RunOptions& Options;
    RunState& State;
    RunObserver& Observer;
    // The report file formats read at start-up; an empty table is warned about in the log.
    const std::vector<definition::ConversionFormat>& ConversionTable;
    // The folder sconv.cfg was looked for in; named in the warning when the table is empty.
    std::filesystem::path ApplicationFolder;
    // The editor's text in an interactive run. None: the script is read from the definition
    // file at Definition.CurrentPath (batch mode), never held whole.
    std::optional<std::string_view> ScriptText;
    // The code page of a definition file that is not UTF-8 (the CodePage setting); the batch
    // script is decoded with it.
    std::string CodePage = definition::kDefaultCodePage;
    // Only the desktop program supplies it; without it a failed data source is logged at once.
    LoginRetry Login;
    // Told why the run log could not be created (there is no run then): the desktop program
    // shows its error box, batch mode writes the start-up log.
    ErrorBox ShowErrorBox;
    // How a displayed report is shown; empty means the desktop's default viewer (xdg-open).
    ReportViewer Viewer;
    // Time stamps of the log lines; null means the machine's clock.
    const Clock* LogClock = nullptr;
    // The log the run opens and writes, when the caller must write into it during the run (the
    // run window's End logs "Interrupted by user." into the file the run keeps open). Null: the
    // run has a log of its own, on Observer and LogClock.
    RunLog* Log = nullptr;
};

// Performs one report run: resolves the file names, opens the log, connects the data sources,
// opens the template, runs the script statement by statement, saves the report in the requested
// format and closes the log. Its outcome is the report file, the log, and State (ErrorCount
// among it). Never throws: every failure becomes a log entry, or, when the log itself cannot be
// opened, ShowErrorBox and State.LogOpened == false.
void RunReport(RunContext& context);

} // namespace slidesmith::engine
