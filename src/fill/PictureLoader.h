#pragma once

#include "platform/pptx/ImageInfo.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace slidesmith::fill {

// Where pictures are looked for and how long a web server may take.
struct PictureOptions {
    // The template's folder: relative picture names are found there.
    std::string templateFolder;
    // Seconds to wait for a web server's connection (the connection time-out setting).
    long connectTimeoutSeconds = 15;
};

// A picture ready to be put on a slide.
struct LoadedPicture {
    std::string bytes;      // the file as read (the SVG document for SVG)
    std::string svgPng;     // for SVG only: the PNG drawn for readers without SVG support
    pptx::ImageInfo info;   // format, content type and extension of `bytes`
    double widthPoints = 0; // its own size
    double heightPoints = 0;
};

// Pictures larger than this are refused, from disk and from the web alike.
inline constexpr std::size_t kMaxPictureBytes = 50u * 1024u * 1024u;

// Reads pictures from local paths, file:// and http(s):// addresses, and keeps each one it has
// read (and each failure), so a picture named by a thousand records is read, checked and
// downloaded once per fill. Not thread-safe.
class PictureLoader {
public:
    explicit PictureLoader(PictureOptions options);

    // The path a field value names: an address ("://") unchanged, a relative name joined to
    // the template's folder (with the network-share rules when that folder is on a share).
    std::string PicturePath(std::string_view value) const;

    // The picture at a path from PicturePath. Throws std::runtime_error saying why it cannot be
    // used: missing or unreadable, too large, an unknown or corrupt format, a failed download.
    const LoadedPicture& Load(const std::string& path);

private:
    std::shared_ptr<const LoadedPicture> Read(const std::string& path) const;
    std::string ReadBytes(const std::string& path) const;

    PictureOptions m_options;
    bool m_networkFolder = false;
    std::map<std::string, std::shared_ptr<const LoadedPicture>, std::less<>> m_pictures;
    std::map<std::string, std::string, std::less<>> m_failures;
    std::size_t m_cachedBytes = 0;
    std::shared_ptr<const LoadedPicture> m_uncached; // the last one read past the cache limit
};

} // namespace slidesmith::fill
