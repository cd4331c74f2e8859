#pragma once

#include "fill/CellList.h"
#include "platform/odbc/FieldValue.h"
#include "script/StatementRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Turns a statement's GROUP and GROUPRANGE parameters into field indexes and table blocks,
// before any record is read. Failures come back as data; the caller logs them.
namespace slidesmith::fill {

// One group level: level 1 is the outermost.
struct GroupLevelPlan {
    std::vector<std::size_t> fields; // recordset field indexes, as GROUP lists them
    BlockBounds block;               // the fields' bounds, or the GROUPRANGE that encloses them
    bool ownBlock = false;           // the block is not the detail block: the level has headers
};

// The field index of each entry of one GROUP: all numbers counted from 1 when the first entry
// is a whole number, else all names (compared without regard to case). An entry that names no
// field is "Syntax error. Failed to parse group <level>." (level counted from 1) with the detail
// 'Can not find field "<entry>".'.
std::optional<FillMessage> ResolveGroupFields(const std::vector<std::string>& entries,
                                              std::size_t level,
                                              const std::vector<std::string>& fieldNames,
                                              std::vector<std::size_t>& fields);

// Resolves every level's fields and sets its block to their cells' bounds.
std::optional<FillMessage> ResolveGroups(const std::vector<script::GroupLevel>& groups,
                                         const std::vector<std::string>& fieldNames,
                                         const std::vector<CellCoordinate>& cells,
                                         std::vector<GroupLevelPlan>& levels);

// Applies each non-empty GROUPRANGE, innermost level first: it must enclose the lines of its
// level's fields (rows for FillOrder::Row, columns for Col) and then becomes the level's block.
std::optional<FillMessage> ApplyGroupRanges(const std::vector<script::GroupLevel>& groups,
                                            FillOrder order, std::vector<GroupLevelPlan>& levels);

// The bounds of the detail: the cells of the fields no GROUP names, or of all fields when
// every field is grouped. Header fields lie outside the detail lines, so the detail is what
// the remaining fields span.
BlockBounds DetailBounds(const std::vector<GroupLevelPlan>& levels,
                         const std::vector<CellCoordinate>& cells);

// The outermost level (0-based) at which a field of the level differs between two records'
// values; levels.size() when every level holds the same values.
std::size_t ChangedLevel(const std::vector<GroupLevelPlan>& levels,
                         const std::vector<odbc::FieldValue>& previous,
                         const std::vector<odbc::FieldValue>& current);

} // namespace slidesmith::fill
