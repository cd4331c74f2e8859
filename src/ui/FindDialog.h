#pragma once

#include "ui/TextSearch.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabBar;

namespace slidesmith::ui {

// Searches the editor from its selection with the stored settings and selects what it finds;
// says "Search text is not found." when nothing is. False when not found.
bool FindNextInEditor(QPlainTextEdit& editor, const SearchSettings& search);

// Replaces the selection when it is an occurrence of the find text, then selects the next
// occurrence searching from where the selection was; the same message when there is none.
bool ReplaceInEditor(QPlainTextEdit& editor, const SearchSettings& search,
                     const QString& replacement);

// Replaces every occurrence in one undoable step and puts the caret at the start.
int ReplaceAllInEditor(QPlainTextEdit& editor, const SearchSettings& search,
                       const QString& replacement);

// "Find and Replace" (frmFind), modeless. It writes what the user typed and ticked into the
// program's search settings on every search and on Cancel, so a later Find Next repeats it.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(QPlainTextEdit& editor, SearchSettings& search, QWidget* parent = nullptr);

    // Fills the fields from the editor's selection (its first line) or the last find text,
    // resets the direction to down, and shows the Find or the Replace tab.
    void Prepare(bool replaceTab);

private:
    void ShowTab(int index);
    void StoreSettings();
    void FindNext();
    void Replace();
    void ReplaceAll();
    void Cancel();

    QPlainTextEdit& m_editor;
    SearchSettings& m_search;
    QTabBar* m_tabs = nullptr;
    QLineEdit* m_findWhat = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QLineEdit* m_replaceWith = nullptr;
    QComboBox* m_direction = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_wrap = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAll = nullptr;
};

} // namespace slidesmith::ui
