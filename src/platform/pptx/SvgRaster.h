#pragma once

#include "platform/pptx/ImageInfo.h"

#include <string>
#include <string_view>

namespace slidesmith::pptx {

// An SVG picture made ready for a slide: its own size and the PNG that goes beside it for
// readers that do not draw SVG (PowerPoint before 2016, most viewers).
struct SvgRaster {
    double widthPoints = 0.0;
    double heightPoints = 0.0;
    std::string png;
};

// The longest side of the fallback PNG in pixels; larger pictures are drawn scaled down.
inline constexpr int kMaxSvgRasterSide = 2048;

// Reads an SVG document's size (its width and height in CSS pixels at 96 per inch, else its
// viewBox, else 300 x 150) and draws it into a PNG of that size. Throws ImageError naming
// `name` when the document cannot be read or drawn.
SvgRaster RasteriseSvg(std::string_view svg, std::string_view name);

} // namespace slidesmith::pptx
