#include "platform/pptx/XmlUtil.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

namespace slidesmith::pptx::xml {

std::int64_t IntAttribute(pugi::xml_node node, const char* name, std::int64_t fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        return fallback;
    }
    const char* text = attribute.value();
    const char* end = text + std::strlen(text);
    std::int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text, end, value);
    if (ec != std::errc{} || ptr != end) {
        return fallback;
    }
    return value;
}

void SetIntAttribute(pugi::xml_node node, const char* name, std::int64_t value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        attribute = node.append_attribute(name);
    }
    attribute.set_value(static_cast<long long>(value));
}

bool BoolAttribute(pugi::xml_node node, const char* name) {
    const std::string_view value = node.attribute(name).value();
    return value == "1" || value == "true";
}

pugi::xml_node InsertInOrder(pugi::xml_node parent, const char* name,
                             std::initializer_list<std::string_view> order) {
    const auto rank = [&order](std::string_view element) {
        const auto found = std::find(order.begin(), order.end(), element);
        return found - order.begin();
    };
    const auto ownRank = rank(name);
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && rank(child.name()) > ownRank) {
            return parent.insert_child_before(name, child);
        }
    }
    return parent.append_child(name);
}

pugi::xml_node FirstDescendant(pugi::xml_node node, const char* name) {
    return node.find_node(
        [name](pugi::xml_node candidate) { return std::strcmp(candidate.name(), name) == 0; });
}

} // namespace slidesmith::pptx::xml
