#pragma once

#include "platform/pptx/Package.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace slidesmith::pptx {

// Copies the relationships of a part onto its copy, deciding per relationship type whether the
// target belongs to the owner alone (notes, charts with their workbooks and styles, embedded
// objects, drawings, tags: copied, so two slides never share them) or is shared (layouts,
// media, hyperlinks). Comments are dropped: they belong to the original's discussion. Copied
// parts keep their relationship ids, so their XML needs no rewriting. One copier serves one
// duplication: a part reached twice is copied once.
class PartCopier {
public:
    explicit PartCopier(Package& package) : m_package(package) {}

    // From now on, relationships to `from` point at `to` (a notes slide's link back to its
    // slide must follow the copy).
    void MapTo(std::string_view from, std::string_view to);
    // Gives `to` the relationships of `from`, copying owned targets.
    void CopyRelationships(std::string_view from, std::string_view to);

    static bool IsDroppedType(std::string_view relationshipType);

private:
    std::string CopyOwnedPart(const std::string& part);

    Package& m_package;
    std::unordered_map<std::string, std::string> m_copies; // PartKey(original) -> copy
};

} // namespace slidesmith::pptx
