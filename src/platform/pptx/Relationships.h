#pragma once

#include "platform/pptx/XmlPart.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace slidesmith::pptx {

struct Relationship {
    std::string id;
    std::string type;
    std::string target; // as written in the part
    bool external = false;
    std::string targetPart; // resolved part name; empty for external targets
};

// Told when an internal relationship to a part appears or disappears, so the package can keep
// reference counts of its parts without rescanning.
class RelationshipListener {
public:
    virtual ~RelationshipListener() = default;
    virtual void TargetGained(const std::string& targetPart) = 0;
    virtual void TargetLost(const std::string& targetPart) = 0;
};

// The relationships of one source part (its _rels/*.rels part), indexed by id and by target.
// Ids for new relationships come from a counter, so adding is O(1) however many exist.
class Relationships {
public:
    // Indexes the rels part. Throws PptxError (file and part named) for a relationship without
    // an id, type or target, or a duplicated id.
    Relationships(std::string sourcePart, XmlPart& part, RelationshipListener& listener,
                  std::string_view fileName);

    const std::string& SourcePart() const { return m_source; }
    XmlPart& Part() { return m_part; }

    // All relationships in document order.
    std::vector<Relationship> All() const;
    const Relationship* FindById(std::string_view id) const;
    // Ids of the internal relationships that point at a part.
    std::vector<std::string> FindByTarget(std::string_view partName) const;
    // The first relationship of a type, or nullptr.
    const Relationship* FindByType(std::string_view type) const;

    // Adds an internal relationship to targetPart with a fresh id; returns the id.
    std::string Add(std::string_view type, std::string_view targetPart);
    // Adds a relationship keeping a given id (a copied part keeps its ids so its XML needs no
    // rewriting). External targets are kept as written. Throws PptxError when the id is taken.
    void AddWithId(std::string_view id, std::string_view type, std::string_view target,
                   bool external);
    void Remove(std::string_view id);

private:
    struct Entry {
        Relationship relationship;
        pugi::xml_node node;
    };

    void Index(pugi::xml_node node, std::string_view fileName);
    pugi::xml_node AppendNode(std::string_view id, std::string_view type, std::string_view target,
                              bool external);
    void Insert(Relationship relationship, pugi::xml_node node);

    std::string m_source;
    XmlPart& m_part;
    RelationshipListener& m_listener;
    std::unordered_map<std::string, Entry> m_byId;
    std::unordered_multimap<std::string, std::string> m_byTarget; // PartKey -> id
    unsigned long m_nextNumber = 1;
};

} // namespace slidesmith::pptx
