#include "fill/FieldEntries.h"

#include "fill/ImageSettings.h"
#include "script/TextScan.h"

#include <cmath>

namespace slidesmith::fill {
namespace {

std::optional<std::size_t> ByNumber(const std::string& entry, std::size_t fieldCount) {
    const std::optional<double> number = ParseNumber(entry);
    if (!number)
        return std::nullopt;
    const double index = std::nearbyint(*number) - 1.0;
    if (index < 0.0 || index >= static_cast<double>(fieldCount))
        return std::nullopt;
    return static_cast<std::size_t>(index);
}

std::optional<std::size_t> ByName(const std::string& entry,
                                  const std::vector<std::string>& upperNames) {
    const std::string wanted = script::ToUpperAscii(entry);
    for (std::size_t i = 0; i < upperNames.size(); ++i) {
        if (upperNames[i] == wanted)
            return i;
    }
    return std::nullopt;
}

} // namespace

FieldEntryResult ResolveFieldEntries(const std::vector<std::string>& entries,
                                     const RecordSource& records) {
    FieldEntryResult result;
    if (entries.empty())
        return result;
    const std::size_t fieldCount = records.FieldCount();
    const bool numbers = ParseNumber(entries.front()).has_value();
    std::vector<std::string> upperNames;
    if (!numbers) {
        for (std::size_t i = 0; i < fieldCount; ++i)
            upperNames.push_back(script::ToUpperAscii(records.FieldName(i)));
    }
    for (const std::string& entry : entries) {
        const std::optional<std::size_t> field =
            numbers ? ByNumber(entry, fieldCount) : ByName(entry, upperNames);
        if (!field) {
            result.wrong = entry;
            return result;
        }
        result.fields.push_back(*field);
    }
    return result;
}

} // namespace slidesmith::fill
