#include "platform/convert/Converter.h"

#include "platform/convert/ChildProcess.h"
#include "platform/convert/ConvertError.h"
#include "platform/convert/TempFolder.h"
#include "platform/files/FileIo.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>
#include <vector>

namespace slidesmith::convert {
namespace {

struct Target {
    std::string_view extension;
    // Named explicitly: with a bare extension LibreOffice picks a filter by document type, and
    // for .pps it picks one that fails to store.
    std::string_view filter;
};

constexpr Target kTargets[] = {
    {"pdf", "impress_pdf_Export"},       {"odp", "impress8"},
    {"ppt", "MS PowerPoint 97"},         {"pps", "MS PowerPoint 97 AutoPlay"},
    {"pot", "MS PowerPoint 97 Vorlage"}, {"pptx", "Impress MS PowerPoint 2007 XML"},
};

std::string NormaliseExtension(std::string_view extension) {
    if (!extension.empty() && extension.front() == '.') {
        extension.remove_prefix(1);
    }
    std::string lower(extension);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// LibreOffice takes its profile folder as a file URL; blanks and other bytes are escaped.
std::string FileUrl(const std::filesystem::path& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const unsigned char c : path.string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0xF];
        }
    }
    return url;
}

// LibreOffice's error lines, without its chatter about Java and fonts; all of its output when
// it wrote no error line.
std::string LibreOfficeMessage(const ProcessResult& result) {
    std::string errors;
    std::string all;
    std::size_t start = 0;
    while (start < result.output.size()) {
        std::size_t end = result.output.find('\n', start);
        end = end == std::string::npos ? result.output.size() : end;
        const std::string line = result.output.substr(start, end - start);
        start = end + 1;
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        std::string& into = line.rfind("Error", 0) == 0 ? errors : all;
        into += (into.empty() ? "" : " ") + line;
    }
    std::string message = !errors.empty() ? errors : all;
    if (result.exitStatus != 0) {
        message += (message.empty() ? "" : " ") + std::string("(exit status ") +
                   std::to_string(result.exitStatus) + ")";
    }
    return message.empty() ? "no output file and no message" : message;
}

// The one file LibreOffice wrote into the otherwise empty output folder, whatever it named it.
std::optional<std::filesystem::path> ProducedFile(const std::filesystem::path& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && entry.file_size(error) > 0 && !error) {
            return entry.path();
        }
    }
    return std::nullopt;
}

void MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (!error) {
        return;
    }
    // The temporary folder may be on another file system, where rename cannot work.
    try {
        files::WriteFileAtomically(to, files::ReadWholeFile(from));
    } catch (const files::FileError& failure) {
        throw ConvertError(failure.what());
    }
}

} // namespace

std::optional<std::filesystem::path> FindLibreOffice() {
    if (auto program = FindProgram("soffice")) {
        return program;
    }
    return FindProgram("libreoffice");
}

void ConvertPresentation(const std::filesystem::path& input,
                         const std::filesystem::path& outputPath, std::string_view targetExtension,
                         std::chrono::milliseconds timeLimit) {
    const std::string extension = NormaliseExtension(targetExtension);
    const auto target = std::find_if(std::begin(kTargets), std::end(kTargets),
                                     [&](const Target& t) { return t.extension == extension; });
    if (target == std::end(kTargets)) {
        throw ConvertError("LibreOffice cannot convert a presentation to \"" + extension + "\"");
    }
    const auto soffice = FindLibreOffice();
    if (!soffice) {
        throw ConvertError("LibreOffice (soffice) is not installed; conversion to " + extension +
                           " is not possible");
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(input, error)) {
        throw ConvertError("\"" + input.string() + "\" cannot be converted to " + extension +
                           ": the file does not exist");
    }

    // Absolute, so a name starting with '-' is not taken for an option.
    const std::filesystem::path source = std::filesystem::absolute(input, error);
    if (error) {
        throw ConvertError("\"" + input.string() + "\" cannot be converted to " + extension + ": " +
                           error.message());
    }

    // LibreOffice refuses to run twice on one profile, so every call gets a profile of its own.
    const TempFolder work("slidesmith-convert");
    const std::filesystem::path outFolder = work.Path() / "out";
    const std::vector<std::string> arguments{
        "-env:UserInstallation=" + FileUrl(work.Path() / "profile"),
        "--headless",
        "--norestore",
        "--convert-to",
        std::string(target->extension) + ":" + std::string(target->filter),
        "--outdir",
        outFolder.string(),
        source.string()};

    const ProcessResult result = RunChildProcess(*soffice, arguments, timeLimit);
    if (result.timedOut) {
        throw ConvertError("LibreOffice did not finish converting \"" + input.string() + "\" to " +
                           extension + " within " + std::to_string(timeLimit.count()) +
                           " ms and was stopped");
    }
    const auto produced = ProducedFile(outFolder);
    if (!produced) {
        throw ConvertError("LibreOffice failed to convert \"" + input.string() + "\" to " +
                           extension + ": " + LibreOfficeMessage(result));
    }
    MoveIntoPlace(*produced, outputPath);
}

} // namespace slidesmith::convert
