#include "DrawingChecks.h"

#include "PackageModel.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace slidesmith::testtools {
namespace {

const std::string kPml = "application/vnd.openxmlformats-officedocument.presentationml.";
const std::string kOfficeRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// Row heights are minimums: rows grow to fit their text, and PowerPoint saves the grown frame
// height without rewriting a:tr@h (2007 even writes h="0"), so a frame taller than its rows is
// normal. A frame shorter than its rows is the stale frame of an edit that added rows without
// growing it, which leaves rows undrawn. Columns never grow, so the width must match. Half a
// point absorbs rounding in other writers.
constexpr long long kFrameTolerance = 6350;

using Scope = std::vector<std::pair<std::string, std::string>>;

std::vector<pugi::xml_node> Elements(pugi::xml_node node) {
    std::vector<pugi::xml_node> elements;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element) {
            elements.push_back(child);
        }
    }
    return elements;
}

void AddError(std::vector<Finding>& findings, FindingKind kind, const std::string& part,
              const std::string& message) {
    findings.push_back({kind, FindingLevel::Error, part, message});
}

std::string Prefix(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon == nullptr ? std::string() : std::string(name, colon);
}

struct ReferenceWalk {
    const std::string& part;
    const std::set<std::string>& ids;
    std::set<std::string> reported;
    std::vector<Finding>& findings;

    void Walk(pugi::xml_node node, Scope& scope) {
        const std::size_t mark = scope.size();
        for (pugi::xml_attribute attribute : node.attributes()) {
            const std::string name = attribute.name();
            if (name.rfind("xmlns:", 0) == 0) {
                scope.emplace_back(name.substr(6), attribute.value());
            }
        }
        for (pugi::xml_attribute attribute : node.attributes()) {
            const std::string prefix = Prefix(attribute.name());
            if (prefix.empty() || prefix == "xmlns" || prefix == "xml") {
                continue;
            }
            std::string uri;
            for (auto it = scope.rbegin(); it != scope.rend(); ++it) {
                if (it->first == prefix) {
                    uri = it->second;
                    break;
                }
            }
            const std::string value = attribute.value();
            // An empty id means "no relationship": PowerPoint writes r:id="" on action-only
            // hyperlinks and r:blip="" in SmartArt layouts.
            if (!value.empty() &&
                (uri == kRelationshipNamespace || uri == kStrictRelationshipNamespace) &&
                ids.count(value) == 0 && reported.insert(value).second) {
                AddError(findings, FindingKind::UnresolvedReference, part,
                         part + ": <" + node.name() + "> " + attribute.name() + "=\"" + value +
                             "\" names no relationship in " + PackageModel::RelsPartOf(part) + ".");
            }
        }
        for (pugi::xml_node child : Elements(node)) {
            Walk(child, scope);
        }
        scope.resize(mark);
    }
};

long long NumberAttribute(pugi::xml_node node, const char* name) {
    return std::atoll(node.attribute(name).value());
}

pugi::xml_node ChildByLocalName(pugi::xml_node node, const std::string& local) {
    for (pugi::xml_node child : Elements(node)) {
        if (PackageModel::LocalName(child) == local) {
            return child;
        }
    }
    return {};
}

pugi::xml_node Descend(pugi::xml_node node, std::initializer_list<const char*> path) {
    for (const char* local : path) {
        node = ChildByLocalName(node, local);
    }
    return node;
}

class ShapeTreeWalk {
public:
    ShapeTreeWalk(const std::string& part, std::vector<Finding>& findings)
        : m_part(part), m_findings(findings) {}

    void Walk(pugi::xml_node container) {
        for (pugi::xml_node child : Elements(container)) {
            const std::string local = PackageModel::LocalName(child);
            if (local == "AlternateContent") {
                // Choice and Fallback carry the same shape with the same id; one counts.
                pugi::xml_node branch = ChildByLocalName(child, "Choice");
                Walk(branch ? branch : ChildByLocalName(child, "Fallback"));
                continue;
            }
            if (local != "sp" && local != "pic" && local != "graphicFrame" && local != "grpSp" &&
                local != "cxnSp" && local != "contentPart") {
                continue;
            }
            Record(child);
            if (local == "grpSp") {
                Walk(child);
            } else if (local == "graphicFrame") {
                if (pugi::xml_node table = Descend(child, {"graphic", "graphicData", "tbl"})) {
                    CheckTable(child, table);
                }
            }
        }
    }

    // Offsets are signed 64-bit integers and extents non-negative ones; anything else (a
    // negative size, "NaN", "1.5") makes PowerPoint repair the file.
    void CheckNumbers(pugi::xml_node owner, const char* what,
                      std::initializer_list<std::pair<const char*, bool>> attributes) {
        for (const auto& [name, mayBeNegative] : attributes) {
            pugi::xml_attribute attribute = owner.attribute(name);
            if (!attribute) {
                continue;
            }
            const std::string value = attribute.value();
            const std::size_t digits = value.rfind('-', 0) == 0 && mayBeNegative ? 1 : 0;
            if (value.size() == digits ||
                value.find_first_not_of("0123456789", digits) != std::string::npos) {
                AddError(m_findings, FindingKind::InvalidValue, m_part,
                         std::string(what) + " has " + name + "=\"" + value + "\".");
            }
        }
    }

    void CheckTransform(pugi::xml_node shape, const std::string& name) {
        for (pugi::xml_node holder : Elements(shape)) {
            const std::string local = PackageModel::LocalName(holder);
            pugi::xml_node transform = local == "xfrm" ? holder
                                       : (local == "spPr" || local == "grpSpPr")
                                           ? ChildByLocalName(holder, "xfrm")
                                           : pugi::xml_node();
            const std::string what = m_part + ": shape \"" + name + "\"";
            CheckNumbers(ChildByLocalName(transform, "off"), what.c_str(),
                         {{"x", true}, {"y", true}});
            CheckNumbers(ChildByLocalName(transform, "ext"), what.c_str(),
                         {{"cx", false}, {"cy", false}});
        }
    }

    void Record(pugi::xml_node shape) {
        pugi::xml_node properties;
        for (pugi::xml_node child : Elements(shape)) {
            if (PackageModel::LocalName(child).rfind("nv", 0) == 0) {
                properties = ChildByLocalName(child, "cNvPr");
                break;
            }
        }
        if (!properties) {
            return;
        }
        const std::string id = properties.attribute("id").value();
        const std::string name = properties.attribute("name").value();
        CheckTransform(shape, name);
        auto [previous, isNew] = m_ids.emplace(id, name);
        if (!isNew) {
            AddError(m_findings, FindingKind::DuplicateShapeId, m_part,
                     m_part + ": shapes \"" + previous->second + "\" and \"" + name +
                         "\" both have id " + id + ".");
        }
    }

private:
    void CheckTable(pugi::xml_node frame, pugi::xml_node table);
    void CheckTableIds(const std::string& label, pugi::xml_node table,
                       const std::vector<pugi::xml_node>& rows);

    const std::string& m_part;
    std::vector<Finding>& m_findings;
    std::map<std::string, std::string> m_ids;
};

// a16:rowId / a16:colId must be unique within a table; PowerPoint Online misdraws duplicates.
void ShapeTreeWalk::CheckTableIds(const std::string& label, pugi::xml_node table,
                                  const std::vector<pugi::xml_node>& rows) {
    const auto idOf = [](pugi::xml_node owner, const char* local) {
        pugi::xml_node id = owner.find_node(
            [local](pugi::xml_node node) { return PackageModel::LocalName(node) == local; });
        return std::string(id.attribute("val").value());
    };
    std::set<std::string> seen;
    for (pugi::xml_node row : rows) {
        const std::string id = idOf(row, "rowId");
        if (!id.empty() && !seen.insert(id).second) {
            AddError(m_findings, FindingKind::DuplicateTableId, m_part,
                     label + " has two rows with a16:rowId " + id + ".");
        }
    }
    seen.clear();
    for (pugi::xml_node column : Elements(ChildByLocalName(table, "tblGrid"))) {
        const std::string id = idOf(column, "colId");
        if (!id.empty() && !seen.insert(id).second) {
            AddError(m_findings, FindingKind::DuplicateTableId, m_part,
                     label + " has two columns with a16:colId " + id + ".");
        }
    }
}

void ShapeTreeWalk::CheckTable(pugi::xml_node frame, pugi::xml_node table) {
    const std::string name =
        Descend(frame, {"nvGraphicFramePr", "cNvPr"}).attribute("name").value();
    const std::string label = m_part + ": table \"" + name + "\"";
    long long width = 0;
    long long columns = 0;
    for (pugi::xml_node column : Elements(ChildByLocalName(table, "tblGrid"))) {
        if (PackageModel::LocalName(column) == "gridCol") {
            CheckNumbers(column, (label + " grid column").c_str(), {{"w", false}});
            width += NumberAttribute(column, "w");
            ++columns;
        }
    }
    std::vector<pugi::xml_node> rows;
    long long height = 0;
    for (pugi::xml_node row : Elements(table)) {
        if (PackageModel::LocalName(row) == "tr") {
            CheckNumbers(row, (label + " row").c_str(), {{"h", false}});
            rows.push_back(row);
            height += NumberAttribute(row, "h");
        }
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        long long cells = 0;
        for (pugi::xml_node cell : Elements(rows[r])) {
            if (PackageModel::LocalName(cell) != "tc") {
                continue;
            }
            const long long span = std::max(1LL, NumberAttribute(cell, "gridSpan"));
            const long long rowSpan = std::max(1LL, NumberAttribute(cell, "rowSpan"));
            const std::string where =
                " row " + std::to_string(r + 1) + " cell " + std::to_string(cells + 1);
            if (cells + span > columns) {
                AddError(m_findings, FindingKind::TableGridMismatch, m_part,
                         label + where + " spans " + std::to_string(span) + " columns, past the " +
                             std::to_string(columns) + " of its a:tblGrid.");
            }
            if (r + static_cast<std::size_t>(rowSpan) > rows.size()) {
                AddError(m_findings, FindingKind::TableGridMismatch, m_part,
                         label + where + " spans " + std::to_string(rowSpan) +
                             " rows, past the table's " + std::to_string(rows.size()) + ".");
            }
            ++cells;
        }
        if (cells != columns) {
            AddError(m_findings, FindingKind::TableGridMismatch, m_part,
                     label + " row " + std::to_string(r + 1) + " has " + std::to_string(cells) +
                         " cells, but its a:tblGrid has " + std::to_string(columns) + " columns.");
        }
    }
    CheckTableIds(label, table, rows);
    pugi::xml_node extent = Descend(frame, {"xfrm", "ext"});
    const long long frameHeight = NumberAttribute(extent, "cy");
    const long long frameWidth = NumberAttribute(extent, "cx");
    if (extent && height - frameHeight > kFrameTolerance) {
        m_findings.push_back({FindingKind::TableFrameMismatch, FindingLevel::Warning, m_part,
                              label + " frame is " + std::to_string(frameHeight) +
                                  " EMU high, but its " + std::to_string(rows.size()) +
                                  " rows add up to " + std::to_string(height) + " EMU."});
    }
    if (extent && std::llabs(frameWidth - width) > kFrameTolerance) {
        m_findings.push_back({FindingKind::TableFrameMismatch, FindingLevel::Warning, m_part,
                              label + " frame is " + std::to_string(frameWidth) +
                                  " EMU wide, but its " + std::to_string(columns) +
                                  " columns add up to " + std::to_string(width) + " EMU."});
    }
}

} // namespace

void CheckReferences(PackageModel& model, std::vector<Finding>& findings) {
    for (const auto& entry : model.Parts()) {
        const std::string& name = entry.first;
        if (name == "[Content_Types].xml" || PackageModel::IsRelsPart(name) ||
            !model.IsXmlPart(name)) {
            continue;
        }
        const pugi::xml_document* document = model.Xml(name);
        if (document == nullptr) {
            continue;
        }
        std::set<std::string> ids;
        for (const Relationship& relationship : model.RelationshipsOf(name)) {
            ids.insert(relationship.id);
        }
        ReferenceWalk walk{name, ids, {}, findings};
        Scope scope;
        walk.Walk(document->document_element(), scope);
    }
}

void CheckShapeTrees(PackageModel& model, std::vector<Finding>& findings) {
    for (const char* kind : {"slide+xml", "slideLayout+xml", "slideMaster+xml", "notesSlide+xml",
                             "notesMaster+xml", "handoutMaster+xml"}) {
        for (const std::string& name : model.PartsOfType(kPml + kind)) {
            const pugi::xml_document* document = model.Xml(name);
            if (document == nullptr) {
                continue;
            }
            pugi::xml_node tree = Descend(document->document_element(), {"cSld", "spTree"});
            ShapeTreeWalk walk(name, findings);
            walk.Record(tree);
            walk.Walk(tree);
        }
    }
}

void CheckSharedCharts(PackageModel& model, std::vector<Finding>& findings) {
    std::map<std::string, std::string> slideOf;
    for (const std::string& slide : model.PartsOfType(kPml + "slide+xml")) {
        for (const Relationship& relationship : model.RelationshipsOf(slide)) {
            const bool chart = relationship.type == kOfficeRel + "chart" ||
                               relationship.type ==
                                   "http://schemas.microsoft.com/office/2014/relationships/chartEx";
            if (!chart || relationship.external) {
                continue;
            }
            auto [previous, isNew] = slideOf.emplace(relationship.target, slide);
            if (!isNew && previous->second != slide) {
                AddError(findings, FindingKind::SharedChartPart, relationship.target,
                         "Chart part " + relationship.target + " is used by both " +
                             previous->second + " and " + slide + ".");
            }
        }
    }
}

} // namespace slidesmith::testtools
