#pragma once

#include "platform/pptx/ContentTypes.h"
#include "platform/pptx/Relationships.h"
#include "platform/pptx/XmlPart.h"
#include "platform/pptx/ZipArchive.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace slidesmith::pptx {

// An OPC package (the zip behind a .pptx) with its parts indexed by name. XML parts are
// parsed when first touched; parts nobody changed are written back as their original
// compressed bytes; changed and new parts are serialised and deflated on all cores.
// Part names are zip item names ("ppt/slides/slide1.xml"), compared case-insensitively.
// Every failure throws PptxError naming the file and the part.
class Package : private RelationshipListener {
public:
    // Opens the zip in memory. Throws PptxError when it is not a zip, is damaged, has entries
    // with absurd sizes, or lacks [Content_Types].xml.
    Package(std::string bytes, std::string displayName);
    ~Package() override;
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    const std::string& DisplayName() const { return m_displayName; }

    bool Has(std::string_view partName) const;
    // The parsed part; parsed on the first call. Throws when the part is missing or not XML.
    XmlPart& Xml(std::string_view partName);
    // The part's current content, uncompressed (serialised when it was changed).
    std::string Bytes(std::string_view partName) const;
    ContentTypes& Types() { return *m_types; }
    // The relationships of a part ("" for the package); an empty set is created on demand.
    Relationships& Rels(std::string_view sourcePart);
    bool HasRels(std::string_view sourcePart) const;

    // Adds a part from bytes, with an Override for contentType unless it is empty (then the
    // extension's Default must cover it). Throws when the name is taken.
    void AddPart(std::string_view partName, std::string bytes, std::string_view contentType);
    // Replaces the content of a binary part (an embedded workbook written back); its content
    // type and relationships stay. Throws when the part is missing or parsed as XML.
    void SetBytes(std::string_view partName, std::string bytes);
    // Adds an XML part as a copy of a document.
    XmlPart& AddXmlPart(std::string_view partName, const pugi::xml_document& document,
                        std::string_view contentType);
    // Copies a part's content and content type (not its relationships) under a new name.
    // An untouched part is copied as its compressed bytes.
    void CopyPart(std::string_view from, std::string_view to);
    // Drops the parsed form of an XML part to free its memory; a changed part keeps its
    // serialised bytes, and the next Xml() parses again. Every node of the part handed out
    // before becomes invalid. The content types and relationships parts stay parsed (they are
    // indexed), so for them this does nothing.
    void Unload(std::string_view partName);
    // Removes a part, its Override and its relationships part.
    void RemovePart(std::string_view partName);
    // Removes a part, then every part that no relationship points at any more because of it.
    void RemovePartAndOrphans(std::string_view partName);
    // Number of internal relationships that point at the part, over the whole package.
    int IncomingCount(std::string_view partName);

    // An unused name stem + N + "." + extension ("ppt/slides/slide", "xml"). The next number is
    // remembered per stem, so allocating is O(1) amortised.
    std::string NewPartName(std::string_view stem, std::string_view extension);

    // Stores media once per distinct content: returns the existing part holding these bytes,
    // or a new part ppt/media/imageN.<extension> (with a Default for the extension).
    std::string StoreMedia(std::string bytes, std::string_view extension,
                           std::string_view contentType);

    // The whole package as a zip archive.
    std::string Save();

private:
    struct PartEntry {
        std::string name;
        std::optional<std::size_t> zipIndex;        // content is this entry of the source
        std::shared_ptr<const std::string> content; // or these bytes
        std::unique_ptr<XmlPart> xml;               // parsed form, when touched
        bool removed = false;
    };

    void TargetGained(const std::string& targetPart) override;
    void TargetLost(const std::string& targetPart) override;

    PartEntry* Find(std::string_view partName) const;
    PartEntry& Require(std::string_view partName) const;
    PartEntry& NewEntry(std::string_view partName);
    void EnsureReferenceIndex();
    void IndexMedia();
    void WriteParts(class ZipWriter& writer);

    std::string m_displayName;
    ZipArchive m_archive;
    std::vector<std::unique_ptr<PartEntry>> m_parts; // output order
    std::unordered_map<std::string, PartEntry*> m_byKey;
    std::unique_ptr<ContentTypes> m_types;
    std::unordered_map<std::string, std::unique_ptr<Relationships>> m_rels; // by source key
    std::unordered_map<std::string, int> m_incoming;                        // by target key
    bool m_referenceIndexReady = false;
    std::unordered_map<std::string, unsigned long> m_nextNumber; // by stem key
    std::unordered_multimap<std::size_t, std::string> m_mediaByHash;
    bool m_mediaIndexed = false;
};

} // namespace slidesmith::pptx
