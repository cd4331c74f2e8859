#include "DialogTesting.h"
#include "UiTestEnvironment.h"
#include "platform/settings/SettingNames.h"
#include "ui/AboutDialog.h"
#include "ui/EditorWindow.h"
#include "ui/MainWindow.h"
#include "ui/OptionsDialog.h"
#include "ui/TipDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace slidesmith::ui {
namespace {

template <typename T>
T* Control(const char* dialog, const char* name) {
    QWidget* window = testing::VisibleWindow(dialog);
    return window == nullptr ? nullptr : window->findChild<T*>(QString::fromLatin1(name));
}

class OptionsTest : public testing::DesktopTest {
protected:
    OptionsTest() : m_window(m_session) {}
    QAction* FrameItem(const char* name) { return testing::MenuItem(m_window, name); }
    QAction* EditorItem(const char* name) { return testing::MenuItem(m_window.Editor(), name); }
    // Any family the machine has that differs from the editor's, so a change is visible.
    QString OtherFamily() {
        auto* fonts = Control<QComboBox>("frmOptions", "cboFont");
        for (int i = 0; i < fonts->count(); ++i) {
            if (fonts->itemText(i) != m_window.Editor().TextBox().font().family()) {
                return fonts->itemText(i);
            }
        }
        return QString();
    }

    MainWindow m_window;
};

TEST_F(OptionsTest, AnUnreadableTimeoutKeepsTheOldOneWhileTheRestIsSaved) {
    auto store = Store();
    store.SaveSettingNumber(settings::kOptionsKey, settings::kConnectionTimeout, 30);
    m_options.ConnectionTimeout = 30;
    FrameItem("mnuOption")->trigger();
    ASSERT_NE(testing::VisibleWindow("frmOptions"), nullptr);
    EXPECT_EQ(Control<QLineEdit>("frmOptions", "txtConnectionTimeout")->text(), "30");
    EXPECT_EQ(Control<QComboBox>("frmOptions", "cboFontSize")->count(), 9);
    Control<QLineEdit>("frmOptions", "txtConnectionTimeout")->setText(QStringLiteral("abc"));
    Control<QLineEdit>("frmOptions", "txtCommandTimeout")->setText(QStringLiteral(" 45 "));
    Control<QComboBox>("frmOptions", "cboFontSize")->setCurrentText(QStringLiteral("14"));
    Control<QLineEdit>("frmOptions", "txtLogEditor")->setText(QStringLiteral("/usr/bin/less"));
    Control<QPushButton>("frmOptions", "cmdOK")->click();

    EXPECT_EQ(testing::VisibleWindow("frmOptions"), nullptr);
    EXPECT_EQ(m_options.ConnectionTimeout, 30);
    EXPECT_EQ(store.GetSettingNumber(settings::kOptionsKey, settings::kConnectionTimeout, -1), 30);
    EXPECT_EQ(m_options.CommandTimeout, 45);
    EXPECT_EQ(store.GetSettingNumber(settings::kOptionsKey, settings::kCommandTimeout, -1), 45);
    EXPECT_EQ(store.GetSettingNumber(settings::kOptionsKey, settings::kFontSize, -1), 14);
    EXPECT_EQ(store.GetSettingText(settings::kOptionsKey, settings::kLogEditor, ""),
              "/usr/bin/less");
}

TEST_F(OptionsTest, FontChosenInTheEditorAppliesAtOnceFromTheFrameOnlyAtTheNextOpen) {
    m_window.OpenNewDefinition();
    const QFont before = m_window.Editor().TextBox().font();
    EditorItem("mnuTOption")->trigger();
    auto* size = Control<QComboBox>("frmOptions", "cboFontSize");
    EXPECT_EQ(size->currentText(), QString::number(before.pointSize()));
    size->setCurrentText(QStringLiteral("18"));
    const QString family = OtherFamily();
    Control<QComboBox>("frmOptions", "cboFont")->setCurrentText(family);
    const QFont sample = Control<QLabel>("frmOptions", "lblFontSample")->font();
    EXPECT_EQ(sample.pointSize(), 18) << "the sample follows before OK";
    EXPECT_EQ(sample.family(), family);
    Control<QPushButton>("frmOptions", "cmdOK")->click();
    EXPECT_EQ(m_window.Editor().TextBox().font().pointSize(), 18);
    EXPECT_EQ(m_window.Editor().TextBox().font().family(), family);

    EditorItem("mnuFClose")->trigger();
    FrameItem("mnuOption")->trigger();
    EXPECT_EQ(Control<QComboBox>("frmOptions", "cboFontSize")->currentText(), "18");
    Control<QComboBox>("frmOptions", "cboFontSize")->setCurrentText(QStringLiteral("10"));
    Control<QPushButton>("frmOptions", "cmdOK")->click();
    EXPECT_EQ(m_window.Editor().TextBox().font().pointSize(), 18) << "closed editor untouched";
    m_window.OpenNewDefinition();
    EXPECT_EQ(m_window.Editor().TextBox().font().pointSize(), 10);
}

TEST_F(OptionsTest, CancelChangesNothing) {
    FrameItem("mnuOption")->trigger();
    Control<QLineEdit>("frmOptions", "txtCommandTimeout")->setText(QStringLiteral("99"));
    Control<QPushButton>("frmOptions", "cmdCancel")->click();
    EXPECT_EQ(testing::VisibleWindow("frmOptions"), nullptr);
    EXPECT_EQ(m_options.CommandTimeout, 0);
    auto store = Store();
    EXPECT_EQ(store.GetSettingNumber(settings::kOptionsKey, settings::kCommandTimeout, -1), -1);
}

class TipTest : public testing::DesktopTest {};

TEST_F(TipTest, TipsCycleBackToTheFirstShownAndBreakLinesAtBackslashN) {
    const QString file = WriteFile(QStringLiteral("stips.txt"),
                                   "  First\\nSecond  \r\n\r\nThird tip\r\nFourth tip\r\n");
    auto store = Store();
    TipDialog tip(file.toStdString(), store);
    tip.show();
    auto* text = tip.findChild<QLabel*>(QStringLiteral("lblTipText"));
    auto* next = tip.findChild<QPushButton*>(QStringLiteral("cmdNextTip"));
    const QString first = text->text();
    QStringList seen{first};
    for (int press = 0; press < 2; ++press) {
        next->click();
        seen << text->text();
    }
    next->click();
    EXPECT_EQ(text->text(), first);
    seen.removeDuplicates();
    EXPECT_EQ(seen.size(), 3) << "every tip is visited once";
    EXPECT_EQ(LoadTips(file.toStdString()),
              (QStringList{"First\nSecond", "Third tip", "Fourth tip"}));
}

TEST_F(TipTest, WithoutATipsFileTheDialogExplainsAndNextDoesNothing) {
    auto store = Store();
    TipDialog tip(PathOf(QStringLiteral("stips.txt")).toStdString(), store);
    auto* text = tip.findChild<QLabel*>(QStringLiteral("lblTipText"));
    const QString expected =
        QStringLiteral("That the stips.txt file was not found? \n\nCreate a text file named "
                       "stips.txt using NotePad with 1 tip per line. Then place it in the same "
                       "directory as the application. ");
    EXPECT_EQ(text->text(), expected);
    tip.findChild<QPushButton*>(QStringLiteral("cmdNextTip"))->click();
    EXPECT_EQ(text->text(), expected);
    EXPECT_EQ(tip.CurrentIndex(), 0);
}

TEST_F(TipTest, TheStartupBoxIsStoredHoweverTheDialogCloses) {
    auto store = Store();
    {
        TipDialog tip(PathOf(QStringLiteral("none.txt")).toStdString(), store);
        auto* box = tip.findChild<QCheckBox*>(QStringLiteral("chkLoadTipsAtStartup"));
        EXPECT_TRUE(box->isChecked()) << "ShowTips defaults to 1";
        box->setChecked(false);
        tip.show();
        tip.close();
    }
    EXPECT_EQ(store.GetSettingNumber(settings::kOptionsKey, settings::kShowTips, -1), 0);
    TipDialog tip(PathOf(QStringLiteral("none.txt")).toStdString(), store);
    auto* box = tip.findChild<QCheckBox*>(QStringLiteral("chkLoadTipsAtStartup"));
    EXPECT_FALSE(box->isChecked());
    box->setChecked(true);
    tip.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    EXPECT_EQ(store.GetSettingNumber(settings::kOptionsKey, settings::kShowTips, -1), 1);
}

TEST(AboutDialog, ShowsTitleAndThreePartVersion) {
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Slidesmith"));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("lblSysName"))->text(), "Slidesmith");
    EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("lblSysVer"))
                    ->text()
                    .contains(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$"))));
}

} // namespace
} // namespace slidesmith::ui
