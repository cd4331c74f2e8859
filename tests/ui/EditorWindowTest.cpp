#include "ui/EditorWindow.h"

#include "DialogTesting.h"
#include "UiTestEnvironment.h"
#include "platform/files/FileIo.h"
#include "platform/settings/SettingNames.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace slidesmith::ui {
namespace {

using testing::DefinitionBytes;
using testing::UrlCatcher;

std::string ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<none>");
}

class EditorWindowTest : public testing::DesktopTest {
protected:
    EditorWindowTest() : m_window(m_session) {}
    ~EditorWindowTest() override { m_definition.Modified = false; }

    EditorWindow& Editor() { return m_window.Editor(); }
    QPlainTextEdit& Text() {
        return *Editor().findChild<QPlainTextEdit*>(QStringLiteral("txtEdit"));
    }
    QAction* Item(const char* name) { return testing::MenuItem(Editor(), name); }
    void Type(const QString& text) { QTest::keyClicks(&Text(), text); }
    QString OpenFile(const QString& name, const std::string& bytes) {
        const QString path = WriteFile(name, bytes);
        EXPECT_TRUE(m_window.OpenDefinitionFile(path));
        return path;
    }

    MainWindow m_window;
};

TEST_F(EditorWindowTest, SavePromptCancelKeepsTheTextNoDiscardsItYesSavesFirst) {
    m_window.OpenNewDefinition();
    Type(QStringLiteral("x"));
    m_messages.Answer(kAnswerCancel);
    Item("mnuFNew")->trigger();
    ASSERT_EQ(m_messages.Shown().size(), 1U);
    const MessageRequest& prompt = m_messages.Shown()[0];
    EXPECT_EQ(prompt.Text,
              QStringLiteral("The file has changed.\nDo you want to save the changes?"));
    EXPECT_EQ(prompt.Buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(prompt.Icon, MessageIcon::Question);
    EXPECT_EQ(Text().toPlainText(), QStringLiteral("x"));

    m_messages.Answer(kAnswerNo);
    Item("mnuFNew")->trigger();
    EXPECT_EQ(Text().toPlainText(), QString());
    EXPECT_EQ(Editor().windowTitle(), QStringLiteral("Noname"));
    EXPECT_FALSE(Editor().IsChanged());

    const QString path = OpenFile(QStringLiteral("kept.slm"), DefinitionBytes("select 1"));
    QTextCursor end = Text().textCursor();
    end.movePosition(QTextCursor::End);
    Text().setTextCursor(end);
    Type(QStringLiteral("0"));
    m_messages.Answer(kAnswerYes);
    Item("mnuFClose")->trigger();
    EXPECT_EQ(ReadBytes(path), DefinitionBytes("select 10"));
    EXPECT_FALSE(m_window.IsEditorOpen());
}

TEST_F(EditorWindowTest, ClosingTheFrameWithAnUnsavedNewDefinitionStopsWhenSaveAsIsCancelled) {
    m_window.show();
    m_window.OpenNewDefinition();
    Type(QStringLiteral("y"));
    m_messages.Answer(kAnswerYes);
    AnswerFileDialog(QString());
    EXPECT_FALSE(m_window.close());
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_TRUE(m_window.IsEditorOpen());
}

TEST_F(EditorWindowTest, SavingANewDefinitionGoesThroughSaveAsAndAfterwardsOnlyWritesChanges) {
    auto store = Store();
    store.SaveSettingText(settings::kOptionsKey, settings::kDefaultDirectory,
                          m_folder.path().toStdString());
    m_window.OpenNewDefinition();
    Type(QStringLiteral("@1 = EXECSQL()"));
    QTest::keyClick(&Text(), Qt::Key_Return);
    Type(QStringLiteral("delete from t"));
    const QString path = PathOf(QStringLiteral("new.slm"));
    AnswerFileDialog(path);
    m_window.ToolbarAction(QStringLiteral("Save"))->trigger();

    ASSERT_EQ(m_fileRequests.size(), 1U);
    EXPECT_EQ(m_fileRequests[0].DialogKind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(m_fileRequests[0].Title, QStringLiteral("Save As"));
    EXPECT_EQ(m_fileRequests[0].Folder, m_folder.path());
    EXPECT_EQ(ReadBytes(path), DefinitionBytes("@1 = EXECSQL()\r\ndelete from t"));
    EXPECT_EQ(Editor().windowTitle(), QStringLiteral("new.slm"));
    EXPECT_EQ(m_window.RecentFiles().Files().front(), path.toStdString());
    EXPECT_FALSE(Editor().IsChanged());

    QFile::remove(path);
    Item("mnuFSave")->trigger();
    EXPECT_FALSE(QFile::exists(path)) << "an unchanged definition is not written again";
    Type(QStringLiteral(" where 1=0"));
    Item("mnuFSave")->trigger();
    EXPECT_EQ(ReadBytes(path), DefinitionBytes("@1 = EXECSQL()\r\ndelete from t where 1=0"));
    EXPECT_EQ(m_fileRequests.size(), 1U);
}

TEST_F(EditorWindowTest, PasteInsertsOnlyThePlainTextOfRichClipboardContents) {
    m_window.OpenNewDefinition();
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<p><b>select</b> <i>*</i></p>"));
    data->setText(QStringLiteral("select *"));
    QApplication::clipboard()->setMimeData(data);
    EXPECT_TRUE(Item("mnuEPaste")->isEnabled());
    Item("mnuEPaste")->trigger();
    EXPECT_EQ(Text().toPlainText(), QStringLiteral("select *"));
    QTextCursor inside(Text().document());
    inside.setPosition(2);
    EXPECT_NE(inside.charFormat().fontWeight(), QFont::Bold);
    EXPECT_FALSE(inside.charFormat().fontItalic());
    EXPECT_TRUE(Editor().IsChanged());
}

TEST_F(EditorWindowTest, SelectionEnablesCutCopyAndDelete) {
    OpenFile(QStringLiteral("s.slm"), DefinitionBytes("select 1"));
    EXPECT_FALSE(Item("mnuECut")->isEnabled());
    EXPECT_FALSE(m_window.ToolbarAction(QStringLiteral("Copy"))->isEnabled());
    Item("mnuESelAll")->trigger();
    EXPECT_TRUE(Item("mnuECut")->isEnabled());
    EXPECT_TRUE(Item("mnuEDelete")->isEnabled());
    EXPECT_TRUE(m_window.ToolbarAction(QStringLiteral("Copy"))->isEnabled());
    Item("mnuEDelete")->trigger();
    EXPECT_EQ(Text().toPlainText(), QString());
    EXPECT_FALSE(Item("mnuECopy")->isEnabled());
}

TEST_F(EditorWindowTest, NamedFilesOpenFromTheDefinitionsFolderOrSayWhatIsWrong) {
    UrlCatcher catcher;
    const QString slide = WriteFile(QStringLiteral("template.pptx"), "not really a deck");
    OpenFile(QStringLiteral("named.slm"),
             DefinitionBytes("", "ReportTemplateFileName=template.pptx\r\n"
                                 "ReportFileName=out\\missing.pptx\r\n"));
    auto* file = Editor().findChild<QMenu*>(QStringLiteral("mnuFile"));
    emit file->aboutToShow();
    EXPECT_TRUE(Item("mnuFTemplate")->isEnabled());
    EXPECT_TRUE(Item("mnuFReport")->isEnabled());
    EXPECT_FALSE(Item("mnuFLog")->isEnabled()) << "no log file is named";
    EXPECT_TRUE(m_window.ToolbarAction(QStringLiteral("Template"))->isEnabled());

    m_window.ToolbarAction(QStringLiteral("Template"))->trigger();
    ASSERT_EQ(catcher.opened.size(), 1U);
    EXPECT_EQ(catcher.opened[0].toLocalFile(), slide);
    Item("mnuFReport")->trigger();
    EXPECT_EQ(m_messages.LastText(),
              ErrorBoxText(QStringLiteral("Report file \"out\\missing.pptx\" does not exist.")));
    EXPECT_EQ(catcher.opened.size(), 1U);

    m_definition.TemplateFileName = std::string(300, 'n') + ".pptx";
    Item("mnuFTemplate")->trigger();
    EXPECT_EQ(m_messages.LastText(),
              ErrorBoxText(QStringLiteral("Report template file \"%1\" is not named correctly.")
                               .arg(QString::fromStdString(m_definition.TemplateFileName))));

    m_window.OpenNewDefinition();
    emit file->aboutToShow();
    EXPECT_FALSE(Item("mnuFTemplate")->isEnabled());
    EXPECT_FALSE(m_window.ToolbarAction(QStringLiteral("Template"))->isEnabled());
}

TEST_F(EditorWindowTest, ScriptLineEndsBlankLinesAndALoneCarriageReturnSurviveOpenAndSave) {
    const std::string script = "\r\n@1 = EXECSQL()\r\n\r\nselect 1 \r 2\r\n\r\n";
    const QString path = OpenFile(QStringLiteral("ends.slm"), DefinitionBytes(script));
    EXPECT_EQ(Editor().ScriptText(), script);
    Type(QStringLiteral("x"));
    QTest::keyClick(&Text(), Qt::Key_Backspace);
    Item("mnuFSave")->trigger();
    EXPECT_EQ(ReadBytes(path), DefinitionBytes(script));
}

TEST_F(EditorWindowTest, RunCommandRunsTheOpenDefinitionThroughTheRunDriverInTheRunWindow) {
    OpenFile(QStringLiteral("nightly.slm"),
             DefinitionBytes("@1 = EXECSQL()\r\nselect 1\r\n",
                             "ReportFileName=out.pptx\r\nLogFileName=run.log\r\n"));
    QString logBox;
    QString status;
    QTimer::singleShot(0, [&] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->objectName(), QStringLiteral("frmRun"));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdStart")),
                          Qt::LeftButton);
        logBox = window->findChild<QPlainTextEdit*>(QStringLiteral("txtLogInfo"))->toPlainText();
        status = window->findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdClose")),
                          Qt::LeftButton);
    });
    Item("mnuRRun")->trigger();

    EXPECT_EQ(status, QStringLiteral("Done"));
    EXPECT_TRUE(logBox.contains(QStringLiteral("Open log file successfully.")));
    // No template is named, so the run stops after its file checks, as the log says.
    EXPECT_TRUE(logBox.contains(QStringLiteral("Error: The template file is not named correctly.")))
        << logBox.toStdString();
    // The run wrote its own log file beside the definition, with the same lines.
    EXPECT_NE(ReadBytes(PathOf(QStringLiteral("run.log"))).find("Open log file successfully."),
              std::string::npos);
}

} // namespace
} // namespace slidesmith::ui
