#include "platform/pptx/SaveFormat.h"

#include "platform/pptx/OoxmlNames.h"
#include "platform/pptx/PartName.h"
#include "platform/pptx/PptxError.h"

#include <array>

namespace slidesmith::pptx {
namespace {

struct KindRow {
    PackageKind kind;
    std::string_view contentType;
    std::string_view extension;
    bool macros;
};

constexpr std::array<KindRow, 6> kKinds{{
    {PackageKind::Presentation, ooxml::kTypePresentation, ".pptx", false},
    {PackageKind::PresentationMacro, ooxml::kTypePresentationMacro, ".pptm", true},
    {PackageKind::Template, ooxml::kTypeTemplate, ".potx", false},
    {PackageKind::TemplateMacro, ooxml::kTypeTemplateMacro, ".potm", true},
    {PackageKind::Slideshow, ooxml::kTypeSlideshow, ".ppsx", false},
    {PackageKind::SlideshowMacro, ooxml::kTypeSlideshowMacro, ".ppsm", true},
}};

const KindRow& Row(PackageKind kind) {
    for (const KindRow& row : kKinds) {
        if (row.kind == kind)
            return row;
    }
    return kKinds[0];
}

// Codes written natively, in PowerPoint's save-as numbering.
std::optional<PackageKind> NativeKind(int formatCode) {
    switch (formatCode) {
    case 24:
        return PackageKind::Presentation;
    case 25:
        return PackageKind::PresentationMacro;
    case 26:
        return PackageKind::Template;
    case 27:
        return PackageKind::TemplateMacro;
    case 28:
        return PackageKind::Slideshow;
    case 29:
        return PackageKind::SlideshowMacro;
    default:
        return std::nullopt;
    }
}

// Codes the converter writes: the legacy binary kinds, PDF and OpenDocument.
std::string_view ConvertedExtension(int formatCode) {
    switch (formatCode) {
    case 2:
    case 3:
    case 4:
    case 10:
        return "ppt";
    case 5:
        return "pot";
    case 7:
        return "pps";
    case 32:
        return "pdf";
    case 35:
        return "odp";
    default:
        return {};
    }
}

std::filesystem::path WithExtension(const std::filesystem::path& requested,
                                    std::string_view extension) {
    if (PartKey(requested.extension().string()) == PartKey(extension))
        return requested;
    std::filesystem::path path = requested;
    path += std::string(extension);
    return path;
}

} // namespace

std::string_view MainContentType(PackageKind kind) {
    return Row(kind).contentType;
}

std::string_view KindExtension(PackageKind kind) {
    return Row(kind).extension;
}

bool KeepsMacros(PackageKind kind) {
    return Row(kind).macros;
}

std::optional<PackageKind> KindFromContentType(std::string_view contentType) {
    for (const KindRow& row : kKinds) {
        if (row.contentType == contentType)
            return row.kind;
    }
    return std::nullopt;
}

std::optional<PackageKind> KindFromExtension(std::string_view extension) {
    std::string key = PartKey(extension);
    for (const KindRow& row : kKinds) {
        if (row.extension == key)
            return row.kind;
    }
    return std::nullopt;
}

SaveTarget ResolveSaveTarget(int formatCode, const std::filesystem::path& requested) {
    SaveTarget target;
    if (formatCode == 1 || formatCode == 11) {
        std::optional<PackageKind> kind = KindFromExtension(requested.extension().string());
        target.kind = kind.value_or(PackageKind::Presentation);
        target.path = kind ? requested : WithExtension(requested, ".pptx");
        return target;
    }
    if (std::optional<PackageKind> kind = NativeKind(formatCode)) {
        target.kind = *kind;
        target.path = WithExtension(requested, KindExtension(*kind));
        return target;
    }
    std::string_view converted = ConvertedExtension(formatCode);
    if (converted.empty())
        throw PptxError(requested.string() + ": file format code " + std::to_string(formatCode) +
                        " is not supported");
    target.native = false;
    target.convertedExtension = std::string(converted);
    std::string extension(1, '.');
    extension += converted;
    target.path = WithExtension(requested, extension);
    return target;
}

} // namespace slidesmith::pptx
