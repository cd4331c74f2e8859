#include "PngImage.h"

#include "TestToolError.h"

#include <vector>
#include <zlib.h>

namespace slidesmith::testtools {
namespace {

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    const auto* bytes = reinterpret_cast<const Bytef*>(typed.data());
    PutBigEndian(out,
                 static_cast<std::uint32_t>(crc32(0L, bytes, static_cast<uInt>(typed.size()))));
}

} // namespace

std::string MakePng(int width, int height, std::uint32_t rgb) {
    if (width < 1 || height < 1 || width > 4096 || height > 4096) {
        throw TestToolError("picture size " + std::to_string(width) + "x" + std::to_string(height) +
                            " is outside 1..4096 pixels");
    }
    const auto channel = [rgb](int shift, bool dark) {
        const auto value = static_cast<unsigned>((rgb >> shift) & 0xFF);
        return static_cast<char>(dark ? value / 2 : value);
    };
    std::string raw;
    raw.reserve(static_cast<std::size_t>((width * 3 + 1) * height));
    for (int y = 0; y < height; ++y) {
        raw += '\0'; // filter type None
        for (int x = 0; x < width; ++x) {
            const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            raw += channel(16, frame);
            raw += channel(8, frame);
            raw += channel(0, frame);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<Bytef> packed(packedSize);
    if (compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), 9) != Z_OK) {
        throw TestToolError("cannot deflate the picture data");
    }
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, deflate, no interlace
    std::string density;
    PutBigEndian(density, 2835); // 72 dpi in pixels per metre
    PutBigEndian(density, 2835);
    density += '\x01';
    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "pHYs", density);
    PutChunk(png, "IDAT", std::string(reinterpret_cast<const char*>(packed.data()), packedSize));
    PutChunk(png, "IEND", "");
    return png;
}

std::uint32_t ParseRgb(const std::string& text) {
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        throw TestToolError("colour \"" + text + "\" is not RRGGBB");
    }
    return static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
}

} // namespace slidesmith::testtools
