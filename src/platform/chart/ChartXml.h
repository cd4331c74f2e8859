#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

// Small helpers over chart XML. Charts are matched by local name, so a part that binds the
// chart namespace to another prefix (or none) reads the same; new elements take the prefix of
// the element they are added to.
namespace slidesmith::chart::xml {

std::string_view LocalName(pugi::xml_node node);
// The prefix of a node's name including ':' ("c:"), empty for none.
std::string_view PrefixOf(pugi::xml_node node);
pugi::xml_node Child(pugi::xml_node node, std::string_view local);
std::vector<pugi::xml_node> Children(pugi::xml_node node, std::string_view local);
// Every element below node with that local name, in document order.
std::vector<pugi::xml_node> Descendants(pugi::xml_node node, std::string_view local);
// The val attribute of a child (c:idx val="3"), fallback when absent or unreadable.
long long ChildVal(pugi::xml_node node, std::string_view local, long long fallback);
void SetChildVal(pugi::xml_node node, std::string_view local, long long value);
// New element named with the prefix of `like`, appended to parent or placed before/after.
pugi::xml_node Append(pugi::xml_node parent, std::string_view local);
pugi::xml_node InsertBefore(pugi::xml_node parent, pugi::xml_node before, std::string_view local);
std::string NumberText(double value);

} // namespace slidesmith::chart::xml
