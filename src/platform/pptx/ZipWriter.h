#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::pptx {

// Writes a zip archive into memory from entries whose data is already in its final form
// (stored or deflated), so copied entries never go through a compressor again. The layout is
// deterministic: entries in the order added, a fixed timestamp (1980-01-01), no extra fields.
// Archives beyond the classic 4 GB limits are refused (an OOXML report never reaches them).
class ZipWriter {
public:
    // Throws PptxError (naming displayName) when an entry or the archive exceeds 4 GB.
    explicit ZipWriter(std::string displayName) : m_displayName(std::move(displayName)) {}

    void Reserve(std::size_t bytes) { m_out.reserve(bytes); }
    void AddEntry(std::string_view name, std::uint16_t method, std::uint32_t crc,
                  std::uint64_t size, std::string_view data);
    // Appends the central directory; returns the whole archive.
    std::string Finish();

private:
    struct CentralRecord {
        std::string name;
        std::uint16_t method;
        std::uint32_t crc;
        std::uint32_t compressedSize;
        std::uint32_t size;
        std::uint32_t offset;
    };

    std::string m_displayName;
    std::string m_out;
    std::vector<CentralRecord> m_records;
};

} // namespace slidesmith::pptx
