#include "platform/pptx/SlidePart.h"

#include "platform/pptx/OoxmlNames.h"
#include "platform/pptx/PartName.h"
#include "platform/pptx/PptxError.h"

#include <stdexcept>

namespace slidesmith::pptx {
namespace {

constexpr const char* kNsDrawing = "http://schemas.openxmlformats.org/drawingml/2006/main";

// CT_Picture: non-visual properties, the blip (stretched to the frame), then the geometry.
constexpr const char* kSvgBlipExtension = "{96DAC541-7B7A-43D3-8B79-37D633B846F1}";
constexpr const char* kNsSvg = "http://schemas.microsoft.com/office/drawing/2016/SVG/main";

void BuildPicture(pugi::xml_node pic, const std::string& relId, const std::string& svgRelId,
                  const Rect& rect) {
    pugi::xml_node nvPicPr = pic.append_child("p:nvPicPr");
    pugi::xml_node cNvPr = nvPicPr.append_child("p:cNvPr");
    cNvPr.append_attribute("id") = 0;
    cNvPr.append_attribute("name") = "";
    nvPicPr.append_child("p:cNvPicPr")
        .append_child("a:picLocks")
        .append_attribute("noChangeAspect") = "1";
    nvPicPr.append_child("p:nvPr");
    pugi::xml_node blipFill = pic.append_child("p:blipFill");
    pugi::xml_node blip = blipFill.append_child("a:blip");
    blip.append_attribute("r:embed") = relId.c_str();
    if (!svgRelId.empty()) {
        pugi::xml_node ext = blip.append_child("a:extLst").append_child("a:ext");
        ext.append_attribute("uri") = kSvgBlipExtension;
        pugi::xml_node svgBlip = ext.append_child("asvg:svgBlip");
        svgBlip.append_attribute("xmlns:asvg") = kNsSvg;
        svgBlip.append_attribute("r:embed") = svgRelId.c_str();
    }
    blipFill.append_child("a:stretch").append_child("a:fillRect");
    pugi::xml_node spPr = pic.append_child("p:spPr");
    pugi::xml_node xfrm = spPr.append_child("a:xfrm");
    pugi::xml_node off = xfrm.append_child("a:off");
    off.append_attribute("x") = static_cast<long long>(rect.x);
    off.append_attribute("y") = static_cast<long long>(rect.y);
    pugi::xml_node ext = xfrm.append_child("a:ext");
    ext.append_attribute("cx") = static_cast<long long>(rect.cx);
    ext.append_attribute("cy") = static_cast<long long>(rect.cy);
    pugi::xml_node geometry = spPr.append_child("a:prstGeom");
    geometry.append_attribute("prst") = "rect";
    geometry.append_child("a:avLst");
}

} // namespace

SlidePart::SlidePart(Package& package, std::string partName, std::uint32_t slideId,
                     std::string relId, pugi::xml_node listEntry)
    : m_package(package), m_partName(std::move(partName)), m_slideId(slideId),
      m_relId(std::move(relId)), m_listEntry(listEntry) {}

SlidePart::~SlidePart() = default;

void SlidePart::Release() {
    m_shapes.reset();
    m_inheritance.reset();
    m_package.Unload(m_partName);
}

std::string SlidePart::TargetOfType(std::string_view type) {
    if (!m_package.HasRels(m_partName))
        return {};
    const Relationship* relationship = Rels().FindByType(type);
    return relationship == nullptr || relationship->external ? std::string()
                                                             : relationship->targetPart;
}

std::string SlidePart::LayoutPart() {
    return TargetOfType(ooxml::kRelSlideLayout);
}

std::string SlidePart::NotesPart() {
    return TargetOfType(ooxml::kRelNotesSlide);
}

std::string SlidePart::Describe(const Shape& shape, std::string_view problem) const {
    return m_package.DisplayName() + ": " + m_partName + ": shape \"" + std::string(shape.Name()) +
           "\": " + std::string(problem);
}

ShapeTree& SlidePart::Shapes() {
    if (!m_shapes) {
        XmlPart& xml = Xml();
        pugi::xml_node tree = xml.Root().child("p:cSld").child("p:spTree");
        if (!tree)
            throw PptxError(m_package.DisplayName() + ": " + m_partName +
                            ": the slide has no shape tree");
        m_shapes = std::make_unique<ShapeTree>(tree, xml);
    }
    return *m_shapes;
}

std::optional<Rect> SlidePart::Bounds(const Shape& shape) {
    if (std::optional<Rect> own = shape.Bounds())
        return own;
    if (!m_inheritance)
        m_inheritance = std::make_unique<SlideInheritance>(m_package, m_partName);
    return m_inheritance->InheritedBounds(shape);
}

TableEditor SlidePart::Table(const Shape& shape) {
    if (!shape.HasTable())
        throw PptxError(Describe(shape, "the shape has no table"));
    try {
        return TableEditor(shape.Node(), Xml());
    } catch (const std::runtime_error& error) {
        throw PptxError(Describe(shape, error.what()));
    }
}

TextBody SlidePart::Text(Shape shape) {
    if (!shape.HasTextFrame())
        throw PptxError(Describe(shape, "the shape has no text frame"));
    return TextBody(shape.TextBodyNode(), Xml());
}

std::string SlidePart::ChartPart(const Shape& shape) {
    std::string_view relId = shape.ChartRelationshipId();
    if (relId.empty() || !m_package.HasRels(m_partName))
        return {};
    const Relationship* relationship = Rels().FindById(relId);
    if (relationship == nullptr || relationship->external ||
        !m_package.Has(relationship->targetPart))
        return {};
    return relationship->targetPart;
}

std::string SlidePart::ProgId(const Shape& shape) {
    if (shape.Kind() == ShapeKind::OleObject)
        return std::string(shape.OleProgId());
    if (shape.Kind() != ShapeKind::Chart)
        return {};
    // A chart whose data lives in an embedded workbook behaves as an Excel chart object; a
    // cache-only or externally linked chart owns its data like a graph object.
    std::string chart = ChartPart(shape);
    if (!chart.empty() && m_package.HasRels(chart)) {
        for (const Relationship& relationship : m_package.Rels(chart).All()) {
            if (relationship.type == ooxml::kRelPackage && !relationship.external &&
                PartExtension(relationship.targetPart) == "xlsx" &&
                m_package.Has(relationship.targetPart))
                return "Excel.Chart.8";
        }
    }
    return "MSGraph.Chart.8";
}

ColourContext SlidePart::ColourContextFor(const Shape& shape) {
    if (!m_inheritance)
        m_inheritance = std::make_unique<SlideInheritance>(m_package, m_partName);
    return m_inheritance->ColourContextFor(shape);
}

std::string SlidePart::ImageRelationship(const std::string& media) {
    for (const std::string& id : Rels().FindByTarget(media)) {
        if (Rels().FindById(id)->type == ooxml::kRelImage)
            return id;
    }
    return Rels().Add(ooxml::kRelImage, media);
}

std::uint32_t SlidePart::AddPicture(std::string bytes, std::string_view extension,
                                    std::string_view contentType, const Rect& rect,
                                    std::string_view name) {
    return AddPictureShape(std::move(bytes), extension, contentType, {}, rect, name);
}

std::uint32_t SlidePart::AddSvgPicture(std::string png, std::string svg, const Rect& rect,
                                       std::string_view name) {
    return AddPictureShape(std::move(png), "png", "image/png", std::move(svg), rect, name);
}

std::uint32_t SlidePart::AddPictureShape(std::string bytes, std::string_view extension,
                                         std::string_view contentType, std::string svg,
                                         const Rect& rect, std::string_view name) {
    if (rect.cx < 0 || rect.cy < 0)
        throw PptxError(m_package.DisplayName() + ": " + m_partName +
                        ": a picture cannot have a negative size");
    ShapeTree& shapes = Shapes();
    pugi::xml_node root = Xml().Root();
    if (!root.attribute("xmlns:r"))
        root.append_attribute("xmlns:r") = std::string(ooxml::kNsRelationships).c_str();
    if (!root.attribute("xmlns:a"))
        root.append_attribute("xmlns:a") = kNsDrawing;

    const std::string relId =
        ImageRelationship(m_package.StoreMedia(std::move(bytes), extension, contentType));
    std::string svgRelId;
    if (!svg.empty())
        svgRelId = ImageRelationship(m_package.StoreMedia(std::move(svg), "svg", "image/svg+xml"));

    pugi::xml_document prototype;
    BuildPicture(prototype.append_child("p:pic"), relId, svgRelId, rect);
    Shape picture = shapes.InsertShape(prototype.first_child());
    std::uint32_t id = picture.Id();
    std::string shapeName = name.empty() ? "Picture " + std::to_string(id - 1) : std::string(name);
    picture.Node()
        .child("p:nvPicPr")
        .child("p:cNvPr")
        .attribute("name")
        .set_value(shapeName.c_str());
    return id;
}

} // namespace slidesmith::pptx
