#include "platform/pptx/ContentTypes.h"

#include "platform/pptx/PartName.h"
#include "platform/pptx/PptxError.h"

#include <cstring>

namespace slidesmith::pptx {

ContentTypes::ContentTypes(XmlPart& part, std::string_view fileName) : m_part(part) {
    pugi::xml_node root = part.Root();
    if (std::strcmp(root.name(), "Types") != 0)
        throw PptxError(std::string(fileName) + ": [Content_Types].xml: the root is not <Types>");
    for (pugi::xml_node node : root.children()) {
        if (std::strcmp(node.name(), "Default") == 0) {
            m_defaults.emplace(PartKey(node.attribute("Extension").value()), node);
        } else if (std::strcmp(node.name(), "Override") == 0) {
            std::string_view name = node.attribute("PartName").value();
            if (!name.empty() && name.front() == '/')
                name.remove_prefix(1);
            m_overrides.emplace(PartKey(name), node);
        }
    }
}

std::string ContentTypes::Of(std::string_view partName) const {
    auto found = m_overrides.find(PartKey(partName));
    if (found != m_overrides.end())
        return found->second.attribute("ContentType").value();
    auto byExtension = m_defaults.find(PartExtension(partName));
    if (byExtension != m_defaults.end())
        return byExtension->second.attribute("ContentType").value();
    return {};
}

bool ContentTypes::HasOverride(std::string_view partName) const {
    return m_overrides.count(PartKey(partName)) != 0;
}

void ContentTypes::SetOverride(std::string_view partName, std::string_view contentType) {
    std::string key = PartKey(partName);
    auto found = m_overrides.find(key);
    if (found != m_overrides.end()) {
        if (contentType != found->second.attribute("ContentType").value()) {
            found->second.attribute("ContentType").set_value(std::string(contentType).c_str());
            m_part.MarkChanged();
        }
        return;
    }
    pugi::xml_node node = m_part.Root().append_child("Override");
    node.append_attribute("PartName") = PartUri(partName).c_str();
    node.append_attribute("ContentType") = std::string(contentType).c_str();
    m_overrides.emplace(std::move(key), node);
    m_part.MarkChanged();
}

void ContentTypes::RemoveOverride(std::string_view partName) {
    auto found = m_overrides.find(PartKey(partName));
    if (found == m_overrides.end())
        return;
    m_part.Root().remove_child(found->second);
    m_overrides.erase(found);
    m_part.MarkChanged();
}

void ContentTypes::EnsureDefault(std::string_view extension, std::string_view contentType) {
    std::string key = PartKey(extension);
    if (m_defaults.count(key) != 0)
        return;
    // Defaults come first, as Office writes them; any order is valid.
    pugi::xml_node first = m_part.Root().first_child();
    pugi::xml_node node = first ? m_part.Root().insert_child_before("Default", first)
                                : m_part.Root().append_child("Default");
    node.append_attribute("Extension") = std::string(extension).c_str();
    node.append_attribute("ContentType") = std::string(contentType).c_str();
    m_defaults.emplace(std::move(key), node);
    m_part.MarkChanged();
}

std::size_t ContentTypes::CountOverrides(std::string_view contentType) const {
    std::size_t count = 0;
    for (const auto& [key, node] : m_overrides) {
        if (contentType == node.attribute("ContentType").value())
            ++count;
    }
    return count;
}

} // namespace slidesmith::pptx
