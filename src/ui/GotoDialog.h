#pragma once

#include "ui/TextSearch.h"

#include <QDialog>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QTabWidget;

namespace slidesmith::ui {

// "Goto" (frmGoto): jump to a statement by its label or to a line number. The label list is
// built from the text when the dialog opens. A label typed in is matched exactly first, then
// ignoring case. Wrong input gives an error box and the dialog stays open.
class GotoDialog : public QDialog {
    Q_OBJECT
public:
    GotoDialog(QPlainTextEdit& editor, QWidget* parent = nullptr);

    void accept() override;

private:
    bool GoToLabel();
    bool GoToLine();
    void MoveCaret(qsizetype position);

    QPlainTextEdit& m_editor;
    std::vector<LabelEntry> m_labels;
    int m_lineCount = 1;
    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_function = nullptr;
    QListWidget* m_functionList = nullptr;
    QListWidget* m_functionPositions = nullptr;
    QLineEdit* m_line = nullptr;
};

} // namespace slidesmith::ui
