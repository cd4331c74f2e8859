#include "ui/RunWindow.h"

#include "engine/CountFormat.h"
#include "ui/DialogParts.h"
#include "ui/LoginDialog.h"
#include "ui/MessageService.h"
#include "ui/ParameterPrompt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace slidesmith::ui {
namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The log box holds CR LF line ends; the text control wants plain line feeds.
QString BoxText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

QLabel* AddCounterRow(QGridLayout* grid, QWidget* parent, int row, const char* captionName,
                      const QString& caption, const char* valueName) {
    grid->addWidget(MakeLabel(parent, captionName, caption), row, 0);
    QLabel* value = MakeLabel(parent, valueName, QString());
    value->setMinimumWidth(160);
    grid->addWidget(value, row, 1);
    return value;
}

} // namespace

RunWindow::RunWindow(definition::ReportDefinition& definition, std::string scriptText,
                     engine::RunOptions& options, engine::RunState& state, RunAction run,
                     QWidget* parent)
    : QDialog(parent), m_definition(definition), m_scriptText(std::move(scriptText)),
      m_options(options), m_state(state), m_run(std::move(run)), m_log(state, *this, m_clock) {
    setObjectName(QStringLiteral("frmRun"));
    setWindowTitle(QStringLiteral("Run Report"));
    m_displayReport =
        new QCheckBox(QStringLiteral("&Display Report with Microsoft PowerrPoint"), this);
    m_displayReport->setObjectName(QStringLiteral("chkDispReport"));
    m_start = MakeButton(this, "cmdStart", QStringLiteral("&Start"));
    m_end = MakeButton(this, "cmdEnd", QStringLiteral("&End"));
    m_close = MakeButton(this, "cmdClose", QStringLiteral("&Close"));

    auto* frame = new QGroupBox(QStringLiteral("Run Time Information"), this);
    frame->setObjectName(QStringLiteral("fraRunTimeInfo"));
    auto* counters = new QGridLayout(frame);
    m_status = AddCounterRow(counters, frame, 0, "Label1", QStringLiteral("Status:"), "lblStatus");
    m_statementCount =
        AddCounterRow(counters, frame, 1, "Label6", QStringLiteral("SQLs Count:"), "lblSQLStmCnt");
    m_errorCount =
        AddCounterRow(counters, frame, 2, "Label7", QStringLiteral("Errors Count:"), "lblErrorCnt");
    m_functionLabel = AddCounterRow(counters, frame, 3, "Label5", QStringLiteral("Function No:"),
                                    "lblFunctionNo");
    m_recordCount = AddCounterRow(counters, frame, 4, "Label8", QStringLiteral("Records Count:"),
                                  "lblRecordCnt");
    counters->setColumnStretch(1, 1);

    m_logInfo = new QPlainTextEdit(this);
    m_logInfo->setObjectName(QStringLiteral("txtLogInfo"));
    m_logInfo->setReadOnly(true);
    m_logInfo->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_end);
    buttons->addWidget(m_close);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(m_displayReport);
    left->addWidget(frame);
    top->addLayout(left, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(MakeLabel(this, "Label4", QStringLiteral("Log Information:"), m_logInfo));
    layout->addWidget(m_logInfo, 1);
    resize(640, 480);

    m_start->setDefault(true);
    m_end->setEnabled(false);
    m_displayReport->setChecked(m_options.DisplayReport);
    m_status->setText(QStringLiteral("Ready"));
    m_state.StatementCount = 0;
    m_state.ErrorCount = 0;
    m_statementCount->setText(FromUtf8(engine::FormatCount(0, engine::CountStyle::ZeroAsDigit)));
    m_errorCount->setText(FromUtf8(engine::FormatCount(0, engine::CountStyle::ZeroAsDigit)));
    m_recordCount->setText(QStringLiteral("0"));

    connect(m_start, &QPushButton::clicked, this, &RunWindow::Start);
    connect(m_end, &QPushButton::clicked, this, &RunWindow::End);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
}

void RunWindow::Start() {
    if (m_running || !m_start->isEnabled())
        return;
    if (!m_definition.Parameters.empty() && ShowParameterPrompt(this, m_definition) != kAnswerYes)
        return;
    m_running = true;
    m_start->setEnabled(false);
    m_close->setEnabled(false);
    m_end->setEnabled(true);
    m_options.DisplayReport = m_displayReport->isChecked();
    ShowStatus("Running");

    RunSession session{m_definition, m_scriptText, m_options,           m_state,
                       *this,        m_log,        MakeLoginRetry(this)};
    try {
        if (m_run)
            m_run(session);
    } catch (const std::exception& error) {
        // The run driver reports through its log and never throws; anything that still
        // escapes is a fault of the program, shown rather than lost.
        ShowErrorBox(this, QString::fromUtf8(error.what()));
    }
    m_log.Close();

    m_running = false;
    ShowStatus("Done");
    m_end->setEnabled(false);
    m_close->setEnabled(true);
    m_start->setDefault(false);
    m_close->setDefault(true);
    m_close->setFocus();
}

void RunWindow::End() {
    if (!m_running)
        return;
    MessageRequest question{
        QStringLiteral("Stop Running Report"),
        QStringLiteral("The report is not complete. Do you really want to stop running it?\n"
                       "To stop running the report, click Yes. To continue running report, "
                       "click No."),
        MessageIcon::Question, MessageButtons::YesNo, kAnswerNo};
    if (MessageService::Show(this, question) != kAnswerYes)
        return;
    m_state.Interrupted = true;
    m_log.LogError("Interrupted by user.", "");
}

void RunWindow::reject() {
    if (m_close->isEnabled())
        QDialog::reject();
}

void RunWindow::closeEvent(QCloseEvent* event) {
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void RunWindow::EchoLogLine(std::string_view text) {
    std::size_t before = m_logBox.Text().size();
    m_logBox.Append(text);
    if (m_logBox.Text().size() == before + text.size() + 2) {
        m_logInfo->moveCursor(QTextCursor::End);
        m_logInfo->insertPlainText(FromView(text) + QLatin1Char('\n'));
    } else {
        m_logInfo->setPlainText(BoxText(m_logBox.Text()));
    }
    // The newest line in view, as the caret at the end does.
    m_logInfo->moveCursor(QTextCursor::End);
    m_logInfo->ensureCursorVisible();
}

void RunWindow::ShowStatus(std::string_view text) {
    m_status->setText(FromView(text));
}

void RunWindow::ShowStatementCount(std::string_view text) {
    m_statementCount->setText(FromView(text));
}

void RunWindow::ShowErrorCount(std::string_view text) {
    m_errorCount->setText(FromView(text));
}

void RunWindow::ShowFunctionLabel(std::string_view text) {
    m_functionLabel->setText(FromView(text));
}

void RunWindow::ShowRecordProgress(std::string_view text) {
    m_recordCount->setText(FromView(text));
}

void RunWindow::LetPendingEventsRun() {
    QCoreApplication::processEvents();
}

void ShowRunWindow(QWidget* parent, definition::ReportDefinition& definition,
                   const std::string& scriptText, engine::RunOptions& options,
                   engine::RunState& state, const RunAction& run) {
    RunWindow window(definition, scriptText, options, state, run, parent);
    window.exec();
}

} // namespace slidesmith::ui
