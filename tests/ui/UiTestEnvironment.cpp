#include "UiTestEnvironment.h"

#include <QDesktopServices>
#include <QFile>
#include <QWidget>
#include <cstdlib>

namespace slidesmith::ui::testing {

namespace {

int g_argc = 1;
char g_programName[] = "slidesmith_ui_tests";
char* g_argv[] = {g_programName, nullptr};

std::unique_ptr<QTemporaryDir>& TemporaryFolder() {
    static std::unique_ptr<QTemporaryDir> folder;
    return folder;
}

std::unique_ptr<QApplication>& Application() {
    static std::unique_ptr<QApplication> application;
    return application;
}

// Registered before main runs, so gtest sets it up before the first test.
[[maybe_unused]] const auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(std::make_unique<UiTestEnvironment>().release());

} // namespace

void UiTestEnvironment::SetUp() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TemporaryFolder() = std::make_unique<QTemporaryDir>();
    qputenv("SLIDESMITH_SETTINGS", Folder().filePath(QStringLiteral("settings.reg")).toUtf8());
    Application() = std::make_unique<QApplication>(g_argc, g_argv);
}

void UiTestEnvironment::TearDown() {
    Application().reset();
    TemporaryFolder().reset();
}

const QTemporaryDir& UiTestEnvironment::Folder() {
    return *TemporaryFolder();
}

void UiTestEnvironment::ResetSettings() {
    QFile::remove(Folder().filePath(QStringLiteral("settings.reg")));
}

} // namespace slidesmith::ui::testing

namespace slidesmith::ui::testing {

DesktopTest::DesktopTest()
    : m_session{m_options,
                m_state,
                m_definition,
                m_table,
                std::filesystem::path(SLIDESMITH_SOURCE_DIR) / "share",
                "CP1252"} {
    UiTestEnvironment::ResetSettings();
    m_table = definition::ReadConversionTable(m_session.ApplicationFolder / "sconv.cfg");
    FileDialogService::SetResponder([this](const FileDialogRequest& request) {
        m_fileRequests.push_back(request);
        if (m_fileAnswers.empty()) {
            return QString();
        }
        QString answer = m_fileAnswers.front();
        m_fileAnswers.erase(m_fileAnswers.begin());
        return answer;
    });
}

DesktopTest::~DesktopTest() {
    FileDialogService::SetResponder({});
    // Dialogs opened without a blocking loop are still around; they must not outlive the test.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        widget->close();
    }
}

QString DesktopTest::PathOf(const QString& name) const {
    return m_folder.filePath(name);
}

QString DesktopTest::WriteFile(const QString& name, const std::string& bytes) const {
    const QString path = PathOf(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

settings::SettingsStore DesktopTest::Store() {
    return settings::SettingsStore(
        UiTestEnvironment::Folder().filePath(QStringLiteral("settings.reg")).toStdString());
}

UrlCatcher::UrlCatcher() {
    for (const char* scheme : {"file", "https"}) {
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
}

UrlCatcher::~UrlCatcher() {
    for (const char* scheme : {"file", "https"}) {
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
}

std::string DefinitionBytes(const std::string& script, const std::string& fileSection) {
    return "Slidemill Version 2.0\r\n[Data Source]\r\n\r\n[File]\r\n" + fileSection +
           "\r\n[SQL]\r\n" + script;
}

} // namespace slidesmith::ui::testing
