#pragma once

#include "engine/DataSources.h"
#include "engine/RunContext.h"
#include "engine/RunLog.h"
#include "platform/pptx/Presentation.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace slidesmith::engine {

class StatementExecutor;

// One report run, step by step (RunReport creates one per run). Every step that can fail logs
// its own entry; the driver only decides whether the run goes on.
class RunDriver {
public:
    explicit RunDriver(RunContext& context);
    ~RunDriver();
    RunDriver(const RunDriver&) = delete;
    RunDriver& operator=(const RunDriver&) = delete;

    void Run();

    // Creates the blank report file (proving the report can be written) and opens the template.
    // False after logging why.
    bool OpenTemplate();
    // Saves the report under ReportPath in the format ReportFileType names, then closes or shows
    // it. False after logging why.
    bool SaveReport();

private:
    static RunLog& LogOf(RunContext& context, std::optional<RunLog>& own);
    void ResetState();
    void ApplyCommandLine();
    // Expands parameters and makes the name absolute; empty for an empty name.
    std::string ResolveName(std::string_view name) const;
    void ResolvePaths();
    bool OpenLog();
    bool CheckFileSettings();
    void WriteWarnings();
    int ConnectAll();
    void RunScript();
    void DisconnectAll();
    // The run ends without a report: the blank file would only mislead whoever picks reports up.
    void RemoveUnsavedBlankFile();
    void ShowReport(const std::filesystem::path& saved);

    RunContext& m_context;
    definition::ReportDefinition& m_definition;
    std::optional<RunLog> m_ownLog; // when the caller passes no log
    RunLog& m_log;
    std::string m_baseFolder;
    bool m_network = false;
    std::unique_ptr<DataSources> m_dataSources;
    std::unique_ptr<pptx::Presentation> m_presentation;
    std::unique_ptr<StatementExecutor> m_executor;
    bool m_blankCreated = false;
    bool m_saved = false;
};

} // namespace slidesmith::engine
