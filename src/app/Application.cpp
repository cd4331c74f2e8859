#include "app/Application.h"

#include "app/CommandLine.h"
#include "app/ProgramFiles.h"
#include "definition/DefinitionFile.h"
#include "engine/ApplicationInfo.h"
#include "engine/RunContext.h"
#include "engine/RunLog.h"
#include "engine/RunObserver.h"
#include "platform/settings/SettingNames.h"
#include "platform/settings/SettingsStore.h"

#include <optional>
#include <ostream>
#include <system_error>

namespace slidesmith::app {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUsage =
    "Usage: slidesmith <definition.slm> [-C] [-D] [-I <n>] [-U[<n>] <user>] [-P[<n>] <password>]\n"
    "                  [<value> ...]\n"
    "\n"
    "Runs a report definition: fills its PowerPoint template with the results of its SQL\n"
    "statements and writes the report and a log file.\n"
    "\n"
    "  -C             batch mode: run the definition once without any window, then end\n"
    "  -D             keep the finished report open instead of closing it\n"
    "  -I <n>         log a progress line every <n> records (a value up to 1 is a fraction of\n"
    "                 the records); -I alone means every tenth of them\n"
    "  -U<n> <user>   user name for data source <n> (1 when <n> is left out)\n"
    "  -P<n> <pass>   password for data source <n> (1 when <n> is left out)\n"
    "  <value> ...    up to ten parameter values, in the order the parameters are defined\n"
    "\n"
    "The definition path always comes first. Without -C the desktop program opens it.\n"
    "Exit status: 0 the run logged no error, 1 the run logged errors, 2 the definition could\n"
    "not be loaded or the run log could not be opened (see the start-up log).\n";

} // namespace

Application::Application(std::vector<std::string> arguments, std::ostream& out, std::ostream& err)
    : m_arguments(std::move(arguments)), m_out(out), m_err(err) {}

int Application::Run() {
    if (HandleInfoRequest())
        return kExitSuccess;
    ReadSettings();
    std::error_code error;
    fs::path currentFolder = fs::current_path(error);
    ReadCommandLine(BuildCommandLineText(m_arguments), currentFolder, m_options);

    m_executable = ExecutablePath();
    m_applicationFolder = FindApplicationFolder(m_executable);
    // A missing table is no reason to stop: the run warns that formats cannot be converted.
    m_conversionTable = definition::ReadConversionTable(m_applicationFolder / kConversionTableName);

    if (!m_options.Interactive)
        return RunBatch();
    return RunInteractive();
}

int Application::RunInteractive() {
    if (!m_desktopEntry) {
        m_err << "Slidesmith: this build has no desktop program. To run a definition, use batch\n"
                 "mode: slidesmith <definition.slm> -C\n";
        return kExitNotRun;
    }
    InteractiveSession session{m_options,           m_state,   m_definition, m_conversionTable,
                               m_applicationFolder, m_codePage};
    return m_desktopEntry(session);
}

bool Application::HandleInfoRequest() {
    if (m_arguments.size() != 1)
        return false;
    if (m_arguments[0] == "--help") {
        m_out << kUsage;
        return true;
    }
    if (m_arguments[0] == "--version") {
        m_out << engine::ApplicationNameAndVersion() << '\n';
        return true;
    }
    return false;
}

void Application::ReadSettings() {
    settings::SettingsStore store(settings::SettingsStore::DefaultPath());
    m_options.ConnectionTimeout = store.GetSettingNumber(
        settings::kOptionsKey, settings::kConnectionTimeout, settings::kDefaultConnectionTimeout);
    m_options.CommandTimeout = store.GetSettingNumber(
        settings::kOptionsKey, settings::kCommandTimeout, settings::kDefaultCommandTimeout);
    m_codePage = store.GetSettingText(settings::kOptionsKey, settings::kCodePage,
                                      settings::kDefaultCodePage);
}

int Application::RunBatch() {
    const fs::path path = m_options.DefinitionPath;
    std::error_code error;
    if (!fs::exists(path, error)) {
        ReportStartupError(definition::MissingFileMessage(path));
        return kExitNotRun;
    }
    if (!definition::IsDefinitionFile(path, m_definition, m_codePage)) {
        ReportStartupError(definition::NotDefinitionFileMessage(path));
        return kExitNotRun;
    }
    if (!definition::ReadDefinitionSettings(path, m_definition, m_codePage)) {
        ReportStartupError(definition::ReadErrorMessage(path));
        return kExitNotRun;
    }
    m_definition.CurrentPath = path.string();

    engine::NullRunObserver observer;
    engine::RunContext context{
        .Definition = m_definition,
        .Options = m_options,
        .State = m_state,
        .Observer = observer,
        .ConversionTable = m_conversionTable,
        .ApplicationFolder = m_applicationFolder,
        .ScriptText = std::nullopt, // the run reads the script from the definition file
        .CodePage = m_codePage,
        .Login = {}, // nobody is there to type a password
        .ShowErrorBox = [this](std::string_view text) { ReportStartupError(text); },
        .Viewer = {},
        .LogClock = nullptr,
    };
    engine::RunReport(context);
    if (!m_state.LogOpened)
        return kExitNotRun;
    return m_state.ErrorCount > 0 ? kExitRunErrors : kExitSuccess;
}

void Application::ReportStartupError(std::string_view message) {
    m_err << "Error: " << message << '\n';
    fs::path logName =
        m_executable.empty() ? fs::path("slidesmith.log") : StartupLogName(m_executable);
    if (engine::WriteStartupError(m_applicationFolder / logName, message, m_clock))
        return;
    fs::path fallback = StartupLogFallbackFolder();
    if (fallback.empty())
        return;
    std::error_code ignored;
    fs::create_directories(fallback, ignored);
    // Nothing is left to try when even the state folder refuses: stderr still has the message.
    engine::WriteStartupError(fallback / logName, message, m_clock);
}

} // namespace slidesmith::app
