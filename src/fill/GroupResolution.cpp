#include "fill/GroupResolution.h"

#include "fill/FieldEntries.h"

#include <utility>

namespace slidesmith::fill {

std::optional<FillMessage> ResolveGroupFields(const std::vector<std::string>& entries,
                                              std::size_t level,
                                              const std::vector<std::string>& fieldNames,
                                              std::vector<std::size_t>& fields) {
    FieldEntryResult resolved = ResolveFieldEntries(entries, fieldNames);
    fields = std::move(resolved.fields);
    if (resolved.wrong) {
        return FillMessage{"Syntax error. Failed to parse group " + std::to_string(level) + ".",
                           "Can not find field \"" + *resolved.wrong + "\"."};
    }
    return std::nullopt;
}

std::optional<FillMessage> ResolveGroups(const std::vector<script::GroupLevel>& groups,
                                         const std::vector<std::string>& fieldNames,
                                         const std::vector<CellCoordinate>& cells,
                                         std::vector<GroupLevelPlan>& levels) {
    levels.assign(groups.size(), {});
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (auto failure =
                ResolveGroupFields(groups[g].Fields, g + 1, fieldNames, levels[g].fields)) {
            return failure;
        }
        for (std::size_t field : levels[g].fields) {
            ExtendBounds(levels[g].block, cells.at(field));
        }
    }
    return std::nullopt;
}

std::optional<FillMessage> ApplyGroupRanges(const std::vector<script::GroupLevel>& groups,
                                            FillOrder order, std::vector<GroupLevelPlan>& levels) {
    for (std::size_t g = groups.size(); g-- > 0;) {
        const std::string& text = groups[g].Range;
        if (text.empty()) {
            continue;
        }
        RangeReference range;
        if (!ParseRangeRef(text, range)) {
            return FillMessage{"Syntax error. Failed to parse grouprange.", {}};
        }
        std::string expected;
        if (!RangeEncloses(range, levels[g].block, order, expected)) {
            return FillMessage{"The grouprange of group" + std::to_string(g + 1) + " should be " +
                                   expected + " .",
                               {}};
        }
        levels[g].block = {range.first.row, range.last.row, range.first.column, range.last.column};
    }
    return std::nullopt;
}

BlockBounds DetailBounds(const std::vector<GroupLevelPlan>& levels,
                         const std::vector<CellCoordinate>& cells) {
    std::vector<bool> grouped(cells.size(), false);
    for (const GroupLevelPlan& level : levels) {
        for (std::size_t field : level.fields) {
            grouped.at(field) = true;
        }
    }
    BlockBounds detail;
    BlockBounds all;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        ExtendBounds(all, cells[i]);
        if (!grouped[i]) {
            ExtendBounds(detail, cells[i]);
        }
    }
    return detail.minRow == 0 ? all : detail;
}

std::size_t ChangedLevel(const std::vector<GroupLevelPlan>& levels,
                         const std::vector<odbc::FieldValue>& previous,
                         const std::vector<odbc::FieldValue>& current) {
    for (std::size_t g = 0; g < levels.size(); ++g) {
        for (std::size_t field : levels[g].fields) {
            if (!(previous[field] == current[field])) {
                return g;
            }
        }
    }
    return levels.size();
}

} // namespace slidesmith::fill
