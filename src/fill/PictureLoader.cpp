#include "fill/PictureLoader.h"

#include "platform/files/FileIo.h"
#include "platform/files/PathNames.h"
#include "platform/net/HttpFetch.h"
#include "platform/pptx/SvgRaster.h"

#include <cctype>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace slidesmith::fill {
namespace {

// Pictures kept for reuse within one fill; beyond this each further one is read per use.
constexpr std::size_t kCacheLimitBytes = 256u * 1024u * 1024u;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// file:///srv/a.png is /srv/a.png, file://server/share/a.png the share //server/share/a.png and
// file:///C:/a.png the drive-letter name C:/a.png.
std::string FileAddressPath(std::string_view address) {
    std::string rest = PercentDecoded(address.substr(7));
    if (rest.starts_with("localhost/"))
        rest.erase(0, 9);
    if (!rest.starts_with("/"))
        return "//" + rest;
    if (rest.size() > 2 && rest[2] == ':')
        rest.erase(0, 1);
    return rest;
}

std::string ReadLocalFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file(path);
    if (!std::filesystem::is_regular_file(file, error))
        throw std::runtime_error(path + ": no such picture file");
    const auto size = std::filesystem::file_size(file, error);
    if (error)
        throw std::runtime_error(path + ": " + error.message());
    if (size > kMaxPictureBytes)
        throw std::runtime_error(path + ": the picture is larger than 50 MB");
    return files::ReadWholeFile(file);
}

} // namespace

PictureLoader::PictureLoader(PictureOptions options)
    : m_options(std::move(options)),
      m_networkFolder(files::IsNetworkPath(m_options.templateFolder)) {}

std::string PictureLoader::PicturePath(std::string_view value) const {
    if (value.find("://") != std::string_view::npos)
        return std::string(value);
    if (m_networkFolder)
        return files::ResolveRelativePath(m_options.templateFolder, value);
    return files::MakeAbsolute(m_options.templateFolder, value);
}

std::string PictureLoader::ReadBytes(const std::string& path) const {
    if (path.find('\0') != std::string::npos)
        throw std::runtime_error("the picture name holds a NUL character");
    if (net::IsWebAddress(path)) {
        net::FetchLimits limits;
        limits.connectTimeoutSeconds = m_options.connectTimeoutSeconds;
        limits.maxBytes = kMaxPictureBytes;
        return net::FetchUrl(path, limits);
    }
    if (StartsWithNoCase(path, "file://"))
        return ReadLocalFile(FileAddressPath(path));
    if (path.find("://") != std::string::npos)
        throw std::runtime_error(path + ": only http, https and file addresses are supported");
    return ReadLocalFile(path);
}

std::shared_ptr<const LoadedPicture> PictureLoader::Read(const std::string& path) const {
    auto picture = std::make_shared<LoadedPicture>();
    picture->bytes = ReadBytes(path);
    picture->info = pptx::ReadImageInfo(picture->bytes, path);
    if (picture->info.format == pptx::ImageFormat::Svg) {
        pptx::SvgRaster raster = pptx::RasteriseSvg(picture->bytes, path);
        picture->svgPng = std::move(raster.png);
        picture->widthPoints = raster.widthPoints;
        picture->heightPoints = raster.heightPoints;
    } else {
        picture->widthPoints = picture->info.WidthPoints();
        picture->heightPoints = picture->info.HeightPoints();
    }
    return picture;
}

const LoadedPicture& PictureLoader::Load(const std::string& path) {
    if (auto found = m_pictures.find(path); found != m_pictures.end())
        return *found->second;
    if (auto failed = m_failures.find(path); failed != m_failures.end())
        throw std::runtime_error(failed->second);
    std::shared_ptr<const LoadedPicture> picture;
    try {
        picture = Read(path);
    } catch (const std::exception& error) {
        // An address that did not answer will not answer for the next record either.
        m_failures.emplace(path, error.what());
        throw;
    }
    const std::size_t size = picture->bytes.size() + picture->svgPng.size();
    if (m_cachedBytes + size > kCacheLimitBytes) {
        m_uncached = std::move(picture);
        return *m_uncached;
    }
    m_cachedBytes += size;
    return *m_pictures.emplace(path, std::move(picture)).first->second;
}

} // namespace slidesmith::fill
