#pragma once

#include <string_view>

// Relationship types, content types and extension URIs the package layer works with.
namespace slidesmith::pptx::ooxml {

constexpr std::string_view kRelBase =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr std::string_view kRelOfficeDocument =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr std::string_view kRelStrictOfficeDocument =
    "http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument";
constexpr std::string_view kRelSlide =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/slide";
constexpr std::string_view kRelSlideLayout =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/slideLayout";
constexpr std::string_view kRelSlideMaster =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/slideMaster";
constexpr std::string_view kRelTheme =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/theme";
constexpr std::string_view kRelNotesSlide =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/notesSlide";
constexpr std::string_view kRelImage =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
constexpr std::string_view kRelChart =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/chart";
constexpr std::string_view kRelPackage =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/package";
constexpr std::string_view kRelComments =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments";
constexpr std::string_view kRelModernComments =
    "http://schemas.microsoft.com/office/2018/10/relationships/comments";
constexpr std::string_view kRelVbaProject =
    "http://schemas.microsoft.com/office/2006/relationships/vbaProject";
constexpr std::string_view kRelTableStyles =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/tableStyles";

constexpr std::string_view kTypeSlide =
    "application/vnd.openxmlformats-officedocument.presentationml.slide+xml";
constexpr std::string_view kTypeNotesSlide =
    "application/vnd.openxmlformats-officedocument.presentationml.notesSlide+xml";
constexpr std::string_view kTypePresentation =
    "application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml";
constexpr std::string_view kTypeTemplate =
    "application/vnd.openxmlformats-officedocument.presentationml.template.main+xml";
constexpr std::string_view kTypeSlideshow =
    "application/vnd.openxmlformats-officedocument.presentationml.slideshow.main+xml";
constexpr std::string_view kTypePresentationMacro =
    "application/vnd.ms-powerpoint.presentation.macroEnabled.main+xml";
constexpr std::string_view kTypeTemplateMacro =
    "application/vnd.ms-powerpoint.template.macroEnabled.main+xml";
constexpr std::string_view kTypeSlideshowMacro =
    "application/vnd.ms-powerpoint.slideshow.macroEnabled.main+xml";

constexpr std::string_view kNsRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kNsP14 = "http://schemas.microsoft.com/office/powerpoint/2010/main";

// p:ext URIs: sections in presentation.xml, the creation id of a slide, modern comments.
constexpr std::string_view kExtSections = "{521415D9-36F7-43E2-AB2F-B90AF26B5E84}";
constexpr std::string_view kExtCreationId = "{BB962C8B-B14F-4D97-AF65-F5344CB8AC3E}";
constexpr std::string_view kExtModernComments = "{6950BFC3-D8DA-4A85-94F7-54DA5524770B}";

} // namespace slidesmith::pptx::ooxml
