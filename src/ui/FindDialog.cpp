#include "ui/FindDialog.h"

#include "ui/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace slidesmith::ui {

namespace {

const QString kNotFound = QStringLiteral("Search text is not found.");

qsizetype EditorSearchStart(const QPlainTextEdit& editor, const SearchSettings& search) {
    const QTextCursor cursor = editor.textCursor();
    return SearchStart(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(),
                       editor.document()->characterCount() - 1, search.Options.Direction);
}

bool SelectMatch(QPlainTextEdit& editor, const SearchSettings& search, qsizetype start) {
    const auto found = FindText(editor.toPlainText(), search.FindText, start, search.Options);
    if (!found) {
        MessageService::Information(&editor, kNotFound);
        return false;
    }
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(static_cast<int>(*found));
    cursor.setPosition(static_cast<int>(*found + search.FindText.size()), QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    return true;
}

} // namespace

bool FindNextInEditor(QPlainTextEdit& editor, const SearchSettings& search) {
    return SelectMatch(editor, search, EditorSearchStart(editor, search));
}

bool ReplaceInEditor(QPlainTextEdit& editor, const SearchSettings& search,
                     const QString& replacement) {
    const qsizetype start = EditorSearchStart(editor, search);
    QTextCursor cursor = editor.textCursor();
    if (IsOccurrence(cursor.selectedText(), search.FindText, search.Options.MatchCase)) {
        cursor.insertText(replacement);
        editor.setTextCursor(cursor);
    }
    return SelectMatch(editor, search, start);
}

int ReplaceAllInEditor(QPlainTextEdit& editor, const SearchSettings& search,
                       const QString& replacement) {
    QString text = editor.toPlainText();
    const int count = ReplaceAll(text, search.FindText, replacement, search.Options);
    if (count > 0) {
        QTextCursor cursor(editor.document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
    }
    QTextCursor caret = editor.textCursor();
    caret.setPosition(0);
    editor.setTextCursor(caret);
    return count;
}

FindDialog::FindDialog(QPlainTextEdit& editor, SearchSettings& search, QWidget* parent)
    : QDialog(parent), m_editor(editor), m_search(search) {
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find and Replace"));

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("tabFind"));
    m_tabs->addTab(QStringLiteral("Find"));
    m_tabs->addTab(QStringLiteral("Replace"));
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);

    m_findWhat = new QLineEdit(this);
    m_findWhat->setObjectName(QStringLiteral("txtFindWhat"));
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd What:"), this);
    findLabel->setBuddy(m_findWhat);
    m_replaceWith = new QLineEdit(this);
    m_replaceWith->setObjectName(QStringLiteral("txtReplaceWith"));
    m_replaceLabel = new QLabel(QStringLiteral("Replace Wit&h:"), this);
    m_replaceLabel->setBuddy(m_replaceWith);
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("cboDirection"));
    m_direction->addItems({QStringLiteral("Down"), QStringLiteral("Up")});
    auto* directionLabel = new QLabel(QStringLiteral("&Direction:"), this);
    directionLabel->setBuddy(m_direction);
    m_matchCase = new QCheckBox(QStringLiteral("&Match Case"), this);
    m_matchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_wholeWord = new QCheckBox(QStringLiteral("Whole &Word"), this);
    m_wholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    m_wrap = new QCheckBox(QStringLiteral("Wrap at the &end of file"), this);
    m_wrap->setObjectName(QStringLiteral("chkWrap"));

    auto* find = new QPushButton(QStringLiteral("&Find Next"), this);
    find->setObjectName(QStringLiteral("cmdFind"));
    find->setDefault(true);
    m_replace = new QPushButton(QStringLiteral("&Replace"), this);
    m_replace->setObjectName(QStringLiteral("cmdReplace"));
    m_replaceAll = new QPushButton(QStringLiteral("Replace &All"), this);
    m_replaceAll->setObjectName(QStringLiteral("cmdReplaceAll"));
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_findWhat, 0, 1);
    fields->addWidget(m_replaceLabel, 1, 0);
    fields->addWidget(m_replaceWith, 1, 1);
    fields->addWidget(directionLabel, 2, 0);
    fields->addWidget(m_direction, 2, 1, Qt::AlignLeft);
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_matchCase);
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_wrap);
    fields->addLayout(checks, 3, 1);
    fields->setColumnStretch(1, 1);
    fields->setColumnMinimumWidth(1, 240);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(find);
    buttons->addWidget(m_replace);
    buttons->addWidget(m_replaceAll);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(fields, 1);
    body->addSpacing(8);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(body);

    connect(m_tabs, &QTabBar::currentChanged, this, &FindDialog::ShowTab);
    connect(find, &QPushButton::clicked, this, &FindDialog::FindNext);
    connect(m_replace, &QPushButton::clicked, this, &FindDialog::Replace);
    connect(m_replaceAll, &QPushButton::clicked, this, &FindDialog::ReplaceAll);
    connect(cancel, &QPushButton::clicked, this, &FindDialog::Cancel);
    ShowTab(0);
}

void FindDialog::Prepare(bool replaceTab) {
    const QString selected = m_editor.textCursor().selectedText();
    if (!selected.isEmpty()) {
        // The document hands over line breaks inside a selection as paragraph separators.
        m_findWhat->setText(selected.section(QChar::ParagraphSeparator, 0, 0));
    } else {
        m_findWhat->setText(m_search.FindText);
    }
    m_findWhat->selectAll();
    m_search.Options.Direction = SearchDirection::Down;
    m_direction->setCurrentIndex(0);
    m_matchCase->setChecked(m_search.Options.MatchCase);
    m_wholeWord->setChecked(m_search.Options.WholeWord);
    m_wrap->setChecked(m_search.Options.Wrap);
    m_tabs->setCurrentIndex(replaceTab ? 1 : 0);
    ShowTab(m_tabs->currentIndex());
    m_findWhat->setFocus();
}

void FindDialog::ShowTab(int index) {
    const bool replacing = index == 1;
    m_replaceLabel->setVisible(replacing);
    m_replaceWith->setVisible(replacing);
    m_replace->setVisible(replacing);
    m_replaceAll->setVisible(replacing);
}

void FindDialog::StoreSettings() {
    m_search.FindText = m_findWhat->text();
    m_search.Options.Direction =
        m_direction->currentIndex() == 1 ? SearchDirection::Up : SearchDirection::Down;
    m_search.Options.MatchCase = m_matchCase->isChecked();
    m_search.Options.WholeWord = m_wholeWord->isChecked();
    m_search.Options.Wrap = m_wrap->isChecked();
}

void FindDialog::FindNext() {
    StoreSettings();
    FindNextInEditor(m_editor, m_search);
}

void FindDialog::Replace() {
    StoreSettings();
    ReplaceInEditor(m_editor, m_search, m_replaceWith->text());
}

void FindDialog::ReplaceAll() {
    StoreSettings();
    ReplaceAllInEditor(m_editor, m_search, m_replaceWith->text());
}

void FindDialog::Cancel() {
    StoreSettings();
    close();
}

} // namespace slidesmith::ui
