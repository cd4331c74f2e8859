#pragma once

#include "definition/ReportDefinition.h"
#include "engine/Clock.h"
#include "engine/LogBox.h"
#include "engine/RunContext.h"
#include "engine/RunLog.h"
#include "engine/RunObserver.h"
#include "engine/RunOptions.h"
#include "engine/RunState.h"

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace slidesmith::ui {

// Everything a run started from the run window works with. The log is not open yet: the run
// opens it at its resolved log path and closes it at its end; End writes into it.
struct RunSession {
    definition::ReportDefinition& Definition;
    const std::string& ScriptText;
    engine::RunOptions& Options;
    engine::RunState& State;
    engine::RunObserver& Observer;
    engine::RunLog& Log;
    // Offered to a data source that fails to connect: the login dialog over the run window.
    engine::LoginRetry Login;
};

// The run itself (the run driver in the program). It runs on the calling thread and returns
// when the run has ended; it reports through the session's observer and log, calls
// Observer.LetPendingEventsRun() between steps so that End can be served, and stops at its
// next check once State.Interrupted is set.
using RunAction = std::function<void(RunSession&)>;

// frmRun: the modal dialog in which one interactive run happens, Ready -> Running -> Done.
// Start asks for the parameter values (when the definition has parameters) and runs the report
// once; End asks for confirmation and sets Interrupted; Close, Escape and the window's close
// button are refused while the run is active, because the run reports into this window until
// it returns. The window is the run's observer: it shows the counters and echoes the log lines
// into its log box, which keeps fewer than 310000 characters.
class RunWindow : public QDialog, private engine::RunObserver {
    Q_OBJECT
public:
    RunWindow(definition::ReportDefinition& definition, std::string scriptText,
              engine::RunOptions& options, engine::RunState& state, RunAction run, QWidget* parent);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Start();
    void End();
    bool IsRunning() const { return m_running; }

    void EchoLogLine(std::string_view text) override;
    void ShowStatus(std::string_view text) override;
    void ShowStatementCount(std::string_view text) override;
    void ShowErrorCount(std::string_view text) override;
    void ShowFunctionLabel(std::string_view text) override;
    void ShowRecordProgress(std::string_view text) override;
    void LetPendingEventsRun() override;

    definition::ReportDefinition& m_definition;
    std::string m_scriptText;
    engine::RunOptions& m_options;
    engine::RunState& m_state;
    RunAction m_run;
    engine::SystemClock m_clock;
    engine::RunLog m_log;
    engine::LogBox m_logBox;
    bool m_running = false;

    QCheckBox* m_displayReport;
    QPushButton* m_start;
    QPushButton* m_end;
    QPushButton* m_close;
    QLabel* m_status;
    QLabel* m_statementCount;
    QLabel* m_errorCount;
    QLabel* m_functionLabel;
    QLabel* m_recordCount;
    QPlainTextEdit* m_logInfo;
};

// Opens the run window modally for the definition and the editor's script text.
void ShowRunWindow(QWidget* parent, definition::ReportDefinition& definition,
                   const std::string& scriptText, engine::RunOptions& options,
                   engine::RunState& state, const RunAction& run);

} // namespace slidesmith::ui
