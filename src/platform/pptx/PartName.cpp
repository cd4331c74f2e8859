#include "platform/pptx/PartName.h"

#include <vector>

namespace slidesmith::pptx {
namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string DecodePercent(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int high = HexValue(text[i + 1]);
            int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::vector<std::string_view> Segments(std::string_view path) {
    std::vector<std::string_view> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string_view::npos)
            slash = path.size();
        if (slash > start)
            segments.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return segments;
}

} // namespace

std::string PartKey(std::string_view partName) {
    std::string key(partName);
    for (char& c : key)
        c = LowerAscii(c);
    return key;
}

std::string PartUri(std::string_view partName) {
    std::string uri(1, '/');
    uri += partName;
    return uri;
}

std::string PartExtension(std::string_view partName) {
    std::size_t dot = partName.rfind('.');
    std::size_t slash = partName.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return PartKey(partName.substr(dot + 1));
}

std::string PartFolder(std::string_view partName) {
    std::size_t slash = partName.rfind('/');
    return slash == std::string_view::npos ? std::string()
                                           : std::string(partName.substr(0, slash + 1));
}

std::string RelsPartName(std::string_view sourcePart) {
    if (sourcePart.empty())
        return "_rels/.rels";
    std::size_t slash = sourcePart.rfind('/');
    std::string_view file =
        slash == std::string_view::npos ? sourcePart : sourcePart.substr(slash + 1);
    return PartFolder(sourcePart) + "_rels/" + std::string(file) + ".rels";
}

std::string ResolveTarget(std::string_view sourcePart, std::string_view target) {
    std::string decoded = DecodePercent(target);
    std::string_view path = decoded;
    std::size_t cut = path.find_first_of("#?");
    if (cut != std::string_view::npos)
        path = path.substr(0, cut);
    std::vector<std::string> parts;
    if (!path.empty() && path.front() != '/') {
        std::string folder = PartFolder(sourcePart);
        for (std::string_view segment : Segments(folder))
            parts.emplace_back(segment);
    }
    for (std::string_view segment : Segments(path)) {
        if (segment == ".")
            continue;
        if (segment == "..") {
            // Some producers climb above the root from the package relationships
            // ("../customXml/item1.xml"); readers treat the root as its own parent.
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.emplace_back(segment);
    }
    std::string resolved;
    for (const std::string& segment : parts) {
        if (!resolved.empty())
            resolved.push_back('/');
        resolved += segment;
    }
    return resolved;
}

std::string RelativeTarget(std::string_view sourcePart, std::string_view targetPart) {
    std::string folder = PartFolder(sourcePart);
    std::vector<std::string_view> from = Segments(folder);
    std::vector<std::string_view> to = Segments(targetPart);
    std::size_t common = 0;
    while (common < from.size() && common + 1 < to.size() && from[common] == to[common])
        ++common;
    std::string relative;
    for (std::size_t i = common; i < from.size(); ++i)
        relative += "../";
    for (std::size_t i = common; i < to.size(); ++i) {
        relative += to[i];
        if (i + 1 < to.size())
            relative.push_back('/');
    }
    return relative;
}

} // namespace slidesmith::pptx
