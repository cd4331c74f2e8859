#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct zip;

namespace slidesmith::pptx {

// One entry of the central directory as the writer needs it to copy the entry unchanged.
struct ZipEntryInfo {
    std::string name;
    std::uint16_t method = 0; // 0 stored, 8 deflated
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
};

// A zip archive opened read-only from bytes held in memory (the file is read once, so the
// template is neither locked nor re-read). Every entry is checked when the archive opens:
// only stored and deflated, unencrypted entries with sane sizes are accepted, which is what an
// OOXML package may contain. Throws PptxError naming displayName and the entry on any fault.
class ZipArchive {
public:
    // Refuse entries whose inflated size is beyond this; no real part comes near it.
    static constexpr std::uint64_t kMaxEntrySize = 512ull << 20;
    // Deflate cannot compress better than about 1032:1; a larger ratio is a lying header.
    static constexpr std::uint64_t kMaxRatio = 1100;
    static constexpr std::uint64_t kMaxEntries = 200000;

    ZipArchive(std::string bytes, std::string displayName);
    ZipArchive(ZipArchive&&) noexcept;
    ZipArchive& operator=(ZipArchive&&) noexcept;
    ~ZipArchive();

    std::size_t EntryCount() const { return m_entries.size(); }
    const ZipEntryInfo& Entry(std::size_t index) const { return m_entries[index]; }

    // The entry's bytes as stored in the archive (still compressed).
    std::string ReadRaw(std::size_t index) const;
    // The entry's content, inflated and checked against its CRC.
    std::string ReadInflated(std::size_t index) const;

private:
    std::string Describe(std::size_t index, const std::string& problem) const;

    std::unique_ptr<std::string> m_bytes; // stable address for libzip's buffer source
    std::string m_displayName;
    zip* m_zip = nullptr;
    std::vector<ZipEntryInfo> m_entries;
};

} // namespace slidesmith::pptx
