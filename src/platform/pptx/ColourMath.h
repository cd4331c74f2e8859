#pragma once

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string_view>

// DrawingML colour arithmetic: the named preset colours and the colour transforms (children of
// a colour element such as a:lumMod) that turn a base colour into the one displayed.
namespace slidesmith::pptx::colour {

// 0xRRGGBB of a preset colour name (a:prstClr@val, "black", "darkBlue", ...); nothing when the
// name is not one of the common presets.
std::optional<std::uint32_t> PresetColour(std::string_view name);

// Applies the transform children of `colourElement` to `rgb`, in document order. Percentages
// are in 1/1000 %, angles in 1/60000 degree; alpha transforms are ignored (an RGB font colour
// has no transparency).
std::uint32_t ApplyTransforms(std::uint32_t rgb, pugi::xml_node colourElement);

} // namespace slidesmith::pptx::colour
