#pragma once

#include "definition/ConversionTable.h"

#include <string>
#include <string_view>
#include <vector>

// How the configuration dialog derives and corrects report and log file names. Names may be
// written with "\" (definitions made on the desktop platform) or "/": both separate folders, and a
// derived name keeps the separator its template uses.
namespace slidesmith::ui {

// Blanks (space, tab) removed at both ends.
std::string TrimBlanks(std::string_view text);

// The text after the last "." of the last path element; empty when it has none.
std::string FileExtension(std::string_view path);

// The extensions of a conversion-table row, in order: "ppt pps" gives {"ppt", "pps"}.
std::vector<std::string> SplitExtensions(std::string_view extensionText);

// The report name brought in line with the selected file type (nullptr: the default type, which
// takes the template's extension). A name that already carries one of the type's extensions
// (compared without regard to case, as file names on the desktop platform are) is kept;
// otherwise its extension is replaced, or removed when there is none to give. An empty name
// stays empty.
std::string ApplyFileType(std::string_view reportName, const definition::ConversionFormat* type,
                          std::string_view templateName);

// "<template folder>Report<sep><template base>.<ext>", ext as in ApplyFileType.
std::string DefaultReportName(std::string_view templateName,
                              const definition::ConversionFormat* type);

// "<template folder>Log<sep><template base>.log".
std::string DefaultLogName(std::string_view templateName);

} // namespace slidesmith::ui
