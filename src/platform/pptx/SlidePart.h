#pragma once

#include "platform/pptx/ColourResolver.h"
#include "platform/pptx/Package.h"
#include "platform/pptx/Shape.h"
#include "platform/pptx/ShapeTree.h"
#include "platform/pptx/SlideInheritance.h"
#include "platform/pptx/TableEditor.h"
#include "platform/pptx/TextBody.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace slidesmith::pptx {

// One slide of a presentation: its part, its id in the slide list and its relationship from
// the presentation part, and its shapes as the run engine works with them. The XML is parsed
// when first asked for. Editors handed out report their changes to the slide's part.
// Failures throw PptxError naming the file, the part and the shape.
class SlidePart {
public:
    SlidePart(Package& package, std::string partName, std::uint32_t slideId, std::string relId,
              pugi::xml_node listEntry);
    ~SlidePart();
    SlidePart(const SlidePart&) = delete;
    SlidePart& operator=(const SlidePart&) = delete;

    const std::string& PartName() const { return m_partName; }
    std::uint32_t SlideId() const { return m_slideId; }
    const std::string& RelId() const { return m_relId; }
    pugi::xml_node ListEntry() const { return m_listEntry; }

    XmlPart& Xml() { return m_package.Xml(m_partName); }
    // Frees the slide's parsed XML (kept as serialised bytes when changed) and its shape list;
    // a report that fills page after page calls it for each finished page so memory stays flat.
    // Shapes, editors and nodes taken from the slide before become invalid.
    void Release();
    Relationships& Rels() { return m_package.Rels(m_partName); }
    // The slide's layout part, or empty when it has none.
    std::string LayoutPart();
    // The slide's notes part, or empty when it has none.
    std::string NotesPart();

    // The shapes in slide order (Count, Item 1-based, Find by name); built on first use.
    // Throws PptxError when the slide has no shape tree.
    ShapeTree& Shapes();
    // Position and size; a placeholder that states none takes its layout's (else master's).
    std::optional<Rect> Bounds(const Shape& shape);
    // The table of a table shape. Throws PptxError when the shape holds no sound table.
    TableEditor Table(const Shape& shape);
    // The text frame of an auto shape (placeholders, text boxes). Throws PptxError for shapes
    // without one.
    TextBody Text(Shape shape);
    // A native chart's chart part name; empty for other shapes or a dangling link.
    std::string ChartPart(const Shape& shape);
    // The ProgID the object model reports: an OLE object's own; for a native chart
    // "Excel.Chart.8" when its chart has an embedded workbook, else "MSGraph.Chart.8"; empty
    // for other shapes.
    std::string ProgId(const Shape& shape);
    // The theme, colour map, table style and inherited text styles a colour in `shape` resolves
    // against.
    ColourContext ColourContextFor(const Shape& shape);

    // Adds a picture (p:pic) on top of the slide's shapes at the given position and size. The
    // image bytes are stored once per distinct content in the package. name may be empty
    // ("Picture N" then). Returns the new shape's id. Throws PptxError for negative sizes or a
    // slide without a shape tree.
    std::uint32_t AddPicture(std::string bytes, std::string_view extension,
                             std::string_view contentType, const Rect& rect,
                             std::string_view name = {});
    // The same for an SVG picture as PowerPoint 2016 writes one: the PNG is the picture older
    // readers show, the SVG is stored beside it and referenced from the PNG's blip.
    std::uint32_t AddSvgPicture(std::string png, std::string svg, const Rect& rect,
                                std::string_view name = {});

private:
    std::string ImageRelationship(const std::string& media);
    std::uint32_t AddPictureShape(std::string bytes, std::string_view extension,
                                  std::string_view contentType, std::string svg, const Rect& rect,
                                  std::string_view name);
    std::string TargetOfType(std::string_view type);
    std::string Describe(const Shape& shape, std::string_view problem) const;

    Package& m_package;
    std::string m_partName;
    std::uint32_t m_slideId;
    std::string m_relId;
    pugi::xml_node m_listEntry; // p:sldId in presentation.xml
    std::unique_ptr<ShapeTree> m_shapes;
    std::unique_ptr<SlideInheritance> m_inheritance;
};

} // namespace slidesmith::pptx
