#pragma once

#include "platform/pptx/PartChangeSink.h"

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string_view>
#include <vector>

namespace slidesmith::pptx {

// What a shape element is, as the object model tells them apart.
enum class ShapeKind {
    AutoShape, // p:sp: text boxes, placeholders, drawn shapes; all have a text frame
    Picture,   // p:pic
    Table,     // p:graphicFrame holding a:tbl
    Chart,     // p:graphicFrame holding a native chart (c:chart or cx:chart)
    OleObject, // p:graphicFrame holding p:oleObj (also inside mc:AlternateContent)
    Group,     // p:grpSp
    Connector, // p:cxnSp
    Other,     // SmartArt, ink, content parts
};

// Position and size in EMU, in slide coordinates.
struct Rect {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t cx = 0;
    std::int64_t cy = 0;
    bool operator==(const Rect&) const = default;
};

// A borrowed handle to one shape element of a slide, layout or master; cheap to copy, valid while
// the part's XML document lives. A default-constructed Shape is "no shape" (false). Edits call
// the part's change sink.
class Shape {
public:
    Shape() = default;
    Shape(pugi::xml_node element, PartChangeSink& sink);

    explicit operator bool() const { return static_cast<bool>(m_element); }
    pugi::xml_node Node() const { return m_element; }
    ShapeKind Kind() const;

    std::string_view Name() const;
    std::uint32_t Id() const;

    bool IsPlaceholder() const;
    // p:ph@type; "obj" when a placeholder states none (the schema's default), "" for no
    // placeholder.
    std::string_view PlaceholderType() const;
    std::optional<std::uint32_t> PlaceholderIndex() const;

    bool HasTextFrame() const { return Kind() == ShapeKind::AutoShape; }
    bool HasTable() const { return Kind() == ShapeKind::Table; }
    // p:txBody of an auto shape; created (empty) when missing. Null for other kinds.
    pugi::xml_node TextBodyNode();

    // The relationship id of a native chart's chart part; "" for other kinds.
    std::string_view ChartRelationshipId() const;
    // p:oleObj@progId and @r:id of an OLE object; "" for other kinds.
    std::string_view OleProgId() const;
    std::string_view OleRelationshipId() const;

    // Position and size in slide coordinates (a group member's are scaled and moved by its
    // groups). Nothing when the shape states none, as a placeholder that takes them from its
    // layout does: the caller then looks the placeholder up in the layout's tree.
    std::optional<Rect> Bounds() const;
    // Writes position and size, creating the a:xfrm a placeholder may lack.
    void SetBounds(const Rect& bounds);

    // A group's members in document order, carrying the group's coordinate mapping.
    std::vector<Shape> Children() const;

private:
    // slide = child * scale + offset, per axis; identity outside groups.
    struct Mapping {
        double scaleX = 1.0;
        double scaleY = 1.0;
        double offsetX = 0.0;
        double offsetY = 0.0;
    };

    pugi::xml_node NonVisualProperties() const;
    pugi::xml_node Transform() const;
    pugi::xml_node OleObject() const;

    pugi::xml_node m_element;
    PartChangeSink* m_sink = nullptr;
    Mapping m_mapping;
};

// The element a shape-tree child stands for: the child itself, or for mc:AlternateContent the
// shape of its first mc:Choice (what PowerPoint reads), else of its mc:Fallback. Null for
// children that are no shapes (p:nvGrpSpPr, p:grpSpPr, p:extLst).
pugi::xml_node ShapeElementOf(pugi::xml_node child);

} // namespace slidesmith::pptx
