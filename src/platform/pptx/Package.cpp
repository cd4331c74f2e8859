#include "platform/pptx/Package.h"

#include "platform/pptx/ParallelDeflate.h"
#include "platform/pptx/PartName.h"
#include "platform/pptx/PptxError.h"
#include "platform/pptx/ZipWriter.h"

#include <charconv>
#include <functional>

namespace slidesmith::pptx {
namespace {

constexpr std::string_view kContentTypesPart = "[Content_Types].xml";
constexpr std::string_view kRootRelsPart = "_rels/.rels";
constexpr const char* kRelationshipsNamespace =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* kRelsContentType = "application/vnd.openxmlformats-package.relationships+xml";
// Changed parts are deflated in batches of about this many input bytes, which bounds the
// memory a huge report needs while saving without starving the cores.
constexpr std::size_t kDeflateBatchBytes = 64u << 20;
// Changed XML parts are serialised by the workers, so their size is only known afterwards;
// a batch counts each as this many bytes.
constexpr std::size_t kRenderedSizeGuess = 32u << 10;

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// "ppt/slides/_rels/slide1.xml.rels" -> "ppt/slides/slide1.xml"; nullopt when the name is not
// a relationships part name.
std::optional<std::string> SourceOfRelsPart(std::string_view relsPart) {
    if (PartKey(relsPart) == kRootRelsPart)
        return std::string();
    std::size_t marker = relsPart.rfind("_rels/");
    if (marker == std::string_view::npos || !EndsWith(relsPart, ".rels") ||
        (marker != 0 && relsPart[marker - 1] != '/'))
        return std::nullopt;
    std::string_view file = relsPart.substr(marker + 6, relsPart.size() - marker - 6 - 5);
    if (file.empty() || file.find('/') != std::string_view::npos)
        return std::nullopt;
    return std::string(relsPart.substr(0, marker)) + std::string(file);
}

} // namespace

Package::Package(std::string bytes, std::string displayName)
    : m_displayName(std::move(displayName)), m_archive(std::move(bytes), m_displayName) {
    m_parts.reserve(m_archive.EntryCount());
    for (std::size_t i = 0; i < m_archive.EntryCount(); ++i) {
        const std::string& name = m_archive.Entry(i).name;
        if (name.empty() || name.back() == '/')
            continue; // folder entries carry nothing and Office does not write them
        if (Find(name) != nullptr)
            throw PptxError(m_displayName + ": " + name + ": the archive holds this part twice");
        NewEntry(name).zipIndex = i;
    }
    if (!Has(kContentTypesPart))
        throw PptxError(m_displayName + ": [Content_Types].xml is missing: not an OOXML package");
    m_types = std::make_unique<ContentTypes>(Xml(kContentTypesPart), m_displayName);
}

Package::~Package() = default;

Package::PartEntry* Package::Find(std::string_view partName) const {
    auto found = m_byKey.find(PartKey(partName));
    return found == m_byKey.end() ? nullptr : found->second;
}

Package::PartEntry& Package::Require(std::string_view partName) const {
    PartEntry* entry = Find(partName);
    if (entry == nullptr)
        throw PptxError(m_displayName + ": " + std::string(partName) + ": the part is missing");
    return *entry;
}

Package::PartEntry& Package::NewEntry(std::string_view partName) {
    auto entry = std::make_unique<PartEntry>();
    entry->name = std::string(partName);
    PartEntry& added = *entry;
    m_byKey.emplace(PartKey(partName), &added);
    m_parts.push_back(std::move(entry));
    return added;
}

bool Package::Has(std::string_view partName) const {
    return Find(partName) != nullptr;
}

XmlPart& Package::Xml(std::string_view partName) {
    PartEntry& entry = Require(partName);
    if (!entry.xml) {
        std::string bytes =
            entry.content ? *entry.content : m_archive.ReadInflated(*entry.zipIndex);
        entry.xml = std::make_unique<XmlPart>(entry.name, bytes, m_displayName);
    }
    return *entry.xml;
}

std::string Package::Bytes(std::string_view partName) const {
    const PartEntry& entry = Require(partName);
    if (entry.xml && entry.xml->IsChanged())
        return entry.xml->Serialize();
    if (entry.content)
        return *entry.content;
    return m_archive.ReadInflated(*entry.zipIndex);
}

Relationships& Package::Rels(std::string_view sourcePart) {
    std::string key = PartKey(sourcePart);
    auto found = m_rels.find(key);
    if (found != m_rels.end())
        return *found->second;
    std::string relsName = RelsPartName(sourcePart);
    if (!Has(relsName)) {
        pugi::xml_document empty;
        EnsureDeclaration(empty);
        empty.append_child("Relationships").append_attribute("xmlns") = kRelationshipsNamespace;
        m_types->EnsureDefault("rels", kRelsContentType);
        AddXmlPart(relsName, empty, "");
    }
    RelationshipListener& listener = *this;
    auto rels = std::make_unique<Relationships>(std::string(sourcePart), Xml(relsName), listener,
                                                m_displayName);
    return *m_rels.emplace(std::move(key), std::move(rels)).first->second;
}

bool Package::HasRels(std::string_view sourcePart) const {
    return Has(RelsPartName(sourcePart));
}

void Package::AddPart(std::string_view partName, std::string bytes, std::string_view contentType) {
    if (Has(partName))
        throw PptxError(m_displayName + ": " + std::string(partName) + ": the part exists already");
    NewEntry(partName).content = std::make_shared<const std::string>(std::move(bytes));
    if (!contentType.empty())
        m_types->SetOverride(partName, contentType);
}

void Package::SetBytes(std::string_view partName, std::string bytes) {
    PartEntry& entry = Require(partName);
    if (entry.xml)
        throw PptxError(m_displayName + ": " + std::string(partName) +
                        ": an XML part is changed through its document");
    entry.content = std::make_shared<const std::string>(std::move(bytes));
    entry.zipIndex.reset();
}

XmlPart& Package::AddXmlPart(std::string_view partName, const pugi::xml_document& document,
                             std::string_view contentType) {
    if (Has(partName))
        throw PptxError(m_displayName + ": " + std::string(partName) + ": the part exists already");
    PartEntry& entry = NewEntry(partName);
    entry.xml = std::make_unique<XmlPart>(entry.name, document);
    if (!contentType.empty())
        m_types->SetOverride(partName, contentType);
    return *entry.xml;
}

void Package::CopyPart(std::string_view from, std::string_view to) {
    if (Has(to))
        throw PptxError(m_displayName + ": " + std::string(to) + ": the part exists already");
    PartEntry& source = Require(from);
    std::string contentType = m_types->HasOverride(from) ? m_types->Of(from) : std::string();
    PartEntry& copy = NewEntry(to);
    if (source.xml && source.xml->IsChanged()) {
        copy.xml = std::make_unique<XmlPart>(copy.name, source.xml->Document());
    } else {
        copy.zipIndex = source.zipIndex;
        copy.content = source.content;
    }
    if (!contentType.empty())
        m_types->SetOverride(to, contentType);
}

void Package::Unload(std::string_view partName) {
    PartEntry& entry = Require(partName);
    if (!entry.xml || PartKey(partName) == PartKey(kContentTypesPart) ||
        SourceOfRelsPart(entry.name))
        return;
    if (entry.xml->IsChanged()) {
        entry.content = std::make_shared<const std::string>(entry.xml->Serialize());
        entry.zipIndex.reset();
    }
    entry.xml.reset();
}

void Package::RemovePart(std::string_view partName) {
    PartEntry& entry = Require(partName);
    std::string relsName = RelsPartName(partName);
    if (Has(relsName)) {
        Relationships& rels = Rels(partName);
        for (const Relationship& relationship : rels.All()) {
            if (!relationship.external)
                TargetLost(relationship.targetPart);
        }
        m_rels.erase(PartKey(partName));
        PartEntry& relsEntry = Require(relsName);
        relsEntry.removed = true;
        relsEntry.xml.reset();
        m_byKey.erase(PartKey(relsName));
        m_types->RemoveOverride(relsName);
    }
    m_types->RemoveOverride(partName);
    entry.removed = true;
    entry.xml.reset();
    entry.content.reset();
    m_byKey.erase(PartKey(partName));
}

void Package::RemovePartAndOrphans(std::string_view partName) {
    EnsureReferenceIndex();
    std::vector<std::string> pending;
    auto collectTargets = [&](std::string_view source) {
        if (!HasRels(source))
            return;
        for (const Relationship& relationship : Rels(source).All()) {
            if (!relationship.external)
                pending.push_back(relationship.targetPart);
        }
    };
    collectTargets(partName);
    RemovePart(partName);
    while (!pending.empty()) {
        std::string candidate = std::move(pending.back());
        pending.pop_back();
        if (!Has(candidate) || IncomingCount(candidate) > 0)
            continue;
        collectTargets(candidate);
        RemovePart(candidate);
    }
}

void Package::TargetGained(const std::string& targetPart) {
    ++m_incoming[PartKey(targetPart)];
}

void Package::TargetLost(const std::string& targetPart) {
    auto found = m_incoming.find(PartKey(targetPart));
    if (found != m_incoming.end() && --found->second <= 0)
        m_incoming.erase(found);
}

void Package::EnsureReferenceIndex() {
    if (m_referenceIndexReady)
        return;
    // Counting is always on; loading every relationships part once makes the counts complete.
    std::vector<std::string> sources;
    for (const auto& entry : m_parts) {
        if (entry->removed)
            continue;
        std::optional<std::string> source = SourceOfRelsPart(entry->name);
        if (source && (source->empty() || Has(*source)))
            sources.push_back(std::move(*source));
    }
    for (const std::string& source : sources)
        Rels(source);
    m_referenceIndexReady = true;
}

int Package::IncomingCount(std::string_view partName) {
    EnsureReferenceIndex();
    auto found = m_incoming.find(PartKey(partName));
    return found == m_incoming.end() ? 0 : found->second;
}

std::string Package::NewPartName(std::string_view stem, std::string_view extension) {
    std::string stemKey = PartKey(stem);
    auto found = m_nextNumber.find(stemKey);
    if (found == m_nextNumber.end()) {
        // One scan per stem, the first time it is used; later names come from the counter.
        unsigned long highest = 0;
        std::string suffix(1, '.');
        suffix += PartKey(extension);
        for (const auto& [key, entry] : m_byKey) {
            if (key.size() <= stemKey.size() + suffix.size() ||
                key.compare(0, stemKey.size(), stemKey) != 0 || !EndsWith(key, suffix))
                continue;
            std::string_view digits(key.data() + stemKey.size(),
                                    key.size() - stemKey.size() - suffix.size());
            unsigned long number = 0;
            auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), number);
            if (error == std::errc() && end == digits.data() + digits.size() && number > highest)
                highest = number;
        }
        found = m_nextNumber.emplace(stemKey, highest + 1).first;
    }
    std::string name;
    do {
        name = std::string(stem) + std::to_string(found->second++) + "." + std::string(extension);
    } while (Has(name));
    return name;
}

void Package::IndexMedia() {
    if (m_mediaIndexed)
        return;
    for (const auto& entry : m_parts) {
        if (!entry->removed && PartKey(entry->name).rfind("ppt/media/", 0) == 0)
            m_mediaByHash.emplace(std::hash<std::string>{}(Bytes(entry->name)), entry->name);
    }
    m_mediaIndexed = true;
}

std::string Package::StoreMedia(std::string bytes, std::string_view extension,
                                std::string_view contentType) {
    IndexMedia();
    std::size_t hash = std::hash<std::string>{}(bytes);
    auto [first, last] = m_mediaByHash.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        // Equal hashes are compared byte for byte; a part removed since is skipped.
        if (Has(it->second) && PartExtension(it->second) == PartKey(extension) &&
            Bytes(it->second) == bytes)
            return it->second;
    }
    std::string name = NewPartName("ppt/media/image", PartKey(extension));
    m_types->EnsureDefault(PartKey(extension), contentType);
    AddPart(name, std::move(bytes), "");
    m_mediaByHash.emplace(hash, name);
    return name;
}

std::string Package::Save() {
    ZipWriter writer(m_displayName);
    WriteParts(writer);
    return writer.Finish();
}

void Package::WriteParts(ZipWriter& writer) {
    // Office puts [Content_Types].xml and the package relationships first; readers that sniff
    // the file kind expect that. The rest keeps the template's order, new parts after it.
    std::vector<const PartEntry*> order;
    order.reserve(m_parts.size());
    for (std::string_view first : {kContentTypesPart, kRootRelsPart}) {
        if (const PartEntry* entry = Find(first))
            order.push_back(entry);
    }
    for (const auto& entry : m_parts) {
        std::string key = PartKey(entry->name);
        if (!entry->removed && key != PartKey(kContentTypesPart) && key != kRootRelsPart)
            order.push_back(entry.get());
    }

    struct Pending {
        const PartEntry* entry;
        std::size_t job; // index into jobs, or npos for a raw copy
    };
    std::vector<Pending> pending;
    std::vector<DeflateJob> jobs;
    std::size_t batchBytes = 0;
    auto flush = [&]() {
        DeflateAll(jobs);
        for (const Pending& item : pending) {
            if (item.job == std::string::npos) {
                const ZipEntryInfo& info = m_archive.Entry(*item.entry->zipIndex);
                writer.AddEntry(item.entry->name, info.method, info.crc, info.size,
                                m_archive.ReadRaw(*item.entry->zipIndex));
            } else {
                const DeflateJob& job = jobs[item.job];
                writer.AddEntry(item.entry->name, job.method, job.crc, job.input.size(),
                                job.output);
            }
        }
        pending.clear();
        jobs.clear();
        batchBytes = 0;
    };
    for (const PartEntry* entry : order) {
        bool changedXml = entry->xml && entry->xml->IsChanged();
        if (!changedXml && entry->zipIndex) {
            pending.push_back({entry, std::string::npos});
            continue;
        }
        DeflateJob job;
        if (changedXml) {
            // A relationships part created on demand and never filled is not worth writing.
            if (!entry->zipIndex && !entry->content && SourceOfRelsPart(entry->name) &&
                !entry->xml->Root().first_child())
                continue;
            const XmlPart* xml = entry->xml.get();
            job.render = [xml]() { return xml->Serialize(); };
            batchBytes += kRenderedSizeGuess;
        } else {
            job.input = *entry->content;
            batchBytes += job.input.size();
        }
        jobs.push_back(std::move(job));
        pending.push_back({entry, jobs.size() - 1});
        if (batchBytes >= kDeflateBatchBytes)
            flush();
    }
    flush();
}

} // namespace slidesmith::pptx
