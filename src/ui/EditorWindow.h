#pragma once

#include "ui/RecentFileList.h"

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace slidesmith::ui {

class FindDialog;
class MainWindow;

// The definition editor (frmEdit): the script in the plain-text box txtEdit, with its own File,
// Edit, Report, Tools and Help menus. The rest of the definition lives in the session's
// ReportDefinition; its Modified flag is the editor's changed flag, so edits here and in the
// configuration dialog both make the save prompt ask.
class EditorWindow : public QWidget {
    Q_OBJECT
public:
    EditorWindow(MainWindow& frame, QWidget* parent);

    QPlainTextEdit& TextBox() { return *m_text; }
    const std::vector<QMenu*>& Menus() const { return m_menus; }
    // The font of txtEdit when no font is stored: the system's fixed-pitch font.
    QFont DefaultFont() const { return m_defaultFont; }

    // The script as the definition file holds it: CR LF line ends.
    std::string ScriptText() const;
    bool IsChanged() const;

    // Puts a loaded script into the text box, clears the changed flag and sets the caption.
    void ShowLoadedDefinition(const std::string& script);
    // A new, unnamed definition: empty text, caption "Noname".
    void ResetToNewDefinition();
    // Called each time the window is shown in the frame: font, toolbar, menu states.
    void Activate();

    // Asks "The file has changed." when it has; Yes saves. False when the caller must stop
    // (Cancel, or a save that did not happen).
    bool SavePrompt();
    // Writes to the current path (Save As without one); nothing when unchanged.
    bool Save();
    bool SaveAs();

    // Updates the enabled state of the editing commands and the Template and Report buttons.
    void SetEditBtn();
    void RefreshRecentFiles();
    void TriggerToolbarCommand(const QString& key);
    // Applies a font to txtEdit (the options dialog's choice).
    void ApplyFont(const QFont& font);

private:
    void BuildFileMenu();
    void BuildEditMenu();
    void BuildOtherMenus();
    void UpdateFileMenu();
    void UpdateCaption();
    void OpenNamedFile(const std::string& name, const QString& kind, bool isLog);
    void OpenFind(bool replaceTab);
    void FindNext();
    void OpenGoto();
    void OpenOptions();
    void NewCommand();
    void OpenCommand();
    void OpenRecentCommand(std::size_t slot);
    void CloseCommand();
    QAction* Action(const char* name) const;

    MainWindow& m_frame;
    QPlainTextEdit* m_text = nullptr;
    QFont m_defaultFont;
    std::vector<QMenu*> m_menus;
    std::array<QAction*, RecentFileList::kSlotCount> m_recentActions{};
    QPointer<FindDialog> m_findDialog;
    bool m_loading = false;
};

} // namespace slidesmith::ui
