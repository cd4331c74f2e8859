// Renders the main window, its editor and the small dialogs to PNG files, so that their look
// can be checked by eye after a change. Run under a real (virtual) X server by
// scripts/screenshots.sh; not part of the test run.
#include "app/InteractiveSession.h"
#include "definition/ConversionTable.h"
#include "ui/AboutDialog.h"
#include "ui/EditorWindow.h"
#include "ui/FindDialog.h"
#include "ui/GotoDialog.h"
#include "ui/MainWindow.h"
#include "ui/OptionsDialog.h"
#include "ui/TipDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextCursor>
#include <iostream>

namespace {

using namespace slidesmith;

constexpr const char* kSampleDefinition =
    "Slidemill Version 2.0\r\n[Data Source]\r\nName1=Chinook\r\n"
    "ConnectionString1=Driver=SQLite3;Database=chinook.db\r\n\r\n[File]\r\n"
    "ReportTemplateFileName=sales-template.pptx\r\nReportFileName=sales.pptx\r\n"
    "LogFileName=sales.log\r\n\r\n[SQL]\r\n"
    "/* Quarterly sales by genre */\r\n"
    "@1 = REPORT(SLIDE=2 TABLE=1 CELL=B2)\r\n"
    "select g.Name, sum(il.UnitPrice * il.Quantity)\r\n"
    "  from InvoiceLine il join Track t on t.TrackId = il.TrackId\r\n"
    "  join Genre g on g.GenreId = t.GenreId\r\n"
    " group by g.Name order by 2 desc\r\n\r\n"
    "@2 = CHART(SLIDE=3 CHART=1)\r\n"
    "select BillingCountry, count(*) from Invoice group by BillingCountry\r\n";

void Save(QWidget& widget, const QDir& folder, const QString& name) {
    widget.show();
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path)) {
        std::cerr << "could not write " << path.toStdString() << '\n';
    } else {
        std::cout << path.toStdString() << '\n';
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: slidesmith_ui_screenshots <output folder>\n";
        return 2;
    }
    QTemporaryDir work;
    qputenv("SLIDESMITH_SETTINGS", work.filePath(QStringLiteral("settings.reg")).toUtf8());
    QApplication application(argc, argv);
    QDir output(QString::fromLocal8Bit(argv[1]));
    output.mkpath(QStringLiteral("."));

    const std::filesystem::path share = std::filesystem::path(SLIDESMITH_SOURCE_DIR) / "share";
    engine::RunOptions options;
    engine::RunState state;
    definition::ReportDefinition definition;
    const auto table = definition::ReadConversionTable(share / "sconv.cfg");
    app::InteractiveSession session{options, state, definition, table, share, "CP1252"};

    ui::MainWindow window(session);
    window.resize(900, 620);
    Save(window, output, QStringLiteral("main-empty"));

    const QString file = work.filePath(QStringLiteral("sales.slm"));
    QFile sample(file);
    if (!sample.open(QIODevice::WriteOnly) || sample.write(kSampleDefinition) < 0) {
        return 1;
    }
    sample.close();
    window.OpenDefinitionFile(file);
    QTextCursor cursor = window.Editor().TextBox().textCursor();
    cursor.setPosition(46);
    cursor.setPosition(52, QTextCursor::KeepAnchor);
    window.Editor().TextBox().setTextCursor(cursor);
    Save(window, output, QStringLiteral("main-editor"));

    for (const char* name : {"mnuFile", "mnuEdit"}) {
        auto* menu = window.Editor().findChild<QMenu*>(QString::fromLatin1(name));
        menu->popup(window.mapToGlobal(QPoint(10, 30)));
        Save(*menu, output, QString::fromLatin1(name));
        menu->hide();
    }

    ui::FindDialog find(window.Editor().TextBox(), window.Search(), &window);
    find.Prepare(false);
    Save(find, output, QStringLiteral("find"));
    find.Prepare(true);
    Save(find, output, QStringLiteral("replace"));
    find.hide();

    ui::GotoDialog go(window.Editor().TextBox(), &window);
    Save(go, output, QStringLiteral("goto"));
    go.findChild<QTabWidget*>(QStringLiteral("tabGoto"))->setCurrentIndex(1);
    Save(go, output, QStringLiteral("goto-line"));
    go.hide();

    ui::OptionsDialog dialog(window.Settings(), options, std::nullopt,
                             window.Editor().DefaultFont(), &window);
    auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("tabOptions"));
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        Save(dialog, output, QStringLiteral("options-%1").arg(page + 1));
    }
    dialog.hide();

    ui::TipDialog tip(share / "stips.txt", window.Settings(), &window);
    Save(tip, output, QStringLiteral("tip"));
    tip.hide();
    ui::TipDialog noTips(work.filePath(QStringLiteral("none.txt")).toStdString(), window.Settings(),
                         &window);
    Save(noTips, output, QStringLiteral("tip-missing"));
    noTips.hide();

    ui::AboutDialog about(&window);
    Save(about, output, QStringLiteral("about"));
    about.hide();
    window.Session().Definition.Modified = false;
    return 0;
}
