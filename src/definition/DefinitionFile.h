#pragma once

#include "definition/ReportDefinition.h"

#include <filesystem>
#include <string>
#include <string_view>

// Reading and writing report definition files (.slm).
//
// A definition file is text: a first line "Slidemill Version <v>", the sections [Data Source],
// [File] and optionally [Parameter] read like a private profile, then a line "[SQL]" after which
// every character belongs to the script. The bytes are UTF-8 when they are valid UTF-8 and are
// otherwise decoded from the code page the caller passes (the CodePage setting); saving writes
// them back in the encoding they were read in.
//
// None of these functions throws.
namespace slidesmith::definition {

// The fixed messages of a failed load, for callers that check step by step (batch start-up).
std::string MissingFileMessage(const std::filesystem::path& path);
std::string NotDefinitionFileMessage(const std::filesystem::path& path);
std::string ReadErrorMessage(const std::filesystem::path& path);

// Outcome of an operation whose failure the caller shows in an error box or writes to a log.
struct DefinitionOutcome {
    bool succeeded = true;
    // The message to show or log when !succeeded.
    std::string message;
};

// True when the file's first line begins with the token "Slidemill" (case-sensitive). Then
// definition.Version becomes the third token when the second is "Version", else "2.0"; on
// false the definition is left alone. An empty or unreadable file is not a definition file.
bool IsDefinitionFile(const std::filesystem::path& path, ReportDefinition& definition,
                      std::string_view codePage = kDefaultCodePage);

// Reads the [Data Source], [File] and [Parameter] sections into the definition, replacing
// EncryptPassword, both lists and the four file settings, deciphering passwords when the file
// says EncryptPassword=Y, and clearing the three resolved paths. Also records the file's
// encoding. Missing keys give empty values; a missing Name<i> ends its list. False only when
// the file cannot be read at all.
bool ReadDefinitionSettings(const std::filesystem::path& path, ReportDefinition& definition,
                            std::string_view codePage = kDefaultCodePage);

// The script: every character after the line end of the first line that reads "[SQL]" once
// leading and trailing blanks are removed, decoded to UTF-8. Empty when the file has no such
// line or cannot be read.
std::string ReadDefinitionScript(const std::filesystem::path& path,
                                 std::string_view codePage = kDefaultCodePage);

// Writes the definition and the script as a new file at path, in the definition's
// FileEncoding (UTF-8 instead when a text cannot be represented in that code page), with CR LF
// line ends and passwords enciphered when EncryptPassword is set. The file is replaced whole or
// not at all. On failure the message describes the fault.
DefinitionOutcome WriteDefinitionFile(const std::filesystem::path& path,
                                      const ReportDefinition& definition, std::string_view script);

// Moves an existing file at path to "<path>.bak" (replacing an older backup; failures of this
// step are ignored), then writes the file. On success clears Modified and records the encoding
// written; on failure Modified stays set and the message describes the fault.
DefinitionOutcome SaveDefinitionFile(const std::filesystem::path& path,
                                     ReportDefinition& definition, std::string_view script);

// Resets the definition to a new, unnamed one. EncryptPassword keeps its value; the caller
// empties the editor text.
void NewDefinition(ReportDefinition& definition);

// The load from bytes already read: false, leaving both unchanged, when they do not begin with
// "Slidemill"; otherwise replaces the definition (Version, settings, encoding; CurrentPath and
// Modified are the caller's) and the script.
bool ParseDefinition(std::string_view bytes, ReportDefinition& definition, std::string& script,
                     std::string_view codePage = kDefaultCodePage);

// The checked load behind the open commands: reads the file once and replaces the definition
// (CurrentPath = path, Modified cleared) and the script. Fails, leaving both unchanged, with
// MissingFileMessage, or with NotDefinitionFileMessage when the file is empty, unreadable or
// does not begin with "Slidemill".
DefinitionOutcome OpenDefinition(const std::filesystem::path& path, ReportDefinition& definition,
                                 std::string& script, std::string_view codePage = kDefaultCodePage);

} // namespace slidesmith::definition
