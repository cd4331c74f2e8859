#include "ui/ReportFileNames.h"

#include <algorithm>
#include <cctype>

namespace slidesmith::ui {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Index just past the last separator: where the last path element begins.
std::size_t ElementStart(std::string_view path) {
    auto it = std::find_if(path.rbegin(), path.rend(), IsSeparator);
    return static_cast<std::size_t>(path.rend() - it);
}

// Position of the extension's dot in the last element, or npos.
std::size_t ExtensionDot(std::string_view path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < ElementStart(path))
        return std::string_view::npos;
    return dot;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The extension new names get: the type's first, or the template's own for the default type.
std::string TargetExtension(const definition::ConversionFormat* type,
                            std::string_view templateName) {
    if (type == nullptr)
        return FileExtension(templateName);
    std::vector<std::string> extensions = SplitExtensions(type->Extensions);
    return extensions.empty() ? std::string() : extensions.front();
}

// The folder of the template with its separator, plus the sub-folder for derived files.
std::string DerivedFolder(std::string_view templateName, std::string_view subFolder) {
    std::size_t start = ElementStart(templateName);
    std::string folder(templateName.substr(0, start));
    char separator = '/';
    if (start > 0)
        separator = templateName[start - 1];
    else if (templateName.find('\\') != std::string_view::npos)
        separator = '\\';
    return folder + std::string(subFolder) + separator;
}

std::string BaseWithoutExtension(std::string_view path) {
    std::size_t start = ElementStart(path);
    std::size_t dot = ExtensionDot(path);
    std::size_t end = dot == std::string_view::npos ? path.size() : dot;
    return std::string(path.substr(start, end - start));
}

} // namespace

std::string TrimBlanks(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && isBlank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::string FileExtension(std::string_view path) {
    std::size_t dot = ExtensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

std::vector<std::string> SplitExtensions(std::string_view extensionText) {
    std::vector<std::string> result;
    std::size_t pos = 0;
    while (pos < extensionText.size()) {
        std::size_t end = extensionText.find_first_of(" \t", pos);
        if (end == std::string_view::npos)
            end = extensionText.size();
        if (end > pos)
            result.emplace_back(extensionText.substr(pos, end - pos));
        pos = end + 1;
    }
    return result;
}

std::string ApplyFileType(std::string_view reportName, const definition::ConversionFormat* type,
                          std::string_view templateName) {
    std::string name = TrimBlanks(reportName);
    if (name.empty())
        return name;
    std::string current = FileExtension(name);
    if (type != nullptr) {
        for (const std::string& extension : SplitExtensions(type->Extensions)) {
            if (!current.empty() && EqualIgnoringCase(current, extension))
                return name;
        }
    }
    std::size_t dot = ExtensionDot(name);
    if (dot != std::string::npos)
        name.erase(dot);
    std::string extension = TargetExtension(type, TrimBlanks(templateName));
    if (!extension.empty())
        name += "." + extension;
    return name;
}

std::string DefaultReportName(std::string_view templateName,
                              const definition::ConversionFormat* type) {
    std::string name = DerivedFolder(templateName, "Report") + BaseWithoutExtension(templateName);
    std::string extension = TargetExtension(type, templateName);
    if (!extension.empty())
        name += "." + extension;
    return name;
}

std::string DefaultLogName(std::string_view templateName) {
    return DerivedFolder(templateName, "Log") + BaseWithoutExtension(templateName) + ".log";
}

} // namespace slidesmith::ui
