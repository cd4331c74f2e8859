#include "platform/chart/ChartXml.h"

#include <charconv>
#include <cstdlib>

namespace slidesmith::chart::xml {

std::string_view LocalName(pugi::xml_node node) {
    std::string_view name = node.name();
    std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string_view PrefixOf(pugi::xml_node node) {
    std::string_view name = node.name();
    std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon + 1);
}

pugi::xml_node Child(pugi::xml_node node, std::string_view local) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && LocalName(child) == local)
            return child;
    }
    return {};
}

std::vector<pugi::xml_node> Children(pugi::xml_node node, std::string_view local) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && LocalName(child) == local)
            found.push_back(child);
    }
    return found;
}

std::vector<pugi::xml_node> Descendants(pugi::xml_node node, std::string_view local) {
    std::vector<pugi::xml_node> found;
    // Iterative walk: caches of 10,000 points make deep recursion pointless but wide trees common.
    pugi::xml_node current = node.first_child();
    while (current && current != node) {
        if (current.type() == pugi::node_element && LocalName(current) == local)
            found.push_back(current);
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current && current != node && !current.next_sibling())
            current = current.parent();
        if (current && current != node)
            current = current.next_sibling();
    }
    return found;
}

long long ChildVal(pugi::xml_node node, std::string_view local, long long fallback) {
    pugi::xml_node child = Child(node, local);
    if (!child)
        return fallback;
    const char* text = child.attribute("val").value();
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    return end == text ? fallback : value;
}

void SetChildVal(pugi::xml_node node, std::string_view local, long long value) {
    pugi::xml_node child = Child(node, local);
    if (!child)
        child = Append(node, local);
    pugi::xml_attribute val = child.attribute("val");
    if (!val)
        val = child.append_attribute("val");
    val.set_value(std::to_string(value).c_str());
}

pugi::xml_node Append(pugi::xml_node parent, std::string_view local) {
    std::string name = std::string(PrefixOf(parent)) + std::string(local);
    return parent.append_child(name.c_str());
}

pugi::xml_node InsertBefore(pugi::xml_node parent, pugi::xml_node before, std::string_view local) {
    std::string name = std::string(PrefixOf(parent)) + std::string(local);
    return before ? parent.insert_child_before(name.c_str(), before)
                  : parent.append_child(name.c_str());
}

std::string NumberText(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text == "-0")
        text = "0";
    return text;
}

} // namespace slidesmith::chart::xml
