#include "platform/pptx/ImageInfo.h"

#include "platform/files/FileIo.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

namespace slidesmith::pptx {
namespace {

enum class Endian { Little, Big };

// Bounds-checked reads from a header. Every read names the field it wants, so a truncated or
// lying header is reported as "<picture>: <format> <field> ...", never as a crash.
class HeaderReader {
public:
    HeaderReader(std::string_view data, std::string_view name, std::string_view format)
        : m_data(data), m_name(name), m_format(format) {}

    std::size_t Size() const { return m_data.size(); }
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= m_data.size() && count <= m_data.size() - offset;
    }

    [[noreturn]] void Fail(const std::string& detail) const {
        throw ImageError(std::string(m_name) + ": " + std::string(m_format) + " " + detail);
    }

    void Need(std::size_t offset, std::size_t count, std::string_view field) const {
        if (!Has(offset, count)) {
            Fail("header is truncated: " + std::string(field) + " at byte " +
                 std::to_string(offset) + " needs " + std::to_string(count) +
                 " bytes, the data has " + std::to_string(m_data.size()));
        }
    }

    std::string_view Slice(std::size_t offset, std::size_t count, std::string_view field) const {
        Need(offset, count, field);
        return m_data.substr(offset, count);
    }

    std::uint8_t U8(std::size_t offset, std::string_view field) const {
        Need(offset, 1, field);
        return static_cast<std::uint8_t>(m_data[offset]);
    }

    std::uint16_t U16(std::size_t offset, Endian endian, std::string_view field) const {
        return static_cast<std::uint16_t>(Unsigned(offset, 2, endian, field));
    }

    std::uint32_t U32(std::size_t offset, Endian endian, std::string_view field) const {
        return static_cast<std::uint32_t>(Unsigned(offset, 4, endian, field));
    }

    // A reader over part of this one (an EXIF block inside a JPEG), offsets relative to `offset`.
    HeaderReader Sub(std::size_t offset, std::size_t count, std::string_view format) const {
        return HeaderReader(Slice(offset, count, format), m_name, format);
    }

    void CheckSides(std::uint64_t width, std::uint64_t height) const {
        CheckSide("width", width);
        CheckSide("height", height);
    }

private:
    std::uint64_t Unsigned(std::size_t offset, std::size_t count, Endian endian,
                           std::string_view field) const {
        Need(offset, count, field);
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = endian == Endian::Big ? offset + i : offset + count - 1 - i;
            value = (value << 8) | static_cast<std::uint8_t>(m_data[at]);
        }
        return value;
    }

    void CheckSide(std::string_view side, std::uint64_t pixels) const {
        if (pixels == 0 || pixels > kMaxImageSide) {
            Fail("header gives a " + std::string(side) + " of " + std::to_string(pixels) +
                 " pixels; accepted are 1 to " + std::to_string(kMaxImageSide));
        }
    }

    std::string_view m_data;
    std::string_view m_name;
    std::string_view m_format;
};

bool StartsWith(std::string_view data, std::string_view prefix) {
    return data.substr(0, prefix.size()) == prefix;
}

struct Resolution {
    double x = kDefaultDpi;
    double y = kDefaultDpi;
};

// A resolution below one dot per inch, which would make a picture hundreds of metres wide, is
// treated as absent rather than refused: the pixels are fine and PowerPoint shows such files.
std::optional<Resolution> Dpi(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y) || x < 1.0 || y < 1.0) {
        return std::nullopt;
    }
    return Resolution{x, y};
}

void SetDpi(ImageInfo& info, std::optional<Resolution> dpi) {
    if (dpi) {
        info.dpiX = dpi->x;
        info.dpiY = dpi->y;
    }
}

constexpr double kInchesPerMetre = 0.0254;
constexpr double kCmPerInch = 2.54;

ImageInfo MakeInfo(ImageFormat format, std::string_view contentType, std::string_view extension) {
    ImageInfo info;
    info.format = format;
    info.contentType = contentType;
    info.extension = extension;
    return info;
}

ImageInfo ReadPng(const HeaderReader& r) {
    ImageInfo info = MakeInfo(ImageFormat::Png, "image/png", "png");
    // The first chunk must be IHDR with exactly 13 bytes of data.
    const std::uint32_t ihdrLength = r.U32(8, Endian::Big, "IHDR length");
    if (r.Slice(12, 4, "first chunk type") != "IHDR" || ihdrLength != 13) {
        r.Fail("first chunk is not a 13-byte IHDR");
    }
    info.widthPx = r.U32(16, Endian::Big, "IHDR width");
    info.heightPx = r.U32(20, Endian::Big, "IHDR height");
    r.CheckSides(info.widthPx, info.heightPx);

    // pHYs must precede the image data, so the walk stops at the first IDAT.
    std::size_t pos = 8 + 12 + 13;
    for (;;) {
        if (pos == r.Size()) {
            r.Fail("data ends before the image data (no IDAT chunk)");
        }
        const std::uint32_t length = r.U32(pos, Endian::Big, "chunk length");
        const std::string_view type = r.Slice(pos + 4, 4, "chunk type");
        if (type == "IDAT" || type == "IEND") {
            break;
        }
        if (!r.Has(pos + 8, std::size_t{length} + 4)) {
            r.Fail("chunk " + std::string(type) + " at byte " + std::to_string(pos) + " declares " +
                   std::to_string(length) + " bytes, beyond the end of the data");
        }
        // Unit 1 is pixels per metre; unit 0 gives only the aspect ratio, no size.
        if (type == "pHYs" && length == 9 && r.U8(pos + 16, "pHYs unit") == 1) {
            SetDpi(info, Dpi(r.U32(pos + 8, Endian::Big, "pHYs x") * kInchesPerMetre,
                             r.U32(pos + 12, Endian::Big, "pHYs y") * kInchesPerMetre));
        }
        pos += std::size_t{length} + 12;
    }
    return info;
}

struct TiffDirectory {
    std::optional<std::uint32_t> width;
    std::optional<std::uint32_t> height;
    std::optional<double> xResolution;
    std::optional<double> yResolution;
    std::uint32_t resolutionUnit = 2; // inches unless the file says otherwise
};

constexpr std::uint16_t kTiffShort = 3;
constexpr std::uint16_t kTiffLong = 4;
constexpr std::uint16_t kTiffRational = 5;

std::optional<double> ReadTiffRational(const HeaderReader& r, Endian endian, std::size_t entry,
                                       std::string_view field) {
    if (r.U16(entry + 2, endian, field) != kTiffRational) {
        return std::nullopt;
    }
    const std::uint32_t offset = r.U32(entry + 8, endian, field);
    if (!r.Has(offset, 8)) {
        r.Fail(std::string(field) + " points to byte " + std::to_string(offset) +
               ", outside the data of " + std::to_string(r.Size()) + " bytes");
    }
    const std::uint32_t numerator = r.U32(offset, endian, field);
    const std::uint32_t denominator = r.U32(offset + 4, endian, field);
    if (denominator == 0) {
        return std::nullopt;
    }
    return static_cast<double>(numerator) / denominator;
}

std::optional<std::uint32_t> ReadTiffInteger(const HeaderReader& r, Endian endian,
                                             std::size_t entry, std::string_view field) {
    const std::uint16_t type = r.U16(entry + 2, endian, field);
    if (type == kTiffShort) {
        return r.U16(entry + 8, endian, field);
    }
    if (type == kTiffLong) {
        return r.U32(entry + 8, endian, field);
    }
    return std::nullopt;
}

// Reads the first image file directory of a TIFF structure (a TIFF file or an EXIF block).
TiffDirectory ReadTiffDirectory(const HeaderReader& r) {
    const std::string_view order = r.Slice(0, 2, "byte order");
    if (order != "II" && order != "MM") {
        r.Fail("byte order mark is neither II nor MM");
    }
    const Endian endian = order == "II" ? Endian::Little : Endian::Big;
    if (r.U16(2, endian, "magic number") != 42) {
        r.Fail("magic number is not 42");
    }
    const std::uint32_t ifd = r.U32(4, endian, "first directory offset");
    if (!r.Has(ifd, 2)) {
        r.Fail("first directory offset " + std::to_string(ifd) + " points outside the data of " +
               std::to_string(r.Size()) + " bytes");
    }
    const std::uint16_t count = r.U16(ifd, endian, "directory entry count");
    r.Need(ifd + 2, std::size_t{count} * 12, "directory entries");

    TiffDirectory dir;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = ifd + 2 + i * 12;
        switch (r.U16(entry, endian, "tag")) {
        case 256:
            dir.width = ReadTiffInteger(r, endian, entry, "ImageWidth");
            break;
        case 257:
            dir.height = ReadTiffInteger(r, endian, entry, "ImageLength");
            break;
        case 282:
            dir.xResolution = ReadTiffRational(r, endian, entry, "XResolution");
            break;
        case 283:
            dir.yResolution = ReadTiffRational(r, endian, entry, "YResolution");
            break;
        case 296:
            dir.resolutionUnit = ReadTiffInteger(r, endian, entry, "ResolutionUnit").value_or(2);
            break;
        default:
            break;
        }
    }
    return dir;
}

std::optional<Resolution> TiffResolution(const TiffDirectory& dir) {
    // Unit 1 means "no absolute unit": only the aspect ratio is known.
    if (!dir.xResolution || !dir.yResolution || dir.resolutionUnit == 1) {
        return std::nullopt;
    }
    const double factor = dir.resolutionUnit == 3 ? kCmPerInch : 1.0;
    return Dpi(*dir.xResolution * factor, *dir.yResolution * factor);
}

ImageInfo ReadTiff(const HeaderReader& r) {
    ImageInfo info = MakeInfo(ImageFormat::Tiff, "image/tiff", "tiff");
    const TiffDirectory dir = ReadTiffDirectory(r);
    if (!dir.width || !dir.height) {
        r.Fail("first directory has no ImageWidth and ImageLength");
    }
    r.CheckSides(*dir.width, *dir.height);
    info.widthPx = *dir.width;
    info.heightPx = *dir.height;
    SetDpi(info, TiffResolution(dir));
    return info;
}

// Start-of-frame markers C0..CF, except DHT (C4), JPG (C8) and DAC (CC) which share the range.
bool IsStartOfFrame(std::uint8_t code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// A JPEG may carry any number of metadata segments before its frame header; a header that
// needs more than this is garbage or built to keep a reader busy.
constexpr int kMaxJpegSegments = 4096;

std::string Hex(std::uint8_t value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

std::optional<Resolution> ReadJfifDensity(const HeaderReader& r, std::size_t data,
                                          std::size_t length) {
    if (length < 12 || r.Slice(data, 5, "APP0 identifier") != std::string_view("JFIF\0", 5)) {
        return std::nullopt;
    }
    // Units 1 = dots per inch, 2 = dots per centimetre, 0 = aspect ratio only.
    const std::uint8_t units = r.U8(data + 7, "JFIF units");
    if (units != 1 && units != 2) {
        return std::nullopt;
    }
    const double factor = units == 2 ? kCmPerInch : 1.0;
    return Dpi(r.U16(data + 8, Endian::Big, "JFIF x density") * factor,
               r.U16(data + 10, Endian::Big, "JFIF y density") * factor);
}

std::optional<Resolution> ReadExifResolution(const HeaderReader& r, std::size_t data,
                                             std::size_t length) {
    if (length < 14 || r.Slice(data, 6, "APP1 identifier") != std::string_view("Exif\0\0", 6)) {
        return std::nullopt;
    }
    try {
        return TiffResolution(ReadTiffDirectory(r.Sub(data + 6, length - 6, "EXIF block")));
    } catch (const ImageError&) {
        // Cameras and editors write broken EXIF blocks; the picture itself is still good, so
        // its resolution is merely unknown.
        return std::nullopt;
    }
}

ImageInfo ReadJpeg(const HeaderReader& r) {
    ImageInfo info = MakeInfo(ImageFormat::Jpeg, "image/jpeg", "jpeg");
    std::optional<Resolution> jfif;
    std::optional<Resolution> exif;

    std::size_t pos = 2;
    for (int segments = 0;; ++segments) {
        if (segments == kMaxJpegSegments) {
            r.Fail("has more than " + std::to_string(kMaxJpegSegments) +
                   " segments before its frame header");
        }
        if (r.U8(pos, "marker") != 0xFF) {
            r.Fail("expects a marker at byte " + std::to_string(pos) + ", found 0x" +
                   Hex(r.U8(pos, "marker")));
        }
        while (r.U8(pos, "marker") == 0xFF) { // fill bytes may pad a marker
            ++pos;
        }
        const std::uint8_t code = r.U8(pos++, "marker code");
        if (code == 0xD8 || code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
            continue; // markers without a length
        }
        if (code == 0xD9 || code == 0xDA) {
            r.Fail("reaches its " + std::string(code == 0xDA ? "scan data" : "end") +
                   " without a frame header (SOF)");
        }
        const std::uint16_t length = r.U16(pos, Endian::Big, "segment length");
        if (length < 2) {
            r.Fail("segment FF" + Hex(code) + " at byte " + std::to_string(pos - 2) +
                   " declares a length of " + std::to_string(length) +
                   ", shorter than its own length field");
        }
        r.Need(pos, length, "segment FF" + Hex(code));
        if (IsStartOfFrame(code)) {
            if (length < 7) {
                r.Fail("frame header at byte " + std::to_string(pos - 2) + " is only " +
                       std::to_string(length) + " bytes long");
            }
            const std::uint16_t height = r.U16(pos + 3, Endian::Big, "frame height");
            const std::uint16_t width = r.U16(pos + 5, Endian::Big, "frame width");
            r.CheckSides(width, height);
            info.widthPx = width;
            info.heightPx = height;
            break;
        }
        if (code == 0xE0) {
            jfif = jfif ? jfif : ReadJfifDensity(r, pos + 2, length - 2u);
        } else if (code == 0xE1) {
            exif = exif ? exif : ReadExifResolution(r, pos + 2, length - 2u);
        }
        pos += length;
    }
    // JFIF is the JPEG's own container, so its density wins over the EXIF copy.
    SetDpi(info, jfif ? jfif : exif);
    return info;
}

ImageInfo ReadGif(const HeaderReader& r) {
    ImageInfo info = MakeInfo(ImageFormat::Gif, "image/gif", "gif");
    // The logical screen, which every frame is drawn on; GIF has no resolution.
    const std::uint16_t width = r.U16(6, Endian::Little, "logical screen width");
    const std::uint16_t height = r.U16(8, Endian::Little, "logical screen height");
    r.CheckSides(width, height);
    info.widthPx = width;
    info.heightPx = height;
    return info;
}

ImageInfo ReadBmp(const HeaderReader& r) {
    ImageInfo info = MakeInfo(ImageFormat::Bmp, "image/bmp", "bmp");
    const std::uint32_t headerSize = r.U32(14, Endian::Little, "DIB header size");
    if (headerSize == 12) { // BITMAPCOREHEADER: unsigned 16-bit sides, no resolution
        const std::uint16_t width = r.U16(18, Endian::Little, "width");
        const std::uint16_t height = r.U16(20, Endian::Little, "height");
        r.CheckSides(width, height);
        info.widthPx = width;
        info.heightPx = height;
        return info;
    }
    if (headerSize < 40 || headerSize > 124) {
        r.Fail("DIB header size " + std::to_string(headerSize) + " is not a known header");
    }
    r.Need(14, headerSize, "DIB header");
    // BITMAPINFOHEADER and its successors: signed sides; a negative height means top-down rows.
    const auto width = static_cast<std::int32_t>(r.U32(18, Endian::Little, "width"));
    const auto height = static_cast<std::int32_t>(r.U32(22, Endian::Little, "height"));
    if (width < 0) {
        r.Fail("header gives a negative width of " + std::to_string(width) + " pixels");
    }
    const std::int64_t rows = height < 0 ? -std::int64_t{height} : height;
    r.CheckSides(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(rows));
    info.widthPx = static_cast<std::uint32_t>(width);
    info.heightPx = static_cast<std::uint32_t>(rows);
    const auto xPels = static_cast<std::int32_t>(r.U32(38, Endian::Little, "x pels per metre"));
    const auto yPels = static_cast<std::int32_t>(r.U32(42, Endian::Little, "y pels per metre"));
    SetDpi(info, Dpi(xPels * kInchesPerMetre, yPels * kInchesPerMetre));
    return info;
}

// SVG is XML text: after an optional byte order mark, blanks, an XML declaration, comments or
// a DOCTYPE, the root element is <svg>. Looking for it near the start is enough to tell an SVG
// from the raster formats, which all start with binary signatures.
bool LooksLikeSvg(std::string_view data) {
    if (StartsWith(data, "\xEF\xBB\xBF")) {
        data.remove_prefix(3);
    }
    const std::size_t first = data.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || data[first] != '<') {
        return false;
    }
    constexpr std::size_t kProlog = 64 * 1024;
    const std::string_view head = data.substr(first, kProlog);
    return head.find("<svg") != std::string_view::npos ||
           head.find(":svg") != std::string_view::npos;
}

std::string FirstBytesHex(std::string_view data) {
    std::string text;
    for (std::size_t i = 0; i < data.size() && i < 8; ++i) {
        text += (i > 0 ? " " : "") + Hex(static_cast<std::uint8_t>(data[i]));
    }
    return text;
}

} // namespace

ImageInfo ReadImageInfo(std::string_view bytes, std::string_view name) {
    if (bytes.empty()) {
        throw ImageError(std::string(name) + ": the picture file is empty");
    }
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) {
        return ReadPng(HeaderReader(bytes, name, "PNG"));
    }
    if (StartsWith(bytes, "\xFF\xD8\xFF")) {
        return ReadJpeg(HeaderReader(bytes, name, "JPEG"));
    }
    if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) {
        return ReadGif(HeaderReader(bytes, name, "GIF"));
    }
    if (StartsWith(bytes, "BM")) {
        return ReadBmp(HeaderReader(bytes, name, "BMP"));
    }
    if (StartsWith(bytes, std::string_view("II*\0", 4)) ||
        StartsWith(bytes, std::string_view("MM\0*", 4))) {
        return ReadTiff(HeaderReader(bytes, name, "TIFF"));
    }
    if (LooksLikeSvg(bytes)) {
        return MakeInfo(ImageFormat::Svg, "image/svg+xml", "svg");
    }
    throw ImageError(std::string(name) +
                     ": not a PNG, JPEG, GIF, BMP, TIFF or SVG picture (first bytes " +
                     FirstBytesHex(bytes) + ")");
}

ImageInfo ReadImageInfoFromFile(const std::filesystem::path& path) {
    std::string bytes;
    try {
        bytes = files::ReadWholeFile(path);
    } catch (const files::FileError& error) {
        throw ImageError(error.what());
    }
    return ReadImageInfo(bytes, path.string());
}

} // namespace slidesmith::pptx
