#include "definition/ProfileReader.h"

#include "script/TextScan.h"

#include <algorithm>
#include <unordered_set>

namespace slidesmith::definition {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && script::IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && script::IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void AppendLower(std::string& out, std::string_view text) {
    for (const char c : text)
        out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text) {
    std::string lower;
    AppendLower(lower, text);
    return lower;
}

std::string MapKey(std::string_view section, std::string_view key) {
    std::string mapKey = Lower(section);
    mapKey += '\n';
    AppendLower(mapKey, key);
    return mapKey;
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

ProfileReader::ProfileReader(std::string_view text, const std::vector<Key>& wanted) {
    std::unordered_set<std::string> wantedSections;
    std::unordered_set<std::string> wantedKeys;
    std::size_t longestName = 0;
    for (const auto& [section, key] : wanted) {
        wantedSections.insert(Lower(section));
        wantedKeys.insert(MapKey(section, key));
        longestName = std::max({longestName, section.size(), key.size()});
    }
    std::unordered_set<std::string> seenSections;
    // Lower-cased name of the wanted section being read, LF, and then the key of each line:
    // one buffer, so a text of millions of lines allocates nothing per line.
    std::string mapKey;
    std::size_t sectionLength = 0;
    bool inWantedSection = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        const std::string_view line = Trim(text.substr(pos, end - pos));
        pos = lf == std::string_view::npos ? text.size() : lf + 1;
        if (!line.empty() && line.front() == '[') {
            const std::string_view name = Trim(line.substr(1, line.find(']') - 1));
            inWantedSection = false;
            if (name.size() <= longestName) {
                mapKey.clear();
                AppendLower(mapKey, name);
                inWantedSection =
                    wantedSections.count(mapKey) > 0 && seenSections.insert(mapKey).second;
                mapKey += '\n';
                sectionLength = mapKey.size();
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inWantedSection || equals == std::string_view::npos)
            continue;
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.size() > longestName)
            continue;
        mapKey.resize(sectionLength);
        AppendLower(mapKey, key);
        if (wantedKeys.count(mapKey) == 0 || m_values.count(mapKey) > 0)
            continue;
        const std::string value = script::StripQuotes(Trim(line.substr(equals + 1)));
        m_values.emplace(mapKey, CutToCharacters(value, kMaxValueLength));
    }
}

std::string ProfileReader::GetValue(std::string_view section, std::string_view key) const {
    const auto found = m_values.find(MapKey(section, key));
    return found == m_values.end() ? std::string() : found->second;
}

} // namespace slidesmith::definition
