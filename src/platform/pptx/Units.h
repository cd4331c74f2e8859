#pragma once

#include <cmath>
#include <cstdint>

namespace slidesmith::pptx {

// Lengths in DrawingML are English Metric Units (EMU), 64-bit integers; the object model the fill
// code speaks of uses points (1/72 inch) as real numbers, and pictures come in pixels at a DPI.
// Conversions to EMU round to the nearest unit so that a round trip of a whole EMU is exact.
namespace units {

inline constexpr std::int64_t kEmuPerInch = 914400;
inline constexpr std::int64_t kEmuPerPoint = 12700;
inline constexpr double kDefaultDpi = 96.0;

inline double EmuToPoints(std::int64_t emu) {
    return static_cast<double>(emu) / static_cast<double>(kEmuPerPoint);
}

inline std::int64_t PointsToEmu(double points) {
    return std::llround(points * static_cast<double>(kEmuPerPoint));
}

// A non-positive DPI (a picture header that states none) counts as the screen's 96.
inline std::int64_t PixelsToEmu(double pixels, double dpi = kDefaultDpi) {
    const double usedDpi = dpi > 0.0 ? dpi : kDefaultDpi;
    return std::llround(pixels * static_cast<double>(kEmuPerInch) / usedDpi);
}

inline double EmuToPixels(std::int64_t emu, double dpi = kDefaultDpi) {
    const double usedDpi = dpi > 0.0 ? dpi : kDefaultDpi;
    return static_cast<double>(emu) * usedDpi / static_cast<double>(kEmuPerInch);
}

inline double PixelsToPoints(double pixels, double dpi = kDefaultDpi) {
    const double usedDpi = dpi > 0.0 ? dpi : kDefaultDpi;
    return pixels * 72.0 / usedDpi;
}

} // namespace units
} // namespace slidesmith::pptx
