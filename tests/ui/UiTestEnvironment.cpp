#include "UiTestEnvironment.h"

#include <QFile>
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
