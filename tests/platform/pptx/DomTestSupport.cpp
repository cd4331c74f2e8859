#include "DomTestSupport.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace slidesmith::pptx::test {

std::unique_ptr<pugi::xml_document> ParseWithNamespaces(std::string_view body) {
    const std::string text =
        "<p:root xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
        " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
        " xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\""
        " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
        " xmlns:a16=\"http://schemas.microsoft.com/office/drawing/2014/main\">" +
        std::string(body) + "</p:root>";
    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result = document->load_string(
        text.c_str(), pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration);
    EXPECT_TRUE(result) << result.description() << " in " << body;
    return document;
}

pugi::xml_node Find(const pugi::xml_document& document, const char* name) {
    return document.find_node(
        [name](pugi::xml_node node) { return std::string_view(node.name()) == name; });
}

std::string Serialise(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

std::string RealFixturesFolder() {
    const std::filesystem::path folder = std::filesystem::path(SLIDESMITH_SHARED_FIXTURES) / "real";
    return std::filesystem::is_directory(folder) ? folder.string() : std::string();
}

std::string ReadPackagePart(const std::string& file, const std::string& part) {
    const std::string command = "unzip -p '" + file + "' '" + part + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return {};
    }
    std::string content;
    std::array<char, 65536> buffer{};
    std::size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) {
        content.append(buffer.data(), count);
    }
    return content;
}

} // namespace slidesmith::pptx::test
