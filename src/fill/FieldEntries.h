#pragma once

#include "fill/RecordSource.h"

#include <optional>
#include <string>
#include <vector>

namespace slidesmith::fill {

// A list of fields as IMAGE and GROUP give them: all numbers counted from 1 when the first
// entry is a whole number (sign and blanks allowed), otherwise all names matched without regard
// to ASCII case.
struct FieldEntryResult {
    std::vector<std::size_t> fields;  // 0-based field indexes, one per entry
    std::optional<std::string> wrong; // the first entry naming no field, as written
};

FieldEntryResult ResolveFieldEntries(const std::vector<std::string>& entries,
                                     const std::vector<std::string>& fieldNames);

// The names of the record source's fields, in field order.
std::vector<std::string> FieldNames(const RecordSource& records);

} // namespace slidesmith::fill
