#include "fill/GroupConsistency.h"

namespace slidesmith::fill {

namespace {

bool SameLines(const BlockBounds& a, const BlockBounds& b, FillOrder order) {
    return order != FillOrder::Col ? a.minRow == b.minRow && a.maxRow == b.maxRow
                                   : a.minColumn == b.minColumn && a.maxColumn == b.maxColumn;
}

std::optional<FillMessage> CheckSharedDetail(const GroupLayoutInput& input, int length) {
    if (length <= 1) {
        return std::nullopt;
    }
    const std::string unit = input.order == FillOrder::Col ? "column." : "row.";
    const std::string tail = "when the length of the range is more then 1 " + unit;
    if (input.recordsPerPage == 0 && input.reserve < static_cast<long>(input.recordCount)) {
        return FillMessage{
            "You should add a pagebreak by record or change the value for RESERVE " + tail, {}};
    }
    if (input.recordsPerPage != 0 && input.reserve != input.recordsPerPage) {
        return FillMessage{"The value \"" + std::to_string(input.reserve) +
                               "\" for parameter RESERVE must be equal to the value \"" +
                               std::to_string(input.recordsPerPage) + "\" for PAGEBREAK " + tail,
                           {}};
    }
    if (input.breakByGroup && input.recordsPerPage == 0) {
        return FillMessage{"You should add a pagebreak by record " + tail, {}};
    }
    return std::nullopt;
}

} // namespace

GroupLayout DecideGroupLayout(std::vector<GroupLevelPlan>& levels, const GroupLayoutInput& input) {
    GroupLayout layout;
    layout.detailLength = BlockLength(input.detail, input.order);
    int innermostOwn = 0;
    for (std::size_t g = levels.size(); g-- > 0;) {
        levels[g].ownBlock = !SameLines(levels[g].block, input.detail, input.order);
        if (levels[g].ownBlock && innermostOwn == 0) {
            innermostOwn = static_cast<int>(g + 1);
        }
    }
    layout.ownBlocks = innermostOwn != 0;
    int breakLevel = input.breakByGroup ? input.breakLevel : 0;
    if (input.breakByGroup && breakLevel < 1) {
        breakLevel = layout.ownBlocks ? innermostOwn : 1;
    }
    layout.breakLevel = breakLevel;
    if (!layout.ownBlocks) {
        layout.refusal = CheckSharedDetail(input, layout.detailLength);
        return layout;
    }
    if (layout.detailLength > 1) {
        layout.refusal =
            FillMessage{"The length of the range can not be more then 1 " +
                            std::string(input.order == FillOrder::Col ? "column" : "row") +
                            " when the grouprange is not same as the range of the detail.",
                        {}};
    } else if (!input.breakByGroup) {
        layout.refusal = FillMessage{"You should add a pagebreak by group when the grouprange is "
                                     "not same as the range of the detail.",
                                     {}};
    } else if (breakLevel != innermostOwn) {
        layout.breakLevel = innermostOwn;
        layout.warning =
            "Warning: The value for PAGEBREAK is invalid. And it is changed to \"g\" .";
    }
    return layout;
}

} // namespace slidesmith::fill
