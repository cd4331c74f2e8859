#pragma once

#include <cstdint>
#include <initializer_list>
#include <pugixml.hpp>
#include <string_view>

// Small helpers the DrawingML editors share. Element names are matched with the prefixes
// PowerPoint writes (p:, a:, mc:, a16:); every Office program and LibreOffice use them too.
namespace slidesmith::pptx::xml {

// The attribute as a 64-bit integer; `fallback` when it is missing or not a whole number.
std::int64_t IntAttribute(pugi::xml_node node, const char* name, std::int64_t fallback);

// Sets the attribute, creating it when missing.
void SetIntAttribute(pugi::xml_node node, const char* name, std::int64_t value);

// True when the attribute is "1" or "true" (xsd:boolean).
bool BoolAttribute(pugi::xml_node node, const char* name);

// Inserts an empty child `name` where the schema's child order wants it: before the first
// existing child that comes later in `order` (which lists the parent's children in schema
// order and must contain `name`), else at the end.
pugi::xml_node InsertInOrder(pugi::xml_node parent, const char* name,
                             std::initializer_list<std::string_view> order);

// The first element among the descendants of `node` (itself excluded) with this name.
pugi::xml_node FirstDescendant(pugi::xml_node node, const char* name);

} // namespace slidesmith::pptx::xml
