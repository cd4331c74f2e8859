#include "platform/files/PathNames.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace slidesmith::files {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

std::size_t LastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}

std::string_view FileNamePart(std::string_view path) {
    std::size_t slash = LastSeparator(path);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

bool IsNetworkPath(std::string_view path) {
    return path.size() > 1 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

bool HasDriveLetter(std::string_view path) {
    return path.size() > 1 && path[1] == ':';
}

std::string ToSlashes(std::string_view path) {
    std::string result(path);
    if (HasDriveLetter(path))
        return result;
    for (char& c : result) {
        if (c == '\\')
            c = '/';
    }
    return result;
}

std::string MakeAbsolute(std::string_view baseFolder, std::string_view name) {
    if (HasDriveLetter(name))
        return std::string(name);
    std::filesystem::path path(ToSlashes(name));
    if (!path.is_absolute())
        path = std::filesystem::path(ToSlashes(baseFolder)) / path;
    std::string result = path.lexically_normal().string();
    // "a/b/" names a folder, not a file; keep the name as the user meant it.
    if (result.size() > 1 && result.back() == '/' && !name.empty() && !IsSeparator(name.back()))
        result.pop_back();
    return result;
}

std::string ResolveRelativePath(std::string_view baseFolder, std::string_view name) {
    if (HasDriveLetter(name) || IsNetworkPath(name) || (!name.empty() && IsSeparator(name[0])))
        return ToSlashes(name);
    std::string base = ToSlashes(baseFolder);
    if (!base.empty() && IsSeparator(base.back()))
        base.pop_back();
    std::size_t lastSeparator = LastSeparator(name);
    std::string_view folders = lastSeparator == std::string_view::npos
                                   ? std::string_view()
                                   : name.substr(0, lastSeparator);
    std::size_t start = 0;
    while (lastSeparator != std::string_view::npos && start <= folders.size()) {
        std::size_t end = folders.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = folders.size();
        std::string_view part = folders.substr(start, end - start);
        start = end + 1;
        if (part == ".")
            continue;
        if (part == "..") {
            std::size_t cut = LastSeparator(base);
            base.resize(cut == std::string::npos ? 0 : cut);
        } else {
            base += '/';
            base += part;
        }
        if (base.size() < 2)
            return {};
    }
    return base + "/" + std::string(FileNamePart(name));
}

bool EnsureFolder(std::string_view folder) {
    if (HasDriveLetter(folder))
        return true;
    std::filesystem::path path(ToSlashes(folder));
    if (!path.is_absolute())
        return true;
    std::error_code ignored;
    // Failure is reported later, by the file that cannot be created inside the folder.
    std::filesystem::create_directories(path, ignored);
    return true;
}

std::string BaseName(std::string_view path) {
    std::string_view name = FileNamePart(path);
    std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string ParentFolder(std::string_view path) {
    std::size_t slash = LastSeparator(path);
    if (slash == std::string_view::npos)
        return {};
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

std::string Extension(std::string_view path) {
    std::string_view name = FileNamePart(path);
    std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

} // namespace slidesmith::files
