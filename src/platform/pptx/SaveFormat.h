#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace slidesmith::pptx {

// The OOXML flavours a presentation package can be: the main part's content type says which.
enum class PackageKind {
    Presentation,
    PresentationMacro,
    Template,
    TemplateMacro,
    Slideshow,
    SlideshowMacro
};

std::string_view MainContentType(PackageKind kind);
std::string_view KindExtension(PackageKind kind); // ".pptx", ...
bool KeepsMacros(PackageKind kind);
std::optional<PackageKind> KindFromContentType(std::string_view contentType);
std::optional<PackageKind> KindFromExtension(std::string_view extension); // ".pptx", any case

// What a save-as with a file-format code writes: an OOXML flavour written natively, or a file
// made by the converter in another format. path is the name actually written.
struct SaveTarget {
    bool native = true;
    PackageKind kind = PackageKind::Presentation;
    std::string convertedExtension; // for conversions: "pdf", "odp", "ppt", ...
    std::filesystem::path path;
};

// Resolves a file-format code (PowerPoint's save-as numbering) for a requested path.
// Code 1 (and 11, the default) takes the flavour from the extension and appends ".pptx" when the
// extension is no OOXML presentation's; other codes append their own extension when the path
// does not already end in it. Throws PptxError for codes that cannot be written.
SaveTarget ResolveSaveTarget(int formatCode, const std::filesystem::path& requested);

} // namespace slidesmith::pptx
