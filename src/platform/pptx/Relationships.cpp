#include "platform/pptx/Relationships.h"

#include "platform/pptx/PartName.h"
#include "platform/pptx/PptxError.h"

#include <charconv>
#include <cstring>

namespace slidesmith::pptx {
namespace {

// The number in "rId12", or 0 for ids of another shape.
unsigned long IdNumber(std::string_view id) {
    if (id.size() <= 3 || id.substr(0, 3) != "rId")
        return 0;
    unsigned long number = 0;
    auto [end, error] = std::from_chars(id.data() + 3, id.data() + id.size(), number);
    return (error == std::errc() && end == id.data() + id.size()) ? number : 0;
}

} // namespace

Relationships::Relationships(std::string sourcePart, XmlPart& part, RelationshipListener& listener,
                             std::string_view fileName)
    : m_source(std::move(sourcePart)), m_part(part), m_listener(listener) {
    for (pugi::xml_node node : part.Root().children("Relationship"))
        Index(node, fileName);
}

void Relationships::Index(pugi::xml_node node, std::string_view fileName) {
    Relationship relationship;
    relationship.id = node.attribute("Id").value();
    relationship.type = node.attribute("Type").value();
    relationship.target = node.attribute("Target").value();
    relationship.external = std::strcmp(node.attribute("TargetMode").value(), "External") == 0;
    auto fail = [&](const std::string& problem) {
        throw PptxError(std::string(fileName) + ": " + m_part.Name() + ": " + problem);
    };
    if (relationship.id.empty() || relationship.type.empty())
        fail("a relationship has no Id or Type");
    if (m_byId.count(relationship.id) != 0)
        fail("relationship id " + relationship.id + " is used twice");
    if (!relationship.external) {
        relationship.targetPart = ResolveTarget(m_source, relationship.target);
        if (relationship.targetPart.empty())
            fail("relationship " + relationship.id + " has an invalid target \"" +
                 relationship.target + "\"");
    }
    Insert(std::move(relationship), node);
}

void Relationships::Insert(Relationship relationship, pugi::xml_node node) {
    unsigned long number = IdNumber(relationship.id);
    if (number >= m_nextNumber)
        m_nextNumber = number + 1;
    std::string id = relationship.id;
    if (!relationship.external) {
        m_byTarget.emplace(PartKey(relationship.targetPart), id);
        m_listener.TargetGained(relationship.targetPart);
    }
    m_byId.emplace(std::move(id), Entry{std::move(relationship), node});
}

std::vector<Relationship> Relationships::All() const {
    std::vector<Relationship> all;
    all.reserve(m_byId.size());
    for (pugi::xml_node node : m_part.Root().children("Relationship")) {
        auto found = m_byId.find(node.attribute("Id").value());
        if (found != m_byId.end())
            all.push_back(found->second.relationship);
    }
    return all;
}

const Relationship* Relationships::FindById(std::string_view id) const {
    auto found = m_byId.find(std::string(id));
    return found == m_byId.end() ? nullptr : &found->second.relationship;
}

std::vector<std::string> Relationships::FindByTarget(std::string_view partName) const {
    std::vector<std::string> ids;
    auto [first, last] = m_byTarget.equal_range(PartKey(partName));
    for (auto it = first; it != last; ++it)
        ids.push_back(it->second);
    return ids;
}

const Relationship* Relationships::FindByType(std::string_view type) const {
    for (pugi::xml_node node : m_part.Root().children("Relationship")) {
        if (type == node.attribute("Type").value())
            return FindById(node.attribute("Id").value());
    }
    return nullptr;
}

pugi::xml_node Relationships::AppendNode(std::string_view id, std::string_view type,
                                         std::string_view target, bool external) {
    pugi::xml_node node = m_part.Root().append_child("Relationship");
    node.append_attribute("Id") = std::string(id).c_str();
    node.append_attribute("Type") = std::string(type).c_str();
    node.append_attribute("Target") = std::string(target).c_str();
    if (external)
        node.append_attribute("TargetMode") = "External";
    m_part.MarkChanged();
    return node;
}

std::string Relationships::Add(std::string_view type, std::string_view targetPart) {
    std::string id = "rId" + std::to_string(m_nextNumber);
    while (m_byId.count(id) != 0)
        id = "rId" + std::to_string(++m_nextNumber);
    AddWithId(id, type, RelativeTarget(m_source, targetPart), false);
    return id;
}

void Relationships::AddWithId(std::string_view id, std::string_view type, std::string_view target,
                              bool external) {
    if (m_byId.count(std::string(id)) != 0)
        throw PptxError(m_part.Name() + ": relationship id " + std::string(id) + " is taken");
    Relationship relationship{std::string(id), std::string(type), std::string(target), external,
                              external ? std::string() : ResolveTarget(m_source, target)};
    pugi::xml_node node = AppendNode(id, type, target, external);
    Insert(std::move(relationship), node);
}

void Relationships::Remove(std::string_view id) {
    auto found = m_byId.find(std::string(id));
    if (found == m_byId.end())
        return;
    const Relationship& relationship = found->second.relationship;
    if (!relationship.external) {
        auto [first, last] = m_byTarget.equal_range(PartKey(relationship.targetPart));
        for (auto it = first; it != last; ++it) {
            if (it->second == relationship.id) {
                m_byTarget.erase(it);
                break;
            }
        }
        m_listener.TargetLost(relationship.targetPart);
    }
    m_part.Root().remove_child(found->second.node);
    m_part.MarkChanged();
    m_byId.erase(found);
}

} // namespace slidesmith::pptx
