#include "engine/RunDriver.h"

#include "engine/ApplicationInfo.h"
#include "engine/CountFormat.h"
#include "engine/DesktopViewer.h"
#include "engine/StatementExecutor.h"
#include "platform/files/PathNames.h"
#include "platform/files/TextEncoding.h"
#include "script/ParameterExpander.h"
#include "script/StatementParser.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <system_error>

namespace slidesmith::engine {
namespace {

namespace fs = std::filesystem;

const SystemClock kSystemClock;

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

bool SameExtension(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A name this system cannot use as written: a drive letter would otherwise become a file
// below the current folder.
bool IsForeignPath(std::string_view path) {
    return files::HasDriveLetter(path) || !fs::path(std::string(path)).is_absolute();
}

std::vector<script::ScriptParameter> ScriptParameters(const definition::ReportDefinition& d) {
    std::vector<script::ScriptParameter> parameters;
    for (const definition::ParameterEntry& entry : d.Parameters)
        parameters.push_back({entry.Name, entry.Default});
    return parameters;
}

} // namespace

RunLog& RunDriver::LogOf(RunContext& context, std::optional<RunLog>& own) {
    if (context.Log != nullptr)
        return *context.Log;
    return own.emplace(context.State, context.Observer,
                       context.LogClock != nullptr ? *context.LogClock : kSystemClock);
}

RunDriver::RunDriver(RunContext& context)
    : m_context(context), m_definition(context.Definition), m_log(LogOf(context, m_ownLog)) {}

RunDriver::~RunDriver() = default;

void RunDriver::ResetState() {
    RunState& state = m_context.State;
    state.Interrupted = false;
    state.StatementCount = 0;
    state.ErrorCount = 0;
    state.LastSlideIndex = 0;
    state.Connected.fill(false);
    state.LogOpened = false;
    m_context.Observer.ShowStatus("Running");
    m_context.Observer.ShowStatementCount(FormatCount(0, CountStyle::ZeroAsDigit));
    m_context.Observer.ShowErrorCount(FormatCount(0, CountStyle::ZeroAsDigit));
}

void RunDriver::ApplyCommandLine() {
    const RunOptions& options = m_context.Options;
    std::size_t values = std::min(m_definition.Parameters.size(), options.CommandLineValues.size());
    for (std::size_t i = 0; i < values; ++i)
        m_definition.Parameters[i].Default = options.CommandLineValues[i];
    // User and password are replaced together: -P alone means an empty user.
    for (std::size_t i = 0; i < kCredentialSlotCount && i < m_definition.DataSources.size(); ++i) {
        if (!options.CredentialGiven[i])
            continue;
        m_definition.DataSources[i].User = options.CredentialUser[i];
        m_definition.DataSources[i].Password = options.CredentialPassword[i];
    }
}

std::string RunDriver::ResolveName(std::string_view name) const {
    std::string expanded = script::ExpandParameters(name, ScriptParameters(m_definition));
    if (expanded.empty())
        return {};
    return m_network ? files::ResolveRelativePath(m_baseFolder, expanded)
                     : files::MakeAbsolute(m_baseFolder, expanded);
}

void RunDriver::ResolvePaths() {
    m_baseFolder = files::ParentFolder(m_definition.CurrentPath);
    m_network = files::IsNetworkPath(m_baseFolder);
    if (m_baseFolder.empty()) {
        // An unnamed definition: names are relative to where the program runs.
        std::error_code ignored;
        m_baseFolder = fs::current_path(ignored).string();
    }
    m_definition.LogPath = ResolveName(m_definition.LogFileName);
    if (m_definition.LogPath.empty()) {
        m_definition.LogFileName =
            files::MakeAbsolute(m_baseFolder, files::BaseName(m_definition.CurrentPath) + ".log");
        m_definition.LogPath = m_definition.LogFileName;
    }
    m_definition.ReportPath = ResolveName(m_definition.ReportFileName);
}

bool RunDriver::OpenLog() {
    const std::string& logPath = m_definition.LogPath;
    std::string folder = files::ParentFolder(logPath);
    if (!folder.empty())
        files::EnsureFolder(folder);
    std::string description;
    bool opened = false;
    if (IsForeignPath(logPath))
        description = logPath + ": no such folder on this system";
    else
        opened = m_log.Open(logPath, description);
    if (!opened) {
        if (m_context.ShowErrorBox)
            m_context.ShowErrorBox(description);
        return false;
    }
    m_context.State.LogOpened = true;
    m_log.WriteLogLine(ApplicationNameAndVersion());
    m_log.WriteLogLine("Open log file successfully.");
    return true;
}

bool RunDriver::CheckFileSettings() {
    if (m_definition.TemplateFileName.empty()) {
        m_log.LogError("The template file is not named correctly.", "");
        return false;
    }
    m_definition.TemplatePath = ResolveName(m_definition.TemplateFileName);
    std::error_code ignored;
    if (IsForeignPath(m_definition.TemplatePath) ||
        !fs::is_regular_file(m_definition.TemplatePath, ignored)) {
        m_log.LogError(
            "Report template file " + Quoted(m_definition.TemplatePath) + " does not exist.", "");
        return false;
    }
    if (m_definition.ReportFileName.empty()) {
        m_log.LogError("The report file is not named correctly.", "");
        return false;
    }
    return true;
}

void RunDriver::WriteWarnings() {
    if (m_context.ConversionTable.empty()) {
        m_log.WriteLogLine("Warning: The file " +
                           Quoted((m_context.ApplicationFolder / "sconv.cfg").string()) +
                           " does not exist. You can not convert file format.");
    }
    const std::size_t parameters = m_definition.Parameters.size();
    const std::size_t values = m_context.Options.CommandLineValues.size();
    if (!m_context.Options.Interactive && values < parameters) {
        m_log.WriteLogLine("Warning: " + std::to_string(parameters) +
                           (parameters < 2 ? " parameter has" : " parameters have") +
                           " been defined in the report, but just " + std::to_string(values) +
                           (values < 2 ? " parameter is" : " parameters are") +
                           " inputed on command line.");
    }
    if (m_definition.DataSources.empty())
        m_log.WriteLogLine("Warning: None of data sources is defined.");
}

int RunDriver::ConnectAll() {
    int connected = 0;
    for (std::size_t i = 0; i < m_definition.DataSources.size() && i < kCredentialSlotCount; ++i) {
        m_context.State.Connected[i] = m_dataSources->ConnectDataSource(i);
        if (m_context.State.Connected[i])
            ++connected;
    }
    return connected;
}

bool RunDriver::OpenTemplate() {
    const std::string& reportPath = m_definition.ReportPath;
    std::string description;
    if (IsForeignPath(reportPath)) {
        description = reportPath + ": no such folder on this system";
    } else {
        std::error_code error;
        if (fs::exists(reportPath, error) && !fs::remove(reportPath, error))
            description = reportPath + ": " + error.message();
        std::string folder = files::ParentFolder(reportPath);
        if (description.empty() && !folder.empty())
            files::EnsureFolder(folder);
        if (description.empty()) {
            std::FILE* blank = std::fopen(reportPath.c_str(), "wb");
            if (blank == nullptr)
                description = reportPath + ": " + std::strerror(errno);
            else
                std::fclose(blank);
        }
    }
    if (!description.empty()) {
        m_log.LogError("Failed to create the report file " + Quoted(reportPath) + ".", description);
        return false;
    }
    m_blankCreated = true;
    m_log.WriteLogLine("Create the blank report file " + Quoted(reportPath) + ".");
    try {
        m_presentation = pptx::Presentation::Open(m_definition.TemplatePath);
    } catch (const std::exception& failure) {
        m_log.LogError("Failed to open the template file " + Quoted(m_definition.TemplatePath) +
                           ".",
                       failure.what());
        return false;
    }
    m_log.WriteLogLine("Open the template file " + Quoted(m_definition.TemplatePath) + ".");
    return true;
}

void RunDriver::RunScript() {
    script::ScriptContext scriptContext;
    for (const definition::DataSourceEntry& entry : m_definition.DataSources)
        scriptContext.DataSourceNames.push_back(entry.Name);
    scriptContext.Parameters = ScriptParameters(m_definition);
    if (m_context.ScriptText) {
        script::ParseScript(*m_context.ScriptText, scriptContext, *m_executor);
        return;
    }
    script::LineDecoder decoder;
    if (m_definition.FileEncoding != definition::kUtf8) {
        decoder = [encoding = m_definition.FileEncoding](std::string_view raw) {
            try {
                return files::DecodeText(raw, encoding);
            } catch (const std::exception&) {
                // The settings were read with the same fallback: every byte decodes this way.
                return files::DecodeText(raw, "ISO-8859-1");
            }
        };
    }
    script::ParseScriptFile(m_definition.CurrentPath, decoder, scriptContext, *m_executor);
}

bool RunDriver::SaveReport() {
    const std::string& reportPath = m_definition.ReportPath;
    std::error_code ignored;
    // The blank placeholder; whatever stops its removal also stops the save, which says why.
    fs::remove(reportPath, ignored);
    int row =
        definition::FindConversionFormat(m_context.ConversionTable, m_definition.ReportFileType,
                                         definition::CompareMode::IgnoreCase);
    fs::path saved;
    if (!m_definition.ReportFileType.empty() && row >= 0) {
        const definition::ConversionFormat& format =
            m_context.ConversionTable[static_cast<std::size_t>(row)];
        try {
            saved = m_presentation->SaveAs(reportPath, format.Number);
        } catch (const std::exception& failure) {
            m_log.LogError("Failed to save the report file.",
                           "Not support the file format: " + format.Name + " (" +
                               std::to_string(format.Number) + ") - " + format.Description + ". " +
                               failure.what());
            return false;
        }
        m_saved = true;
        m_log.WriteLogLine("Save the report file " + Quoted(saved.string()) + ".");
    } else {
        try {
            saved = m_presentation->SaveAs(reportPath, 1);
        } catch (const std::exception& failure) {
            m_log.LogError("Failed to save the report file.", failure.what());
            return false;
        }
        m_saved = true;
        if (!SameExtension(files::Extension(reportPath), files::Extension(saved.string()))) {
            m_log.LogError("Can not save the report file " + Quoted(reportPath) + ".", "");
            m_log.WriteLogLine("Save the report file as " + Quoted(saved.string()) + ".");
        } else {
            m_log.WriteLogLine("Save the report file " + Quoted(reportPath) + ".");
        }
    }
    if (m_context.Options.DisplayReport)
        ShowReport(saved);
    else
        m_log.WriteLogLine("Close the report file.");
    return true;
}

void RunDriver::ShowReport(const fs::path& saved) {
    std::string description;
    bool shown = m_context.Viewer ? m_context.Viewer(saved, description)
                                  : OpenWithDesktopViewer(saved, description);
    m_log.WriteLogLine("Display the report file with Microsoft PowerPoint.");
    // Not an error: the report is saved, only the screen is missing (a server run with -D).
    if (!shown)
        m_log.WriteLogLine("Warning: " + description);
}

void RunDriver::DisconnectAll() {
    for (std::size_t i = 0; i < m_definition.DataSources.size() && i < kCredentialSlotCount; ++i) {
        if (m_context.State.Connected[i])
            m_dataSources->DisconnectDataSource(i);
    }
}

void RunDriver::RemoveUnsavedBlankFile() {
    if (!m_blankCreated || m_saved)
        return;
    std::error_code ignored;
    // Only the empty placeholder goes; a file that has content is somebody's report.
    if (fs::is_regular_file(m_definition.ReportPath, ignored) &&
        fs::file_size(m_definition.ReportPath, ignored) == 0) {
        fs::remove(m_definition.ReportPath, ignored);
    }
}

void RunDriver::Run() {
    ResetState();
    if (!m_context.Options.Interactive)
        ApplyCommandLine();
    ResolvePaths();
    if (!OpenLog())
        return;
    if (!CheckFileSettings()) {
        m_log.Close();
        return;
    }
    WriteWarnings();
    m_dataSources = std::make_unique<DataSources>(m_definition, m_context.Options, m_log,
                                                  m_context.Login, m_baseFolder);
    int connected = ConnectAll();
    m_context.Observer.LetPendingEventsRun();
    if (!m_context.State.Interrupted && OpenTemplate()) {
        m_executor = std::make_unique<StatementExecutor>(m_context.State, m_context.Options,
                                                         m_context.Observer, m_log, *m_dataSources,
                                                         *m_presentation);
        if (connected > 0)
            RunScript();
        SaveReport();
        m_executor->ReleaseCurrentObjects();
        m_executor.reset();
        m_presentation.reset();
        DisconnectAll();
        RemoveUnsavedBlankFile();
        m_log.WriteLogLine("Close the log file.");
        m_log.Close();
        return;
    }
    m_presentation.reset();
    m_dataSources->CloseAll();
    RemoveUnsavedBlankFile();
    m_log.Close();
}

void RunReport(RunContext& context) {
    try {
        RunDriver(context).Run();
    } catch (const std::exception& fault) {
        // Every step catches what it expects; this is the last guard of the caller's promise.
        if (context.ShowErrorBox)
            context.ShowErrorBox(fault.what());
    }
}

} // namespace slidesmith::engine
