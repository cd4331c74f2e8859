#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace slidesmith::testtools {

inline constexpr const char* kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// The prefixes every PresentationML part of a built template declares on its root.
inline constexpr const char* kPresentationNamespaces =
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";

// Escapes text for element content and attribute values.
inline std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Shortest round-trip decimal with '.', whatever the locale: chart caches and workbook cells
// must be locale-free.
inline std::string FormatNumber(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

inline std::string Attribute(const char* name, std::int64_t value) {
    return std::string(" ") + name + "=\"" + std::to_string(value) + "\"";
}

inline std::string Attribute(const char* name, std::string_view value) {
    return std::string(" ") + name + "=\"" + Escape(value) + "\"";
}

} // namespace slidesmith::testtools
