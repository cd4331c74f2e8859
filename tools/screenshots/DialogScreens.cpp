// Renders the configuration dialogs, the run window and the prompts to PNG files, so that a
// person can look at captions, shortcut letters and layout without clicking through the program.
// Usage: slidesmith_dialog_screens <output folder>   (needs a display, e.g. under xvfb-run)
#include "engine/CountFormat.h"
#include "ui/ConfigurationDialog.h"
#include "ui/DataSourceDialog.h"
#include "ui/LoginDialog.h"
#include "ui/ParameterDialog.h"
#include "ui/ParameterPrompt.h"
#include "ui/RunWindow.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

namespace {

using namespace slidesmith;

QString g_folder;

void Save(QWidget& widget, const char* name) {
    widget.show();
    QApplication::processEvents();
    QString path = QDir(g_folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!widget.grab().save(path))
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    widget.hide();
}

definition::ReportDefinition SampleDefinition() {
    definition::ReportDefinition definition;
    definition.TemplateFileName = "Templates/Sales.pptx";
    definition.ReportFileName = "Report/Sales.pptx";
    definition.LogFileName = "Log/Sales.log";
    definition.ReportFileType = "Presentation";
    definition.DataSources = {{"Sales", "reporter", "secret", ""},
                              {"Chinook", "", "", "Driver=SQLite3;Database=chinook.db"}};
    definition.Parameters = {{"$Year", "Fiscal year", "2009"},
                             {"$Region", "", "North"},
                             {"$Top", "Number of customers in the ranking", "10"}};
    return definition;
}

void RenderConfiguration(definition::ReportDefinition& definition,
                         const std::vector<definition::ConversionFormat>& table,
                         const ui::ConnectionTest& test) {
    ui::ConfigurationDialog dialog(definition, table, test, nullptr);
    auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("tabConfiguration"));
    const char* names[] = {"configuration-file", "configuration-datasource",
                           "configuration-parameter"};
    dialog.findChild<QListWidget*>(QStringLiteral("lstDataSource"))->setCurrentRow(0);
    for (int tab = 0; tab < 3; ++tab) {
        tabs->setCurrentIndex(tab);
        Save(dialog, names[tab]);
    }
}

void RenderRunWindow(definition::ReportDefinition& definition) {
    engine::RunOptions options;
    engine::RunState state;
    definition.Parameters.clear();
    QTemporaryDir folder;
    std::string logPath = folder.filePath(QStringLiteral("run.log")).toStdString();
    ui::RunWindow window(
        definition, "", options, state,
        [&logPath](ui::RunSession& session) {
            std::string error;
            session.Log.Open(logPath, error);
            session.Log.WriteLogLine("Slidesmith 2.9.1");
            session.Log.WriteLogLine("Open log file successfully.");
            session.Log.WriteLogLine("Connect to database successfully. DSN=Sales");
            session.Log.WriteLogLine("[rpt1]    REPORT(SLIDE=2 TABLE=1 CELL=B2,C2)");
            session.Log.WriteLogLine("[rpt1]    select Region, Total from Sales");
            session.Log.WriteLogLine("[rpt1]    Returns 1234 records from the data source.");
            session.Log.WriteLogLine("[rpt1]    Success.");
            session.Log.LogError("Failed to execute function EXECSQL.", "no such table: Temp");
            session.Observer.ShowStatementCount(
                engine::FormatCount(1234, engine::CountStyle::ZeroAsEmpty));
            session.Observer.ShowFunctionLabel("rpt1");
            session.Observer.ShowRecordProgress("1,234 / 1,234");
            session.Log.WriteLogLine("Close the log file.");
        },
        nullptr);
    Save(window, "run-ready");
    window.show();
    window.findChild<QPushButton*>(QStringLiteral("cmdStart"))->click();
    Save(window, "run-done");
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_folder);

    const std::vector<definition::ConversionFormat> table = {
        {"Presentation", 24, true, "PowerPoint Presentation", "pptx"},
        {"Show", 28, true, "PowerPoint Show", "ppsx"},
        {"Binary", 2, true, "PowerPoint 97-2003 Presentation", "ppt pps"},
        {"PDF", 32, true, "PDF Document", "pdf"}};
    ui::ConnectionTest test([](const std::string&, int) { return std::string(); }, 15);
    definition::ReportDefinition definition = SampleDefinition();

    RenderConfiguration(definition, table, test);
    ui::DataSourceDialog dsn(ui::EditMode::Edit, definition.DataSources[0], test, nullptr);
    Save(dsn, "datasource-dsn");
    ui::DataSourceDialog string(ui::EditMode::Edit, definition.DataSources[1], test, nullptr);
    Save(string, "datasource-connection-string");
    ui::ParameterDialog parameter(ui::EditMode::New, {}, nullptr);
    Save(parameter, "parameter");
    ui::ParameterPrompt prompt(definition, nullptr);
    Save(prompt, "parameter-prompt");
    const definition::DataSourceEntry& entry = definition.DataSources[0];
    ui::LoginDialog login(engine::LoginPrompt{0, entry.Name, entry.User, {}}, nullptr);
    Save(login, "login");
    RenderRunWindow(definition);
    return 0;
}
