#include "platform/pptx/Presentation.h"

#include "platform/files/FileIo.h"
#include "platform/pptx/ExternalConversion.h"
#include "platform/pptx/OoxmlNames.h"
#include "platform/pptx/PartCopier.h"
#include "platform/pptx/PartName.h"
#include "platform/pptx/PptxError.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace slidesmith::pptx {
namespace {

constexpr std::uint32_t kMinSlideId = 256;
constexpr std::uint32_t kMaxSlideId = 2147483647;
constexpr std::string_view kRelExtendedProperties =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties";
constexpr std::string_view kRelPresProps =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/presProps";

// A private folder that disappears with everything in it.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::filesystem::path& parent) {
        std::string pattern = (parent / ".slidesmith-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw PptxError(parent.string() +
                            ": cannot create a temporary folder: " + std::strerror(errno));
        m_path = pattern;
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder() {
        std::error_code ignored; // a leftover temporary folder must not mask the real outcome
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

bool NeedsConversion(const std::filesystem::path& path) {
    std::string extension = PartKey(path.extension().string());
    return extension == ".ppt" || extension == ".pot" || extension == ".pps" ||
           extension == ".odp" || extension == ".otp";
}

std::string ReadFile(const std::filesystem::path& path) {
    try {
        return files::ReadWholeFile(path);
    } catch (const files::FileError& error) {
        throw PptxError(error.what());
    }
}

std::uint32_t ParseSlideId(std::string_view text) {
    std::uint32_t id = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return (error == std::errc() && end == text.data() + text.size()) ? id : 0;
}

pugi::xml_node FindExtension(pugi::xml_node extList, std::string_view uri) {
    for (pugi::xml_node ext : extList.children("p:ext")) {
        if (uri == ext.attribute("uri").value())
            return ext;
    }
    return {};
}

} // namespace

std::unique_ptr<Presentation> Presentation::Open(const std::filesystem::path& path) {
    if (!NeedsConversion(path))
        return std::make_unique<Presentation>(ReadFile(path), path);
    std::filesystem::path absolute = std::filesystem::absolute(path);
    if (!std::filesystem::exists(absolute))
        throw PptxError(absolute.string() + ": the file does not exist");
    TemporaryFolder folder(std::filesystem::temp_directory_path());
    std::filesystem::path converted = folder.Path() / (path.stem().string() + ".pptx");
    ConvertWithLibreOffice(absolute, converted);
    return std::make_unique<Presentation>(ReadFile(converted), path);
}

Presentation::Presentation(std::string bytes, std::filesystem::path fullName)
    : m_fullName(std::move(fullName)), m_random(std::random_device{}()) {
    m_package = std::make_unique<Package>(std::move(bytes), m_fullName.string());
    if (!m_package->Has("_rels/.rels"))
        throw PptxError(Where("_rels/.rels") + ": the package relationships are missing");
    Relationships& root = m_package->Rels("");
    const Relationship* main = root.FindByType(ooxml::kRelOfficeDocument);
    if (main == nullptr) {
        if (root.FindByType(ooxml::kRelStrictOfficeDocument) != nullptr)
            throw PptxError(m_fullName.string() + ": Strict Open XML files are not supported");
        throw PptxError(Where("_rels/.rels") + ": no main document part is named");
    }
    m_mainPart = main->targetPart;
    if (!m_package->Has(m_mainPart))
        throw PptxError(Where(m_mainPart) + ": the presentation part is missing");
    std::string contentType = m_package->Types().Of(m_mainPart);
    std::optional<PackageKind> kind = KindFromContentType(contentType);
    if (!kind)
        throw PptxError(Where(m_mainPart) + ": the main part is \"" + contentType +
                        "\", not a presentation");
    m_kind = *kind;
    for (const Relationship& relationship : m_package->Rels(m_mainPart).All()) {
        if (!relationship.external && !m_package->Has(relationship.targetPart))
            throw PptxError(Where(RelsPartName(m_mainPart)) + ": relationship " + relationship.id +
                            " points at the missing part " + relationship.targetPart);
    }
    ReadSlideList();
}

std::string Presentation::Where(std::string_view part) const {
    return m_fullName.string() + ": " + std::string(part);
}

void Presentation::ReadSlideList() {
    pugi::xml_node root = m_package->Xml(m_mainPart).Root();
    if (std::strcmp(root.name(), "p:presentation") != 0)
        throw PptxError(Where(m_mainPart) + ": the root element is <" + root.name() +
                        ">, not <p:presentation>");
    m_slideList = root.child("p:sldIdLst");
    Relationships& rels = m_package->Rels(m_mainPart);
    std::uint32_t highest = kMinSlideId - 1;
    for (pugi::xml_node entry : m_slideList.children("p:sldId")) {
        std::uint32_t id = ParseSlideId(entry.attribute("id").value());
        std::string relId = entry.attribute("r:id").value();
        std::string where = Where(m_mainPart) + ": slide id " + entry.attribute("id").value();
        if (id < kMinSlideId || id > kMaxSlideId || !m_slideIds.insert(id).second)
            throw PptxError(where + " is invalid or used twice");
        const Relationship* relationship = rels.FindById(relId);
        if (relationship == nullptr || relationship->type != ooxml::kRelSlide ||
            relationship->external)
            throw PptxError(where + " refers to relationship \"" + relId +
                            "\", which is not a slide relationship");
        m_slides.push_back(
            std::make_unique<SlidePart>(*m_package, relationship->targetPart, id, relId, entry));
        highest = std::max(highest, id);
    }
    m_nextSlideId = highest + 1;
}

SlidePart& Presentation::Slide(std::size_t index) {
    if (index >= m_slides.size())
        throw PptxError(m_fullName.string() + ": slide " + std::to_string(index + 1) +
                        " does not exist (the presentation has " + std::to_string(m_slides.size()) +
                        " slides)");
    return *m_slides[index];
}

std::size_t Presentation::IndexOf(const SlidePart& slide) const {
    for (std::size_t i = 0; i < m_slides.size(); ++i) {
        if (m_slides[i].get() == &slide)
            return i;
    }
    throw PptxError(m_fullName.string() + ": " + slide.PartName() + ": not a slide of this file");
}

std::uint32_t Presentation::NewSlideId() {
    if (m_nextSlideId <= kMaxSlideId && m_nextSlideId >= kMinSlideId) {
        m_slideIds.insert(m_nextSlideId);
        return m_nextSlideId++;
    }
    // The top of the id space is used up: take the lowest free id (rare, so a scan is fine).
    for (std::uint32_t id = kMinSlideId; id <= kMaxSlideId; ++id) {
        if (m_slideIds.insert(id).second)
            return id;
    }
    throw PptxError(m_fullName.string() + ": no slide id is left");
}

void Presentation::IndexSections() {
    if (m_sectionsIndexed)
        return;
    m_sectionsIndexed = true;
    pugi::xml_node root = m_package->Xml(m_mainPart).Root();
    pugi::xml_node ext = FindExtension(root.child("p:extLst"), ooxml::kExtSections);
    for (pugi::xml_node section : ext.first_child().children()) {
        for (pugi::xml_node entry : section.first_element_by_path("p14:sldIdLst").children()) {
            std::uint32_t id = ParseSlideId(entry.attribute("id").value());
            if (id != 0)
                m_sectionEntries.emplace(id, entry);
        }
    }
}

void Presentation::PrepareCopy(XmlPart& copy) {
    pugi::xml_node root = copy.Root();
    // A fresh creation id tells co-authoring and comments that this is another slide.
    pugi::xml_node creation =
        FindExtension(root.child("p:cSld").child("p:extLst"), ooxml::kExtCreationId)
            .child("p14:creationId");
    if (creation)
        creation.attribute("val").set_value(static_cast<unsigned>(m_random()));
    // Comments are not copied, so their reference would dangle.
    for (pugi::xml_node extList :
         {root.child("p:extLst"), root.child("p:cSld").child("p:extLst")}) {
        if (pugi::xml_node comments = FindExtension(extList, ooxml::kExtModernComments))
            extList.remove_child(comments);
    }
}

std::unique_ptr<SlidePart> Presentation::CopySlide(SlidePart& source) {
    IndexSections();
    std::string copyName = m_package->NewPartName(PartFolder(source.PartName()) + "slide", "xml");
    XmlPart& copy = m_package->AddXmlPart(copyName, source.Xml().Document(), ooxml::kTypeSlide);
    PrepareCopy(copy);
    PartCopier copier(*m_package);
    copier.MapTo(source.PartName(), copyName);
    copier.CopyRelationships(source.PartName(), copyName);

    std::string relId = m_package->Rels(m_mainPart).Add(ooxml::kRelSlide, copyName);
    std::uint32_t id = NewSlideId();
    pugi::xml_node entry = m_slideList.insert_child_after("p:sldId", source.ListEntry());
    entry.append_attribute("id") = id;
    entry.append_attribute("r:id") = relId.c_str();
    m_package->Xml(m_mainPart).MarkChanged();

    auto section = m_sectionEntries.find(source.SlideId());
    if (section != m_sectionEntries.end()) {
        pugi::xml_node sourceEntry = section->second;
        pugi::xml_node sectionEntry =
            sourceEntry.parent().insert_child_after(sourceEntry.name(), sourceEntry);
        sectionEntry.append_attribute("id") = id;
        m_sectionEntries.emplace(id, sectionEntry);
    }
    return std::make_unique<SlidePart>(*m_package, copyName, id, relId, entry);
}

SlidePart& Presentation::Duplicate(std::size_t index) {
    std::unique_ptr<SlidePart> copy = CopySlide(Slide(index));
    return **m_slides.insert(m_slides.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                             std::move(copy));
}

void Presentation::AddReleasedCopies(std::size_t index, std::size_t copies) {
    SlidePart& source = Slide(index);
    // Each copy goes directly after the source, so the first one made ends up last.
    std::vector<std::unique_ptr<SlidePart>> made(copies);
    for (std::size_t i = copies; i-- > 0;) {
        made[i] = CopySlide(source);
        made[i]->Release();
    }
    m_slides.insert(m_slides.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                    std::make_move_iterator(made.begin()), std::make_move_iterator(made.end()));
}

void Presentation::Delete(std::size_t index) {
    SlidePart& slide = Slide(index);
    IndexSections();
    RemoveLinksTo(slide);
    RemoveCustomShowEntries(slide.RelId());
    m_package->Rels(m_mainPart).Remove(slide.RelId());
    m_slideList.remove_child(slide.ListEntry());
    m_package->Xml(m_mainPart).MarkChanged();
    auto section = m_sectionEntries.find(slide.SlideId());
    if (section != m_sectionEntries.end()) {
        section->second.parent().remove_child(section->second);
        m_sectionEntries.erase(section);
    }
    m_package->RemovePartAndOrphans(slide.PartName());
    m_slideIds.erase(slide.SlideId());
    m_slides.erase(m_slides.begin() + static_cast<std::ptrdiff_t>(index));
}

void Presentation::RemoveLinksTo(SlidePart& slide) {
    // Expected links to a slide: the presentation's and its own notes' link back. Only when
    // there are more do other slides jump to it, and only then are they searched.
    int expected = 1;
    std::string notes = slide.NotesPart();
    if (!notes.empty() && m_package->HasRels(notes))
        expected += static_cast<int>(m_package->Rels(notes).FindByTarget(slide.PartName()).size());
    if (m_package->IncomingCount(slide.PartName()) <= expected)
        return;
    for (const auto& other : m_slides) {
        if (other.get() == &slide || !m_package->HasRels(other->PartName()))
            continue;
        std::vector<std::string> ids = other->Rels().FindByTarget(slide.PartName());
        if (ids.empty())
            continue;
        XmlPart& xml = other->Xml();
        std::vector<pugi::xml_node> stack{xml.Root()};
        while (!stack.empty()) {
            pugi::xml_node node = stack.back();
            stack.pop_back();
            for (pugi::xml_node child = node.first_child(); child;) {
                pugi::xml_node next = child.next_sibling();
                pugi::xml_attribute link = child.attribute("r:id");
                bool isLink = std::strstr(child.name(), "hlinkClick") != nullptr ||
                              std::strstr(child.name(), "hlinkHover") != nullptr;
                if (link && isLink &&
                    std::find(ids.begin(), ids.end(), std::string_view(link.value())) != ids.end())
                    node.remove_child(child);
                else if (child.type() == pugi::node_element)
                    stack.push_back(child);
                child = next;
            }
        }
        xml.MarkChanged();
        for (const std::string& id : ids)
            other->Rels().Remove(id);
    }
}

void Presentation::RemoveCustomShowEntries(const std::string& relId) {
    pugi::xml_node root = m_package->Xml(m_mainPart).Root();
    pugi::xml_node shows = root.child("p:custShowLst");
    for (pugi::xml_node show = shows.child("p:custShow"); show;) {
        pugi::xml_node nextShow = show.next_sibling("p:custShow");
        pugi::xml_node list = show.child("p:sldLst");
        for (pugi::xml_node entry = list.child("p:sld"); entry;) {
            pugi::xml_node next = entry.next_sibling("p:sld");
            if (relId == entry.attribute("r:id").value())
                list.remove_child(entry);
            entry = next;
        }
        if (!list.child("p:sld")) {
            // An empty show is invalid; the slide show settings may name it as well.
            std::string showId = show.attribute("id").value();
            shows.remove_child(show);
            const Relationship* props = m_package->Rels(m_mainPart).FindByType(kRelPresProps);
            if (props != nullptr && m_package->Has(props->targetPart)) {
                XmlPart& propsXml = m_package->Xml(props->targetPart);
                pugi::xml_node showPr = propsXml.Root().child("p:showPr");
                pugi::xml_node named = showPr.child("p:custShow");
                if (named && showId == named.attribute("id").value()) {
                    showPr.remove_child(named);
                    propsXml.MarkChanged();
                }
            }
        }
        show = nextShow;
    }
    if (shows && !shows.child("p:custShow"))
        root.remove_child(shows);
}

void Presentation::ChangeKind(PackageKind kind) {
    if (kind == m_kind)
        return;
    m_package->Types().SetOverride(m_mainPart, MainContentType(kind));
    if (!KeepsMacros(kind)) {
        Relationships& rels = m_package->Rels(m_mainPart);
        if (const Relationship* vba = rels.FindByType(ooxml::kRelVbaProject)) {
            std::string id = vba->id;
            std::string target = vba->targetPart;
            rels.Remove(id);
            if (m_package->Has(target))
                m_package->RemovePartAndOrphans(target);
        }
    }
    m_kind = kind;
}

void Presentation::UpdateAppProperties() {
    const Relationship* app = m_package->Rels("").FindByType(kRelExtendedProperties);
    if (app == nullptr || !m_package->Has(app->targetPart))
        return;
    XmlPart& xml = m_package->Xml(app->targetPart);
    // Informational counts; PowerPoint rewrites them, but other readers show them.
    auto update = [&](const char* name, std::size_t value) {
        pugi::xml_node node = xml.Root().child(name);
        if (node && node.text().as_ullong() != value) {
            node.text().set(static_cast<unsigned long long>(value));
            xml.MarkChanged();
        }
    };
    update("Slides", m_slides.size());
    update("Notes", m_package->Types().CountOverrides(ooxml::kTypeNotesSlide));
}

std::filesystem::path Presentation::SaveAs(const std::filesystem::path& path, int formatCode) {
    SaveTarget target = ResolveSaveTarget(formatCode, path);
    UpdateAppProperties();
    if (target.native) {
        ChangeKind(target.kind);
        std::string bytes = m_package->Save();
        try {
            files::WriteFileAtomically(target.path, bytes);
        } catch (const files::FileError& error) {
            throw PptxError(error.what());
        }
    } else {
        // The converter replaces the target in one step; only its input needs a place.
        TemporaryFolder temporary(std::filesystem::temp_directory_path());
        std::filesystem::path input =
            temporary.Path() / ("report" + std::string(KindExtension(m_kind)));
        std::string bytes = m_package->Save();
        try {
            files::WriteFileAtomically(input, bytes);
        } catch (const files::FileError& error) {
            throw PptxError(error.what());
        }
        ConvertWithLibreOffice(input, target.path);
    }
    m_fullName = target.path;
    return m_fullName;
}

} // namespace slidesmith::pptx
