// Resolving GROUP and GROUPRANGE, and choosing header blocks and the page-break level. The
// messages of whole statements are checked by the engine's grouped-run scenarios; these are
// the rules behind them.
#include "fill/GroupResolution.h"

#include "fill/GroupConsistency.h"

#include <gtest/gtest.h>

namespace slidesmith::fill {
namespace {

const std::vector<std::string> kNames = {"Region", "Product", "Amount"};

TEST(GroupResolution, EntriesAreAllNumbersOrAllNamesAsTheFirstEntrySays) {
    struct Case {
        std::vector<std::string> entries;
        std::vector<std::size_t> fields;
        std::string missing; // the entry named in the failure, empty for success
    };
    const std::vector<Case> cases = {
        {{"3", " 1 "}, {2, 0}, ""},
        {{"region", "AMOUNT"}, {0, 2}, ""},
        {{"Product", "2"}, {}, "2"},     // names: "2" is no field's name
        {{"1", "Region"}, {}, "Region"}, // numbers: a name is no number
        {{"0"}, {}, "0"},
        {{"4"}, {}, "4"},
        {{"Colour"}, {}, "Colour"}};
    for (const Case& c : cases) {
        std::vector<std::size_t> fields;
        const auto failure = ResolveGroupFields(c.entries, 3, kNames, fields);
        if (c.missing.empty()) {
            EXPECT_FALSE(failure) << c.entries.front();
            EXPECT_EQ(fields, c.fields) << c.entries.front();
        } else {
            EXPECT_EQ(failure, (FillMessage{"Syntax error. Failed to parse group 3.",
                                            "Can not find field \"" + c.missing + "\"."}));
        }
    }
}

TEST(GroupResolution, GroupRangesAreCheckedInnermostFirstAlongTheFillOrder) {
    const std::vector<CellCoordinate> cells = {{1, 2}, {1, 3}, {2, 3}};
    std::vector<GroupLevelPlan> levels;
    const std::vector<script::GroupLevel> groups = {{{"Region"}, "A:A"}, {{"Product"}, "A1:B1"}};
    ASSERT_FALSE(ResolveGroups(groups, kNames, cells, levels));
    EXPECT_EQ(ApplyGroupRanges(groups, FillOrder::Col, levels),
              (FillMessage{"The grouprange of group2 should be C:C .", {}}));
    EXPECT_EQ(ApplyGroupRanges(groups, FillOrder::Row, levels),
              (FillMessage{"The grouprange of group1 should be 1:1 .", {}}));
    EXPECT_EQ(levels[1].block, (BlockBounds{1, 1, 1, 2})) << "an enclosing range is the block";
    EXPECT_EQ(ApplyGroupRanges({{{"Region"}, "A1:"}}, FillOrder::Row, levels),
              (FillMessage{"Syntax error. Failed to parse grouprange.", {}}));
    // The detail is what the ungrouped fields span; with every field grouped, all of them.
    EXPECT_EQ(DetailBounds(levels, cells), (BlockBounds{2, 2, 3, 3}));
    levels.push_back({{2}, {}, false});
    EXPECT_EQ(DetailBounds(levels, cells), (BlockBounds{1, 2, 2, 3}));
}

TEST(GroupConsistency, PagesBreakAtTheInnermostHeaderLevelAndTheRulesRefuseWhatCannotBeLaidOut) {
    const BlockBounds detail{4, 4, 1, 3};
    const BlockBounds header{2, 2, 1, 3};
    struct Case {
        std::vector<BlockBounds> blocks;
        bool byGroup;
        int level;
        int breakLevel;
        bool warned;
    };
    const std::vector<Case> cases = {{{detail, detail}, false, 0, 0, false},
                                     {{detail, detail}, true, -1, 1, false},
                                     {{detail, detail}, true, 2, 2, false},
                                     {{header, detail}, true, -1, 1, false},
                                     {{header, {3, 3, 1, 3}, detail}, true, -1, 2, false},
                                     {{header, {3, 3, 1, 3}, detail}, true, 1, 2, true},
                                     {{header, {3, 3, 1, 3}, detail}, true, -2, 2, false}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        std::vector<GroupLevelPlan> levels;
        for (const BlockBounds& block : cases[i].blocks)
            levels.push_back({{}, block, false});
        const GroupLayout layout = DecideGroupLayout(
            levels,
            {.detail = detail, .breakByGroup = cases[i].byGroup, .breakLevel = cases[i].level});
        EXPECT_FALSE(layout.refusal) << "case " << i;
        EXPECT_EQ(layout.breakLevel, cases[i].breakLevel) << "case " << i;
        EXPECT_EQ(layout.warning.has_value(), cases[i].warned) << "case " << i;
        EXPECT_EQ(layout.ownBlocks, !(cases[i].blocks.front() == detail)) << "case " << i;
    }
    // Across columns the messages speak of columns.
    std::vector<GroupLevelPlan> levels = {{{}, {1, 2, 2, 2}, false}};
    const GroupLayout layout = DecideGroupLayout(
        levels, {.detail = {1, 2, 3, 4}, .order = FillOrder::Col, .breakByGroup = true});
    EXPECT_EQ(layout.refusal, (FillMessage{"The length of the range can not be more then 1 column "
                                           "when the grouprange is not same as the range of the "
                                           "detail.",
                                           {}}));
}

} // namespace
} // namespace slidesmith::fill
