#include "ui/GotoDialog.h"

#include "ui/MessageService.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>

namespace slidesmith::ui {

GotoDialog::GotoDialog(QPlainTextEdit& editor, QWidget* parent)
    : QDialog(parent), m_editor(editor) {
    setObjectName(QStringLiteral("frmGoto"));
    setWindowTitle(QStringLiteral("Goto"));
    const QString text = m_editor.toPlainText();
    m_labels = FindStatementLabels(text);
    m_lineCount = CountLines(text);

    auto* functionPage = new QWidget;
    functionPage->setObjectName(QStringLiteral("fraGoto0"));
    m_function = new QLineEdit(functionPage);
    m_function->setObjectName(QStringLiteral("txtFunction"));
    auto* functionLabel = new QLabel(QStringLiteral("&Go to:"), functionPage);
    functionLabel->setObjectName(QStringLiteral("lblGotoFunction"));
    functionLabel->setBuddy(m_function);
    m_functionList = new QListWidget(functionPage);
    m_functionList->setObjectName(QStringLiteral("lstFunction"));
    // The positions ride along in a hidden list, in the same order as the labels.
    m_functionPositions = new QListWidget(functionPage);
    m_functionPositions->setObjectName(QStringLiteral("lstFunctionPos"));
    m_functionPositions->hide();
    for (const LabelEntry& entry : m_labels) {
        m_functionList->addItem(entry.Label);
        m_functionPositions->addItem(QString::number(entry.Position));
    }
    auto* functionLayout = new QVBoxLayout(functionPage);
    functionLayout->addWidget(functionLabel);
    functionLayout->addWidget(m_function);
    functionLayout->addWidget(m_functionList, 1);

    auto* linePage = new QWidget;
    linePage->setObjectName(QStringLiteral("fraGoto1"));
    m_line = new QLineEdit(linePage);
    m_line->setObjectName(QStringLiteral("txtLine"));
    auto* lineLabel = new QLabel(QStringLiteral("&Go to:"), linePage);
    lineLabel->setObjectName(QStringLiteral("lblGotoLine"));
    lineLabel->setBuddy(m_line);
    auto* lineCount = new QLabel(QStringLiteral("( 1 - %1 )").arg(m_lineCount), linePage);
    lineCount->setObjectName(QStringLiteral("lblLineCnt"));
    auto* lineLayout = new QGridLayout(linePage);
    lineLayout->addWidget(lineLabel, 0, 0);
    lineLayout->addWidget(m_line, 0, 1);
    lineLayout->addWidget(lineCount, 0, 2);
    lineLayout->setColumnStretch(1, 1);
    lineLayout->setRowStretch(1, 1);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabGoto"));
    m_tabs->addTab(functionPage, QStringLiteral("&Function"));
    m_tabs->addTab(linePage, QStringLiteral("&Line"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(ok, &QPushButton::clicked, this, &GotoDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_functionList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { m_function->setText(item->text()); });
    connect(m_functionList, &QListWidget::currentTextChanged, m_function, &QLineEdit::setText);
    connect(m_functionList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_function->setText(item->text());
        accept();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    resize(340, 360);
}

void GotoDialog::accept() {
    const bool moved = m_tabs->currentIndex() == 0 ? GoToLabel() : GoToLine();
    if (moved) {
        QDialog::accept();
    }
}

bool GotoDialog::GoToLabel() {
    const QString wanted = m_function->text();
    for (const Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (const LabelEntry& entry : m_labels) {
            if (entry.Label.compare(wanted, sensitivity) == 0) {
                MoveCaret(entry.Position);
                return true;
            }
        }
    }
    ShowErrorBox(this, QStringLiteral("Please input a valid function label."));
    return false;
}

bool GotoDialog::GoToLine() {
    bool numeric = false;
    const double number = m_line->text().trimmed().toDouble(&numeric);
    if (!numeric) {
        ShowErrorBox(this, QStringLiteral("Please input a valid line number."));
        return false;
    }
    if (number < 1 || number > m_lineCount) {
        ShowErrorBox(this, QStringLiteral("Line number out of range."));
        return false;
    }
    MoveCaret(LineStart(m_editor.toPlainText(), static_cast<int>(number)));
    return true;
}

void GotoDialog::MoveCaret(qsizetype position) {
    QTextCursor cursor = m_editor.textCursor();
    cursor.setPosition(static_cast<int>(position));
    m_editor.setTextCursor(cursor);
    m_editor.centerCursor();
}

} // namespace slidesmith::ui
