#include "platform/pptx/ImageInfo.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidesmith::pptx {
namespace {

// Little builders for picture headers, byte by byte, so each case shows the bytes it tests.
struct Bytes {
    std::string data;

    Bytes& Raw(std::string_view text) {
        data += text;
        return *this;
    }
    Bytes& U8(std::uint32_t value) {
        data += static_cast<char>(value & 0xFF);
        return *this;
    }
    Bytes& Be16(std::uint32_t value) { return U8(value >> 8).U8(value); }
    Bytes& Be32(std::uint32_t value) { return Be16(value >> 16).Be16(value); }
    Bytes& Le16(std::uint32_t value) { return U8(value).U8(value >> 8); }
    Bytes& Le32(std::uint32_t value) { return Le16(value).Le16(value >> 16); }
    Bytes& Zeros(std::size_t count) {
        data.append(count, '\0');
        return *this;
    }
};

std::string PngChunk(std::string_view type, const std::string& payload) {
    return Bytes()
        .Be32(static_cast<std::uint32_t>(payload.size()))
        .Raw(type)
        .Raw(payload)
        .Zeros(4) // CRC, which a header reader need not check
        .data;
}

std::string PngHeader(std::uint32_t width, std::uint32_t height) {
    const std::string ihdr = Bytes().Be32(width).Be32(height).U8(8).U8(6).Zeros(3).data;
    return "\x89PNG\r\n\x1A\n" + PngChunk("IHDR", ihdr);
}

std::string Png(std::uint32_t width, std::uint32_t height, std::string extraChunks = "") {
    return PngHeader(width, height) + extraChunks + PngChunk("IDAT", "x") + PngChunk("IEND", "");
}

std::string Phys(std::uint32_t x, std::uint32_t y, std::uint8_t unit) {
    return PngChunk("pHYs", Bytes().Be32(x).Be32(y).U8(unit).data);
}

std::string JpegSegment(std::uint8_t code, const std::string& payload) {
    return Bytes()
        .U8(0xFF)
        .U8(code)
        .Be16(static_cast<std::uint32_t>(payload.size() + 2))
        .Raw(payload)
        .data;
}

std::string Jfif(std::uint8_t units, std::uint16_t x, std::uint16_t y) {
    return JpegSegment(
        0xE0, Bytes().Raw({"JFIF\0", 5}).U8(1).U8(2).U8(units).Be16(x).Be16(y).Zeros(2).data);
}

std::string Sof(std::uint8_t code, std::uint16_t width, std::uint16_t height) {
    return JpegSegment(code, Bytes().U8(8).Be16(height).Be16(width).U8(3).Zeros(9).data);
}

std::string Jpeg(const std::string& segmentsBeforeFrame, std::uint16_t width,
                 std::uint16_t height) {
    return "\xFF\xD8" + segmentsBeforeFrame + Sof(0xC0, width, height) +
           JpegSegment(0xDA, std::string(10, '\0'));
}

// A TIFF structure with one directory: ImageWidth, ImageLength, and optionally the resolution
// (both axes as given) with its unit. Offsets are relative to the structure's start.
std::string Tiff(bool bigEndian, std::uint32_t width, std::uint32_t height,
                 std::uint32_t xResolution = 0, std::uint32_t yResolution = 0,
                 std::uint16_t unit = 2) {
    Bytes b;
    auto u16 = [&](std::uint32_t v) { bigEndian ? b.Be16(v) : b.Le16(v); };
    auto u32 = [&](std::uint32_t v) { bigEndian ? b.Be32(v) : b.Le32(v); };
    const bool withResolution = xResolution > 0;
    const std::uint16_t count = withResolution ? 5 : 2;
    b.Raw(bigEndian ? "MM" : "II");
    u16(42);
    u32(8);
    u16(count);
    const std::uint32_t rationals = 8 + 2 + count * 12u + 4;
    auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        u16(tag);
        u16(type);
        u32(1);
        if (type == 3) { // a SHORT sits in the first two bytes of the value field
            u16(value);
            u16(0);
        } else {
            u32(value);
        }
    };
    entry(256, 4, width);
    entry(257, 3, height);
    if (withResolution) {
        entry(282, 5, rationals);
        entry(283, 5, rationals + 8);
        entry(296, 3, unit);
    }
    u32(0); // no next directory
    if (withResolution) {
        u32(xResolution);
        u32(1);
        u32(yResolution);
        u32(1);
    }
    return b.data;
}

std::string Exif(bool bigEndian, std::uint32_t resolution, std::uint16_t unit) {
    return JpegSegment(0xE1, std::string("Exif\0\0", 6) +
                                 Tiff(bigEndian, 1, 1, resolution, resolution, unit));
}

std::string Gif(std::uint16_t width, std::uint16_t height) {
    return Bytes().Raw("GIF89a").Le16(width).Le16(height).Zeros(3).data;
}

std::string BmpInfo(std::int32_t width, std::int32_t height, std::int32_t pelsPerMetre,
                    std::uint32_t headerSize = 40) {
    Bytes b;
    b.Raw("BM").Le32(54).Zeros(4).Le32(54);
    b.Le32(headerSize).Le32(static_cast<std::uint32_t>(width));
    b.Le32(static_cast<std::uint32_t>(height)).Le16(1).Le16(24).Le32(0).Le32(0);
    b.Le32(static_cast<std::uint32_t>(pelsPerMetre)).Le32(static_cast<std::uint32_t>(pelsPerMetre));
    b.Le32(0).Le32(0);
    b.Zeros(headerSize - 40);
    return b.data;
}

std::string BmpCore(std::uint16_t width, std::uint16_t height) {
    return Bytes()
        .Raw("BM")
        .Le32(26)
        .Zeros(4)
        .Le32(26)
        .Le32(12)
        .Le16(width)
        .Le16(height)
        .Le16(1)
        .Le16(24)
        .data;
}

struct GoodCase {
    const char* label;
    std::string bytes;
    ImageFormat format;
    std::uint32_t width;
    std::uint32_t height;
    double dpiX;
    double dpiY;
    const char* extension;
};

TEST(ImageInfo, ReadsSizeAndResolutionOfEachRasterFormat) {
    const std::vector<GoodCase> cases = {
        {"PNG without pHYs", Png(640, 480), ImageFormat::Png, 640, 480, 96, 96, "png"},
        {"PNG pHYs in pixels per metre", Png(10, 20, Phys(11811, 5906, 1)), ImageFormat::Png, 10,
         20, 299.999, 150.012, "png"},
        {"PNG pHYs found after other chunks",
         Png(10, 20, PngChunk("tEXt", "Software\0x") + Phys(3780, 3780, 1)), ImageFormat::Png, 10,
         20, 96.012, 96.012, "png"},
        {"PNG pHYs with aspect ratio only", Png(10, 20, Phys(2, 1, 0)), ImageFormat::Png, 10, 20,
         96, 96, "png"},
        {"PNG pHYs of 1 pixel per metre is implausible", Png(10, 20, Phys(1, 1, 1)),
         ImageFormat::Png, 10, 20, 96, 96, "png"},
        {"JPEG JFIF in dots per inch", Jpeg(Jfif(1, 300, 200), 1024, 768), ImageFormat::Jpeg, 1024,
         768, 300, 200, "jpeg"},
        {"JPEG JFIF in dots per centimetre", Jpeg(Jfif(2, 118, 118), 8, 8), ImageFormat::Jpeg, 8, 8,
         299.72, 299.72, "jpeg"},
        {"JPEG JFIF aspect only, EXIF big endian", Jpeg(Jfif(0, 1, 1) + Exif(true, 72, 2), 8, 8),
         ImageFormat::Jpeg, 8, 8, 72, 72, "jpeg"},
        {"JPEG EXIF little endian in centimetres", Jpeg(Exif(false, 40, 3), 8, 8),
         ImageFormat::Jpeg, 8, 8, 101.6, 101.6, "jpeg"},
        {"JPEG JFIF wins over EXIF", Jpeg(Jfif(1, 150, 150) + Exif(false, 72, 2), 8, 8),
         ImageFormat::Jpeg, 8, 8, 150, 150, "jpeg"},
        {"JPEG broken EXIF gives the default",
         Jpeg(JpegSegment(0xE1, Bytes().Raw({"Exif\0\0II*\0", 10}).Le32(5000).Zeros(4).data), 8, 8),
         ImageFormat::Jpeg, 8, 8, 96, 96, "jpeg"},
        {"JPEG progressive after tables and fill bytes",
         "\xFF\xD8" + JpegSegment(0xDB, std::string(65, '\1')) + "\xFF\xFF" +
             JpegSegment(0xC4, std::string(20, '\2')) + Sof(0xC2, 300, 200),
         ImageFormat::Jpeg, 300, 200, 96, 96, "jpeg"},
        {"GIF logical screen", Gif(320, 200), ImageFormat::Gif, 320, 200, 96, 96, "gif"},
        {"BMP bottom-up", BmpInfo(100, 50, 2835), ImageFormat::Bmp, 100, 50, 72.009, 72.009, "bmp"},
        {"BMP top-down", BmpInfo(100, -50, 0), ImageFormat::Bmp, 100, 50, 96, 96, "bmp"},
        {"BMP V5 header", BmpInfo(7, 9, 3780, 124), ImageFormat::Bmp, 7, 9, 96.012, 96.012, "bmp"},
        {"BMP core header", BmpCore(30, 40), ImageFormat::Bmp, 30, 40, 96, 96, "bmp"},
        {"TIFF little endian", Tiff(false, 2000, 1000, 300, 600), ImageFormat::Tiff, 2000, 1000,
         300, 600, "tiff"},
        {"TIFF big endian in centimetres", Tiff(true, 70000, 3, 100, 100, 3), ImageFormat::Tiff,
         70000, 3, 254, 254, "tiff"},
        {"TIFF without resolution", Tiff(true, 5, 6), ImageFormat::Tiff, 5, 6, 96, 96, "tiff"},
    };
    for (const GoodCase& c : cases) {
        SCOPED_TRACE(c.label);
        const ImageInfo info = ReadImageInfo(c.bytes, "picture");
        EXPECT_EQ(info.format, c.format);
        EXPECT_EQ(info.widthPx, c.width);
        EXPECT_EQ(info.heightPx, c.height);
        EXPECT_NEAR(info.dpiX, c.dpiX, 0.01);
        EXPECT_NEAR(info.dpiY, c.dpiY, 0.01);
        EXPECT_EQ(info.extension, c.extension);
        EXPECT_EQ(info.contentType, "image/" + std::string(c.extension));
    }
}

TEST(ImageInfo, OwnSizeInPointsFollowsTheResolution) {
    const ImageInfo screen = ReadImageInfo(Png(960, 480), "a.png");
    EXPECT_DOUBLE_EQ(screen.WidthPoints(), 720.0);
    EXPECT_DOUBLE_EQ(screen.HeightPoints(), 360.0);

    const ImageInfo print = ReadImageInfo(Jpeg(Jfif(1, 300, 150), 600, 300), "b.jpg");
    EXPECT_DOUBLE_EQ(print.WidthPoints(), 144.0);
    EXPECT_DOUBLE_EQ(print.HeightPoints(), 144.0);
}

TEST(ImageInfo, RecognisesSvgAsTextWithoutPixelSize) {
    const std::string svg = "\xEF\xBB\xBF\n<?xml version=\"1.0\"?>\n<!-- logo -->\n"
                            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\"/>";
    const ImageInfo info = ReadImageInfo(svg, "logo.svg");
    EXPECT_EQ(info.format, ImageFormat::Svg);
    EXPECT_FALSE(info.HasPixelSize());
    EXPECT_EQ(info.contentType, "image/svg+xml");
    EXPECT_EQ(info.extension, "svg");

    EXPECT_THROW(ReadImageInfo("<html><body/></html>", "page.html"), ImageError);
}

struct BadCase {
    const char* label;
    std::string bytes;
    const char* message;
};

std::string JpegWithEndlessComments() {
    std::string segments;
    for (int i = 0; i < 5000; ++i) {
        segments += JpegSegment(0xFE, "");
    }
    return Jpeg(segments, 8, 8);
}

TEST(ImageInfo, RefusesTruncatedAndLyingHeadersNamingThePicture) {
    std::string tiffOutside = Tiff(false, 5, 6, 72, 72);
    tiffOutside[4] = '\x7F'; // first directory at byte 127 of 70
    std::string resolutionOutside = Tiff(true, 5, 6, 72, 72);
    resolutionOutside[8 + 2 + 2 * 12 + 11] = '\x7F'; // XResolution's value offset
    std::string tooManyEntries = Tiff(false, 5, 6);
    tooManyEntries[8] = '\x40';
    const std::string png = Png(10, 10);

    const std::vector<BadCase> cases = {
        {"empty file", "", "empty"},
        {"unknown format", "hello world", "not a PNG, JPEG, GIF, BMP, TIFF or SVG picture"},
        {"PNG cut inside IHDR", png.substr(0, 18), "PNG header is truncated: IHDR width"},
        {"PNG first chunk not IHDR", "\x89PNG\r\n\x1A\n" + PngChunk("gAMA", "abcd"),
         "first chunk is not a 13-byte IHDR"},
        {"PNG width 0", Png(0, 10), "width of 0 pixels"},
        {"PNG height above the limit", Png(10, 100'001), "height of 100001 pixels"},
        {"PNG chunk longer than the file",
         PngHeader(10, 10) + Bytes().Be32(0x7FFFFFFF).Raw("tEXt").data,
         "chunk tEXt at byte 33 declares 2147483647 bytes"},
        {"PNG without image data", PngHeader(10, 10), "no IDAT"},
        {"JPEG segment length below 2",
         "\xFF\xD8" + Bytes().U8(0xFF).U8(0xE0).Be16(0).data + Sof(0xC0, 8, 8),
         "declares a length of 0"},
        {"JPEG scan before frame", "\xFF\xD8" + JpegSegment(0xDA, "abc"),
         "reaches its scan data without a frame header"},
        {"JPEG endless segment chain", JpegWithEndlessComments(), "more than 4096 segments"},
        {"JPEG cut inside the frame header", Jpeg("", 8, 8).substr(0, 9), "truncated"},
        {"JPEG frame height 0", Jpeg(Jfif(1, 72, 72), 8, 0), "height of 0 pixels"},
        {"GIF width 0", Gif(0, 5), "GIF header gives a width of 0"},
        {"BMP negative width", BmpInfo(-4, 4, 0), "negative width of -4"},
        {"BMP most negative height", BmpInfo(4, INT32_MIN, 0), "height of 2147483648"},
        {"BMP unknown header size", BmpInfo(4, 4, 0, 40).replace(14, 1, 1, '\x14'),
         "DIB header size 20"},
        {"BMP header cut short", BmpInfo(4, 4, 0, 108).substr(0, 80), "truncated"},
        {"TIFF directory outside the data", tiffOutside, "offset 127 points outside"},
        {"TIFF rational outside the data", resolutionOutside, "XResolution points to byte"},
        {"TIFF more entries than bytes", tooManyEntries, "truncated: directory entries"},
        {"TIFF without its size", Tiff(false, 5, 6).replace(10, 2, "\x01\x01"),
         "no ImageWidth and ImageLength"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.label);
        try {
            ReadImageInfo(c.bytes, "photo 1.img");
            ADD_FAILURE() << "accepted";
        } catch (const ImageError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("photo 1.img: ", 0), 0u) << message;
            EXPECT_NE(message.find(c.message), std::string::npos) << message;
        }
    }
}

TEST(ImageInfo, MissingFileIsAnImageErrorNamingTheFile) {
    try {
        ReadImageInfoFromFile("/nonexistent/folder/photo.png");
        FAIL() << "accepted";
    } catch (const ImageError& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/folder/photo.png"),
                  std::string::npos);
    }
}

} // namespace
} // namespace slidesmith::pptx
