#include "ui/DesktopServices.h"

#include "ui/MessageService.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#include <system_error>

namespace slidesmith::ui {

namespace fs = std::filesystem;

namespace {

QString ToQString(const fs::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

fs::path HelpFile(const fs::path& applicationFolder) {
    return applicationFolder / "help" / "index.html";
}

fs::path HelpTopicFile(const fs::path& applicationFolder, int context) {
    const fs::path folder = applicationFolder / "help";
    switch (context) {
    case kHelpTutorial:
        return folder / "tutorial.html";
    case kHelpHintsAndTips:
        return folder / "hints.html";
    case kHelpShortcutKeys:
        return folder / "keys.html";
    default:
        return HelpFile(applicationFolder);
    }
}

void ShowHelp(QWidget* parent, const fs::path& applicationFolder, int context) {
    const fs::path contents = HelpFile(applicationFolder);
    std::error_code error;
    if (!fs::exists(contents, error)) {
        ShowErrorBox(parent,
                     QStringLiteral("Help file \"%1\" does not exist.").arg(ToQString(contents)));
        return;
    }
    OpenDocument(parent, HelpTopicFile(applicationFolder, context));
}

void OpenAddress(QWidget* parent, const QString& address) {
    if (!QDesktopServices::openUrl(QUrl(address))) {
        ShowErrorBox(parent, QStringLiteral("No application is associated with this file type."));
    }
}

void OpenDocument(QWidget* parent, const fs::path& path) {
    std::error_code error;
    if (!fs::exists(path, error)) {
        ShowErrorBox(parent, QStringLiteral("File not found"));
        return;
    }
    // The desktop says only whether it could hand the file over, not why not; a missing file
    // is caught above, so the one remaining cause worth naming is a missing association.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(path)))) {
        ShowErrorBox(parent, QStringLiteral("No application is associated with this file type."));
    }
}

void OpenWithProgram(QWidget* parent, const QString& program, const fs::path& path) {
    if (!QProcess::startDetached(program, {ToQString(path)})) {
        ShowErrorBox(parent, QStringLiteral("The executable file is invalid or corrupt"));
    }
}

} // namespace slidesmith::ui
