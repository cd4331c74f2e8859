#pragma once

#include "platform/pptx/Package.h"
#include "platform/pptx/SaveFormat.h"
#include "platform/pptx/SlidePart.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace slidesmith::pptx {

// A presentation opened read-only from a template: its slides in show order, duplication and
// deletion of slides, and saving under a file-format code. Slide positions are 0-based.
// Every operation is O(1) amortised in the number of slides and parts (ids, names, sections
// and relationships are indexed), except where noted. Throws PptxError naming file and part.
class Presentation {
public:
    // Opens .pptx, .pptm, .potx, .potm, .ppsx, .ppsm directly; a legacy or OpenDocument file
    // (.ppt, .pot, .pps, .odp, .otp) is converted to .pptx first. The file is read into memory
    // and left untouched. Throws PptxError for anything that is not a sound presentation.
    static std::unique_ptr<Presentation> Open(const std::filesystem::path& path);
    // Opens a package held in memory; displayName stands for the file in messages.
    Presentation(std::string bytes, std::filesystem::path fullName);

    // The template's path until the presentation is saved, then the path written last.
    const std::filesystem::path& FullName() const { return m_fullName; }
    PackageKind Kind() const { return m_kind; }
    Package& GetPackage() { return *m_package; }
    const std::string& MainPart() const { return m_mainPart; }

    std::size_t SlideCount() const { return m_slides.size(); }
    // Throws PptxError when the position is out of range.
    SlidePart& Slide(std::size_t index);
    // Position of a slide in show order (linear in the number of slides).
    std::size_t IndexOf(const SlidePart& slide) const;

    // Copies the slide at index and places the copy directly after it, in its section too.
    // The copy gets its own notes, charts (with their workbooks) and embedded objects;
    // layout and media are shared. Returns the copy.
    SlidePart& Duplicate(std::size_t index);
    // Makes `copies` copies of the slide at index as that many Duplicate(index) calls would (so
    // the newest copy comes first after the source), releases each to its bytes as soon as it is
    // made (see SlidePart::Release), and inserts them into the slide list at once: the pages of a
    // long table must neither all be held as documents nor move every later slide once per copy.
    void AddReleasedCopies(std::size_t index, std::size_t copies);
    // Removes the slide at index with everything only it used, its section entry, its
    // custom-show entries, and the hyperlinks of other slides that jump to it.
    void Delete(std::size_t index);

    // Saves under a file-format code (PowerPoint's save-as numbering; see ResolveSaveTarget)
    // atomically: the target is either the complete new file or untouched. Returns the full
    // name written, which becomes FullName().
    std::filesystem::path SaveAs(const std::filesystem::path& path, int formatCode);

private:
    void ReadSlideList();
    std::uint32_t NewSlideId();
    void IndexSections();
    void ChangeKind(PackageKind kind);
    void RemoveCustomShowEntries(const std::string& relId);
    void RemoveLinksTo(SlidePart& slide);
    void UpdateAppProperties();
    void PrepareCopy(XmlPart& copy);
    // A copy of the slide, in the package, the presentation's list and the source's section,
    // directly after the source; not yet in m_slides.
    std::unique_ptr<SlidePart> CopySlide(SlidePart& source);
    std::string Where(std::string_view part) const;

    std::filesystem::path m_fullName;
    std::unique_ptr<Package> m_package;
    PackageKind m_kind = PackageKind::Presentation;
    std::string m_mainPart;
    pugi::xml_node m_slideList; // p:sldIdLst, created when the template has none
    std::vector<std::unique_ptr<SlidePart>> m_slides;
    std::unordered_set<std::uint32_t> m_slideIds;
    std::uint32_t m_nextSlideId = 256;
    std::unordered_map<std::uint32_t, pugi::xml_node> m_sectionEntries; // slide id -> p14:sldId
    bool m_sectionsIndexed = false;
    std::mt19937 m_random;
};

} // namespace slidesmith::pptx
