#include "platform/pptx/ImageInfo.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidesmith::pptx {
namespace {

// Builders for picture headers, byte by byte, so each case shows the bytes it tests.
struct Bytes {
    bool bigEndian = true;
    std::string data;

    Bytes& Raw(std::string_view text) { return data += text, *this; }
    Bytes& Zeros(std::size_t count) { return data.append(count, '\0'), *this; }
    Bytes& U8(std::uint32_t v) { return data += static_cast<char>(v & 0xFF), *this; }
    Bytes& U16(std::uint32_t v) { return bigEndian ? U8(v >> 8).U8(v) : U8(v).U8(v >> 8); }
    Bytes& U32(std::uint32_t v) { return bigEndian ? U16(v >> 16).U16(v) : U16(v).U16(v >> 16); }
};

Bytes Le() {
    return Bytes{false, {}};
}

std::string PngChunk(std::string_view type, const std::string& payload) {
    // The CRC is left 0: a header reader need not check it.
    return Bytes()
        .U32(static_cast<std::uint32_t>(payload.size()))
        .Raw(type)
        .Raw(payload)
        .Zeros(4)
        .data;
}

std::string PngHeader(std::uint32_t width, std::uint32_t height) {
    return "\x89PNG\r\n\x1A\n" +
           PngChunk("IHDR", Bytes().U32(width).U32(height).U8(8).U8(6).Zeros(3).data);
}

std::string Png(std::uint32_t width, std::uint32_t height, const std::string& extra = "") {
    return PngHeader(width, height) + extra + PngChunk("IDAT", "x") + PngChunk("IEND", "");
}

std::string Phys(std::uint32_t x, std::uint32_t y, std::uint8_t unit) {
    return PngChunk("pHYs", Bytes().U32(x).U32(y).U8(unit).data);
}

std::string JpegSegment(std::uint8_t code, const std::string& payload) {
    return Bytes()
        .U8(0xFF)
        .U8(code)
        .U16(static_cast<std::uint32_t>(payload.size() + 2))
        .Raw(payload)
        .data;
}

std::string Jfif(std::uint8_t units, std::uint16_t x, std::uint16_t y) {
    return JpegSegment(0xE0, Bytes().Raw({"JFIF\0\1\2", 7}).U8(units).U16(x).U16(y).Zeros(2).data);
}

std::string Sof(std::uint8_t code, std::uint16_t width, std::uint16_t height) {
    return JpegSegment(code, Bytes().U8(8).U16(height).U16(width).U8(3).Zeros(9).data);
}

std::string Jpeg(const std::string& segmentsBeforeFrame, std::uint16_t width,
                 std::uint16_t height) {
    return "\xFF\xD8" + segmentsBeforeFrame + Sof(0xC0, width, height) +
           JpegSegment(0xDA, std::string(10, '\0'));
}

// A TIFF structure with one directory: ImageWidth (LONG), ImageLength (SHORT) and, when
// `resolution` is not 0, XResolution = resolution, YResolution = 2 * resolution and the unit.
std::string Tiff(bool bigEndian, std::uint32_t width, std::uint32_t height,
                 std::uint32_t resolution = 0, std::uint16_t unit = 2) {
    Bytes b{bigEndian, bigEndian ? "MM" : "II"};
    const std::uint16_t count = resolution > 0 ? 5 : 2;
    const std::uint32_t rationals = 8 + 2 + count * 12u + 4;
    b.U16(42).U32(8).U16(count);
    b.U16(256).U16(4).U32(1).U32(width);
    b.U16(257).U16(3).U32(1).U16(height).U16(0); // a SHORT fills the value field from the left
    if (resolution > 0) {
        b.U16(282).U16(5).U32(1).U32(rationals);
        b.U16(283).U16(5).U32(1).U32(rationals + 8);
        b.U16(296).U16(3).U32(1).U16(unit).U16(0);
    }
    b.U32(0); // no next directory
    if (resolution > 0) {
        b.U32(resolution).U32(1).U32(2 * resolution).U32(1);
    }
    return b.data;
}

std::string Exif(bool bigEndian, std::uint32_t resolution, std::uint16_t unit) {
    return JpegSegment(0xE1, std::string("Exif\0\0", 6) + Tiff(bigEndian, 1, 1, resolution, unit));
}

std::string Gif(std::uint16_t width, std::uint16_t height) {
    return Le().Raw("GIF89a").U16(width).U16(height).Zeros(3).data;
}

std::string BmpInfo(std::int32_t width, std::int32_t height, std::int32_t pelsPerMetre,
                    std::uint32_t headerSize = 40) {
    const auto ppm = static_cast<std::uint32_t>(pelsPerMetre);
    return Le()
        .Raw("BM")
        .U32(54)
        .Zeros(4)
        .U32(54)
        .U32(headerSize)
        .U32(static_cast<std::uint32_t>(width))
        .U32(static_cast<std::uint32_t>(height))
        .U16(1)
        .U16(24)
        .Zeros(8)
        .U32(ppm)
        .U32(ppm)
        .Zeros(8 + headerSize - 40)
        .data;
}

std::string BmpCore(std::uint16_t width, std::uint16_t height) {
    return Le()
        .Raw("BM")
        .U32(26)
        .Zeros(4)
        .U32(26)
        .U32(12)
        .U16(width)
        .U16(height)
        .U16(1)
        .U16(24)
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
         ImageFormat::Jpeg, 8, 8, 72, 144, "jpeg"},
        {"JPEG EXIF little endian in centimetres", Jpeg(Exif(false, 40, 3), 8, 8),
         ImageFormat::Jpeg, 8, 8, 101.6, 203.2, "jpeg"},
        {"JPEG JFIF wins over EXIF", Jpeg(Jfif(1, 150, 150) + Exif(false, 72, 2), 8, 8),
         ImageFormat::Jpeg, 8, 8, 150, 150, "jpeg"},
        {"JPEG broken EXIF gives the default",
         Jpeg(JpegSegment(0xE1, Le().Raw({"Exif\0\0II*\0", 10}).U32(5000).Zeros(4).data), 8, 8),
         ImageFormat::Jpeg, 8, 8, 96, 96, "jpeg"},
        {"JPEG progressive after tables and fill bytes",
         "\xFF\xD8" + JpegSegment(0xDB, std::string(65, '\1')) + "\xFF\xFF" +
             JpegSegment(0xC4, std::string(20, '\2')) + Sof(0xC2, 300, 200),
         ImageFormat::Jpeg, 300, 200, 96, 96, "jpeg"},
        {"GIF logical screen", Gif(320, 200), ImageFormat::Gif, 320, 200, 96, 96, "gif"},
        {"BMP bottom-up", BmpInfo(100, 50, 2835), ImageFormat::Bmp, 100, 50, 72.009, 72.009, "bmp"},
        {"BMP top-down", BmpInfo(100, -50, 0), ImageFormat::Bmp, 100, 50, 96, 96, "bmp"},
        {"BMP core header", BmpCore(30, 40), ImageFormat::Bmp, 30, 40, 96, 96, "bmp"},
        {"TIFF little endian", Tiff(false, 2000, 1000, 300), ImageFormat::Tiff, 2000, 1000, 300,
         600, "tiff"},
        {"TIFF big endian in centimetres", Tiff(true, 70000, 3, 100, 3), ImageFormat::Tiff, 70000,
         3, 254, 508, "tiff"},
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
    std::string tiffOutside = Tiff(false, 5, 6, 72);
    tiffOutside[4] = '\x7F'; // first directory at byte 127 of 90
    std::string resolutionOutside = Tiff(true, 5, 6, 72);
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
         PngHeader(10, 10) + Bytes().U32(0x7FFFFFFF).Raw("tEXt").data,
         "chunk tEXt at byte 33 declares 2147483647 bytes"},
        {"PNG without image data", PngHeader(10, 10), "no IDAT"},
        {"JPEG segment length below 2",
         "\xFF\xD8" + Bytes().U8(0xFF).U8(0xE0).U16(0).data + Sof(0xC0, 8, 8),
         "declares a length of 0"},
        {"JPEG scan before frame", "\xFF\xD8" + JpegSegment(0xDA, "abc"),
         "reaches its scan data without a frame header"},
        {"JPEG endless segment chain", JpegWithEndlessComments(), "more than 4096 segments"},
        {"JPEG cut inside the frame header", Jpeg("", 8, 8).substr(0, 9), "truncated"},
        {"GIF width 0", Gif(0, 5), "GIF header gives a width of 0"},
        {"BMP negative width", BmpInfo(-4, 4, 0), "negative width of -4"},
        {"BMP most negative height", BmpInfo(4, INT32_MIN, 0), "height of 2147483648"},
        {"BMP unknown header size", BmpInfo(4, 4, 0, 40).replace(14, 1, 1, '\x14'),
         "DIB header size 20"},
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

} // namespace
} // namespace slidesmith::pptx
