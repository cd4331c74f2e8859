#pragma once

#include "platform/pptx/PartChangeSink.h"

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace slidesmith::pptx {

// One XML part of the package with its own document. It is re-serialised on save only after
// an editor reported a change through MarkChanged(); otherwise the original bytes are copied.
// Nodes handed out are borrowed: they live as long as this part.
class XmlPart : public PartChangeSink {
public:
    // Parses the part's bytes. Throws PptxError naming fileName and partName when the bytes are
    // not well-formed XML. DOCTYPEs are not expanded (entities stay unresolved), so an entity
    // bomb cannot grow the tree.
    XmlPart(std::string partName, std::string_view bytes, std::string_view fileName);
    // A new part holding a copy of another document (used when a part is duplicated).
    XmlPart(std::string partName, const pugi::xml_document& source);

    const std::string& Name() const { return m_name; }
    pugi::xml_document& Document() { return m_document; }
    const pugi::xml_document& Document() const { return m_document; }
    pugi::xml_node Root() const { return m_document.document_element(); }

    void MarkChanged() override { m_changed = true; }
    bool IsChanged() const { return m_changed; }

    // The document without pretty-printing, in UTF-8, with an XML declaration that says
    // standalone="yes" as Office writes it.
    std::string Serialize() const;

private:
    std::string m_name;
    pugi::xml_document m_document;
    bool m_changed = false;
};

// Makes sure a document starts with <?xml version="1.0" encoding="UTF-8" standalone="yes"?>.
void EnsureDeclaration(pugi::xml_document& document);

} // namespace slidesmith::pptx
