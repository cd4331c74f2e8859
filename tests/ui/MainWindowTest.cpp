#include "ui/MainWindow.h"

#include "DialogTesting.h"
#include "UiTestEnvironment.h"
#include "platform/settings/SettingNames.h"
#include "ui/DesktopProgram.h"
#include "ui/EditorWindow.h"
#include "ui/RecentFileList.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QScreen>
#include <QUrl>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace slidesmith::ui {
namespace {

using testing::DefinitionBytes;
using testing::MenuItem;
using testing::UrlCatcher;
using testing::VisibleWindow;

QStringList MenuSlots(MainWindow& window, bool editor) {
    QStringList shown;
    for (int slot = 0; slot < 5; ++slot) {
        const std::string name = "mnuFRecentFile" + std::to_string(slot);
        QAction* item =
            editor ? MenuItem(window.Editor(), name.c_str()) : MenuItem(window, name.c_str());
        if (item->isVisible()) {
            shown << item->text() + (item->isEnabled() ? QString() : QStringLiteral(" (off)"));
        }
    }
    return shown;
}

TEST(RecentFileList, KeepsTheFiveNewestWithoutDuplicatesAndStartsWithADisabledPlaceholder) {
    RecentFileList list;
    EXPECT_EQ(list.Slots()[0].Caption, "(Empty)");
    EXPECT_TRUE(list.Slots()[0].Visible);
    EXPECT_FALSE(list.Slots()[0].Enabled);
    EXPECT_FALSE(list.Slots()[1].Visible);
    EXPECT_TRUE(list.Files().empty());

    for (const char* path : {"a", "b", "c", "b"}) {
        list.Add(path);
    }
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"b", "c", "a"}));
    for (const char* path : {"d", "e", "f"}) {
        list.Add(path);
    }
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"f", "e", "d", "b", "c"}));
    list.Add("c");
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"c", "f", "e", "d", "b"}));
}

class MainWindowTest : public testing::DesktopTest {};

TEST_F(MainWindowTest, SixOpenedFilesLeaveTheFiveNewestInBothMenusAndTheNextStart) {
    {
        MainWindow window(m_session);
        EXPECT_EQ(MenuSlots(window, false), QStringList{QStringLiteral("(Empty) (off)")});
        QStringList paths;
        for (int i = 1; i <= 6; ++i) {
            paths << WriteFile(QStringLiteral("r%1.slm").arg(i), DefinitionBytes("@1 = EXECSQL()"));
            ASSERT_TRUE(window.OpenDefinitionFile(paths.back()));
        }
        ASSERT_TRUE(window.OpenDefinitionFile(paths[2]));
        const QStringList expected{paths[2], paths[5], paths[4], paths[3], paths[1]};
        EXPECT_EQ(MenuSlots(window, true), expected);
        window.close();
        EXPECT_EQ(MenuSlots(window, false), expected);
    }
    MainWindow next(m_session);
    EXPECT_EQ(MenuSlots(next, false).size(), 5);
    EXPECT_EQ(MenuSlots(next, false).first(), PathOf(QStringLiteral("r3.slm")));
}

TEST_F(MainWindowTest, OpenFailuresShowTheLoadMessageAndKeepTheFrame) {
    MainWindow window(m_session);
    const QString missing = PathOf(QStringLiteral("missing.slm"));
    const QString other = WriteFile(QStringLiteral("notes.slm"), "slidemill Version 2.0\r\n");
    EXPECT_FALSE(window.OpenDefinitionFile(missing));
    EXPECT_EQ(m_messages.LastText(),
              ErrorBoxText(QStringLiteral("The file \"%1\" does not exist.").arg(missing)));
    EXPECT_FALSE(window.OpenDefinitionFile(other));
    EXPECT_EQ(m_messages.LastText(),
              ErrorBoxText(QStringLiteral("The file \"%1\" is not a Slidemill file.").arg(other)));
    EXPECT_FALSE(window.IsEditorOpen());
    EXPECT_EQ(MenuSlots(window, false), QStringList{QStringLiteral("(Empty) (off)")});
}

TEST_F(MainWindowTest, OpenDialogStartsInTheDefaultDirectoryThenInTheCurrentFilesFolder) {
    auto store = Store();
    store.SaveSettingText(settings::kOptionsKey, settings::kDefaultDirectory, "/srv/reports");
    MainWindow window(m_session);
    const QString path = WriteFile(QStringLiteral("one.slm"), DefinitionBytes(""));
    AnswerFileDialog(path);
    MenuItem(window, "mnuFOpen")->trigger();
    ASSERT_TRUE(window.IsEditorOpen());
    AnswerFileDialog(QString());
    MenuItem(window.Editor(), "mnuFOpen")->trigger();

    ASSERT_EQ(m_fileRequests.size(), 2U);
    EXPECT_EQ(m_fileRequests[0].Title, QStringLiteral("Open"));
    EXPECT_EQ(m_fileRequests[0].Folder, QStringLiteral("/srv/reports"));
    EXPECT_EQ(m_fileRequests[0].Filter,
              QStringLiteral("Slidemill Files (*.slm)|*.slm|All Type Files (*.*)|*.*"));
    EXPECT_EQ(m_fileRequests[1].Folder, m_folder.path());
    EXPECT_TRUE(window.IsEditorOpen()) << "a cancelled dialog changes nothing";
}

TEST_F(MainWindowTest, ToolbarShowsEditorButtonsOnlyWhileTheEditorIsOpen) {
    MainWindow window(m_session);
    const auto visibleKeys = [&window] {
        QStringList keys;
        for (const char* key : {"New", "Open", "Save", "Template", "Report", "Cut", "Copy", "Paste",
                                "Undo", "Find", "Goto", "Start", "Help"}) {
            QAction* button = window.ToolbarAction(QString::fromLatin1(key));
            EXPECT_FALSE(button->icon().isNull()) << key;
            if (button->isVisible()) {
                keys << QString::fromLatin1(key);
            }
        }
        return keys;
    };
    EXPECT_EQ(visibleKeys(), (QStringList{"New", "Open", "Help"}));
    EXPECT_EQ(window.ToolbarAction(QStringLiteral("Template"))->toolTip(),
              QStringLiteral("Open Template"));
    window.OpenNewDefinition();
    EXPECT_EQ(visibleKeys().size(), 13);
    EXPECT_FALSE(window.ToolbarAction(QStringLiteral("Template"))->isEnabled());
    EXPECT_FALSE(window.ToolbarAction(QStringLiteral("Cut"))->isEnabled());
    MenuItem(window.Editor(), "mnuFClose")->trigger();
    EXPECT_EQ(visibleKeys(), (QStringList{"New", "Open", "Help"}));
    EXPECT_FALSE(window.IsEditorOpen());
}

TEST_F(MainWindowTest, GeometryStartsAtTheDefaultTwipsAndAMaximizedCloseStoresOnlyTheState) {
    const double perTwip = QApplication::primaryScreen()->logicalDotsPerInch() / 1440.0;
    {
        MainWindow window(m_session);
        window.ShowFromSettings();
        EXPECT_FALSE(window.isMaximized());
        EXPECT_NEAR(window.width(), 12000 * perTwip, 1);
        EXPECT_NEAR(window.height(), 9000 * perTwip, 1);
        EXPECT_NEAR(window.pos().x(), 105 * perTwip, 1);
        window.resize(700, 500);
        window.move(70, 80);
        window.close();
    }
    auto store = Store();
    const auto number = [&store](std::string_view name) {
        return store.GetSettingNumber(settings::kOptionsKey, name, -1);
    };
    EXPECT_NEAR(number(settings::kWidth), 700 / perTwip, 2);
    EXPECT_NEAR(number(settings::kLeft), 70 / perTwip, 2) << "no creeping by the frame";
    EXPECT_EQ(number(settings::kWindowState), 0);
    {
        MainWindow window(m_session);
        window.ShowFromSettings();
        window.showMaximized();
        window.close();
    }
    EXPECT_EQ(number(settings::kWindowState), 2);
    EXPECT_NEAR(number(settings::kWidth), 700 / perTwip, 2) << "the normal size stays behind";
    MainWindow window(m_session);
    window.ShowFromSettings();
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(window.normalGeometry().width(), 700);
}

TEST_F(MainWindowTest, HelpOpensPagesByContextAndNamesTheMissingHelpFile) {
    UrlCatcher catcher;
    MainWindow window(m_session);
    MenuItem(window, "mnuHTutorial")->trigger();
    MenuItem(window, "mnuHKeys")->trigger();
    window.ToolbarAction(QStringLiteral("Help"))->trigger();
    MenuItem(window, "mnuHHomepage")->trigger();
    ASSERT_EQ(catcher.opened.size(), 4U);
    EXPECT_TRUE(catcher.opened[0].path().endsWith(QStringLiteral("/help/tutorial.html")));
    EXPECT_TRUE(catcher.opened[1].path().endsWith(QStringLiteral("/help/keys.html")));
    EXPECT_TRUE(catcher.opened[2].path().endsWith(QStringLiteral("/help/index.html")));
    EXPECT_EQ(catcher.opened[3].scheme(), QStringLiteral("https"));
    EXPECT_TRUE(m_messages.Shown().empty());

    m_session.ApplicationFolder = m_folder.path().toStdString();
    MenuItem(window, "mnuHContent")->trigger();
    EXPECT_EQ(catcher.opened.size(), 4U);
    EXPECT_EQ(m_messages.LastText(),
              ErrorBoxText(QStringLiteral("Help file \"%1/help/index.html\" does not exist.")
                               .arg(m_folder.path())));
}

TEST_F(MainWindowTest, StartUpAnnouncesAMissingTableShowsTheTipAndOpensTheNamedFile) {
    const QString path = WriteFile(QStringLiteral("start.slm"), DefinitionBytes("select 1"));
    m_options.DefinitionPath = path.toStdString();
    m_table.clear();
    m_session.ApplicationFolder = "/opt/slidesmith";
    const auto window = StartInteractive(m_session);
    ASSERT_FALSE(m_messages.Shown().empty());
    EXPECT_EQ(m_messages.Shown()[0].Text,
              QStringLiteral("The file \"/opt/slidesmith/sconv.cfg\" does not exist. You can not "
                             "convert file format."));
    EXPECT_EQ(m_messages.Shown()[0].Icon, MessageIcon::Information);
    EXPECT_NE(VisibleWindow("frmTip"), nullptr) << "ShowTips defaults to 1";
    ASSERT_TRUE(window->IsEditorOpen());
    EXPECT_EQ(window->Editor().windowTitle(), QStringLiteral("start.slm"));

    VisibleWindow("frmTip")->close();
    auto store = Store();
    store.SaveSettingNumber(settings::kOptionsKey, settings::kShowTips, 0);
    m_options.DefinitionPath.clear();
    m_table.push_back({});
    const auto second = StartInteractive(m_session);
    EXPECT_EQ(VisibleWindow("frmTip"), nullptr);
    EXPECT_FALSE(second->IsEditorOpen());
}

} // namespace
} // namespace slidesmith::ui

namespace slidesmith::ui {
namespace {

// Restores one environment variable when it goes out of scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(DesktopProgram, ADisplayIsFoundOnlyWhereThePlatformCanReachOne) {
    const struct {
        const char* platform;
        const char* display;
        const char* wayland;
        bool expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, false},    {nullptr, ":0", nullptr, true},
        {nullptr, nullptr, "wayland-0", true}, {"offscreen", nullptr, nullptr, true},
        {"xcb", nullptr, nullptr, false},      {"xcb", ":1", nullptr, true},
        {"wayland", ":1", nullptr, false},     {"", "", "", false},
    };
    for (const auto& c : cases) {
        ScopedVariable platform("QT_QPA_PLATFORM", c.platform);
        ScopedVariable display("DISPLAY", c.display);
        ScopedVariable wayland("WAYLAND_DISPLAY", c.wayland);
        EXPECT_EQ(HasDisplay(), c.expected)
            << (c.platform ? c.platform : "-") << ' ' << (c.display ? c.display : "-");
    }
}

} // namespace
} // namespace slidesmith::ui
