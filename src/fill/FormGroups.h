#pragma once

#include "fill/FillReporter.h"
#include "fill/RecordSource.h"
#include "script/StatementRecord.h"

#include <cstddef>
#include <limits>
#include <vector>

namespace slidesmith::fill {

// The GROUP levels of a named-shape report (level 0 the outermost). A group's values are shown
// on the first slide of the group only: a record writes the shapes of the level that changed
// and of the levels inside it, and empties those of the unchanged outer levels.
//
// A field listed in several levels belongs to the outermost of them: its value is a value of
// that group, so it is shown once per group of that level, not once per inner group.
class FormGroups {
public:
    static constexpr std::size_t kNoLevel = std::numeric_limits<std::size_t>::max();

    // Resolves every level's entries (numbers or names, as IMAGE). A wrong entry is logged as
    // "Syntax error. Failed to parse group <n>." with the detail "Can not find field "<entry>"."
    // and the result is false.
    bool Resolve(const std::vector<script::GroupLevel>& groups, const RecordSource& records,
                 FillReporter& reporter);

    // The level whose shape the field's is; kNoLevel for fields in no level (always written).
    std::size_t LevelOf(std::size_t field) const;

    // The outermost level whose fields differ from the previous record's; 0 for the first
    // record; the level count when no level changed (only the fields in no level are written).
    std::size_t ChangedLevel(const std::vector<odbc::FieldValue>& values);

private:
    std::vector<std::vector<std::size_t>> m_levels;
    std::vector<std::size_t> m_levelOf; // per field
    std::vector<odbc::FieldValue> m_previous;
    bool m_first = true;
};

} // namespace slidesmith::fill
