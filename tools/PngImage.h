#pragma once

#include <cstdint>
#include <string>

namespace slidesmith::testtools {

// A valid RGB PNG of the given size filled with `rgb` (0xRRGGBB), with a one-pixel darker frame
// so a rendering shows where the picture is. 72 dpi recorded in pHYs.
std::string MakePng(int width, int height, std::uint32_t rgb);

// Parses "RRGGBB"; throws TestToolError for anything else.
std::uint32_t ParseRgb(const std::string& text);

} // namespace slidesmith::testtools
