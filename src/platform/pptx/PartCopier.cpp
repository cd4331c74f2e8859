#include "platform/pptx/PartCopier.h"

#include "platform/pptx/PartName.h"

#include <array>

namespace slidesmith::pptx {
namespace {

// The last segment of a relationship type URI ("chart", "notesSlide").
std::string_view TypeName(std::string_view type) {
    std::size_t slash = type.rfind('/');
    return slash == std::string_view::npos ? type : type.substr(slash + 1);
}

bool IsOwnedType(std::string_view type) {
    static constexpr std::array<std::string_view, 18> kOwned{
        "notesSlide",      "chart",          "chartEx",
        "package",         "oleObject",      "vmlDrawing",
        "diagramData",     "diagramLayout",  "diagramQuickStyle",
        "diagramColors",   "diagramDrawing", "tags",
        "chartUserShapes", "chartStyle",     "chartColorStyle",
        "themeOverride",   "control",        "activeXControlBinary"};
    std::string_view name = TypeName(type);
    for (std::string_view owned : kOwned) {
        if (name == owned)
            return true;
    }
    return false;
}

// "ppt/charts/chart12.xml" -> stem "ppt/charts/chart", extension "xml".
std::pair<std::string, std::string> NameStem(std::string_view part) {
    std::string extension = PartExtension(part);
    std::string_view stem =
        part.substr(0, extension.empty() ? part.size() : part.size() - extension.size() - 1);
    std::size_t folderEnd = stem.rfind('/') + 1;
    while (stem.size() > folderEnd && stem.back() >= '0' && stem.back() <= '9')
        stem.remove_suffix(1);
    return {std::string(stem), std::string(part.substr(part.size() - extension.size()))};
}

} // namespace

bool PartCopier::IsDroppedType(std::string_view relationshipType) {
    return TypeName(relationshipType) == "comments";
}

void PartCopier::MapTo(std::string_view from, std::string_view to) {
    m_copies[PartKey(from)] = std::string(to);
}

void PartCopier::CopyRelationships(std::string_view from, std::string_view to) {
    if (!m_package.HasRels(from))
        return;
    // All() returns a snapshot; copying may load other relationship sets meanwhile.
    std::vector<Relationship> relationships = m_package.Rels(from).All();
    for (const Relationship& relationship : relationships) {
        if (IsDroppedType(relationship.type))
            continue;
        if (relationship.external) {
            m_package.Rels(to).AddWithId(relationship.id, relationship.type, relationship.target,
                                         true);
            continue;
        }
        std::string target = relationship.targetPart;
        auto mapped = m_copies.find(PartKey(target));
        if (mapped != m_copies.end())
            target = mapped->second;
        else if (IsOwnedType(relationship.type) && m_package.Has(target))
            target = CopyOwnedPart(target);
        m_package.Rels(to).AddWithId(relationship.id, relationship.type, RelativeTarget(to, target),
                                     false);
    }
}

std::string PartCopier::CopyOwnedPart(const std::string& part) {
    auto [stem, extension] = NameStem(part);
    std::string copy = m_package.NewPartName(stem, extension);
    m_package.CopyPart(part, copy);
    MapTo(part, copy);
    CopyRelationships(part, copy);
    return copy;
}

} // namespace slidesmith::pptx
