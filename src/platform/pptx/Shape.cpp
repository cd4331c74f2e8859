#include "platform/pptx/Shape.h"

#include "platform/pptx/XmlUtil.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace slidesmith::pptx {
namespace {

constexpr std::string_view kTableUri = "http://schemas.openxmlformats.org/drawingml/2006/table";
constexpr std::string_view kChartUri = "http://schemas.openxmlformats.org/drawingml/2006/chart";
constexpr std::string_view kChartExUri = "http://schemas.microsoft.com/office/drawing/2014/chartex";
constexpr std::string_view kOleUri = "http://schemas.openxmlformats.org/presentationml/2006/ole";

bool IsName(pugi::xml_node node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

bool IsShapeElement(pugi::xml_node node) {
    for (const char* name :
         {"p:sp", "p:pic", "p:graphicFrame", "p:grpSp", "p:cxnSp", "p:contentPart"}) {
        if (IsName(node, name)) {
            return true;
        }
    }
    return false;
}

pugi::xml_node FirstShapeIn(pugi::xml_node branch) {
    for (pugi::xml_node child : branch.children()) {
        if (IsShapeElement(child)) {
            return child;
        }
    }
    return {};
}

std::int64_t Round(double value) {
    return std::llround(value);
}

} // namespace

pugi::xml_node ShapeElementOf(pugi::xml_node child) {
    if (IsShapeElement(child)) {
        return child;
    }
    if (IsName(child, "mc:AlternateContent")) {
        if (const pugi::xml_node shape = FirstShapeIn(child.child("mc:Choice"))) {
            return shape;
        }
        return FirstShapeIn(child.child("mc:Fallback"));
    }
    return {};
}

Shape::Shape(pugi::xml_node element, PartChangeSink& sink) : m_element(element), m_sink(&sink) {}

ShapeKind Shape::Kind() const {
    if (IsName(m_element, "p:sp")) {
        return ShapeKind::AutoShape;
    }
    if (IsName(m_element, "p:pic")) {
        return ShapeKind::Picture;
    }
    if (IsName(m_element, "p:grpSp")) {
        return ShapeKind::Group;
    }
    if (IsName(m_element, "p:cxnSp")) {
        return ShapeKind::Connector;
    }
    if (IsName(m_element, "p:graphicFrame")) {
        const std::string_view uri =
            m_element.child("a:graphic").child("a:graphicData").attribute("uri").value();
        if (uri == kTableUri) {
            return ShapeKind::Table;
        }
        if (uri == kChartUri || uri == kChartExUri) {
            return ShapeKind::Chart;
        }
        if (uri == kOleUri) {
            return ShapeKind::OleObject;
        }
    }
    return ShapeKind::Other;
}

pugi::xml_node Shape::NonVisualProperties() const {
    // p:nvSpPr, p:nvPicPr, p:nvGraphicFramePr, p:nvGrpSpPr, p:nvCxnSpPr, p:nvContentPartPr:
    // always the first child element.
    return m_element.first_child();
}

std::string_view Shape::Name() const {
    return NonVisualProperties().child("p:cNvPr").attribute("name").value();
}

std::uint32_t Shape::Id() const {
    return NonVisualProperties().child("p:cNvPr").attribute("id").as_uint();
}

bool Shape::IsPlaceholder() const {
    return static_cast<bool>(NonVisualProperties().child("p:nvPr").child("p:ph"));
}

std::string_view Shape::PlaceholderType() const {
    const pugi::xml_node placeholder = NonVisualProperties().child("p:nvPr").child("p:ph");
    if (!placeholder) {
        return {};
    }
    const pugi::xml_attribute type = placeholder.attribute("type");
    return type ? std::string_view(type.value()) : std::string_view("obj");
}

std::optional<std::uint32_t> Shape::PlaceholderIndex() const {
    const pugi::xml_attribute index =
        NonVisualProperties().child("p:nvPr").child("p:ph").attribute("idx");
    if (!index) {
        return std::nullopt;
    }
    return index.as_uint();
}

pugi::xml_node Shape::TextBodyNode() {
    if (Kind() != ShapeKind::AutoShape) {
        return {};
    }
    pugi::xml_node body = m_element.child("p:txBody");
    if (!body) {
        // CT_Shape: nvSpPr, spPr, style?, txBody?, extLst?
        body = xml::InsertInOrder(m_element, "p:txBody",
                                  {"p:nvSpPr", "p:spPr", "p:style", "p:txBody", "p:extLst"});
        body.append_child("a:bodyPr");
        body.append_child("a:lstStyle");
        body.append_child("a:p");
        m_sink->MarkChanged();
    }
    return body;
}

std::string_view Shape::ChartRelationshipId() const {
    if (Kind() != ShapeKind::Chart) {
        return {};
    }
    const pugi::xml_node data = m_element.child("a:graphic").child("a:graphicData");
    for (pugi::xml_node child : data.children()) {
        if (const pugi::xml_attribute id = child.attribute("r:id")) {
            return id.value();
        }
    }
    return {};
}

pugi::xml_node Shape::OleObject() const {
    if (Kind() != ShapeKind::OleObject) {
        return {};
    }
    const pugi::xml_node data = m_element.child("a:graphic").child("a:graphicData");
    if (const pugi::xml_node direct = data.child("p:oleObj")) {
        return direct;
    }
    // Office 2010 and later wrap the object in mc:AlternateContent; both branches describe the
    // same object, so it counts once, read from the branch PowerPoint reads.
    const pugi::xml_node alternate = data.child("mc:AlternateContent");
    if (const pugi::xml_node chosen = alternate.child("mc:Choice").child("p:oleObj")) {
        return chosen;
    }
    return alternate.child("mc:Fallback").child("p:oleObj");
}

std::string_view Shape::OleProgId() const {
    return OleObject().attribute("progId").value();
}

std::string_view Shape::OleRelationshipId() const {
    return OleObject().attribute("r:id").value();
}

pugi::xml_node Shape::Transform() const {
    if (IsName(m_element, "p:graphicFrame")) {
        return m_element.child("p:xfrm");
    }
    if (IsName(m_element, "p:grpSp")) {
        return m_element.child("p:grpSpPr").child("a:xfrm");
    }
    return m_element.child("p:spPr").child("a:xfrm");
}

std::optional<Rect> Shape::Bounds() const {
    const pugi::xml_node transform = Transform();
    const pugi::xml_node offset = transform.child("a:off");
    const pugi::xml_node extent = transform.child("a:ext");
    if (!offset || !extent) {
        return std::nullopt;
    }
    const auto x = static_cast<double>(xml::IntAttribute(offset, "x", 0));
    const auto y = static_cast<double>(xml::IntAttribute(offset, "y", 0));
    const auto cx = static_cast<double>(xml::IntAttribute(extent, "cx", 0));
    const auto cy = static_cast<double>(xml::IntAttribute(extent, "cy", 0));
    return Rect{Round(x * m_mapping.scaleX + m_mapping.offsetX),
                Round(y * m_mapping.scaleY + m_mapping.offsetY), Round(cx * m_mapping.scaleX),
                Round(cy * m_mapping.scaleY)};
}

void Shape::SetBounds(const Rect& bounds) {
    pugi::xml_node transform = Transform();
    if (!transform) {
        pugi::xml_node owner = m_element.child("p:spPr");
        if (IsName(m_element, "p:grpSp")) {
            owner = m_element.child("p:grpSpPr");
        }
        if (IsName(m_element, "p:graphicFrame")) {
            // CT_GraphicalObjectFrame: nvGraphicFramePr, xfrm, graphic, extLst?
            transform = m_element.insert_child_after("p:xfrm", m_element.first_child());
        } else {
            if (!owner) {
                return;
            }
            transform = owner.prepend_child("a:xfrm"); // first in CT_ShapeProperties
        }
    }
    pugi::xml_node offset = transform.child("a:off");
    if (!offset) {
        offset = transform.prepend_child("a:off");
    }
    pugi::xml_node extent = transform.child("a:ext");
    if (!extent) {
        extent = transform.insert_child_after("a:ext", offset);
    }
    const auto unmapX = [this](double v) { return (v - m_mapping.offsetX) / m_mapping.scaleX; };
    const auto unmapY = [this](double v) { return (v - m_mapping.offsetY) / m_mapping.scaleY; };
    xml::SetIntAttribute(offset, "x", Round(unmapX(static_cast<double>(bounds.x))));
    xml::SetIntAttribute(offset, "y", Round(unmapY(static_cast<double>(bounds.y))));
    // Negative extents make PowerPoint repair the file.
    xml::SetIntAttribute(
        extent, "cx",
        std::max<std::int64_t>(0, Round(static_cast<double>(bounds.cx) / m_mapping.scaleX)));
    xml::SetIntAttribute(
        extent, "cy",
        std::max<std::int64_t>(0, Round(static_cast<double>(bounds.cy) / m_mapping.scaleY)));
    m_sink->MarkChanged();
}

std::vector<Shape> Shape::Children() const {
    std::vector<Shape> children;
    if (Kind() != ShapeKind::Group) {
        return children;
    }
    // A group's members are placed in its child space (chOff/chExt), which the group's own
    // off/ext map onto the slide.
    const pugi::xml_node transform = Transform();
    Mapping mapping = m_mapping;
    const auto childCx =
        static_cast<double>(xml::IntAttribute(transform.child("a:chExt"), "cx", 0));
    const auto childCy =
        static_cast<double>(xml::IntAttribute(transform.child("a:chExt"), "cy", 0));
    const auto cx = static_cast<double>(xml::IntAttribute(transform.child("a:ext"), "cx", 0));
    const auto cy = static_cast<double>(xml::IntAttribute(transform.child("a:ext"), "cy", 0));
    // A degenerate group (zero extent) would make its members' positions unrecoverable.
    const double scaleX = childCx > 0 && cx > 0 ? cx / childCx : 1.0;
    const double scaleY = childCy > 0 && cy > 0 ? cy / childCy : 1.0;
    const auto offX = static_cast<double>(xml::IntAttribute(transform.child("a:off"), "x", 0));
    const auto offY = static_cast<double>(xml::IntAttribute(transform.child("a:off"), "y", 0));
    const auto chOffX = static_cast<double>(xml::IntAttribute(transform.child("a:chOff"), "x", 0));
    const auto chOffY = static_cast<double>(xml::IntAttribute(transform.child("a:chOff"), "y", 0));
    // child -> group space: (v - chOff) * scale + off; then the group's own mapping.
    mapping.scaleX = m_mapping.scaleX * scaleX;
    mapping.scaleY = m_mapping.scaleY * scaleY;
    mapping.offsetX = m_mapping.scaleX * (offX - chOffX * scaleX) + m_mapping.offsetX;
    mapping.offsetY = m_mapping.scaleY * (offY - chOffY * scaleY) + m_mapping.offsetY;
    for (pugi::xml_node child : m_element.children()) {
        if (const pugi::xml_node element = ShapeElementOf(child)) {
            Shape member(element, *m_sink);
            member.m_mapping = mapping;
            children.push_back(member);
        }
    }
    return children;
}

} // namespace slidesmith::pptx
