#include "definition/DefinitionFile.h"

#include "definition/PasswordCipher.h"
#include "definition/ProfileReader.h"
#include "platform/files/FileIo.h"
#include "platform/files/TextEncoding.h"
#include "script/TextScan.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace slidesmith::definition {
namespace {

constexpr std::string_view kLatin1 = "ISO-8859-1";
constexpr std::string_view kCrLf = "\r\n";

std::optional<std::string> ReadBytes(const std::filesystem::path& path) {
    try {
        return files::ReadWholeFile(path);
    } catch (const files::FileError&) {
        return std::nullopt;
    }
}

// Where the settings end and the script begins: the first line that reads "[SQL]" between
// blanks. Without such a line everything is settings and the script is empty.
struct ScriptSplit {
    std::size_t settingsEnd;
    std::size_t scriptStart;
};

ScriptSplit SplitAtScript(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lineStart = pos;
        const std::size_t lf = text.find('\n', pos);
        pos = lf == std::string_view::npos ? text.size() : lf + 1;
        std::string_view line = text.substr(lineStart, pos - lineStart);
        while (!line.empty() && script::IsBlank(line.front()))
            line.remove_prefix(1);
        while (!line.empty() && script::IsBlank(line.back()))
            line.remove_suffix(1);
        if (line == "[SQL]")
            return {lineStart, pos};
    }
    return {text.size(), text.size()};
}

// The first-line check; the version is returned rather than stored so that a file that is not
// a definition leaves the model alone.
std::optional<std::string> DefinitionVersion(std::string_view text) {
    std::size_t pos = 0;
    const std::string firstLine = script::NextLine(text, pos);
    std::size_t tokenPos = 0;
    if (script::GetToken(firstLine, tokenPos, false) != "Slidemill")
        return std::nullopt;
    if (script::GetToken(firstLine, tokenPos, false) != "Version")
        return std::string(kDefaultVersion);
    return script::GetToken(firstLine, tokenPos, false);
}

std::string Indexed(std::string_view key, std::size_t i) {
    return std::string(key) + std::to_string(i);
}

// Bytes of a text as the file holds them; text read from the file always encodes back.
std::string InFileEncoding(std::string_view text, std::string_view encoding) {
    try {
        return files::EncodeFileText(text, encoding, false);
    } catch (const files::EncodingError&) {
        return std::string(text);
    }
}

std::string FromFileEncoding(std::string_view bytes, std::string_view encoding) {
    if (encoding == kUtf8) {
        if (files::IsValidUtf8(bytes))
            return std::string(bytes);
        encoding = kLatin1; // damaged: keep every byte visible
    }
    try {
        return files::DecodeText(bytes, encoding);
    } catch (const files::EncodingError&) {
        return files::DecodeText(bytes, kLatin1);
    }
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Every key a definition's settings may hold.
const std::vector<ProfileReader::Key>& SettingsKeys() {
    static const std::vector<ProfileReader::Key> keys = [] {
        std::vector<ProfileReader::Key> all = {{"Data Source", "EncryptPassword"},
                                               {"File", "ReportTemplateFileName"},
                                               {"File", "ReportFileName"},
                                               {"File", "ReportFileType"},
                                               {"File", "LogFileName"}};
        for (std::size_t i = 1; i <= kMaxListEntries; ++i) {
            for (const char* key : {"Name", "User", "Password", "ConnectionString"})
                all.emplace_back("Data Source", Indexed(key, i));
            for (const char* key : {"Name", "Title", "Default"})
                all.emplace_back("Parameter", Indexed(key, i));
        }
        return all;
    }();
    return keys;
}

void ReadDataSources(const ProfileReader& profile, ReportDefinition& definition) {
    definition.DataSources.clear();
    for (std::size_t i = 1; i <= kMaxListEntries; ++i) {
        DataSourceEntry entry;
        entry.Name = profile.GetValue("Data Source", Indexed("Name", i));
        if (entry.Name.empty())
            break;
        entry.ConnectionString = profile.GetValue("Data Source", Indexed("ConnectionString", i));
        if (entry.ConnectionString.empty()) {
            entry.User = profile.GetValue("Data Source", Indexed("User", i));
            entry.Password = profile.GetValue("Data Source", Indexed("Password", i));
        }
        definition.DataSources.push_back(std::move(entry));
    }
}

// Replaces each stored password by its plain text. The cipher works on the file's bytes, so
// the key and the result go through the file's encoding. A file of plain ASCII reads the same
// in UTF-8 and in the code page; when its deciphered passwords are not UTF-8 it was written in
// the code page, and saving must keep it so.
void DecipherPasswords(ReportDefinition& definition, std::string_view codePage, bool fileIsAscii) {
    std::vector<std::string> deciphered;
    bool allUtf8 = true;
    for (const DataSourceEntry& entry : definition.DataSources) {
        deciphered.push_back(
            DecipherPassword(InFileEncoding(entry.Password, definition.FileEncoding),
                             InFileEncoding(entry.User, definition.FileEncoding)));
        allUtf8 = allUtf8 && files::IsValidUtf8(deciphered.back());
    }
    if (!allUtf8 && fileIsAscii && definition.FileEncoding == kUtf8 &&
        !definition.FileHasByteOrderMark && files::IsKnownEncoding(codePage))
        definition.FileEncoding = codePage;
    for (std::size_t i = 0; i < deciphered.size(); ++i) {
        DataSourceEntry& entry = definition.DataSources[i];
        if (!entry.Password.empty())
            entry.Password = FromFileEncoding(deciphered[i], definition.FileEncoding);
    }
}

void ReadParameters(const ProfileReader& profile, ReportDefinition& definition) {
    definition.Parameters.clear();
    for (std::size_t i = 1; i <= kMaxListEntries; ++i) {
        ParameterEntry entry;
        entry.Name = profile.GetValue("Parameter", Indexed("Name", i));
        if (entry.Name.empty())
            break;
        entry.Title = profile.GetValue("Parameter", Indexed("Title", i));
        entry.Default = profile.GetValue("Parameter", Indexed("Default", i));
        definition.Parameters.push_back(std::move(entry));
    }
}

// Script lines never count as settings, even one that looks like a section header.
void ApplySettings(const files::DecodedText& decoded, std::string_view codePage, bool fileIsAscii,
                   ReportDefinition& definition) {
    definition.FileEncoding = decoded.encoding;
    definition.FileHasByteOrderMark = decoded.byteOrderMark;
    const ScriptSplit split = SplitAtScript(decoded.text);
    const ProfileReader profile(std::string_view(decoded.text).substr(0, split.settingsEnd),
                                SettingsKeys());

    const std::string flag = profile.GetValue("Data Source", "EncryptPassword");
    definition.EncryptPassword = flag == "Y" || flag == "y";
    ReadDataSources(profile, definition);
    if (definition.EncryptPassword)
        DecipherPasswords(definition, codePage, fileIsAscii);

    definition.TemplateFileName = profile.GetValue("File", "ReportTemplateFileName");
    definition.ReportFileName = profile.GetValue("File", "ReportFileName");
    definition.ReportFileType = profile.GetValue("File", "ReportFileType");
    definition.LogFileName = profile.GetValue("File", "LogFileName");
    definition.TemplatePath.clear();
    definition.ReportPath.clear();
    definition.LogPath.clear();
    ReadParameters(profile, definition);
}

std::string ScriptOf(const std::string& text) {
    return text.substr(SplitAtScript(text).scriptStart);
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += value;
    out += kCrLf;
}

// The whole file as UTF-8 text, with passwords enciphered over their bytes in encoding.
// Throws files::EncodingError when a password or user cannot be represented in encoding.
std::string ComposeFile(const ReportDefinition& definition, std::string_view scriptText,
                        std::string_view encoding) {
    std::string out;
    AppendLine(out, "Slidemill Version ", definition.Version);
    AppendLine(out, "[Data Source]", "");
    if (definition.EncryptPassword)
        AppendLine(out, "EncryptPassword=Y", "");
    const std::size_t sources = std::min(definition.DataSources.size(), kMaxListEntries);
    for (std::size_t i = 0; i < sources; ++i) {
        const DataSourceEntry& entry = definition.DataSources[i];
        AppendLine(out, Indexed("Name", i + 1) + "=", entry.Name);
        if (!entry.ConnectionString.empty()) {
            AppendLine(out, Indexed("ConnectionString", i + 1) + "=", entry.ConnectionString);
            continue;
        }
        AppendLine(out, Indexed("User", i + 1) + "=", entry.User);
        const std::string password =
            definition.EncryptPassword
                ? EncipherPassword(files::EncodeFileText(entry.Password, encoding, false),
                                   files::EncodeFileText(entry.User, encoding, false))
                : entry.Password;
        AppendLine(out, Indexed("Password", i + 1) + "=", password);
    }
    out += kCrLf;
    AppendLine(out, "[File]", "");
    const std::pair<const char*, const std::string*> files[] = {
        {"ReportTemplateFileName=", &definition.TemplateFileName},
        {"ReportFileName=", &definition.ReportFileName},
        {"ReportFileType=", &definition.ReportFileType},
        {"LogFileName=", &definition.LogFileName}};
    for (const auto& [key, value] : files) {
        if (!value->empty())
            AppendLine(out, key, *value);
    }
    const std::size_t parameters = std::min(definition.Parameters.size(), kMaxListEntries);
    if (parameters > 0) {
        out += kCrLf;
        AppendLine(out, "[Parameter]", "");
    }
    for (std::size_t i = 0; i < parameters; ++i) {
        const ParameterEntry& entry = definition.Parameters[i];
        AppendLine(out, Indexed("Name", i + 1) + "=", entry.Name);
        AppendLine(out, Indexed("Title", i + 1) + "=", entry.Title);
        AppendLine(out, Indexed("Default", i + 1) + "=", entry.Default);
    }
    out += kCrLf;
    AppendLine(out, "[SQL]", "");
    out += scriptText;
    return out;
}

struct EncodedFile {
    std::string bytes;
    std::string encoding;
};

// The file's bytes in the definition's encoding, or in UTF-8 when some text has no
// representation there: switching keeps every character, where a substitute would lose it.
EncodedFile EncodeFile(const ReportDefinition& definition, std::string_view scriptText) {
    const std::string& encoding = definition.FileEncoding;
    if (encoding != kUtf8) {
        try {
            return {files::EncodeFileText(ComposeFile(definition, scriptText, encoding), encoding,
                                          definition.FileHasByteOrderMark),
                    encoding};
        } catch (const files::EncodingError&) {
            // Falls through to UTF-8, which represents every character.
        }
    }
    return {files::EncodeFileText(ComposeFile(definition, scriptText, kUtf8), kUtf8,
                                  definition.FileHasByteOrderMark),
            kUtf8};
}

DefinitionOutcome Write(const std::filesystem::path& path, const EncodedFile& file) {
    try {
        files::WriteFileAtomically(path, file.bytes);
        return {};
    } catch (const files::FileError& error) {
        return {false, error.what()};
    }
}

} // namespace

std::string MissingFileMessage(const std::filesystem::path& path) {
    return "The file \"" + path.string() + "\" does not exist.";
}

std::string NotDefinitionFileMessage(const std::filesystem::path& path) {
    return "The file \"" + path.string() + "\" is not a Slidemill file.";
}

std::string ReadErrorMessage(const std::filesystem::path& path) {
    return "Error in reading the file \"" + path.string() + "\".";
}

bool IsDefinitionFile(const std::filesystem::path& path, ReportDefinition& definition,
                      std::string_view codePage) {
    const std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes)
        return false;
    const std::optional<std::string> version =
        DefinitionVersion(files::DecodeFileText(*bytes, codePage).text);
    if (!version)
        return false;
    definition.Version = *version;
    return true;
}

bool ReadDefinitionSettings(const std::filesystem::path& path, ReportDefinition& definition,
                            std::string_view codePage) {
    const std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes)
        return false;
    ApplySettings(files::DecodeFileText(*bytes, codePage), codePage, IsAscii(*bytes), definition);
    return true;
}

std::string ReadDefinitionScript(const std::filesystem::path& path, std::string_view codePage) {
    const std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes)
        return {};
    return ScriptOf(files::DecodeFileText(*bytes, codePage).text);
}

DefinitionOutcome WriteDefinitionFile(const std::filesystem::path& path,
                                      const ReportDefinition& definition, std::string_view script) {
    return Write(path, EncodeFile(definition, script));
}

DefinitionOutcome SaveDefinitionFile(const std::filesystem::path& path,
                                     ReportDefinition& definition, std::string_view script) {
    const EncodedFile file = EncodeFile(definition, script);
    std::filesystem::path backup = path;
    backup += ".bak";
    std::error_code ignored; // no backup yet, or no file yet: the save goes on regardless
    std::filesystem::remove(backup, ignored);
    std::filesystem::rename(path, backup, ignored);
    DefinitionOutcome outcome = Write(path, file);
    if (outcome.succeeded) {
        definition.Modified = false;
        definition.FileEncoding = file.encoding;
    }
    return outcome;
}

void NewDefinition(ReportDefinition& definition) {
    const bool encryptPassword = definition.EncryptPassword;
    definition = ReportDefinition();
    definition.EncryptPassword = encryptPassword;
}

bool ParseDefinition(std::string_view bytes, ReportDefinition& definition, std::string& script,
                     std::string_view codePage) {
    const files::DecodedText decoded = files::DecodeFileText(bytes, codePage);
    const std::optional<std::string> version = DefinitionVersion(decoded.text);
    if (!version)
        return false;
    ReportDefinition loaded;
    loaded.Version = *version;
    loaded.CurrentPath = definition.CurrentPath;
    loaded.Modified = definition.Modified;
    ApplySettings(decoded, codePage, IsAscii(bytes), loaded);
    definition = std::move(loaded);
    script = ScriptOf(decoded.text);
    return true;
}

DefinitionOutcome OpenDefinition(const std::filesystem::path& path, ReportDefinition& definition,
                                 std::string& script, std::string_view codePage) {
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return {false, MissingFileMessage(path)};
    const std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes || !ParseDefinition(*bytes, definition, script, codePage))
        return {false, NotDefinitionFileMessage(path)};
    definition.CurrentPath = path.string();
    definition.Modified = false;
    return {};
}

} // namespace slidesmith::definition
