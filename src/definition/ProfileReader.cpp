#include "definition/ProfileReader.h"

#include "script/TextScan.h"

namespace slidesmith::definition {
namespace {

std::string_view Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && script::IsBlank(text[begin]))
        ++begin;
    while (end > begin && script::IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// Cuts after maxChars code points; continuation bytes never start a character.
std::string_view CutToCharacters(std::string_view text, std::size_t maxChars) {
    if (text.size() <= maxChars)
        return text;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80 && chars++ == maxChars)
            return text.substr(0, i);
    }
    return text;
}

} // namespace

ProfileReader::ProfileReader(std::string text) : m_text(std::move(text)) {
    const std::string_view all(m_text);
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < all.size()) {
        const std::size_t lf = all.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? all.size() : lf;
        const std::string_view line = Trim(all.substr(pos, end - pos));
        pos = lf == std::string_view::npos ? all.size() : lf + 1;
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::size_t nameEnd = close == std::string_view::npos ? line.size() : close;
            m_sections.push_back({Trim(line.substr(1, nameEnd - 1)), {}});
            current = &m_sections.back();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos)
            continue;
        current->entries.push_back({Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
    }
}

std::string ProfileReader::GetValue(std::string_view section, std::string_view key) const {
    for (const Section& candidate : m_sections) {
        if (!EqualsIgnoringCase(candidate.name, section))
            continue;
        for (const Entry& entry : candidate.entries) {
            if (EqualsIgnoringCase(entry.key, key))
                return std::string(
                    CutToCharacters(script::StripQuotes(entry.value), kMaxValueLength));
        }
        return {};
    }
    return {};
}

} // namespace slidesmith::definition
