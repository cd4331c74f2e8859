// The example report run as a user runs it: opened in the editor, started from the run window,
// answered in the parameter prompt and the login dialog, with the real run driver, ODBC driver
// and template behind them.
#include "DialogTesting.h"
#include "TemplateBuilder.h"
#include "TemplateText.h"
#include "UiTestEnvironment.h"
#include "platform/files/FileIo.h"
#include "platform/odbc/Connection.h"
#include "ui/EditorWindow.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::ui {
namespace {

namespace fs = std::filesystem;
using testing::Child;

const fs::path kExample = fs::path(SLIDESMITH_SOURCE_DIR) / "examples" / "sales";

// Acts on the modal dialog with this object name once it is the active modal window (the run
// window stays modal underneath the prompts it opens).
void OnModal(const char* name, std::function<void(QDialog&)> action, int triesLeft = 200) {
    QTimer::singleShot(10, [name, action = std::move(action), triesLeft]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if ((dialog == nullptr || dialog->objectName() != QLatin1String(name)) && triesLeft > 0) {
            OnModal(name, std::move(action), triesLeft - 1);
            return;
        }
        ASSERT_NE(dialog, nullptr) << name << " was not shown";
        ASSERT_EQ(dialog->objectName(), QLatin1String(name));
        action(*dialog);
    });
}

class ExampleRunTest : public testing::DesktopTest {
protected:
    ExampleRunTest() : m_window(m_session) {}
    ~ExampleRunTest() override {
        m_definition.Modified = false;
        unsetenv("ODBCINI");
    }

    // The example's definition, its database built from the committed SQL, and its template
    // with `extraSlides` appended (in the template text format).
    QString SetUpExample(const std::string& extraSlides = {}) {
        const fs::path folder = PathOf(QString()).toStdString();
        const std::string templateText =
            files::ReadWholeFile(kExample / "sales-template.txt") + extraSlides;
        testtools::WriteTemplate(testtools::ParseTemplateText(templateText),
                                 folder / "sales-template.pptx");
        odbc::Connection database;
        database.Open("Driver=SQLite3;Database=" + (folder / "sales.db").string());
        // The script is one statement a line, after comment lines.
        const std::string sql = files::ReadWholeFile(kExample / "sales.sql");
        for (std::size_t start = 0; start < sql.size();) {
            std::size_t end = sql.find('\n', start);
            if (end == std::string::npos)
                end = sql.size();
            const std::string line = sql.substr(start, end - start);
            if (!line.empty() && !line.starts_with("--"))
                database.Execute(line);
            start = end + 1;
        }
        return WriteFile(QStringLiteral("sales.slm"), files::ReadWholeFile(kExample / "sales.slm"));
    }

    QPlainTextEdit& Script() {
        return *m_window.Editor().findChild<QPlainTextEdit*>(QStringLiteral("txtEdit"));
    }

    // Opens the run window from the Run menu, clicks Start (OK in the parameter prompt), lets
    // `whileOpen` look at the finished window, and closes it. With `pressEnd`, End is clicked
    // as the prompt closes; the click waits in the queue until the run lets events through.
    void RunFromEditor(const std::function<void(QDialog&)>& whileOpen, bool pressEnd = false) {
        OnModal("frmRun", [whileOpen, pressEnd](QDialog& window) {
            OnModal("frmInputPara", [&window, pressEnd](QDialog& prompt) {
                Child<QPushButton>(prompt, "cmdOK").click();
                if (pressEnd)
                    QMetaObject::invokeMethod(&Child<QPushButton>(window, "cmdEnd"), "click",
                                              Qt::QueuedConnection);
            });
            Child<QPushButton>(window, "cmdStart").click();
            whileOpen(window);
            Child<QPushButton>(window, "cmdClose").click();
        });
        m_window.Editor()
            .findChild<QAction*>(QStringLiteral("mnuRRun"), Qt::FindDirectChildrenOnly)
            ->trigger();
    }

    std::string LogFile() const {
        return files::ReadWholeFile(PathOf(QStringLiteral("output/sales-2012.log")).toStdString());
    }

    MainWindow m_window;
};

QString Label(QDialog& window, const char* name) {
    return Child<QLabel>(window, name).text();
}

TEST_F(ExampleRunTest, RunsFromTheEditorAndShowsItsCountersAndLogLines) {
    // A detail listing of every sale three times over follows the example's statements, so the
    // record counter runs past a thousand.
    ASSERT_TRUE(m_window.OpenDefinitionFile(SetUpExample(R"(
slide title-only
placeholder title "Detail"
table Detail 2 4 0.5in 1.5in
cell 1 1 "Month" bold
cell 2 4 "#,##0"
)")));
    Script().moveCursor(QTextCursor::End);
    Script().insertPlainText(QStringLiteral(
        "\n@detail = REPORT(CONNECT=Sales SLIDE=N TABLE=1 CELL=A2,B2,C2,D2 PAGEBREAK=20)\n"
        "select month, region, product, amount from sales, (select 1 union all select 2 "
        "union all select 3) order by month, region, product\n"));

    QString box;
    RunFromEditor([&](QDialog& window) {
        EXPECT_EQ(Label(window, "lblStatus"), QStringLiteral("Done"));
        EXPECT_EQ(Label(window, "lblSQLStmCnt"), QStringLiteral("6"));
        EXPECT_EQ(Label(window, "lblErrorCnt"), QStringLiteral("0"));
        EXPECT_EQ(Label(window, "lblFunctionNo"), QStringLiteral("detail"));
        EXPECT_EQ(Label(window, "lblRecordCnt"), QStringLiteral("1,152 / 1,152"));
        box = Child<QPlainTextEdit>(window, "txtLogInfo").toPlainText();
    });

    for (const char* line :
         {"Open log file successfully.\n",
          "Connect to database successfully. DSN=Sales, Using a connection string.\n",
          "[regions]    Returns 4 records from the data source.\n",
          "[months]    Returns 48 records from the data source.\n", "[total]    Success.\n",
          "[chart]    Success.\n", "[products]    Returns 16 records from the data source.\n",
          "[detail]    Returns 1152 records from the data source.\n", "[detail]    Success.\n",
          "Close the log file.\n"})
        EXPECT_TRUE(box.contains(QString::fromUtf8(line))) << line << "\nin:\n"
                                                           << box.toStdString();
    EXPECT_FALSE(box.contains(QStringLiteral("Error")));
    EXPECT_TRUE(
        fs::is_regular_file(PathOf(QStringLiteral("output/sales-2012.pptx")).toStdString()));
    // The file has the same lines, each behind its timestamp.
    EXPECT_NE(LogFile().find("]    [detail]    Success.\r\n"), std::string::npos);
}

TEST_F(ExampleRunTest, EndWritesTheInterruptionIntoTheLogFileToo) {
    ASSERT_TRUE(m_window.OpenDefinitionFile(SetUpExample()));
    m_messages.Answer(kAnswerYes);
    QString box;
    RunFromEditor(
        [&](QDialog& window) { box = Child<QPlainTextEdit>(window, "txtLogInfo").toPlainText(); },
        true);
    // The run saw End at its first look at the window's events, before the template opened.
    ASSERT_EQ(m_messages.Shown().size(), 1u);
    EXPECT_EQ(m_messages.Shown()[0].Caption, QStringLiteral("Stop Running Report"));
    EXPECT_TRUE(box.contains(QStringLiteral("Error: Interrupted by user.\n")));
    EXPECT_NE(LogFile().find("]    Error: Interrupted by user.\r\n"), std::string::npos)
        << LogFile();
}

TEST_F(ExampleRunTest, AFailedDataSourceAsksForTheLoginAndTheRunGoesOnWithTheCorrectedOne) {
    const QString definition = SetUpExample();
    // The example's source behind a driver this machine does not have; the login retries it as
    // an ODBC data source, which the test's own ODBC settings know under the source's name.
    std::string text = files::ReadWholeFile(definition.toStdString());
    const std::string from = "Driver=SQLite3;Database=sales.db";
    ASSERT_NE(text.find(from), std::string::npos);
    text.replace(text.find(from), from.size(), "Driver={No Such Driver}");
    files::WriteFileAtomically(definition.toStdString(), text);
    const QString ini = WriteFile(QStringLiteral("odbc.ini"),
                                  "[Sales]\nDriver=SQLite3\nDatabase=" +
                                      PathOf(QStringLiteral("sales.db")).toStdString() + "\n");
    setenv("ODBCINI", ini.toUtf8().constData(), 1);
    ASSERT_TRUE(m_window.OpenDefinitionFile(definition));

    // The first try misspells the name; the error box comes, then the dialog again.
    std::vector<QString> shownNames;
    OnModal("frmLogin", [&](QDialog& first) {
        shownNames.push_back(Child<QLineEdit>(first, "txtDSName").text());
        OnModal("frmLogin", [&](QDialog& second) {
            shownNames.push_back(Child<QLineEdit>(second, "txtDSName").text());
            EXPECT_EQ(Child<QLineEdit>(second, "txtDSUser").text(), QStringLiteral("clerk"));
            EXPECT_TRUE(Child<QLineEdit>(second, "txtDSPassword").text().isEmpty());
            Child<QLineEdit>(second, "txtDSName").setText(QStringLiteral("Sales"));
            Child<QLineEdit>(second, "txtDSPassword").setText(QStringLiteral("secret"));
            Child<QPushButton>(second, "cmdOK").click();
        });
        Child<QLineEdit>(first, "txtDSName").setText(QStringLiteral("Slaes"));
        Child<QLineEdit>(first, "txtDSUser").setText(QStringLiteral("clerk"));
        Child<QLineEdit>(first, "txtDSPassword").setText(QStringLiteral("secret"));
        Child<QPushButton>(first, "cmdOK").click();
    });
    QString errors;
    QString box;
    RunFromEditor([&](QDialog& window) {
        errors = Label(window, "lblErrorCnt");
        box = Child<QPlainTextEdit>(window, "txtLogInfo").toPlainText();
    });

    EXPECT_EQ(shownNames, (std::vector<QString>{QStringLiteral("Sales"), QStringLiteral("Slaes")}));
    ASSERT_FALSE(m_messages.Shown().empty());
    EXPECT_TRUE(m_messages.LastText().contains(
        QStringLiteral("Failed to connect to data source.\nDSN=Slaes\uFF0C USER=clerk\n")))
        << m_messages.LastText().toStdString();
    EXPECT_TRUE(box.contains(QStringLiteral(
        "Connect to database successfully. DSN=Sales, Using a connection string.\n")))
        << box.toStdString();
    EXPECT_TRUE(box.contains(QStringLiteral("[total]    Success.\n")));
    EXPECT_EQ(errors, QStringLiteral("0"));
    EXPECT_EQ(m_definition.DataSources.at(0).User, "clerk");
    EXPECT_EQ(m_definition.DataSources.at(0).Password, "");
}

} // namespace
} // namespace slidesmith::ui
