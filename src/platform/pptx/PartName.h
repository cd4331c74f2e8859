#pragma once

#include <string>
#include <string_view>

namespace slidesmith::pptx {

// Part names are kept as zip item names: no leading slash ("ppt/slides/slide1.xml"). Part
// names compare case-insensitively (ASCII), so every index is keyed by PartKey().
std::string PartKey(std::string_view partName);

// "/ppt/slides/slide1.xml" for the content-type overrides.
std::string PartUri(std::string_view partName);

// Extension without the dot, lower case ("xml", "png"); empty when there is none.
std::string PartExtension(std::string_view partName);

// Folder of a part including the trailing slash ("ppt/slides/"), empty at the root.
std::string PartFolder(std::string_view partName);

// The relationships part that belongs to a source part; "_rels/.rels" for the package itself
// (an empty source).
std::string RelsPartName(std::string_view sourcePart);

// Resolves a relationship target against its source part ("../media/image1.png" from
// "ppt/slides/slide1.xml" -> "ppt/media/image1.png"). A target starting with "/" is absolute.
// Percent-escapes are decoded; ".." at the root stays at the root. Returns an empty string when
// nothing is left of the target.
std::string ResolveTarget(std::string_view sourcePart, std::string_view target);

// The relative target that ResolveTarget turns back into targetPart.
std::string RelativeTarget(std::string_view sourcePart, std::string_view targetPart);

} // namespace slidesmith::pptx
