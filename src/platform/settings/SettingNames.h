#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The keys and value names the program keeps in the settings store, with the defaults every
// reader passes when a value is missing. Callers use these, never literals, so that the writer
// and the readers of one value cannot drift apart.
namespace slidesmith::settings {

inline constexpr std::string_view kOptionsKey = "SOFTWARE\\Qorvanta\\Slidesmith\\Options";
inline constexpr std::string_view kRecentFilesKey = "SOFTWARE\\Qorvanta\\Slidesmith\\Recent Files";

// Options key. The editor font has no fixed default: readers pass the editor's current font.
inline constexpr std::string_view kFontName = "FontName";                   // text
inline constexpr std::string_view kFontSize = "FontSize";                   // number
inline constexpr std::string_view kLogEditor = "LogEditor";                 // text
inline constexpr std::string_view kDefaultDirectory = "DefaultDirectory";   // text
inline constexpr std::string_view kConnectionTimeout = "ConnectionTimeout"; // number, seconds
inline constexpr std::string_view kCommandTimeout = "CommandTimeout";       // number, seconds
inline constexpr std::string_view kWindowState = "WindowState";             // number
inline constexpr std::string_view kLeft = "Left";                           // number, twips
inline constexpr std::string_view kTop = "Top";                             // number, twips
inline constexpr std::string_view kHeight = "Height";                       // number, twips
inline constexpr std::string_view kWidth = "Width";                         // number, twips
inline constexpr std::string_view kShowTips = "ShowTips";                   // number, 0 or 1
// The 8-bit code page of definition and log files that are not UTF-8 (an iconv name).
inline constexpr std::string_view kCodePage = "CodePage"; // text

// Empty LogEditor: the log opens with the desktop's program for its file type.
inline constexpr std::string_view kDefaultLogEditor = "";
inline constexpr std::string_view kDefaultDefaultDirectory = "";
inline constexpr std::int32_t kDefaultConnectionTimeout = 15;
inline constexpr std::int32_t kDefaultCommandTimeout = 0;
inline constexpr std::int32_t kDefaultWindowState = 0;
inline constexpr std::int32_t kDefaultLeft = 105;
inline constexpr std::int32_t kDefaultTop = 105;
inline constexpr std::int32_t kDefaultHeight = 9000;
inline constexpr std::int32_t kDefaultWidth = 12000;
inline constexpr std::int32_t kDefaultShowTips = 1;
inline constexpr std::string_view kDefaultCodePage = "CP1252";

// Recent Files key: File1 (newest) to File5, text, default empty.
inline constexpr std::array<std::string_view, 5> kRecentFileNames = {"File1", "File2", "File3",
                                                                     "File4", "File5"};
inline constexpr std::string_view kDefaultRecentFile = "";

} // namespace slidesmith::settings
