#include "ui/RunWindow.h"

#include "DialogTesting.h"
#include "UiTestEnvironment.h"
#include "engine/CountFormat.h"
#include "ui/MessageService.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <sstream>

namespace slidesmith::ui {
namespace {

using testing::Child;
using testing::OnNextModal;

// What the window looked like at one moment.
struct Look {
    QString status;
    bool start = false;
    bool end = false;
    bool close = false;
};

class RunWindowTest : public ::testing::Test {
protected:
    RunWindow& Open(RunAction run) {
        m_window = std::make_unique<RunWindow>(m_definition, "@1=EXECSQL()", m_options, m_state,
                                               std::move(run), nullptr);
        m_window->show();
        return *m_window;
    }
    template <class Widget>
    Widget& Get(const char* name) {
        return Child<Widget>(*m_window, name);
    }
    QString Text(const char* label) { return Get<QLabel>(label).text(); }
    Look Now() {
        return {Text("lblStatus"), Get<QPushButton>("cmdStart").isEnabled(),
                Get<QPushButton>("cmdEnd").isEnabled(), Get<QPushButton>("cmdClose").isEnabled()};
    }
    std::string LogPath() {
        return testing::UiTestEnvironment::Folder()
            .filePath(QStringLiteral("run.log"))
            .toStdString();
    }
    // A run as the driver makes one: opens the log, writes, counts, lets End through, and
    // stops at the first check after Interrupted.
    RunAction ScriptedRun(int steps, std::function<void(RunSession&)> during = {}) {
        return [this, steps, during](RunSession& session) {
            std::string error;
            ASSERT_TRUE(session.Log.Open(LogPath(), error)) << error;
            session.Log.WriteLogLine("Open log file successfully.");
            m_during = Now();
            if (during)
                during(session);
            for (int i = 1; i <= steps && !session.State.Interrupted; ++i) {
                session.State.StatementCount = i;
                session.Observer.ShowStatementCount(
                    engine::FormatCount(i * 1000, engine::CountStyle::ZeroAsEmpty));
                session.Observer.ShowFunctionLabel("rpt" + std::to_string(i));
                session.Observer.LetPendingEventsRun();
            }
            session.Log.WriteLogLine("Close the log file.");
        };
    }
    // Presses End the way a user does: the click waits in the event queue until the run lets
    // pending events run.
    void QueueEndClick() {
        QMetaObject::invokeMethod(&Get<QPushButton>("cmdEnd"), "click", Qt::QueuedConnection);
    }

    definition::ReportDefinition m_definition;
    engine::RunOptions m_options;
    engine::RunState m_state;
    std::unique_ptr<RunWindow> m_window;
    Look m_during;
};

TEST_F(RunWindowTest, GoesFromReadyThroughRunningToDone) {
    m_options.DisplayReport = true;
    m_state.ErrorCount = 5;
    Open(ScriptedRun(2));
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Run Report"));
    EXPECT_TRUE(Get<QCheckBox>("chkDispReport").isChecked());
    Look ready = Now();
    EXPECT_EQ(ready.status, QStringLiteral("Ready"));
    EXPECT_TRUE(ready.start && !ready.end && ready.close);
    EXPECT_TRUE(Get<QPushButton>("cmdStart").isDefault());
    EXPECT_EQ(Text("lblErrorCnt"), QStringLiteral("0"));
    EXPECT_EQ(Text("lblSQLStmCnt"), QStringLiteral("0"));
    EXPECT_EQ(Text("lblRecordCnt"), QStringLiteral("0"));
    EXPECT_EQ(m_state.ErrorCount, 0);

    Get<QCheckBox>("chkDispReport").setChecked(false);
    Get<QPushButton>("cmdStart").click();
    EXPECT_EQ(m_during.status, QStringLiteral("Running"));
    EXPECT_TRUE(!m_during.start && m_during.end && !m_during.close);
    EXPECT_FALSE(m_options.DisplayReport);
    Look done = Now();
    EXPECT_EQ(done.status, QStringLiteral("Done"));
    EXPECT_TRUE(!done.start && !done.end && done.close);
    EXPECT_TRUE(Get<QPushButton>("cmdClose").isDefault());
    EXPECT_EQ(Text("lblSQLStmCnt"), QStringLiteral("2,000"));
    EXPECT_EQ(Text("lblFunctionNo"), QStringLiteral("rpt2"));

    // The box shows the lines as written, the file carries the timestamps too.
    EXPECT_EQ(Get<QPlainTextEdit>("txtLogInfo").toPlainText(),
              QStringLiteral("Open log file successfully.\nClose the log file.\n"));
    std::ifstream file(LogPath(), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    EXPECT_NE(bytes.str().find("]    Open log file successfully.\r\n"), std::string::npos);
    EXPECT_EQ(bytes.str().front(), '[');
}

TEST_F(RunWindowTest, EndAsksAndOnlyYesInterruptsWithAnErrorEntry) {
    for (int answer : {kAnswerNo, kAnswerYes}) {
        SCOPED_TRACE(answer);
        m_state = {};
        ScopedMessageResponder messages({answer});
        Open(ScriptedRun(50, [this](RunSession&) { QueueEndClick(); }));
        Get<QPushButton>("cmdStart").click();
        ASSERT_EQ(messages.Shown().size(), 1u);
        const MessageRequest& question = messages.Shown().front();
        EXPECT_EQ(question.Caption, QStringLiteral("Stop Running Report"));
        EXPECT_EQ(question.Text,
                  QStringLiteral("The report is not complete. Do you really want to stop running "
                                 "it?\nTo stop running the report, click Yes. To continue running "
                                 "report, click No."));
        EXPECT_EQ(question.Buttons, MessageButtons::YesNo);
        EXPECT_EQ(question.Icon, MessageIcon::Question);
        EXPECT_EQ(question.DefaultButton, kAnswerNo) << "Enter must not stop a run";
        QString log = Get<QPlainTextEdit>("txtLogInfo").toPlainText();
        if (answer == kAnswerNo) {
            EXPECT_FALSE(m_state.Interrupted);
            EXPECT_EQ(m_state.StatementCount, 50);
            EXPECT_EQ(Text("lblErrorCnt"), QStringLiteral("0"));
            EXPECT_FALSE(log.contains(QStringLiteral("Interrupted")));
        } else {
            EXPECT_TRUE(m_state.Interrupted);
            EXPECT_LT(m_state.StatementCount, 50);
            EXPECT_EQ(m_state.ErrorCount, 1);
            EXPECT_EQ(Text("lblErrorCnt"), QStringLiteral("1"));
            EXPECT_TRUE(log.contains(QStringLiteral("\nError: Interrupted by user.\n")));
        }
        EXPECT_EQ(Text("lblStatus"), QStringLiteral("Done"));
    }
}

TEST_F(RunWindowTest, RefusesToCloseWhileRunningAndClosesWithEscapeAfterwards) {
    bool visibleAfterEscape = false;
    bool visibleAfterClose = false;
    Open(ScriptedRun(1, [&, this](RunSession&) {
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        visibleAfterEscape = m_window->isVisible();
        m_window->close();
        visibleAfterClose = m_window->isVisible();
    }));
    Get<QPushButton>("cmdStart").click();
    EXPECT_TRUE(visibleAfterEscape);
    EXPECT_TRUE(visibleAfterClose);
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(RunWindowTest, ParameterPromptComesFirstAndCancelLeavesTheWindowReady) {
    m_definition.Parameters = {{"$Y", "Year", "2009"}};
    int runs = 0;
    Open([&runs](RunSession&) { ++runs; });
    OnNextModal([](QDialog& prompt) { Child<QPushButton>(prompt, "cmdCancel").click(); });
    Get<QPushButton>("cmdStart").click();
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(Now().status, QStringLiteral("Ready"));
    EXPECT_TRUE(Now().start);

    OnNextModal([](QDialog& prompt) {
        Child<QLineEdit>(prompt, "txtPVaule0").setText(QStringLiteral("2010"));
        Child<QPushButton>(prompt, "cmdOK").click();
    });
    Get<QPushButton>("cmdStart").click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(m_definition.Parameters[0].Default, "2010");
    EXPECT_EQ(Now().status, QStringLiteral("Done"));
}

TEST_F(RunWindowTest, LogBoxStartsAgainBeforeReachingItsCap) {
    const std::string line(999, 'x');
    Open([&line](RunSession& session) {
        for (int i = 0; i < 400; ++i)
            session.Log.WriteLogLine(std::to_string(i % 10) + line);
    });
    Get<QPushButton>("cmdStart").click();
    engine::LogBox expected;
    for (int i = 0; i < 400; ++i)
        expected.Append(std::to_string(i % 10) + line);
    QString shown = Get<QPlainTextEdit>("txtLogInfo").toPlainText();
    EXPECT_LT(shown.size(), 310000);
    EXPECT_EQ(shown, QString::fromStdString(expected.Text())
                         .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_EQ(shown.left(1), QStringLiteral("9")) << "the box restarted with line 309";
}

} // namespace
} // namespace slidesmith::ui
