#pragma once

#include <QString>
#include <filesystem>

class QWidget;

// Opening things outside the program: the help pages, web addresses, and documents with the
// program the desktop associates with their type.
namespace slidesmith::ui {

// Help topics by their classic numeric contexts.
inline constexpr int kHelpTutorial = 30400;
inline constexpr int kHelpHintsAndTips = 80000;
inline constexpr int kHelpShortcutKeys = 70700;

// Placeholders until the product has a real site.
inline constexpr const char* kHomePageAddress = "https://slidesmith.example.org/";
inline constexpr const char* kSupportAddress = "https://slidesmith.example.org/support/";

// The help's contents page: <application folder>/help/index.html.
std::filesystem::path HelpFile(const std::filesystem::path& applicationFolder);

// The page of a context number; the contents page for an unknown number.
std::filesystem::path HelpTopicFile(const std::filesystem::path& applicationFolder, int context);

// Opens the contents page (context 0) or a topic in the default browser; when the help pages
// are missing shows the error box "Help file "<path>" does not exist.".
void ShowHelp(QWidget* parent, const std::filesystem::path& applicationFolder, int context = 0);

// Opens an address in the default browser; an error box when nothing can open it.
void OpenAddress(QWidget* parent, const QString& address);

// Opens a file with its associated program; an error box when the desktop cannot.
void OpenDocument(QWidget* parent, const std::filesystem::path& path);

// Starts program with the file as its one argument, detached; an error box when it cannot run.
void OpenWithProgram(QWidget* parent, const QString& program, const std::filesystem::path& path);

} // namespace slidesmith::ui
