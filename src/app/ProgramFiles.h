#pragma once

#include <filesystem>

// Where the program's own files are: the conversion table, the tips, and the start-up log.
namespace slidesmith::app {

inline constexpr const char* kConversionTableName = "sconv.cfg";
inline constexpr const char* kTipsFileName = "stips.txt";

// The running executable (/proc/self/exe, links resolved); empty when the system will not say.
std::filesystem::path ExecutablePath();

// The executable's folder when it holds the conversion table (a build folder, or a program
// unpacked into one folder); otherwise <prefix>/share/slidesmith, with <prefix> the folder
// above the executable's (an installed program lives in <prefix>/bin).
std::filesystem::path FindApplicationFolder(const std::filesystem::path& executable);

// The executable's file name with its extension replaced by ".log" ("slidesmith.log").
std::filesystem::path StartupLogName(const std::filesystem::path& executable);

// Where start-up errors go when the application folder cannot take them (an installed program
// in a read-only prefix): $XDG_STATE_HOME/slidesmith, or ~/.local/state/slidesmith when unset.
// Empty when no home is known.
std::filesystem::path StartupLogFallbackFolder();

} // namespace slidesmith::app
