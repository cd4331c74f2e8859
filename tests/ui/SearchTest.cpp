#include "DialogTesting.h"
#include "UiTestEnvironment.h"
#include "ui/EditorWindow.h"
#include "ui/FindDialog.h"
#include "ui/GotoDialog.h"
#include "ui/MainWindow.h"
#include "ui/TextSearch.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace slidesmith::ui {
namespace {

SearchOptions Options(SearchDirection direction, bool wrap, bool matchCase = false) {
    SearchOptions options;
    options.Direction = direction;
    options.Wrap = wrap;
    options.MatchCase = matchCase;
    return options;
}

TEST(TextSearch, FindsFromTheStartPositionAndWrapsOnlyWhenThatCanFindMore) {
    const QString text = QStringLiteral("SELECT a FROM t; select b");
    const auto down = Options(SearchDirection::Down, true);
    const auto downNoWrap = Options(SearchDirection::Down, false);
    // Case-insensitive unless asked.
    EXPECT_EQ(FindText(text, QStringLiteral("select"), 2, down), 17);
    EXPECT_EQ(FindText(text, QStringLiteral("select"), 19, down), 0) << "wrapped to the top";
    EXPECT_EQ(FindText(text, QStringLiteral("select"), 19, downNoWrap), std::nullopt);
    EXPECT_EQ(
        FindText(text, QStringLiteral("SELECT"), 2, Options(SearchDirection::Down, true, true)), 0);
    EXPECT_EQ(FindText(text, QStringLiteral("missing"), 1, down), std::nullopt);

    const auto up = Options(SearchDirection::Up, true);
    EXPECT_EQ(FindText(text, QStringLiteral("select"), 17, up), 0) << "before the selection";
    EXPECT_EQ(FindText(text, QStringLiteral("from"), 3, up), 9) << "wrapped to the bottom";
    EXPECT_EQ(FindText(text, QStringLiteral("from"), 3, Options(SearchDirection::Up, false)),
              std::nullopt);

    SearchOptions whole = down;
    whole.WholeWord = true;
    EXPECT_EQ(FindText(QStringLiteral("ab a"), QStringLiteral("a"), 1, whole), 3);
}

TEST(TextSearch, SearchStartsJustAfterTheSelectionDownAndAtItsStartUp) {
    EXPECT_EQ(SearchStart(4, 3, 20, SearchDirection::Down), 8);
    EXPECT_EQ(SearchStart(4, 3, 20, SearchDirection::Up), 4);
    EXPECT_EQ(SearchStart(0, 0, 20, SearchDirection::Up), 20);
}

TEST(TextSearch, ReplaceAllMakesOnePassAndHonoursMatchCase) {
    QString text = QStringLiteral("a A a");
    EXPECT_EQ(ReplaceAll(text, QStringLiteral("a"), QStringLiteral("ab"),
                         Options(SearchDirection::Down, true)),
              3);
    EXPECT_EQ(text, QStringLiteral("ab ab ab"));
    text = QStringLiteral("a A a");
    ReplaceAll(text, QStringLiteral("a"), QStringLiteral("ab"),
               Options(SearchDirection::Down, true, true));
    EXPECT_EQ(text, QStringLiteral("ab A ab"));
}

TEST(TextSearch, LabelsOutsideCommentsAreListedBetweenTopAndBottom) {
    const QString text = QStringLiteral("/* old:\n@9 = EXECSQL()\n*/ @8 = EXECSQL()\n"
                                        "  @1 = REPORT(SLIDE=1)\nselect '/*' from t\n"
                                        "@ Q1 totals =CHART()\nx @3 = EXECSQL()\n@4 no equals\n");
    const auto labels = FindStatementLabels(text);
    QStringList names;
    for (const auto& entry : labels) {
        names << entry.Label;
    }
    EXPECT_EQ(names, (QStringList{"(Top)", "@1", "@ Q1 totals", "(Bottom)"}));
    EXPECT_EQ(labels[1].Position, text.indexOf(QStringLiteral("@1")));
    EXPECT_EQ(labels.back().Position, text.size());

    const auto empty = FindStatementLabels(QString());
    ASSERT_EQ(empty.size(), 2U);
    EXPECT_EQ(CountLines(QString()), 1);
    EXPECT_EQ(CountLines(QStringLiteral("a\nb\n")), 3);
    EXPECT_EQ(LineStart(QStringLiteral("a\nbc\nd"), 3), 5);
    EXPECT_EQ(LineStart(QStringLiteral("a"), 2), -1);
}

class SearchDialogTest : public testing::DesktopTest {
protected:
    SearchDialogTest() : m_window(m_session) {
        m_window.OpenNewDefinition();
        Text().setPlainText(
            QStringLiteral("@1 = REPORT(SLIDE=1)\nselect Name from Genre\n@2 = EXECSQL()\n"));
        m_definition.Modified = false;
    }

    QPlainTextEdit& Text() { return m_window.Editor().TextBox(); }
    void Select(int start, int end) {
        QTextCursor cursor = Text().textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        Text().setTextCursor(cursor);
    }
    QAction* Item(const char* name) { return testing::MenuItem(m_window.Editor(), name); }
    template <typename T>
    T* Find(const char* dialog, const char* name) {
        if (QWidget* window = testing::VisibleWindow(dialog))
            return window->findChild<T*>(QString::fromLatin1(name));
        for (QWidget* widget : m_window.findChildren<QWidget*>(QString::fromLatin1(dialog))) {
            if (widget->isVisible()) {
                return widget->findChild<T*>(QString::fromLatin1(name));
            }
        }
        return nullptr;
    }

    MainWindow m_window;
};

TEST_F(SearchDialogTest, FindDialogSearchesStoresItsSettingsAndReportsAMiss) {
    Select(5, 11);
    Item("mnuEFind")->trigger();
    auto* what = Find<QLineEdit>("frmFind", "txtFindWhat");
    ASSERT_NE(what, nullptr);
    EXPECT_EQ(what->text(), QStringLiteral("REPORT")) << "the selection is the find text";
    EXPECT_FALSE(Find<QPushButton>("frmFind", "cmdReplace")->isVisible());
    what->setText(QStringLiteral("exec"));
    Find<QCheckBox>("frmFind", "chkWrap")->setChecked(false);
    Find<QPushButton>("frmFind", "cmdFind")->click();
    EXPECT_EQ(Text().textCursor().selectedText(), QStringLiteral("EXEC"));
    Find<QPushButton>("frmFind", "cmdFind")->click();
    EXPECT_EQ(m_messages.LastText(), QStringLiteral("Search text is not found."));
    EXPECT_EQ(m_messages.Shown().back().Icon, MessageIcon::Information);
    Find<QPushButton>("frmFind", "cmdCancel")->click();

    // F3 repeats with what the dialog stored: from the top it finds the first occurrence.
    Select(0, 0);
    Item("mnuENext")->trigger();
    EXPECT_EQ(Text().textCursor().selectionStart(), Text().toPlainText().indexOf("EXEC"));
    EXPECT_FALSE(m_window.Search().Options.Wrap);
}

TEST_F(SearchDialogTest, ReplaceSwapsOnlyAMatchingSelectionAndReplaceAllEndsAtTheTop) {
    Select(0, 0);
    Item("mnuEReplace")->trigger();
    ASSERT_TRUE(Find<QPushButton>("frmFind", "cmdReplace")->isVisible());
    Find<QLineEdit>("frmFind", "txtFindWhat")->setText(QStringLiteral("@"));
    Find<QLineEdit>("frmFind", "txtReplaceWith")->setText(QStringLiteral("@@"));
    Find<QPushButton>("frmFind", "cmdReplace")->click();
    EXPECT_TRUE(Text().toPlainText().startsWith(QStringLiteral("@1"))) << "nothing was selected";
    EXPECT_EQ(Text().textCursor().selectionStart(), 0);
    Find<QPushButton>("frmFind", "cmdReplace")->click();
    EXPECT_TRUE(Text().toPlainText().startsWith(QStringLiteral("@@1")));
    EXPECT_EQ(Text().textCursor().selectedText(), QStringLiteral("@"));
    EXPECT_TRUE(m_window.Editor().IsChanged());

    Find<QPushButton>("frmFind", "cmdReplaceAll")->click();
    EXPECT_EQ(Text().toPlainText(), QStringLiteral("@@@@1 = REPORT(SLIDE=1)\nselect Name from "
                                                   "Genre\n@@2 = EXECSQL()\n"));
    EXPECT_EQ(Text().textCursor().position(), 0);
}

TEST_F(SearchDialogTest, GotoJumpsToLabelsAndLinesAndRefusesBadInput) {
    Item("mnuEGoTo")->trigger();
    auto* list = Find<QListWidget>("frmGoto", "lstFunction");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(Find<QLabel>("frmGoto", "lblLineCnt")->text(), QStringLiteral("( 1 - 4 )"));
    Find<QLineEdit>("frmGoto", "txtFunction")->setText(QStringLiteral("@7"));
    Find<QPushButton>("frmGoto", "cmdOK")->click();
    EXPECT_EQ(m_messages.LastText(),
              ErrorBoxText(QStringLiteral("Please input a valid function label.")));
    list->setCurrentRow(2);
    EXPECT_EQ(Find<QLineEdit>("frmGoto", "txtFunction")->text(), QStringLiteral("@2"));
    Find<QPushButton>("frmGoto", "cmdOK")->click();
    EXPECT_EQ(Text().textCursor().position(), Text().toPlainText().indexOf(QStringLiteral("@2")));

    Item("mnuEGoTo")->trigger();
    Find<QTabWidget>("frmGoto", "tabGoto")->setCurrentIndex(1);
    auto* line = Find<QLineEdit>("frmGoto", "txtLine");
    const struct {
        const char* input;
        const char* message;
    } refused[] = {{"3a", "Please input a valid line number."},
                   {"0", "Line number out of range."},
                   {"5", "Line number out of range."}};
    for (const auto& c : refused) {
        line->setText(QString::fromLatin1(c.input));
        Find<QPushButton>("frmGoto", "cmdOK")->click();
        EXPECT_EQ(m_messages.LastText(), ErrorBoxText(QString::fromLatin1(c.message))) << c.input;
    }
    line->setText(QStringLiteral("2"));
    Find<QPushButton>("frmGoto", "cmdOK")->click();
    EXPECT_EQ(Text().textCursor().position(),
              Text().toPlainText().indexOf(QStringLiteral("select")));
    EXPECT_EQ(Find<QLineEdit>("frmGoto", "txtLine"), nullptr) << "closed after a good line";
}

} // namespace
} // namespace slidesmith::ui
