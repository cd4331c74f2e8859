#pragma once

#include "platform/pptx/Package.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace slidesmith::pptx {

// Where and how large a shape is, in EMU (914400 per inch).
struct EmuRect {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t cx = 0;
    std::int64_t cy = 0;
};

// One slide of a presentation: its part, its id in the slide list and its relationship from
// the presentation part. The XML is parsed when first asked for.
class SlidePart {
public:
    SlidePart(Package& package, std::string partName, std::uint32_t slideId, std::string relId,
              pugi::xml_node listEntry)
        : m_package(package), m_partName(std::move(partName)), m_slideId(slideId),
          m_relId(std::move(relId)), m_listEntry(listEntry) {}

    const std::string& PartName() const { return m_partName; }
    std::uint32_t SlideId() const { return m_slideId; }
    const std::string& RelId() const { return m_relId; }
    pugi::xml_node ListEntry() const { return m_listEntry; }

    XmlPart& Xml() { return m_package.Xml(m_partName); }
    Relationships& Rels() { return m_package.Rels(m_partName); }
    // The slide's layout part, or empty when it has none.
    std::string LayoutPart();
    // The slide's notes part, or empty when it has none.
    std::string NotesPart();

    // The p:spTree of the slide. Throws PptxError when the slide has none.
    pugi::xml_node ShapeTree();
    // One more than the largest shape id on the slide (groups and frames included).
    std::uint32_t NextShapeId();

    // Adds a picture (p:pic) on top of the slide's shapes at the given position and size. The
    // image bytes are stored once per distinct content in the package. name may be empty
    // ("Picture N" then). Returns the new shape's id. Throws PptxError for negative sizes or a
    // slide without a shape tree.
    std::uint32_t AddPicture(std::string bytes, std::string_view extension,
                             std::string_view contentType, const EmuRect& rect,
                             std::string_view name = {});

private:
    std::string TargetOfType(std::string_view type);

    Package& m_package;
    std::string m_partName;
    std::uint32_t m_slideId;
    std::string m_relId;
    pugi::xml_node m_listEntry; // p:sldId in presentation.xml
};

} // namespace slidesmith::pptx
