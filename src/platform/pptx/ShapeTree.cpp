#include "platform/pptx/ShapeTree.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace slidesmith::pptx {
namespace {

bool IsName(pugi::xml_node node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

} // namespace

ShapeTree::ShapeTree(pugi::xml_node spTree, PartChangeSink& sink) : m_tree(spTree), m_sink(&sink) {
    for (pugi::xml_node child : spTree.children()) {
        if (const pugi::xml_node element = ShapeElementOf(child)) {
            m_shapes.emplace_back(element, sink);
        }
    }
    std::uint32_t largest = 0;
    // Every branch of mc:AlternateContent counts: PowerPoint may read either.
    spTree.find_node([&largest](pugi::xml_node node) {
        if (IsName(node, "p:cNvPr")) {
            largest = std::max(largest, node.attribute("id").as_uint());
        }
        return false;
    });
    m_nextId = largest + 1;
}

Shape ShapeTree::Item(std::size_t index) const {
    if (index < 1 || index > m_shapes.size()) {
        throw std::out_of_range("the slide has " + std::to_string(m_shapes.size()) +
                                " shapes, shape " + std::to_string(index) + " is outside");
    }
    return m_shapes[index - 1];
}

Shape ShapeTree::Find(std::string_view name) const {
    for (const Shape& shape : m_shapes) {
        if (shape.Name() == name) {
            return shape;
        }
    }
    return {};
}

Shape ShapeTree::FindPlaceholder(std::string_view type, std::optional<std::uint32_t> index) const {
    if (index) {
        for (const Shape& shape : m_shapes) {
            if (shape.IsPlaceholder() && shape.PlaceholderIndex() == index) {
                return shape;
            }
        }
    }
    for (const Shape& shape : m_shapes) {
        if (shape.IsPlaceholder() && shape.PlaceholderType() == type) {
            return shape;
        }
    }
    return {};
}

std::uint32_t ShapeTree::AllocateShapeId() {
    return m_nextId++;
}

Shape ShapeTree::InsertShape(pugi::xml_node prototype) {
    // CT_GroupShape: nvGrpSpPr, grpSpPr, shapes..., extLst?
    const pugi::xml_node extensions = m_tree.child("p:extLst");
    const pugi::xml_node copy = extensions ? m_tree.insert_copy_before(prototype, extensions)
                                           : m_tree.append_copy(prototype);
    copy.find_node([this](pugi::xml_node node) {
        if (IsName(node, "p:cNvPr")) {
            pugi::xml_attribute id = node.attribute("id");
            if (!id) {
                id = node.prepend_attribute("id");
            }
            id.set_value(AllocateShapeId());
        }
        return false;
    });
    m_sink->MarkChanged();
    const pugi::xml_node element = ShapeElementOf(copy);
    m_shapes.emplace_back(element, *m_sink);
    return m_shapes.back();
}

void ShapeTree::Remove(std::size_t index) {
    const pugi::xml_node element = Item(index).Node();
    pugi::xml_node top = element;
    while (top.parent() && top.parent() != m_tree) {
        top = top.parent();
    }
    m_tree.remove_child(top);
    m_shapes.erase(m_shapes.begin() + static_cast<std::ptrdiff_t>(index - 1));
    m_sink->MarkChanged();
}

} // namespace slidesmith::pptx
