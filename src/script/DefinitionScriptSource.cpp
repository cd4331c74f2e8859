#include "script/DefinitionScriptSource.h"

#include "script/TextScan.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace slidesmith::script {
namespace {

constexpr std::size_t kBlockSize = 1 << 16;

bool IsSqlSectionLine(std::string_view line) {
    std::size_t begin = 0;
    SkipBlanks(line, begin);
    std::size_t end = line.size();
    while (end > begin && IsBlank(line[end - 1]))
        --end;
    return line.substr(begin, end - begin) == "[SQL]";
}

} // namespace

DefinitionScriptSource::DefinitionScriptSource(std::filesystem::path path, LineDecoder decoder)
    : m_path(std::move(path)), m_decoder(std::move(decoder)) {}

bool DefinitionScriptSource::ReadLine(std::string_view& line) {
    if (!m_opened)
        Open();
    if (!ReadRawLine(line))
        return false;
    if (m_decoder) {
        m_decoded = m_decoder(line);
        line = m_decoded;
    }
    return true;
}

void DefinitionScriptSource::Open() {
    m_opened = true;
    m_file.reset(std::fopen(m_path.c_str(), "rb"));
    if (!m_file) {
        throw ScriptSourceError("Can not open the definition file \"" + m_path.string() +
                                "\": " + std::strerror(errno));
    }
    m_buffer.resize(kBlockSize);
    std::string_view line;
    while (ReadRawLine(line)) {
        if (IsSqlSectionLine(line))
            return;
    }
}

bool DefinitionScriptSource::FillBuffer() {
    if (!m_file)
        return false;
    m_begin = 0;
    m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file.get());
    if (m_end > 0)
        return true;
    const bool failed = std::ferror(m_file.get()) != 0;
    m_file.reset();
    if (failed)
        throw ScriptSourceError("Can not read the definition file \"" + m_path.string() + "\".");
    return false;
}

// Returns a view into the block when the line lies inside it, else joins the pieces.
bool DefinitionScriptSource::ReadRawLine(std::string_view& line) {
    bool joining = false;
    for (;;) {
        if (m_begin == m_end && !FillBuffer()) {
            if (!joining)
                return false;
            line = m_joined;
            if (line.back() == '\r')
                line.remove_suffix(1);
            return true;
        }
        const char* begin = m_buffer.data() + m_begin;
        const std::size_t available = m_end - m_begin;
        const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', available));
        if (lf == nullptr) {
            if (!joining)
                m_joined.clear();
            m_joined.append(begin, available);
            joining = true;
            m_begin = m_end;
            continue;
        }
        const auto length = static_cast<std::size_t>(lf - begin);
        m_begin += length + 1;
        if (joining) {
            m_joined.append(begin, length);
            line = m_joined;
        } else {
            line = std::string_view(begin, length);
        }
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return true;
    }
}

} // namespace slidesmith::script
