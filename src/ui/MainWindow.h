#pragma once

#include "app/InteractiveSession.h"
#include "platform/settings/SettingsStore.h"
#include "ui/RecentFileList.h"
#include "ui/TextSearch.h"

#include <QMainWindow>
#include <array>
#include <map>

class QAction;
class QMenu;
class QKeySequence;
class QStackedWidget;
class QToolBar;

namespace slidesmith::ui {

class EditorWindow;

// The frame of the desktop program (frmMain): its own short menu bar while no definition is
// open, the toolbar that also serves the editor, the recent-files list, the help, and the one
// editor window (frmEdit), which fills the client area and brings its fuller menu bar while
// it is open. Geometry and recent files persist in the settings store between starts.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(app::InteractiveSession& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Applies the stored geometry (twips, converted with the screen's resolution) and shows the
    // window, maximized when it was closed maximized.
    void ShowFromSettings();

    // Loads a definition into the editor and opens it, adding it to the recent files; an error
    // box tells why when it cannot be opened. The caller has already asked to save changes.
    bool OpenDefinitionFile(const QString& path);
    // The open dialog of the File menu; false when cancelled or not opened.
    bool ChooseAndOpenDefinition();
    // Opens the editor on a new, unnamed definition.
    void OpenNewDefinition();
    // Hides the editor window and brings back the frame's menus and toolbar.
    void CloseEditorWindow();

    void AddRecentFile(const QString& path);
    const RecentFileList& RecentFiles() const { return m_recentFiles; }

    bool IsEditorOpen() const;
    EditorWindow& Editor() { return *m_editor; }
    app::InteractiveSession& Session() { return m_session; }
    settings::SettingsStore& Settings() { return m_settings; }
    SearchSettings& Search() { return m_search; }
    // The folder an open or save dialog starts in: the current file's, else DefaultDirectory.
    QString StartFolder() const;

    // Commands shared by the frame's and the editor's menus.
    void ShowHelpContents();
    void ShowHelpTopic(int context);
    void ShowTipOfTheDay();
    void ShowAbout();
    void ShowOptions();

    // The Help menu for the frame or the editor; the editor's names differ from the frame's in
    // a few spellings, which is why it says whose menu this is.
    QMenu* BuildHelpMenu(QWidget* owner, bool forEditor);
    // A toolbar button's action by its key ("Save", "Find", ...).
    QAction* ToolbarAction(const QString& key) const;
    // Shows or hides the toolbar buttons that need an editor, and swaps the menu bars.
    void SetEditorActive(bool active);
    // Copies the recent-file list into the menu slots of the frame and of the editor.
    void RefreshRecentFileMenus();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolbar();
    void OnToolbarButton(const QString& key);
    void SaveGeometry();
    void RestoreGeometry();

    app::InteractiveSession& m_session;
    settings::SettingsStore m_settings;
    RecentFileList m_recentFiles;
    SearchSettings m_search;
    QStackedWidget* m_pages = nullptr;
    EditorWindow* m_editor = nullptr;
    std::vector<QMenu*> m_frameMenus;
    std::array<QAction*, RecentFileList::kSlotCount> m_recentActions{};
    QToolBar* m_toolbar = nullptr;
    std::map<QString, QAction*> m_toolbarActions;
    std::vector<QAction*> m_editorOnlyToolbarItems;
    bool m_restoreMaximized = false;
};

// Shows the recent-file list in five menu actions.
void ShowRecentFiles(const RecentFileList& list,
                     const std::array<QAction*, RecentFileList::kSlotCount>& actions);

// A menu item with its object name, caption and shortcut, parented to owner so that tests and
// the toolbar find it by name.
QAction* AddMenuItem(QMenu* menu, QWidget* owner, const char* name, const QString& caption,
                     const QKeySequence& key = {});
QAction* AddMenuSeparator(QMenu* menu, QWidget* owner, const char* name);
// A menu owned by owner, not yet on any menu bar (the frame swaps whole sets of menus).
QMenu* NewMenu(QWidget* owner, const char* name, const QString& caption);

} // namespace slidesmith::ui
