#include "PresentationChecks.h"

#include "PackageModel.h"

#include <cstdlib>
#include <map>
#include <set>

namespace slidesmith::testtools {
namespace {

const std::string kOfficeRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const std::string kPml = "application/vnd.openxmlformats-officedocument.presentationml.";

void AddError(std::vector<Finding>& findings, FindingKind kind, const std::string& part,
              const std::string& message) {
    findings.push_back({kind, FindingLevel::Error, part, message});
}

long long NumberAttribute(pugi::xml_node node, const char* name) {
    return std::atoll(node.attribute(name).value());
}

pugi::xml_node ChildByLocalName(pugi::xml_node node, const std::string& local) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && PackageModel::LocalName(child) == local) {
            return child;
        }
    }
    return {};
}

std::vector<pugi::xml_node> Elements(pugi::xml_node node) {
    std::vector<pugi::xml_node> elements;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element) {
            elements.push_back(child);
        }
    }
    return elements;
}

// The r:id of a p:sldId, whatever prefix the part bound to the relationships namespace.
std::string RelationshipIdAttribute(pugi::xml_node node) {
    for (pugi::xml_attribute attribute : node.attributes()) {
        const std::string name = attribute.name();
        if (name.size() > 3 && name.compare(name.size() - 3, 3, ":id") == 0) {
            return attribute.value();
        }
    }
    return {};
}

} // namespace

void CheckPresentation(PackageModel& model, std::vector<Finding>& findings) {
    std::string main;
    for (const Relationship& relationship : model.RelationshipsOf("")) {
        if (relationship.type == kOfficeRel + "officeDocument" && !relationship.external) {
            main = model.Find(relationship.target).value_or("");
        }
    }
    const pugi::xml_document* document = main.empty() ? nullptr : model.Xml(main);
    if (document == nullptr) {
        return;
    }
    pugi::xml_node presentation = document->document_element();
    std::set<long long> slideIds;
    std::set<std::string> relationshipIds;
    std::map<std::string, std::string> types;
    for (const Relationship& relationship : model.RelationshipsOf(main)) {
        types.emplace(relationship.id, relationship.type);
    }
    for (pugi::xml_node slide : ChildByLocalName(presentation, "sldIdLst").children()) {
        const long long id = NumberAttribute(slide, "id");
        const std::string relationshipId = RelationshipIdAttribute(slide);
        if (id < 256 || id > 2147483647) {
            AddError(findings, FindingKind::DuplicateSlideId, main,
                     main + ": slide id " + std::to_string(id) + " is outside 256..2147483647.");
        }
        if (!slideIds.insert(id).second) {
            AddError(findings, FindingKind::DuplicateSlideId, main,
                     main + ": slide id " + std::to_string(id) + " appears twice in p:sldIdLst.");
        }
        auto type = types.find(relationshipId);
        if (type != types.end() && type->second != kOfficeRel + "slide") {
            AddError(findings, FindingKind::UnresolvedReference, main,
                     main + ": p:sldId " + std::to_string(id) + " names relationship " +
                         relationshipId + " of type " + type->second + ", not a slide.");
        }
        if (!relationshipIds.insert(relationshipId).second) {
            AddError(findings, FindingKind::DuplicateSlideId, main,
                     main + ": relationship " + relationshipId +
                         " is used by two entries of p:sldIdLst.");
        }
    }
    pugi::xml_node sections = presentation.find_node(
        [](pugi::xml_node node) { return PackageModel::LocalName(node) == "sectionLst"; });
    std::map<long long, std::string> sectionOf;
    for (pugi::xml_node section : Elements(sections)) {
        const std::string sectionName = section.attribute("name").value();
        for (pugi::xml_node slide : ChildByLocalName(section, "sldIdLst").children()) {
            const long long id = NumberAttribute(slide, "id");
            if (slideIds.count(id) == 0) {
                AddError(findings, FindingKind::SectionMismatch, main,
                         main + ": section \"" + sectionName + "\" names slide id " +
                             std::to_string(id) + ", which is not in p:sldIdLst.");
            }
            auto [previous, isNew] = sectionOf.emplace(id, sectionName);
            if (!isNew) {
                AddError(findings, FindingKind::SectionMismatch, main,
                         main + ": slide id " + std::to_string(id) + " is in sections \"" +
                             previous->second + "\" and \"" + sectionName + "\".");
            }
        }
    }
}

void CheckNotes(PackageModel& model, std::vector<Finding>& findings) {
    std::map<std::string, std::string> slideOf;
    for (const std::string& slide : model.PartsOfType(kPml + "slide+xml")) {
        int count = 0;
        for (const Relationship& relationship : model.RelationshipsOf(slide)) {
            if (relationship.type != kOfficeRel + "notesSlide" || relationship.external) {
                continue;
            }
            if (++count == 2) {
                AddError(findings, FindingKind::NotesMismatch, slide,
                         slide + " has more than one notes slide relationship.");
            }
            auto [previous, isNew] = slideOf.emplace(relationship.target, slide);
            if (!isNew) {
                AddError(findings, FindingKind::NotesMismatch, relationship.target,
                         "Notes slide " + relationship.target + " belongs to both " +
                             previous->second + " and " + slide + ".");
                continue;
            }
            for (const Relationship& back : model.RelationshipsOf(relationship.target)) {
                if (back.type == kOfficeRel + "slide" && !back.external && back.target != slide) {
                    AddError(findings, FindingKind::NotesMismatch, relationship.target,
                             "Notes slide " + relationship.target + " of " + slide +
                                 " points back at " + back.target + ".");
                }
            }
        }
    }
}

// Office repairs a file whose HeadingPairs counts do not add up to its TitlesOfParts.
void CheckAppProperties(PackageModel& model, std::vector<Finding>& findings) {
    std::string app;
    for (const Relationship& relationship : model.RelationshipsOf("")) {
        if (relationship.type == kOfficeRel + "extended-properties" && !relationship.external) {
            app = model.Find(relationship.target).value_or("");
        }
    }
    const pugi::xml_document* document = app.empty() ? nullptr : model.Xml(app);
    if (document == nullptr) {
        return;
    }
    pugi::xml_node root = document->document_element();
    pugi::xml_node pairs = ChildByLocalName(ChildByLocalName(root, "HeadingPairs"), "vector");
    pugi::xml_node titles = ChildByLocalName(ChildByLocalName(root, "TitlesOfParts"), "vector");
    if (!pairs || !titles) {
        return;
    }
    for (pugi::xml_node vector : {pairs, titles}) {
        const auto size = static_cast<std::size_t>(NumberAttribute(vector, "size"));
        if (size != Elements(vector).size()) {
            AddError(findings, FindingKind::InconsistentDocProps, app,
                     app + ": a vt:vector of size " + std::to_string(size) + " holds " +
                         std::to_string(Elements(vector).size()) + " entries.");
        }
    }
    long long counted = 0;
    for (pugi::xml_node variant : Elements(pairs)) {
        counted += std::atoll(ChildByLocalName(variant, "i4").child_value());
    }
    if (counted != static_cast<long long>(Elements(titles).size())) {
        AddError(findings, FindingKind::InconsistentDocProps, app,
                 app + ": HeadingPairs count " + std::to_string(counted) +
                     " parts, TitlesOfParts lists " + std::to_string(Elements(titles).size()) +
                     ".");
    }
}

} // namespace slidesmith::testtools
