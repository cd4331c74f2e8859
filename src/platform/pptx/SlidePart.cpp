#include "platform/pptx/SlidePart.h"

#include "platform/pptx/OoxmlNames.h"
#include "platform/pptx/PptxError.h"

#include <charconv>
#include <cstring>
#include <vector>

namespace slidesmith::pptx {

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

pugi::xml_node SlidePart::ShapeTree() {
    pugi::xml_node tree = Xml().Root().child("p:cSld").child("p:spTree");
    if (!tree)
        throw PptxError(m_package.DisplayName() + ": " + m_partName +
                        ": the slide has no shape tree");
    return tree;
}

std::uint32_t SlidePart::NextShapeId() {
    // Every p:cNvPr of the slide counts, in groups, frames and fallbacks alike: PowerPoint
    // renumbers duplicates silently, which breaks animations that refer to the ids.
    std::uint32_t highest = 0;
    std::vector<pugi::xml_node> stack{Xml().Root()};
    while (!stack.empty()) {
        pugi::xml_node node = stack.back();
        stack.pop_back();
        if (std::strcmp(node.name(), "p:cNvPr") == 0) {
            std::string_view text = node.attribute("id").value();
            std::uint32_t id = 0;
            std::from_chars(text.data(), text.data() + text.size(), id);
            highest = std::max(highest, id);
        }
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element)
                stack.push_back(child);
        }
    }
    return highest + 1;
}

std::uint32_t SlidePart::AddPicture(std::string bytes, std::string_view extension,
                                    std::string_view contentType, const EmuRect& rect,
                                    std::string_view name) {
    if (rect.cx < 0 || rect.cy < 0)
        throw PptxError(m_package.DisplayName() + ": " + m_partName +
                        ": a picture cannot have a negative size");
    pugi::xml_node tree = ShapeTree();
    pugi::xml_node root = Xml().Root();
    if (!root.attribute("xmlns:r"))
        root.append_attribute("xmlns:r") = std::string(ooxml::kNsRelationships).c_str();
    if (!root.attribute("xmlns:a"))
        root.append_attribute("xmlns:a") = "http://schemas.openxmlformats.org/drawingml/2006/main";
    std::string media = m_package.StoreMedia(std::move(bytes), extension, contentType);
    std::string relId;
    for (const std::string& id : Rels().FindByTarget(media)) {
        if (Rels().FindById(id)->type == ooxml::kRelImage)
            relId = id;
    }
    if (relId.empty())
        relId = Rels().Add(ooxml::kRelImage, media);
    std::uint32_t id = NextShapeId();
    std::string shapeName = name.empty() ? "Picture " + std::to_string(id - 1) : std::string(name);

    // CT_GroupShape ends with an optional extLst; shapes go before it.
    pugi::xml_node extList = tree.child("p:extLst");
    pugi::xml_node pic =
        extList ? tree.insert_child_before("p:pic", extList) : tree.append_child("p:pic");
    pugi::xml_node nvPicPr = pic.append_child("p:nvPicPr");
    pugi::xml_node cNvPr = nvPicPr.append_child("p:cNvPr");
    cNvPr.append_attribute("id") = id;
    cNvPr.append_attribute("name") = shapeName.c_str();
    nvPicPr.append_child("p:cNvPicPr")
        .append_child("a:picLocks")
        .append_attribute("noChangeAspect") = "1";
    nvPicPr.append_child("p:nvPr");
    pugi::xml_node blipFill = pic.append_child("p:blipFill");
    pugi::xml_node blip = blipFill.append_child("a:blip");
    blip.append_attribute("r:embed") = relId.c_str();
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
    Xml().MarkChanged();
    return id;
}

} // namespace slidesmith::pptx
