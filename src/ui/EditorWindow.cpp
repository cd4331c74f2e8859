#include "ui/EditorWindow.h"

#include "definition/DefinitionFile.h"
#include "engine/ApplicationInfo.h"
#include "platform/settings/SettingNames.h"
#include "ui/DesktopServices.h"
#include "ui/FileDialogService.h"
#include "ui/FindDialog.h"
#include "ui/GotoDialog.h"
#include "ui/MainWindow.h"
#include "ui/MessageService.h"
#include "ui/OptionsDialog.h"
#include "ui/ReportCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace slidesmith::ui {

namespace fs = std::filesystem;

namespace {

// The text box would split a line at a lone CR, which the definition keeps inside its line; it
// is shown as the control-picture character instead and written back as CR.
constexpr char16_t kLoneCarriageReturn = u'\u240D';

const QString kDefinitionFilter =
    QStringLiteral("Slidemill Files (*.slm)|*.slm|All Type Files (*.*)|*.*");

// Longest path and file-name component the file system takes; longer names cannot be files.
constexpr std::size_t kMaxPathBytes = 4095;
constexpr std::size_t kMaxNameBytes = 255;

bool IsWellFormedPath(const std::string& name) {
    if (name.empty() || name.size() > kMaxPathBytes || name.find('\0') != std::string::npos) {
        return false;
    }
    for (const auto& part : fs::path(name)) {
        if (part.native().size() > kMaxNameBytes) {
            return false;
        }
    }
    return true;
}

} // namespace

EditorWindow::EditorWindow(MainWindow& frame, QWidget* parent) : QWidget(parent), m_frame(frame) {
    setObjectName(QStringLiteral("frmEdit"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("txtEdit"));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_defaultFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // The system font is often an alias ("monospace"); the options list real family names.
    m_defaultFont.setFamily(QFontInfo(m_defaultFont).family());
    m_text->setFont(m_defaultFont);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);

    BuildFileMenu();
    BuildEditMenu();
    BuildOtherMenus();

    connect(m_text->document(), &QTextDocument::contentsChanged, this, [this] {
        if (!m_loading) {
            m_frame.Session().Definition.Modified = true;
        }
    });
    connect(m_text, &QPlainTextEdit::selectionChanged, this, &EditorWindow::SetEditBtn);
    connect(m_text, &QPlainTextEdit::cursorPositionChanged, this, &EditorWindow::SetEditBtn);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &EditorWindow::SetEditBtn);
    UpdateCaption();
}

QAction* EditorWindow::Action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void EditorWindow::BuildFileMenu() {
    QMenu* file = NewMenu(this, "mnuFile", QStringLiteral("&File"));
    connect(AddMenuItem(file, this, "mnuFNew", QStringLiteral("&New"),
                        QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &EditorWindow::NewCommand);
    connect(AddMenuItem(file, this, "mnuFOpen", QStringLiteral("&Open..."),
                        QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &EditorWindow::OpenCommand);
    connect(AddMenuItem(file, this, "mnuFClose", QStringLiteral("&Close")), &QAction::triggered,
            this, &EditorWindow::CloseCommand);
    AddMenuSeparator(file, this, "mnuFDelimiter1");
    connect(AddMenuItem(file, this, "mnuFSave", QStringLiteral("&Save"),
                        QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, &EditorWindow::Save);
    connect(AddMenuItem(file, this, "mnuFSaveAs", QStringLiteral("Save &As...")),
            &QAction::triggered, this, &EditorWindow::SaveAs);
    AddMenuSeparator(file, this, "mnuFDelimiter2");
    auto& definition = m_frame.Session().Definition;
    connect(AddMenuItem(file, this, "mnuFTemplate", QStringLiteral("Open Report &Template")),
            &QAction::triggered, this, [this, &definition] {
                OpenNamedFile(definition.TemplateFileName, QStringLiteral("Report template file"),
                              false);
            });
    connect(AddMenuItem(file, this, "mnuFReport", QStringLiteral("Open &Report File")),
            &QAction::triggered, this, [this, &definition] {
                OpenNamedFile(definition.ReportFileName, QStringLiteral("Report file"), false);
            });
    connect(AddMenuItem(file, this, "mnuFLog", QStringLiteral("Open &Log File")),
            &QAction::triggered, this, [this, &definition] {
                OpenNamedFile(definition.LogFileName, QStringLiteral("Log file"), true);
            });
    AddMenuSeparator(file, this, "mnuFDelimiter3");
    QMenu* recent = NewMenu(this, "mnuFRecentFiles", QStringLiteral("Recent &Files"));
    file->addMenu(recent);
    for (std::size_t slot = 0; slot < m_recentActions.size(); ++slot) {
        const std::string name = "mnuFRecentFile" + std::to_string(slot);
        m_recentActions[slot] = AddMenuItem(recent, this, name.c_str(), QString());
        connect(m_recentActions[slot], &QAction::triggered, this,
                [this, slot] { OpenRecentCommand(slot); });
    }
    AddMenuSeparator(file, this, "mnuFDelimiter4");
    connect(AddMenuItem(file, this, "mnuFExit", QStringLiteral("E&xit")), &QAction::triggered,
            &m_frame, &QWidget::close);
    connect(file, &QMenu::aboutToShow, this, &EditorWindow::UpdateFileMenu);
    m_menus.push_back(file);
}

void EditorWindow::BuildEditMenu() {
    QMenu* edit = NewMenu(this, "mnuEdit", QStringLiteral("&Edit"));
    // Undo, Cut, Copy and Delete only name their keys: the text box handles those keys itself.
    connect(AddMenuItem(edit, this, "mnuEUndo", QStringLiteral("&Undo\tCtrl+Z")),
            &QAction::triggered, this, [this] {
                m_text->setFocus();
                m_text->undo();
            });
    AddMenuSeparator(edit, this, "mnuEDelimiter1");
    connect(AddMenuItem(edit, this, "mnuECut", QStringLiteral("Cu&t\tCtrl+X")), &QAction::triggered,
            this, [this] {
                m_text->setFocus();
                m_text->cut();
            });
    connect(AddMenuItem(edit, this, "mnuECopy", QStringLiteral("&Copy\tCtrl+C")),
            &QAction::triggered, this, [this] {
                m_text->setFocus();
                m_text->copy();
            });
    // The plain-text box inserts only the clipboard's text, so formatting from a word
    // processor never enters the script.
    connect(AddMenuItem(edit, this, "mnuEPaste", QStringLiteral("&Paste"),
                        QKeySequence(Qt::CTRL | Qt::Key_V)),
            &QAction::triggered, this, [this] {
                m_text->setFocus();
                m_text->paste();
            });
    connect(AddMenuItem(edit, this, "mnuEDelete", QStringLiteral("&Delete\tDel")),
            &QAction::triggered, this, [this] {
                m_text->setFocus();
                QTextCursor cursor = m_text->textCursor();
                if (cursor.hasSelection()) {
                    cursor.removeSelectedText();
                } else {
                    cursor.deleteChar();
                }
            });
    connect(AddMenuItem(edit, this, "mnuESelAll", QStringLiteral("Select &All"),
                        QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, m_text, &QPlainTextEdit::selectAll);
    AddMenuSeparator(edit, this, "mnuEDelimiter2");
    connect(AddMenuItem(edit, this, "mnuEFind", QStringLiteral("&Find..."),
                        QKeySequence(Qt::CTRL | Qt::Key_F)),
            &QAction::triggered, this, [this] { OpenFind(false); });
    connect(
        AddMenuItem(edit, this, "mnuENext", QStringLiteral("Find &Next"), QKeySequence(Qt::Key_F3)),
        &QAction::triggered, this, &EditorWindow::FindNext);
    connect(AddMenuItem(edit, this, "mnuEReplace", QStringLiteral("&Replace..."),
                        QKeySequence(Qt::CTRL | Qt::Key_H)),
            &QAction::triggered, this, [this] { OpenFind(true); });
    connect(AddMenuItem(edit, this, "mnuEGoTo", QStringLiteral("&Go To..."),
                        QKeySequence(Qt::CTRL | Qt::Key_G)),
            &QAction::triggered, this, &EditorWindow::OpenGoto);
    m_menus.push_back(edit);
}

void EditorWindow::BuildOtherMenus() {
    QMenu* report = NewMenu(this, "mnuReport", QStringLiteral("&Report"));
    connect(AddMenuItem(report, this, "mnuRConfiguration", QStringLiteral("&Configuration..."),
                        QKeySequence(Qt::Key_F2)),
            &QAction::triggered, this, [this] {
                if (OpenReportConfiguration(this, m_frame.Session()))
                    UpdateCaption();
            });
    AddMenuSeparator(report, this, "mnuRDelimiter");
    connect(AddMenuItem(report, this, "mnuRRun", QStringLiteral("&Run"), QKeySequence(Qt::Key_F5)),
            &QAction::triggered, this,
            [this] { RunReportFromEditor(this, m_frame.Session(), ScriptText()); });
    QMenu* tools = NewMenu(this, "mnuTools", QStringLiteral("&Tools"));
    connect(AddMenuItem(tools, this, "mnuTOption", QStringLiteral("&Option...")),
            &QAction::triggered, this, &EditorWindow::OpenOptions);
    m_menus.push_back(report);
    m_menus.push_back(tools);
    m_menus.push_back(m_frame.BuildHelpMenu(this, true));
}

std::string EditorWindow::ScriptText() const {
    QString text = m_text->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    text.replace(QChar(kLoneCarriageReturn), QLatin1Char('\r'));
    return text.toStdString();
}

bool EditorWindow::IsChanged() const {
    return m_frame.Session().Definition.Modified;
}

void EditorWindow::ShowLoadedDefinition(const std::string& script) {
    QString text = QString::fromStdString(script);
    // The text box keeps one line-end character; files get CR LF back when saved.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QChar(kLoneCarriageReturn));
    m_loading = true;
    m_text->setPlainText(text);
    m_loading = false;
    m_frame.Session().Definition.Modified = false;
    UpdateCaption();
}

void EditorWindow::ResetToNewDefinition() {
    definition::NewDefinition(m_frame.Session().Definition);
    ShowLoadedDefinition(std::string());
}

void EditorWindow::Activate() {
    const auto& store = m_frame.Settings();
    QFont font = m_defaultFont;
    font.setFamily(QString::fromStdString(store.GetSettingText(
        settings::kOptionsKey, settings::kFontName, m_defaultFont.family().toStdString())));
    const std::int32_t size = store.GetSettingNumber(settings::kOptionsKey, settings::kFontSize,
                                                     m_defaultFont.pointSize());
    if (size > 0) {
        font.setPointSize(size);
    }
    ApplyFont(font);
    RefreshRecentFiles();
    UpdateCaption();
    SetEditBtn();
    m_text->setFocus();
}

void EditorWindow::ApplyFont(const QFont& font) {
    m_text->setFont(font);
}

void EditorWindow::UpdateCaption() {
    const std::string& path = m_frame.Session().Definition.CurrentPath;
    const QString caption = path.empty() ? QStringLiteral("Noname")
                                         : QFileInfo(QString::fromStdString(path)).fileName();
    setWindowTitle(caption);
    const auto title = engine::kApplicationTitle;
    m_frame.setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())) +
                           QStringLiteral(" - [") + caption + QStringLiteral("]"));
}

void EditorWindow::SetEditBtn() {
    const auto& definition = m_frame.Session().Definition;
    const bool hasSelection = m_text->textCursor().hasSelection();
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    const bool canPaste = clipboard != nullptr && clipboard->hasText();
    const auto enable = [this](const char* key, bool enabled) {
        if (QAction* button = m_frame.ToolbarAction(QString::fromLatin1(key))) {
            button->setEnabled(enabled);
        }
    };
    enable("Template", !definition.TemplateFileName.empty());
    enable("Report", !definition.ReportFileName.empty());
    enable("Cut", hasSelection);
    enable("Copy", hasSelection);
    enable("Paste", canPaste);
    Action("mnuECut")->setEnabled(hasSelection);
    Action("mnuECopy")->setEnabled(hasSelection);
    Action("mnuEDelete")->setEnabled(hasSelection);
    Action("mnuEPaste")->setEnabled(canPaste);
    UpdateFileMenu();
}

void EditorWindow::UpdateFileMenu() {
    const auto& definition = m_frame.Session().Definition;
    Action("mnuFTemplate")->setEnabled(!definition.TemplateFileName.empty());
    Action("mnuFReport")->setEnabled(!definition.ReportFileName.empty());
    Action("mnuFLog")->setEnabled(!definition.LogFileName.empty());
    RefreshRecentFiles();
}

void EditorWindow::RefreshRecentFiles() {
    ShowRecentFiles(m_frame.RecentFiles(), m_recentActions);
}

void EditorWindow::TriggerToolbarCommand(const QString& key) {
    static const std::pair<const char*, const char*> kCommands[] = {
        {"New", "mnuFNew"},           {"Open", "mnuFOpen"},     {"Save", "mnuFSave"},
        {"Template", "mnuFTemplate"}, {"Report", "mnuFReport"}, {"Cut", "mnuECut"},
        {"Copy", "mnuECopy"},         {"Paste", "mnuEPaste"},   {"Undo", "mnuEUndo"},
        {"Find", "mnuEFind"},         {"Goto", "mnuEGoTo"},     {"Start", "mnuRRun"}};
    for (const auto& [button, item] : kCommands) {
        if (key == QLatin1String(button)) {
            Action(item)->trigger();
            return;
        }
    }
}

bool EditorWindow::SavePrompt() {
    if (!IsChanged()) {
        return true;
    }
    const int answer = MessageService::Question(
        this, QStringLiteral("The file has changed.\nDo you want to save the changes?"), true);
    if (answer == kAnswerCancel) {
        return false;
    }
    if (answer == kAnswerYes) {
        return Save();
    }
    return true;
}

bool EditorWindow::Save() {
    auto& definition = m_frame.Session().Definition;
    if (definition.CurrentPath.empty()) {
        return SaveAs();
    }
    if (!IsChanged()) {
        return true;
    }
    const auto outcome =
        definition::SaveDefinitionFile(definition.CurrentPath, definition, ScriptText());
    if (!outcome.succeeded) {
        ShowErrorBox(this, QString::fromStdString(outcome.message));
        return false;
    }
    return true;
}

bool EditorWindow::SaveAs() {
    const QString path =
        FileDialogService::Ask(this, {FileDialogRequest::Kind::Save, QStringLiteral("Save As"),
                                      m_frame.StartFolder(), kDefinitionFilter});
    if (path.isEmpty()) {
        return false;
    }
    auto& definition = m_frame.Session().Definition;
    const auto outcome =
        definition::SaveDefinitionFile(path.toStdString(), definition, ScriptText());
    if (!outcome.succeeded) {
        ShowErrorBox(this, QString::fromStdString(outcome.message));
        return false;
    }
    definition.CurrentPath = path.toStdString();
    definition.Modified = false;
    UpdateCaption();
    m_frame.AddRecentFile(path);
    return true;
}

void EditorWindow::NewCommand() {
    if (SavePrompt()) {
        m_frame.OpenNewDefinition();
    }
}

void EditorWindow::OpenCommand() {
    if (SavePrompt()) {
        m_frame.ChooseAndOpenDefinition();
    }
}

void EditorWindow::OpenRecentCommand(std::size_t slot) {
    if (SavePrompt()) {
        m_frame.OpenDefinitionFile(
            QString::fromStdString(m_frame.RecentFiles().Slots()[slot].Caption));
    }
}

void EditorWindow::CloseCommand() {
    if (SavePrompt()) {
        m_frame.CloseEditorWindow();
    }
}

void EditorWindow::OpenNamedFile(const std::string& name, const QString& kind, bool isLog) {
    const QString shown = QString::fromStdString(name);
    if (!IsWellFormedPath(name)) {
        ShowErrorBox(this, QStringLiteral("%1 \"%2\" is not named correctly.").arg(kind, shown));
        return;
    }
    // Names written on the old desktop separate folders with backslashes.
    fs::path file(name);
    const std::string& current = m_frame.Session().Definition.CurrentPath;
    std::error_code error;
    const auto resolve = [&current](fs::path candidate) {
        if (candidate.is_relative() && !current.empty()) {
            candidate = fs::path(current).parent_path() / candidate;
        }
        return candidate;
    };
    fs::path resolved = resolve(file);
    if (!fs::exists(resolved, error) && name.find('\\') != std::string::npos) {
        std::string forward = name;
        std::replace(forward.begin(), forward.end(), '\\', '/');
        resolved = resolve(fs::path(forward));
    }
    if (!fs::exists(resolved, error)) {
        ShowErrorBox(this, QStringLiteral("%1 \"%2\" does not exist.").arg(kind, shown));
        return;
    }
    const std::string logEditor = m_frame.Settings().GetSettingText(
        settings::kOptionsKey, settings::kLogEditor, settings::kDefaultLogEditor);
    if (isLog && !logEditor.empty()) {
        OpenWithProgram(this, QString::fromStdString(logEditor), resolved);
        return;
    }
    OpenDocument(this, resolved);
}

void EditorWindow::OpenFind(bool replaceTab) {
    if (m_findDialog == nullptr) {
        m_findDialog = new FindDialog(*m_text, m_frame.Search(), this);
    }
    m_findDialog->Prepare(replaceTab);
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

void EditorWindow::FindNext() {
    if (!m_frame.Search().FindText.isEmpty()) {
        FindNextInEditor(*m_text, m_frame.Search());
    }
}

void EditorWindow::OpenGoto() {
    auto* dialog = new GotoDialog(*m_text, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void EditorWindow::OpenOptions() {
    auto* dialog = new OptionsDialog(m_frame.Settings(), m_frame.Session().Options, m_text->font(),
                                     m_defaultFont, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        if (const auto font = dialog->ChosenFont()) {
            ApplyFont(*font);
        }
    });
    dialog->open();
}

} // namespace slidesmith::ui
