#include "platform/pptx/ZipArchive.h"

#include "platform/pptx/PptxError.h"

#include <zip.h>

namespace slidesmith::pptx {
namespace {

// Closes a libzip file handle on every path.
struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipFilePtr = std::unique_ptr<zip_file_t, ZipFileCloser>;

} // namespace

ZipArchive::ZipArchive(std::string bytes, std::string displayName)
    : m_bytes(std::make_unique<std::string>(std::move(bytes))),
      m_displayName(std::move(displayName)) {
    if (m_bytes->empty())
        throw PptxError(m_displayName + ": the file is empty");
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(m_bytes->data(), m_bytes->size(), 0, &error);
    if (source == nullptr) {
        std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw PptxError(m_displayName + ": cannot read the file as a zip archive: " + text);
    }
    m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (m_zip == nullptr) {
        zip_source_free(source);
        std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw PptxError(m_displayName + ": not a valid zip archive (" + text + ")");
    }
    zip_error_fini(&error);

    zip_int64_t count = zip_get_num_entries(m_zip, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxEntries) {
        zip_discard(m_zip);
        throw PptxError(m_displayName + ": the archive has too many entries");
    }
    m_entries.reserve(static_cast<std::size_t>(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        auto index = static_cast<zip_uint64_t>(i);
        std::string problem;
        if (zip_stat_index(m_zip, index, 0, &stat) != 0)
            problem = "unreadable directory entry";
        else if (stat.encryption_method != ZIP_EM_NONE)
            problem = "encrypted entries are not supported";
        else if (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE)
            problem = "unsupported compression method " + std::to_string(stat.comp_method);
        else if (stat.comp_size > m_bytes->size())
            problem = "the directory claims more bytes than the file holds";
        else if (stat.size > kMaxEntrySize)
            problem = "inflated size of " + std::to_string(stat.size) + " bytes is too large";
        else if (stat.size > 1024 * 1024 && stat.size / (stat.comp_size + 1) > kMaxRatio)
            problem = "compression ratio is impossible for deflate (a zip bomb?)";
        if (!problem.empty()) {
            std::string name = stat.valid & ZIP_STAT_NAME ? stat.name : "#" + std::to_string(i);
            zip_discard(m_zip);
            throw PptxError(m_displayName + ": " + name + ": " + problem);
        }
        m_entries.push_back(
            ZipEntryInfo{stat.name, stat.comp_method, stat.crc, stat.comp_size, stat.size});
    }
}

ZipArchive::ZipArchive(ZipArchive&& other) noexcept
    : m_bytes(std::move(other.m_bytes)), m_displayName(std::move(other.m_displayName)),
      m_zip(other.m_zip), m_entries(std::move(other.m_entries)) {
    other.m_zip = nullptr;
}

ZipArchive& ZipArchive::operator=(ZipArchive&& other) noexcept {
    if (this != &other) {
        if (m_zip != nullptr)
            zip_discard(m_zip);
        m_bytes = std::move(other.m_bytes);
        m_displayName = std::move(other.m_displayName);
        m_zip = other.m_zip;
        m_entries = std::move(other.m_entries);
        other.m_zip = nullptr;
    }
    return *this;
}

ZipArchive::~ZipArchive() {
    if (m_zip != nullptr)
        zip_discard(m_zip);
}

std::string ZipArchive::Describe(std::size_t index, const std::string& problem) const {
    return m_displayName + ": " + m_entries[index].name + ": " + problem;
}

std::string ZipArchive::ReadRaw(std::size_t index) const {
    const ZipEntryInfo& entry = m_entries[index];
    ZipFilePtr file(zip_fopen_index(m_zip, index, ZIP_FL_COMPRESSED));
    if (!file)
        throw PptxError(Describe(index, std::string("cannot open entry: ") + zip_strerror(m_zip)));
    std::string bytes(entry.compressedSize, '\0');
    zip_int64_t got = zip_fread(file.get(), bytes.data(), bytes.size());
    if (got < 0 || static_cast<std::uint64_t>(got) != entry.compressedSize)
        throw PptxError(Describe(index, "truncated entry"));
    return bytes;
}

std::string ZipArchive::ReadInflated(std::size_t index) const {
    const ZipEntryInfo& entry = m_entries[index];
    ZipFilePtr file(zip_fopen_index(m_zip, index, 0));
    if (!file)
        throw PptxError(Describe(index, std::string("cannot open entry: ") + zip_strerror(m_zip)));
    // One byte more than announced, so an entry that inflates beyond its header is caught.
    std::string bytes(entry.size + 1, '\0');
    zip_int64_t got = zip_fread(file.get(), bytes.data(), bytes.size());
    if (got < 0) {
        std::string text = zip_error_strerror(zip_file_get_error(file.get()));
        throw PptxError(Describe(index, "damaged entry (" + text + ")"));
    }
    if (static_cast<std::uint64_t>(got) != entry.size)
        throw PptxError(Describe(index, "entry size does not match the directory"));
    bytes.resize(entry.size);
    return bytes;
}

} // namespace slidesmith::pptx
