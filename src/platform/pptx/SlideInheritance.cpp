#include "platform/pptx/SlideInheritance.h"

#include "platform/pptx/OoxmlNames.h"

#include <cstring>

namespace slidesmith::pptx {
namespace {

// Which master text style a placeholder type takes its defaults from.
const char* MasterTextStyle(std::string_view placeholderType) {
    if (placeholderType == "title" || placeholderType == "ctrTitle")
        return "p:titleStyle";
    if (placeholderType == "dt" || placeholderType == "ftr" || placeholderType == "sldNum")
        return "p:otherStyle";
    return "p:bodyStyle";
}

pugi::xml_node ListStyleOf(const Shape& shape) {
    return shape.Node().child("p:txBody").child("a:lstStyle");
}

} // namespace

SlideInheritance::SlideInheritance(Package& package, std::string slidePart)
    : m_package(package), m_slide(std::move(slidePart)) {}

std::string SlideInheritance::TargetOf(const std::string& source, std::string_view type) {
    if (!m_package.HasRels(source))
        return {};
    const Relationship* relationship = m_package.Rels(source).FindByType(type);
    if (relationship == nullptr || relationship->external ||
        !m_package.Has(relationship->targetPart))
        return {};
    return relationship->targetPart;
}

void SlideInheritance::Resolve() {
    if (m_resolved)
        return;
    m_resolved = true;
    m_layout.part = TargetOf(m_slide, ooxml::kRelSlideLayout);
    if (!m_layout.part.empty())
        m_master.part = TargetOf(m_layout.part, ooxml::kRelSlideMaster);
    if (!m_master.part.empty())
        m_theme = TargetOf(m_master.part, ooxml::kRelTheme);
    m_presentation = TargetOf("", ooxml::kRelOfficeDocument);
}

pugi::xml_node SlideInheritance::Root(const std::string& part) {
    return part.empty() ? pugi::xml_node() : m_package.Xml(part).Root();
}

ShapeTree* SlideInheritance::Shapes(Tree& tree) {
    Resolve();
    if (tree.part.empty())
        return nullptr;
    if (!tree.shapes) {
        XmlPart& xml = m_package.Xml(tree.part);
        pugi::xml_node spTree = xml.Root().child("p:cSld").child("p:spTree");
        if (!spTree)
            return nullptr;
        tree.shapes = std::make_unique<ShapeTree>(spTree, xml);
    }
    return tree.shapes.get();
}

std::optional<Rect> SlideInheritance::InheritedBounds(const Shape& placeholder) {
    if (!placeholder.IsPlaceholder())
        return std::nullopt;
    Shape layoutShape;
    if (ShapeTree* layout = Shapes(m_layout)) {
        layoutShape =
            layout->FindPlaceholder(placeholder.PlaceholderType(), placeholder.PlaceholderIndex());
        if (layoutShape && layoutShape.Bounds())
            return layoutShape.Bounds();
    }
    // The master is searched with the layout placeholder's own type when there is one.
    const Shape& key = layoutShape ? layoutShape : placeholder;
    if (ShapeTree* master = Shapes(m_master)) {
        if (Shape masterShape = master->FindPlaceholder(key.PlaceholderType(), std::nullopt))
            return masterShape.Bounds();
    }
    return std::nullopt;
}

pugi::xml_node SlideInheritance::TableStyle(const Shape& table) {
    std::string_view id =
        table.Node().select_node(".//a:tbl/a:tblPr/a:tableStyleId").node().text().get();
    if (id.empty())
        return {};
    std::string stylesPart =
        m_presentation.empty() ? std::string() : TargetOf(m_presentation, ooxml::kRelTableStyles);
    for (pugi::xml_node style : Root(stylesPart).children("a:tblStyle")) {
        if (id == style.attribute("styleId").value())
            return style;
    }
    // PowerPoint knows its default style even when tableStyles.xml does not list it.
    if (id != kDefaultTableStyleId)
        return {};
    if (!m_builtInTableStyle.document_element()) {
        std::string_view xml = DefaultTableStyleXml();
        m_builtInTableStyle.load_buffer(xml.data(), xml.size());
    }
    return m_builtInTableStyle.document_element();
}

void SlideInheritance::AddPlaceholderStyles(const Shape& shape, ColourContext& context) {
    Shape layoutShape;
    if (ShapeTree* layout = Shapes(m_layout)) {
        layoutShape = layout->FindPlaceholder(shape.PlaceholderType(), shape.PlaceholderIndex());
        if (layoutShape)
            context.listStyles.push_back(ListStyleOf(layoutShape));
    }
    std::string_view type = layoutShape ? layoutShape.PlaceholderType() : shape.PlaceholderType();
    if (ShapeTree* master = Shapes(m_master)) {
        if (Shape masterShape = master->FindPlaceholder(type, std::nullopt))
            context.listStyles.push_back(ListStyleOf(masterShape));
    }
    context.listStyles.push_back(
        Root(m_master.part).child("p:txStyles").child(MasterTextStyle(type)));
}

ColourContext SlideInheritance::ColourContextFor(const Shape& shape) {
    Resolve();
    ColourContext context;
    context.LoadScheme(Root(m_theme).child("a:themeElements").child("a:clrScheme"));
    // The nearest override wins: slide, then layout; otherwise the master's map.
    pugi::xml_node colourMap;
    for (const std::string* part : {&m_slide, &m_layout.part}) {
        pugi::xml_node override = Root(*part).child("p:clrMapOvr").child("a:overrideClrMapping");
        if (override) {
            colourMap = override;
            break;
        }
    }
    if (!colourMap)
        colourMap = Root(m_master.part).child("p:clrMap");
    if (colourMap)
        context.LoadColourMap(colourMap);
    if (shape.HasTable())
        context.tableStyle = TableStyle(shape);
    if (shape.IsPlaceholder())
        AddPlaceholderStyles(shape, context);
    else
        context.listStyles.push_back(Root(m_presentation).child("p:defaultTextStyle"));
    std::erase_if(context.listStyles, [](pugi::xml_node node) { return !node; });
    return context;
}

} // namespace slidesmith::pptx
