#pragma once

#include "platform/pptx/XmlPart.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace slidesmith::pptx {

// [Content_Types].xml: Default entries by extension and Override entries by part name, both
// matched case-insensitively. Edits go straight into the part's document and mark it changed.
class ContentTypes {
public:
    // Indexes the part. Throws PptxError when the root is not <Types>.
    ContentTypes(XmlPart& part, std::string_view fileName);

    // The content type of a part (Override first, then Default); empty when none matches.
    std::string Of(std::string_view partName) const;
    bool HasOverride(std::string_view partName) const;
    void SetOverride(std::string_view partName, std::string_view contentType);
    void RemoveOverride(std::string_view partName);
    // Adds a Default for the extension unless one exists (an existing one is left alone).
    void EnsureDefault(std::string_view extension, std::string_view contentType);
    // Number of overrides with this content type.
    std::size_t CountOverrides(std::string_view contentType) const;

private:
    XmlPart& m_part;
    std::unordered_map<std::string, pugi::xml_node> m_defaults;  // by lower-case extension
    std::unordered_map<std::string, pugi::xml_node> m_overrides; // by PartKey
};

} // namespace slidesmith::pptx
