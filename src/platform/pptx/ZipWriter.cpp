#include "platform/pptx/ZipWriter.h"

#include "platform/pptx/PptxError.h"

#include <limits>

namespace slidesmith::pptx {
namespace {

constexpr std::uint16_t kVersionNeeded = 20;
constexpr std::uint16_t kUtf8NameFlag = 1u << 11;
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1; // 1980-01-01

void Put16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>(value >> 8));
}

void Put32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

std::uint16_t NameFlags(std::string_view name) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return kUtf8NameFlag;
    }
    return 0;
}

} // namespace

void ZipWriter::AddEntry(std::string_view name, std::uint16_t method, std::uint32_t crc,
                         std::uint64_t size, std::string_view data) {
    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
    if (size >= kLimit || data.size() >= kLimit || m_out.size() >= kLimit ||
        name.size() > std::numeric_limits<std::uint16_t>::max())
        throw PptxError(m_displayName + ": " + std::string(name) +
                        ": the report is too large for a zip archive");
    CentralRecord record{std::string(name),
                         method,
                         crc,
                         static_cast<std::uint32_t>(data.size()),
                         static_cast<std::uint32_t>(size),
                         static_cast<std::uint32_t>(m_out.size())};
    Put32(m_out, 0x04034b50);
    Put16(m_out, kVersionNeeded);
    Put16(m_out, NameFlags(name));
    Put16(m_out, method);
    Put16(m_out, kDosTime);
    Put16(m_out, kDosDate);
    Put32(m_out, crc);
    Put32(m_out, record.compressedSize);
    Put32(m_out, record.size);
    Put16(m_out, static_cast<std::uint16_t>(name.size()));
    Put16(m_out, 0);
    m_out.append(name);
    m_out.append(data);
    m_records.push_back(std::move(record));
}

std::string ZipWriter::Finish() {
    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
    if (m_records.size() >= std::numeric_limits<std::uint16_t>::max())
        throw PptxError(m_displayName + ": too many parts for a zip archive");
    std::size_t directoryStart = m_out.size();
    for (const CentralRecord& record : m_records) {
        Put32(m_out, 0x02014b50);
        Put16(m_out, kVersionNeeded);
        Put16(m_out, kVersionNeeded);
        Put16(m_out, NameFlags(record.name));
        Put16(m_out, record.method);
        Put16(m_out, kDosTime);
        Put16(m_out, kDosDate);
        Put32(m_out, record.crc);
        Put32(m_out, record.compressedSize);
        Put32(m_out, record.size);
        Put16(m_out, static_cast<std::uint16_t>(record.name.size()));
        Put16(m_out, 0); // extra field
        Put16(m_out, 0); // comment
        Put16(m_out, 0); // disk
        Put16(m_out, 0); // internal attributes
        Put32(m_out, 0); // external attributes
        Put32(m_out, record.offset);
        m_out.append(record.name);
    }
    std::size_t directorySize = m_out.size() - directoryStart;
    if (m_out.size() >= kLimit)
        throw PptxError(m_displayName + ": the report is too large for a zip archive");
    auto count = static_cast<std::uint16_t>(m_records.size());
    Put32(m_out, 0x06054b50);
    Put16(m_out, 0);
    Put16(m_out, 0);
    Put16(m_out, count);
    Put16(m_out, count);
    Put32(m_out, static_cast<std::uint32_t>(directorySize));
    Put32(m_out, static_cast<std::uint32_t>(directoryStart));
    Put16(m_out, 0);
    m_records.clear();
    return std::move(m_out);
}

} // namespace slidesmith::pptx
