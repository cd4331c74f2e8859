#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace slidesmith::pptx {

// Thrown when a picture file is not one we can place: unknown format, truncated header, or a
// header whose numbers cannot be true. what() names the picture and the faulty field.
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ImageFormat { Png, Jpeg, Gif, Bmp, Tiff, Svg };

// What a picture's header says about it. Vector pictures (SVG) carry no pixel size: their
// width and height are 0 and HasPixelSize() is false.
struct ImageInfo {
    ImageFormat format = ImageFormat::Png;
    std::uint32_t widthPx = 0;
    std::uint32_t heightPx = 0;
    // Dots per inch; 96 when the file does not say, which is what PowerPoint assumes.
    double dpiX = 96.0;
    double dpiY = 96.0;
    // Content type for [Content_Types].xml and the extension (no dot) for ppt/media/imageN.ext.
    std::string_view contentType;
    std::string_view extension;

    bool HasPixelSize() const { return widthPx > 0 && heightPx > 0; }
    // The picture's own size, the size it gets when placed without a width or height.
    double WidthPoints() const { return widthPx * 72.0 / dpiX; }
    double HeightPoints() const { return heightPx * 72.0 / dpiY; }
};

// The default resolution, and the largest side we accept: anything longer is a corrupt or
// hostile header, and no slide needs it.
inline constexpr double kDefaultDpi = 96.0;
inline constexpr std::uint32_t kMaxImageSide = 100'000;

// Reads format, pixel size and resolution from a picture's bytes. Pass the whole file: the
// resolution of a TIFF and the frame header of a JPEG may lie anywhere in it. `name` is used in
// error messages only. Throws ImageError for an unknown format, a truncated header, a side of 0
// or above kMaxImageSide pixels, offsets outside the data and segment chains that never reach
// the frame header.
ImageInfo ReadImageInfo(std::string_view bytes, std::string_view name);

// Reads the file and calls ReadImageInfo. Throws ImageError also when the file cannot be read.
ImageInfo ReadImageInfoFromFile(const std::filesystem::path& path);

} // namespace slidesmith::pptx
