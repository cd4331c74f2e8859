#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The open report definition: everything one report run needs except the script text, which
// the editor holds while the definition is open. One instance lives in the application object;
// the editor and the configuration dialogs change it, a run reads it.
namespace slidesmith::definition {

// Each of the two lists in a definition holds at most this many entries.
inline constexpr std::size_t kMaxListEntries = 10;

// Version given to a new definition and to a file whose first line names no version.
inline constexpr const char* kDefaultVersion = "2.0";

// Encoding of a file that is not valid UTF-8, unless the caller's settings name another one.
inline constexpr const char* kDefaultCodePage = "CP1252";

// Encoding written for new definitions, and the name used for UTF-8 files.
inline constexpr const char* kUtf8 = "UTF-8";

struct DataSourceEntry {
    // DSN form: the ODBC data source name; connection-string form: a label. Statements refer
    // to a data source by this name or by its number.
    std::string Name;
    // Used only in DSN form. The password is always plain text in memory.
    std::string User;
    std::string Password;
    // Not empty means connection-string form; then User and Password are neither read nor
    // written.
    std::string ConnectionString;
};

struct ParameterEntry {
    // The literal text replaced in the script, compared case-sensitively.
    std::string Name;
    // Prompt shown to the user.
    std::string Title;
    // The value substituted; the parameter prompt overwrites it.
    std::string Default;
};

struct ReportDefinition {
    std::string Version = kDefaultVersion;
    // Passwords are stored enciphered in the file.
    bool EncryptPassword = false;
    // Numbered 1..size() in the file; at most kMaxListEntries.
    std::vector<DataSourceEntry> DataSources;
    std::string TemplateFileName;
    std::string ReportFileName;
    // A conversion-table row's name or number; empty means the default format.
    std::string ReportFileType;
    std::string LogFileName;
    // Numbered 1..size() in the file; at most kMaxListEntries.
    std::vector<ParameterEntry> Parameters;
    // Path of the open file; empty for a new, unnamed definition.
    std::string CurrentPath;
    // The model differs from the file. Set by the editor and the dialogs, cleared by load and
    // save.
    bool Modified = false;

    // Resolved absolute paths of the current run. The run driver fills them; loading and
    // resetting a definition clears them.
    std::string TemplatePath;
    std::string ReportPath;
    std::string LogPath;

    // How the file's bytes were encoded, so that saving writes them back the same way:
    // kUtf8 or an iconv code page name, and whether the file began with a UTF-8 byte order
    // mark. In memory every text is UTF-8.
    std::string FileEncoding = kUtf8;
    bool FileHasByteOrderMark = false;
};

} // namespace slidesmith::definition
