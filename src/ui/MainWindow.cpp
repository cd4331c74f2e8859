#include "ui/MainWindow.h"

#include "definition/DefinitionFile.h"
#include "engine/ApplicationInfo.h"
#include "platform/settings/SettingNames.h"
#include "ui/AboutDialog.h"
#include "ui/DesktopServices.h"
#include "ui/EditorWindow.h"
#include "ui/FileDialogService.h"
#include "ui/MessageService.h"
#include "ui/OptionsDialog.h"
#include "ui/TipDialog.h"
#include "ui/ToolbarIcons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QToolBar>
#include <cmath>

namespace slidesmith::ui {

namespace {

constexpr double kTwipsPerInch = 1440.0;
const QString kDefinitionFilter =
    QStringLiteral("Slidemill Files (*.slm)|*.slm|All Type Files (*.*)|*.*");

QString ApplicationTitle() {
    const auto title = engine::kApplicationTitle;
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

// Shows the busy pointer for as long as it lives.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

QAction* AddMenuItem(QMenu* menu, QWidget* owner, const char* name, const QString& caption,
                     const QKeySequence& key) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
        action->setShortcut(key);
    }
    menu->addAction(action);
    return action;
}

QAction* AddMenuSeparator(QMenu* menu, QWidget* owner, const char* name) {
    auto* separator = new QAction(owner);
    separator->setObjectName(QString::fromLatin1(name));
    separator->setSeparator(true);
    menu->addAction(separator);
    return separator;
}

QMenu* NewMenu(QWidget* owner, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, owner);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

void ShowRecentFiles(const RecentFileList& list,
                     const std::array<QAction*, RecentFileList::kSlotCount>& actions) {
    for (std::size_t slot = 0; slot < actions.size(); ++slot) {
        const RecentFileSlot& entry = list.Slots()[slot];
        actions[slot]->setText(QString::fromStdString(entry.Caption));
        actions[slot]->setVisible(entry.Visible);
        actions[slot]->setEnabled(entry.Enabled);
    }
}

MainWindow::MainWindow(app::InteractiveSession& session, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_settings(settings::SettingsStore::DefaultPath()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(QIcon(ApplicationLogo(64)));

    m_pages = new QStackedWidget(this);
    auto* background = new QWidget(m_pages);
    background->setBackgroundRole(QPalette::Dark);
    background->setAutoFillBackground(true);
    m_pages->addWidget(background);
    m_editor = new EditorWindow(*this, m_pages);
    m_pages->addWidget(m_editor);
    setCentralWidget(m_pages);

    BuildMenus();
    BuildToolbar();
    m_recentFiles.Load(m_settings);
    RefreshRecentFileMenus();
    SetEditorActive(false);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus() {
    QMenu* file = NewMenu(this, "mnuFile", QStringLiteral("&File"));
    connect(AddMenuItem(file, this, "mnuFNew", QStringLiteral("&New"),
                        QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &MainWindow::OpenNewDefinition);
    connect(AddMenuItem(file, this, "mnuFOpen", QStringLiteral("&Open..."),
                        QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &MainWindow::ChooseAndOpenDefinition);
    AddMenuSeparator(file, this, "mnuFDelimiter1");
    QMenu* recent = NewMenu(this, "mnuFRecentFiles", QStringLiteral("Recent &Files"));
    file->addMenu(recent);
    for (std::size_t slot = 0; slot < m_recentActions.size(); ++slot) {
        const std::string name = "mnuFRecentFile" + std::to_string(slot);
        QAction* action = AddMenuItem(recent, this, name.c_str(), QString());
        connect(action, &QAction::triggered, this, [this, slot] {
            OpenDefinitionFile(QString::fromStdString(m_recentFiles.Slots()[slot].Caption));
        });
        m_recentActions[slot] = action;
    }
    AddMenuSeparator(file, this, "mnuFDelimiter2");
    connect(AddMenuItem(file, this, "mnuFExit", QStringLiteral("E&xit")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* tools = NewMenu(this, "mnuTools", QStringLiteral("&Tools"));
    connect(AddMenuItem(tools, this, "mnuOption", QStringLiteral("&Option...")),
            &QAction::triggered, this, &MainWindow::ShowOptions);
    m_frameMenus = {file, tools, BuildHelpMenu(this, false)};
}

QMenu* MainWindow::BuildHelpMenu(QWidget* owner, bool forEditor) {
    QMenu* help = NewMenu(owner, forEditor ? "mnuHelp" : "munHelp", QStringLiteral("&Help"));
    connect(AddMenuItem(help, owner, "mnuHContent", QStringLiteral("&Help Content"),
                        QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &MainWindow::ShowHelpContents);
    connect(AddMenuItem(help, owner, "mnuHTutorial", QStringLiteral("T&utorial")),
            &QAction::triggered, this, [this] { ShowHelpTopic(kHelpTutorial); });
    AddMenuSeparator(help, owner, forEditor ? "mnuHDelimiter1" : "munHDelimiter1");
    connect(AddMenuItem(help, owner, forEditor ? "mnuHTipday" : "mnuHTipDay",
                        QStringLiteral("Tip of the &Day")),
            &QAction::triggered, this, &MainWindow::ShowTipOfTheDay);
    connect(AddMenuItem(help, owner, "mnuHTip", QStringLiteral("Hints and &Tips")),
            &QAction::triggered, this, [this] { ShowHelpTopic(kHelpHintsAndTips); });
    connect(AddMenuItem(help, owner, "mnuHKeys", QStringLiteral("Shortcut &Keys")),
            &QAction::triggered, this, [this] { ShowHelpTopic(kHelpShortcutKeys); });
    AddMenuSeparator(help, owner, forEditor ? "mnuHDelimiter2" : "munHDelimiter2");
    connect(AddMenuItem(help, owner, "mnuHHomepage", QStringLiteral("Home &Page")),
            &QAction::triggered, this,
            [this] { OpenAddress(this, QString::fromLatin1(kHomePageAddress)); });
    connect(AddMenuItem(help, owner, "mnuHSupport", QStringLiteral("&Support")),
            &QAction::triggered, this,
            [this] { OpenAddress(this, QString::fromLatin1(kSupportAddress)); });
    AddMenuSeparator(help, owner, "mnuHDelimiter3");
    connect(AddMenuItem(help, owner, "mnuHAbout", QStringLiteral("&About...")), &QAction::triggered,
            this, &MainWindow::ShowAbout);
    return help;
}

void MainWindow::BuildToolbar() {
    m_toolbar = addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setObjectName(QStringLiteral("tlbMain"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    const char* const keys[] = {"New",  "Open", "Save", "Template", "Report",
                                "-",    "Cut",  "Copy", "Paste",    "Undo",
                                "Find", "Goto", "-",    "Start",    "Help"};
    for (const char* key : keys) {
        const QString name = QString::fromLatin1(key);
        if (name == QLatin1String("-")) {
            m_editorOnlyToolbarItems.push_back(m_toolbar->addSeparator());
            continue;
        }
        QString tip = name;
        if (name == QLatin1String("Template")) {
            tip = QStringLiteral("Open Template");
        } else if (name == QLatin1String("Report")) {
            tip = QStringLiteral("Open Report");
        }
        QAction* action = m_toolbar->addAction(ToolbarIcon(name, style()), tip);
        action->setObjectName(QStringLiteral("tlb") + name);
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, [this, name] { OnToolbarButton(name); });
        m_toolbarActions[name] = action;
        if (name != QLatin1String("New") && name != QLatin1String("Open") &&
            name != QLatin1String("Help")) {
            m_editorOnlyToolbarItems.push_back(action);
        }
    }
}

QAction* MainWindow::ToolbarAction(const QString& key) const {
    const auto found = m_toolbarActions.find(key);
    return found == m_toolbarActions.end() ? nullptr : found->second;
}

void MainWindow::OnToolbarButton(const QString& key) {
    if (key == QLatin1String("Help")) {
        ShowHelpContents();
        return;
    }
    if (!IsEditorOpen()) {
        if (key == QLatin1String("New")) {
            OpenNewDefinition();
        } else if (key == QLatin1String("Open")) {
            ChooseAndOpenDefinition();
        }
        return;
    }
    m_editor->TriggerToolbarCommand(key);
}

void MainWindow::SetEditorActive(bool active) {
    for (QAction* item : m_editorOnlyToolbarItems) {
        item->setVisible(active);
    }
    menuBar()->clear();
    if (active) {
        for (QMenu* menu : m_editor->Menus()) {
            menuBar()->addMenu(menu);
        }
    } else {
        for (QMenu* menu : m_frameMenus) {
            menuBar()->addMenu(menu);
        }
    }
}

bool MainWindow::IsEditorOpen() const {
    return m_pages->currentWidget() == m_editor;
}

void MainWindow::RefreshRecentFileMenus() {
    ShowRecentFiles(m_recentFiles, m_recentActions);
    m_editor->RefreshRecentFiles();
}

void MainWindow::AddRecentFile(const QString& path) {
    m_recentFiles.Add(path.toStdString());
    RefreshRecentFileMenus();
}

QString MainWindow::StartFolder() const {
    const std::string& current = m_session.Definition.CurrentPath;
    if (!current.empty()) {
        return QFileInfo(QString::fromStdString(current)).absolutePath();
    }
    return QString::fromStdString(m_settings.GetSettingText(
        settings::kOptionsKey, settings::kDefaultDirectory, settings::kDefaultDefaultDirectory));
}

bool MainWindow::ChooseAndOpenDefinition() {
    const QString path =
        FileDialogService::Ask(this, {FileDialogRequest::Kind::Open, QStringLiteral("Open"),
                                      StartFolder(), kDefinitionFilter});
    return !path.isEmpty() && OpenDefinitionFile(path);
}

bool MainWindow::OpenDefinitionFile(const QString& path) {
    std::string script;
    definition::DefinitionOutcome outcome;
    {
        BusyPointer busy;
        outcome = definition::OpenDefinition(path.toStdString(), m_session.Definition, script,
                                             m_session.CodePage);
    }
    if (!outcome.succeeded) {
        ShowErrorBox(this, QString::fromStdString(outcome.message));
        return false;
    }
    m_editor->ShowLoadedDefinition(script);
    m_pages->setCurrentWidget(m_editor);
    SetEditorActive(true);
    m_editor->Activate();
    AddRecentFile(path);
    return true;
}

void MainWindow::OpenNewDefinition() {
    m_editor->ResetToNewDefinition();
    m_pages->setCurrentWidget(m_editor);
    SetEditorActive(true);
    m_editor->Activate();
}

void MainWindow::CloseEditorWindow() {
    m_pages->setCurrentWidget(m_pages->widget(0));
    SetEditorActive(false);
    setWindowTitle(ApplicationTitle());
}

void MainWindow::ShowHelpContents() {
    ShowHelp(this, m_session.ApplicationFolder);
}

void MainWindow::ShowHelpTopic(int context) {
    ShowHelp(this, m_session.ApplicationFolder, context);
}

void MainWindow::ShowTipOfTheDay() {
    auto* tip = new TipDialog(m_session.ApplicationFolder / "stips.txt", m_settings, this);
    tip->setAttribute(Qt::WA_DeleteOnClose);
    tip->open();
}

void MainWindow::ShowAbout() {
    auto* about = new AboutDialog(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

void MainWindow::ShowOptions() {
    auto* options = new OptionsDialog(m_settings, m_session.Options, std::nullopt,
                                      m_editor->DefaultFont(), this);
    options->setAttribute(Qt::WA_DeleteOnClose);
    options->open();
}

void MainWindow::RestoreGeometry() {
    const auto number = [this](std::string_view name, std::int32_t fallback) {
        return m_settings.GetSettingNumber(settings::kOptionsKey, name, fallback);
    };
    const QScreen* display = screen() != nullptr ? screen() : QApplication::primaryScreen();
    const double perTwip =
        (display != nullptr ? display->logicalDotsPerInch() : 96.0) / kTwipsPerInch;
    const auto pixels = [perTwip](std::int32_t twips) {
        return static_cast<int>(std::lround(twips * perTwip));
    };
    // The position is the frame's and the size the client area's, as Qt reports them when
    // saving, so a window does not creep by its decorations from one start to the next.
    resize(pixels(number(settings::kWidth, settings::kDefaultWidth)),
           pixels(number(settings::kHeight, settings::kDefaultHeight)));
    move(pixels(number(settings::kLeft, settings::kDefaultLeft)),
         pixels(number(settings::kTop, settings::kDefaultTop)));
    m_restoreMaximized = number(settings::kWindowState, settings::kDefaultWindowState) == 2;
}

void MainWindow::ShowFromSettings() {
    RestoreGeometry();
    if (m_restoreMaximized) {
        showMaximized();
    } else {
        show();
    }
}

void MainWindow::SaveGeometry() {
    const auto save = [this](std::string_view name, std::int32_t value) {
        m_settings.SaveSettingNumber(settings::kOptionsKey, name, value);
    };
    if (isMaximized()) {
        save(settings::kWindowState, 2);
        return;
    }
    if (isMinimized()) {
        save(settings::kWindowState, 0);
        return;
    }
    const QScreen* display = screen() != nullptr ? screen() : QApplication::primaryScreen();
    const double twipsPerPixel =
        kTwipsPerInch / (display != nullptr ? display->logicalDotsPerInch() : 96.0);
    const auto twips = [twipsPerPixel](int pixels) {
        return static_cast<std::int32_t>(std::lround(pixels * twipsPerPixel));
    };
    save(settings::kLeft, twips(pos().x()));
    save(settings::kTop, twips(pos().y()));
    save(settings::kHeight, twips(height()));
    save(settings::kWidth, twips(width()));
    save(settings::kWindowState, 0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (IsEditorOpen() && !m_editor->SavePrompt()) {
        event->ignore();
        return;
    }
    SaveGeometry();
    m_recentFiles.Save(m_settings);
    if (IsEditorOpen()) {
        CloseEditorWindow();
    }
    event->accept();
}

} // namespace slidesmith::ui
