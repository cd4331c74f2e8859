#pragma once

#include "platform/pptx/PartChangeSink.h"
#include "platform/pptx/Shape.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string_view>
#include <vector>

namespace slidesmith::pptx {

// The shapes of one slide, layout or master (its p:cSld/p:spTree) in document order, which is
// the order of the object model's Shapes collection: a group counts as one shape (its members
// are its Children()), and a shape wrapped in mc:AlternateContent counts once.
//
// Built once per tree in O(shapes); lookups by position are O(1), by name O(shapes). Shape ids
// are handed out from one counter above every id in the tree, so they stay unique per slide
// without rescanning. The tree borrows the node; edits call the sink.
class ShapeTree {
public:
    ShapeTree(pugi::xml_node spTree, PartChangeSink& sink);

    std::size_t Count() const { return m_shapes.size(); }
    // 1-based; throws std::out_of_range outside 1..Count().
    Shape Item(std::size_t index) const;
    const std::vector<Shape>& Shapes() const { return m_shapes; }

    // The first shape in document order whose name is exactly `name` (case and blanks count),
    // as Shapes(name) finds it; group members are not searched. No shape (false) when none.
    Shape Find(std::string_view name) const;

    // The placeholder a slide placeholder inherits from, looked up in this (layout or master)
    // tree: the one with the same idx when idx is given and present, else the first with the
    // same type. No shape when neither exists.
    Shape FindPlaceholder(std::string_view type, std::optional<std::uint32_t> index) const;

    // A shape id no element of the tree uses yet (ids are per slide).
    std::uint32_t AllocateShapeId();

    // Copies `prototype` (a p:pic, p:sp, ... from any document) to the end of the tree, before
    // its p:extLst, gives every p:cNvPr in the copy a fresh id, and returns the new shape.
    Shape InsertShape(pugi::xml_node prototype);

    // Removes the shape at 1-based `index` (with its mc:AlternateContent wrapper). The caller
    // drops the relationships it used.
    void Remove(std::size_t index);

private:
    pugi::xml_node m_tree;
    PartChangeSink* m_sink;
    std::vector<Shape> m_shapes;
    std::uint32_t m_nextId = 1;
};

} // namespace slidesmith::pptx
