#include "definition/ConversionTable.h"

#include "platform/files/FileIo.h"
#include "platform/files/TextEncoding.h"
#include "script/TextScan.h"

#include <charconv>
#include <optional>

namespace slidesmith::definition {
namespace {

std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && script::IsBlank(text[begin]))
        ++begin;
    while (end > begin && script::IsBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::optional<std::int32_t> ParseNumber(std::string_view text) {
    const std::string trimmed = Trim(text);
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (first != last && *first == '+')
        ++first;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (trimmed.empty() || error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::vector<std::string_view> SplitAtTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

std::vector<ConversionFormat> ReadConversionTable(const std::filesystem::path& path) {
    std::string bytes;
    try {
        bytes = files::ReadWholeFile(path);
    } catch (const files::FileError&) {
        return {}; // a missing table is announced by the caller, not here
    }
    const std::string text = files::DecodeFileText(bytes, "CP1252").text;
    std::vector<ConversionFormat> table;
    std::size_t pos = 0;
    while (pos < text.size() && table.size() < kMaxConversionFormats) {
        const std::string line = script::NextLine(text, pos);
        const std::vector<std::string_view> fields = SplitAtTabs(line);
        if (fields.size() < 4 || Trim(fields[0]).starts_with(';'))
            continue;
        ConversionFormat format;
        format.Name = Trim(fields[0]);
        if (const std::optional<std::int32_t> number = ParseNumber(fields[1])) {
            format.Number = *number;
            format.IsNumber = true;
        }
        format.Description = Trim(fields[2]);
        format.Extensions = Trim(fields[3]);
        table.push_back(std::move(format));
    }
    return table;
}

int FindConversionFormat(const std::vector<ConversionFormat>& table, std::string_view key,
                         CompareMode mode) {
    if (key.empty())
        return -1;
    const std::optional<std::int32_t> number = ParseNumber(key);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ConversionFormat& row = table[i];
        const bool matches = number                       ? row.IsNumber && row.Number == *number
                             : mode == CompareMode::Exact ? row.Name == key
                                                          : EqualsIgnoringCase(row.Name, key);
        if (matches)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace slidesmith::definition
