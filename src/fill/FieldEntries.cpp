#include "fill/FieldEntries.h"

#include "script/TextScan.h"

namespace slidesmith::fill {
namespace {

std::optional<std::size_t> ByNumber(const std::string& entry, std::size_t fieldCount) {
    const std::optional<std::int64_t> number = script::ParseWholeNumber(entry);
    if (!number || *number < 1 || static_cast<std::uint64_t>(*number) > fieldCount)
        return std::nullopt;
    return static_cast<std::size_t>(*number - 1);
}

std::optional<std::size_t> ByName(const std::string& entry,
                                  const std::vector<std::string>& fieldNames) {
    const std::string wanted = script::ToUpperAscii(entry);
    for (std::size_t i = 0; i < fieldNames.size(); ++i) {
        if (script::ToUpperAscii(fieldNames[i]) == wanted)
            return i;
    }
    return std::nullopt;
}

} // namespace

FieldEntryResult ResolveFieldEntries(const std::vector<std::string>& entries,
                                     const std::vector<std::string>& fieldNames) {
    FieldEntryResult result;
    const bool numbers = !entries.empty() && script::ParseWholeNumber(entries.front());
    for (const std::string& entry : entries) {
        const std::optional<std::size_t> field =
            numbers ? ByNumber(entry, fieldNames.size()) : ByName(entry, fieldNames);
        if (!field) {
            result.wrong = entry;
            return result;
        }
        result.fields.push_back(*field);
    }
    return result;
}

std::vector<std::string> FieldNames(const RecordSource& records) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < records.FieldCount(); ++i)
        names.push_back(records.FieldName(i));
    return names;
}

} // namespace slidesmith::fill
