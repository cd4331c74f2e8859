#pragma once

#include "PackageChecker.h"

#include <map>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <vector>

namespace slidesmith::testtools {

inline constexpr const char* kRelationshipNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* kStrictRelationshipNamespace =
    "http://purl.oclc.org/ooxml/officeDocument/relationships";

struct Relationship {
    std::string id;
    std::string type;      // full type URI
    std::string rawTarget; // as written
    std::string target;    // resolved item name, empty for external targets
    bool external = false;
};

// The checker's view of a package: content types, relationships by source part and lazily
// parsed XML. Problems met while building the view (a [Content_Types].xml or rels part that does
// not parse, a part that does not parse) are appended to the findings once.
class PackageModel {
public:
    PackageModel(const PartMap& parts, std::vector<Finding>& findings);

    const PartMap& Parts() const { return m_parts; }
    // The entry name as stored, matching part names case-insensitively as OPC does.
    std::optional<std::string> Find(const std::string& name) const;
    std::string ContentType(const std::string& name) const; // empty when none applies
    bool HasOverride(const std::string& name) const;
    bool IsXmlPart(const std::string& name) const;
    // Parsed part, or nullptr when it is missing, not XML or malformed.
    const pugi::xml_document* Xml(const std::string& name);
    // Relationships whose source is `source` ("" for the package itself).
    const std::vector<Relationship>& RelationshipsOf(const std::string& source);
    // Parts of the given content type, in name order.
    std::vector<std::string> PartsOfType(const std::string& contentType) const;

    static std::string RelsPartOf(const std::string& source);
    static bool IsRelsPart(const std::string& name);
    static std::string SourceOfRels(const std::string& relsPart);
    static std::string LocalName(const pugi::xml_node& node);

private:
    void ReadContentTypes();
    void Add(FindingKind kind, const std::string& part, const std::string& message);

    const PartMap& m_parts;
    std::vector<Finding>& m_findings;
    std::map<std::string, std::string> m_lowerNames; // lower-case name -> stored name
    std::map<std::string, std::string> m_defaults;   // lower-case extension -> content type
    std::map<std::string, std::string> m_overrides;  // lower-case item name -> content type
    std::map<std::string, std::unique_ptr<pugi::xml_document>> m_xml;
    std::set<std::string> m_malformed;
    std::map<std::string, std::vector<Relationship>> m_relationships;
};

// Resolves a relationship target against its source part the way OPC does: relative to the
// source's folder, "/" for absolute names, "%xx" decoded, any "#fragment" dropped.
std::string ResolveTarget(const std::string& source, const std::string& target);

} // namespace slidesmith::testtools
