#include "PresentationReader.h"

#include "PackageModel.h"
#include "TestToolError.h"

#include <cstdlib>
#include <cstring>

namespace slidesmith::testtools {
namespace {

const std::string kOfficeRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string Local(pugi::xml_node node) {
    return PackageModel::LocalName(node);
}

pugi::xml_node Child(pugi::xml_node node, const std::string& local) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && Local(child) == local) {
            return child;
        }
    }
    return {};
}

pugi::xml_node Path(pugi::xml_node node, std::initializer_list<const char*> path) {
    for (const char* local : path) {
        node = Child(node, local);
    }
    return node;
}

std::vector<pugi::xml_node> Children(pugi::xml_node node, const std::string& local) {
    std::vector<pugi::xml_node> nodes;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && Local(child) == local) {
            nodes.push_back(child);
        }
    }
    return nodes;
}

std::string AttributeEndingIn(pugi::xml_node node, const char* suffix) {
    const std::size_t length = std::strlen(suffix);
    for (pugi::xml_attribute attribute : node.attributes()) {
        const std::string name = attribute.name();
        if (name.size() > length && name.compare(name.size() - length, length, suffix) == 0) {
            return attribute.value();
        }
    }
    return {};
}

// Paragraphs joined by '\n'; a:br reads as '\v', PowerPoint's line break inside a paragraph.
std::string BodyText(pugi::xml_node body) {
    std::string text;
    bool first = true;
    for (pugi::xml_node paragraph : Children(body, "p")) {
        if (!first) {
            text += '\n';
        }
        first = false;
        for (pugi::xml_node run : paragraph.children()) {
            const std::string local = Local(run);
            if (local == "r" || local == "fld") {
                text += Child(run, "t").child_value();
            } else if (local == "br") {
                text += '\v';
            }
        }
    }
    return text;
}

Box ReadBox(pugi::xml_node transform) {
    pugi::xml_node offset = Child(transform, "off");
    pugi::xml_node extent = Child(transform, "ext");
    return {offset.attribute("x").as_llong(), offset.attribute("y").as_llong(),
            extent.attribute("cx").as_llong(), extent.attribute("cy").as_llong()};
}

ShapeView View(pugi::xml_node shape, int depth) {
    ShapeView view;
    view.depth = depth;
    pugi::xml_node nonVisual;
    for (pugi::xml_node child : shape.children()) {
        if (Local(child).rfind("nv", 0) == 0) {
            nonVisual = child;
            break;
        }
    }
    pugi::xml_node properties = Child(nonVisual, "cNvPr");
    view.name = properties.attribute("name").value();
    view.id = properties.attribute("id").as_llong();
    const std::string local = Local(shape);
    if (local == "sp") {
        pugi::xml_node placeholder = Path(nonVisual, {"nvPr", "ph"});
        view.kind = placeholder ? ShapeView::Kind::Placeholder : ShapeView::Kind::Text;
        if (placeholder) {
            view.placeholderType =
                placeholder.attribute("type") ? placeholder.attribute("type").value() : "body";
        }
        view.box = ReadBox(Path(shape, {"spPr", "xfrm"}));
        view.text = BodyText(Child(shape, "txBody"));
    } else if (local == "pic") {
        view.kind = ShapeView::Kind::Picture;
        view.box = ReadBox(Path(shape, {"spPr", "xfrm"}));
    } else if (local == "graphicFrame") {
        view.box = ReadBox(Child(shape, "xfrm"));
        const std::string uri = Path(shape, {"graphic", "graphicData"}).attribute("uri").value();
        if (uri.find("/table") != std::string::npos) {
            view.kind = ShapeView::Kind::Table;
        } else if (uri.find("/chart") != std::string::npos) {
            view.kind = ShapeView::Kind::Chart;
        } else if (uri.find("/ole") != std::string::npos) {
            view.kind = ShapeView::Kind::OleObject;
        }
    } else if (local == "grpSp") {
        view.kind = ShapeView::Kind::Group;
        view.box = ReadBox(Path(shape, {"grpSpPr", "xfrm"}));
    }
    return view;
}

void CollectShapes(pugi::xml_node container, int depth,
                   std::vector<std::pair<pugi::xml_node, ShapeView>>& shapes) {
    for (pugi::xml_node child : container.children()) {
        const std::string local = Local(child);
        if (local == "AlternateContent") {
            pugi::xml_node branch = Child(child, "Choice");
            CollectShapes(branch ? branch : Child(child, "Fallback"), depth, shapes);
        } else if (local == "sp" || local == "pic" || local == "graphicFrame" || local == "grpSp" ||
                   local == "cxnSp") {
            shapes.emplace_back(child, View(child, depth));
            if (local == "grpSp") {
                CollectShapes(child, depth + 1, shapes);
            }
        }
    }
}

std::vector<std::string> CachedStrings(pugi::xml_node data) {
    pugi::xml_node cache;
    for (const char* path : {"strRef", "numRef", "strLit", "numLit"}) {
        if (pugi::xml_node reference = Child(data, path)) {
            cache = Local(reference).find("Ref") != std::string::npos
                        ? (Child(reference, "strCache") ? Child(reference, "strCache")
                                                        : Child(reference, "numCache"))
                        : reference;
            break;
        }
    }
    std::vector<std::string> values(Child(cache, "ptCount").attribute("val").as_uint());
    for (pugi::xml_node point : Children(cache, "pt")) {
        const std::size_t index = point.attribute("idx").as_uint();
        if (index < values.size()) {
            values[index] = Child(point, "v").child_value();
        }
    }
    return values;
}

} // namespace

PresentationReader::PresentationReader(const std::filesystem::path& path)
    : PresentationReader(ReadPackage(path)) {}

PresentationReader::PresentationReader(PartMap parts) : m_parts(std::move(parts)) {
    const std::string main = RelationshipTarget("", "");
    const pugi::xml_document& presentation = Xml(main);
    for (pugi::xml_node slide :
         Children(Child(presentation.document_element(), "sldIdLst"), "sldId")) {
        m_slides.push_back(RelationshipTarget(main, AttributeEndingIn(slide, ":id")));
        m_slideIds.push_back(slide.attribute("id").as_llong());
    }
}

PresentationReader::~PresentationReader() = default;

const pugi::xml_document& PresentationReader::Xml(const std::string& part) const {
    if (auto cached = m_xml.find(part); cached != m_xml.end()) {
        return *cached->second;
    }
    auto found = m_parts.find(part);
    auto document = std::make_unique<pugi::xml_document>();
    if (found == m_parts.end() ||
        !document->load_buffer(found->second.data(), found->second.size(),
                               pugi::parse_default | pugi::parse_ws_pcdata)) {
        throw TestToolError(part + " is missing or not well-formed XML");
    }
    return *m_xml.emplace(part, std::move(document)).first->second;
}

// The target of relationship `id` of `part`; with an empty id, the package's officeDocument.
std::string PresentationReader::RelationshipTarget(const std::string& part,
                                                   const std::string& id) const {
    const std::string rels = PackageModel::RelsPartOf(part);
    for (pugi::xml_node relationship : Xml(rels).document_element().children()) {
        const bool wanted = id.empty() ? std::string(relationship.attribute("Type").value()) ==
                                             kOfficeRel + "officeDocument"
                                       : id == relationship.attribute("Id").value();
        if (wanted) {
            return ResolveTarget(part, relationship.attribute("Target").value());
        }
    }
    throw TestToolError(rels + " has no relationship " + (id.empty() ? "officeDocument" : id));
}

const std::string& PresentationReader::SlidePart(std::size_t slideNumber) const {
    if (slideNumber < 1 || slideNumber > m_slides.size()) {
        throw TestToolError("there is no slide " + std::to_string(slideNumber) + " of " +
                            std::to_string(m_slides.size()));
    }
    return m_slides[slideNumber - 1];
}

std::vector<ShapeView> PresentationReader::Shapes(std::size_t slideNumber) const {
    std::vector<std::pair<pugi::xml_node, ShapeView>> shapes;
    CollectShapes(Path(Xml(SlidePart(slideNumber)).document_element(), {"cSld", "spTree"}), 0,
                  shapes);
    std::vector<ShapeView> views;
    for (auto& shape : shapes) {
        views.push_back(std::move(shape.second));
    }
    return views;
}

pugi::xml_node PresentationReader::FindShapeNode(std::size_t slideNumber,
                                                 const std::string& name) const {
    std::vector<std::pair<pugi::xml_node, ShapeView>> shapes;
    CollectShapes(Path(Xml(SlidePart(slideNumber)).document_element(), {"cSld", "spTree"}), 0,
                  shapes);
    for (const auto& shape : shapes) {
        if (shape.second.name == name) {
            return shape.first;
        }
    }
    throw TestToolError(SlidePart(slideNumber) + " has no shape named \"" + name + "\"");
}

ShapeView PresentationReader::Shape(std::size_t slideNumber, const std::string& name) const {
    return View(FindShapeNode(slideNumber, name), 0);
}

TableView PresentationReader::Table(std::size_t slideNumber, const std::string& name) const {
    pugi::xml_node frame = FindShapeNode(slideNumber, name);
    pugi::xml_node table = Path(frame, {"graphic", "graphicData", "tbl"});
    if (!table) {
        throw TestToolError(SlidePart(slideNumber) + ": \"" + name + "\" is not a table");
    }
    TableView view;
    view.frame = ReadBox(Child(frame, "xfrm"));
    for (pugi::xml_node column : Children(Child(table, "tblGrid"), "gridCol")) {
        view.columnWidths.push_back(column.attribute("w").as_llong());
    }
    for (pugi::xml_node row : Children(table, "tr")) {
        view.rowHeights.push_back(row.attribute("h").as_llong());
        auto& cells = view.cells.emplace_back();
        for (pugi::xml_node cell : Children(row, "tc")) {
            TableCellView cellView;
            pugi::xml_node body = Child(cell, "txBody");
            cellView.text = BodyText(body);
            pugi::xml_node firstRun =
                Path(body.find_node([](pugi::xml_node n) { return Local(n) == "r"; }), {"rPr"});
            cellView.colour = Path(firstRun, {"solidFill", "srgbClr"}).attribute("val").value();
            cellView.bold = firstRun.attribute("b").as_bool();
            cellView.gridSpan = std::max(1, cell.attribute("gridSpan").as_int());
            cellView.rowSpan = std::max(1, cell.attribute("rowSpan").as_int());
            cellView.hMerge = cell.attribute("hMerge").as_bool();
            cellView.vMerge = cell.attribute("vMerge").as_bool();
            cells.push_back(cellView);
        }
    }
    return view;
}

ChartView PresentationReader::Chart(std::size_t slideNumber, const std::string& name) const {
    pugi::xml_node chart =
        Path(FindShapeNode(slideNumber, name), {"graphic", "graphicData", "chart"});
    if (!chart) {
        throw TestToolError(SlidePart(slideNumber) + ": \"" + name + "\" is not a chart");
    }
    ChartView view;
    view.chartPart = RelationshipTarget(SlidePart(slideNumber), AttributeEndingIn(chart, ":id"));
    pugi::xml_node space = Xml(view.chartPart).document_element();
    if (pugi::xml_node external = Child(space, "externalData")) {
        const std::string target =
            RelationshipTarget(view.chartPart, AttributeEndingIn(external, ":id"));
        view.hasEmbeddedWorkbook = m_parts.count(target) != 0;
    }
    for (pugi::xml_node plot : Path(space, {"chart", "plotArea"}).children()) {
        for (pugi::xml_node series : Children(plot, "ser")) {
            ChartSeries data;
            pugi::xml_node title = Child(series, "tx");
            data.name =
                Child(title, "v")
                    ? Child(title, "v").child_value()
                    : (CachedStrings(title).empty() ? std::string() : CachedStrings(title)[0]);
            pugi::xml_node values =
                Child(series, "val") ? Child(series, "val") : Child(series, "yVal");
            for (const std::string& value : CachedStrings(values)) {
                data.values.push_back(std::strtod(value.c_str(), nullptr)); // blank reads 0
            }
            if (view.series.empty()) {
                pugi::xml_node categories =
                    Child(series, "cat") ? Child(series, "cat") : Child(series, "xVal");
                view.categories = CachedStrings(categories);
            }
            view.series.push_back(data);
        }
    }
    return view;
}

std::string PresentationReader::Notes(std::size_t slideNumber) const {
    const std::string& slide = SlidePart(slideNumber);
    for (pugi::xml_node relationship :
         Xml(PackageModel::RelsPartOf(slide)).document_element().children()) {
        if (std::string(relationship.attribute("Type").value()) != kOfficeRel + "notesSlide") {
            continue;
        }
        const std::string notes = ResolveTarget(slide, relationship.attribute("Target").value());
        std::vector<std::pair<pugi::xml_node, ShapeView>> shapes;
        CollectShapes(Path(Xml(notes).document_element(), {"cSld", "spTree"}), 0, shapes);
        for (const auto& shape : shapes) {
            if (shape.second.placeholderType == "body") {
                return shape.second.text;
            }
        }
    }
    return {};
}

std::vector<std::pair<std::string, std::vector<std::size_t>>> PresentationReader::Sections() const {
    const pugi::xml_document& presentation = Xml(RelationshipTarget("", ""));
    pugi::xml_node list =
        presentation.find_node([](pugi::xml_node n) { return Local(n) == "sectionLst"; });
    std::vector<std::pair<std::string, std::vector<std::size_t>>> sections;
    for (pugi::xml_node section : Children(list, "section")) {
        auto& entry =
            sections.emplace_back(section.attribute("name").value(), std::vector<std::size_t>{});
        for (pugi::xml_node slide : Children(Child(section, "sldIdLst"), "sldId")) {
            for (std::size_t i = 0; i < m_slideIds.size(); ++i) {
                if (m_slideIds[i] == slide.attribute("id").as_llong()) {
                    entry.second.push_back(i + 1);
                }
            }
        }
    }
    return sections;
}

} // namespace slidesmith::testtools
