#include "ui/DesktopProgram.h"

#include "engine/ApplicationInfo.h"
#include "platform/settings/SettingNames.h"
#include "ui/MainWindow.h"
#include "ui/MessageService.h"

#include <QApplication>
#include <cstdlib>
#include <ostream>
#include <string_view>

namespace slidesmith::ui {

namespace {

constexpr int kExitNoDisplay = 2;

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

bool HasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string_view named = platform != nullptr ? platform : "";
    // The two window-system platforms still need their server; the others (offscreen, vnc,
    // framebuffers) draw without one.
    if (named.starts_with("xcb")) {
        return IsSet("DISPLAY");
    }
    if (named.starts_with("wayland")) {
        return IsSet("WAYLAND_DISPLAY");
    }
    return !named.empty() || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

std::unique_ptr<MainWindow> StartInteractive(app::InteractiveSession& session) {
    if (session.ConversionTable.empty()) {
        const std::filesystem::path table = session.ApplicationFolder / "sconv.cfg";
        MessageService::Information(
            nullptr,
            QStringLiteral("The file \"%1\" does not exist. You can not convert file format.")
                .arg(QString::fromStdString(table.string())));
    }
    auto window = std::make_unique<MainWindow>(session);
    window->ShowFromSettings();
    if (window->Settings().GetSettingNumber(settings::kOptionsKey, settings::kShowTips,
                                            settings::kDefaultShowTips) != 0) {
        window->ShowTipOfTheDay();
    }
    if (!session.Options.DefinitionPath.empty()) {
        window->OpenDefinitionFile(QString::fromStdString(session.Options.DefinitionPath));
    }
    return window;
}

int RunDesktopProgram(int& argc, char** argv, app::InteractiveSession& session, std::ostream& err) {
    if (!HasDisplay()) {
        err << "Slidesmith: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the\n"
               "desktop program cannot start. To run a definition without it, use batch mode:\n"
               "  slidesmith <definition.slm> -C\n";
        return kExitNoDisplay;
    }
    QApplication application(argc, argv);
    const auto title = engine::kApplicationTitle;
    QApplication::setApplicationName(
        QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    const auto version = engine::ApplicationVersion();
    QApplication::setApplicationVersion(
        QString::fromUtf8(version.data(), static_cast<qsizetype>(version.size())));
    const auto window = StartInteractive(session);
    return QApplication::exec();
}

} // namespace slidesmith::ui
