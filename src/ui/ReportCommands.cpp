#include "ui/ReportCommands.h"

#include "engine/RunContext.h"
#include "ui/ConfigurationDialog.h"
#include "ui/MessageService.h"
#include "ui/OdbcConnectionOpener.h"
#include "ui/RunWindow.h"

#include <QString>

namespace slidesmith::ui {

bool OpenReportConfiguration(QWidget* parent, app::InteractiveSession& session) {
    return ShowConfigurationDialog(parent, session.Definition, session.ConversionTable,
                                   MakeOdbcConnectionTest(session.Options.ConnectionTimeout));
}

void RunReportFromEditor(QWidget* parent, app::InteractiveSession& session,
                         const std::string& scriptText) {
    RunAction run = [&session, parent](RunSession& runSession) {
        engine::RunContext context{
            .Definition = runSession.Definition,
            .Options = runSession.Options,
            .State = runSession.State,
            .Observer = runSession.Observer,
            .ConversionTable = session.ConversionTable,
            .ApplicationFolder = session.ApplicationFolder,
            .ScriptText = runSession.ScriptText,
            .CodePage = session.CodePage,
            .Login = runSession.Login,
            .ShowErrorBox =
                [parent](std::string_view text) {
                    ShowErrorBox(parent,
                                 QString::fromUtf8(text.data(), static_cast<int>(text.size())));
                },
            .Viewer = {},
            .LogClock = nullptr,
            // The window's log, so End's entry goes into the file the run writes.
            .Log = &runSession.Log};
        engine::RunReport(context);
    };
    ShowRunWindow(parent, session.Definition, scriptText, session.Options, session.State, run);
}

} // namespace slidesmith::ui
