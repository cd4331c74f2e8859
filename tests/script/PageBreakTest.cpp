#include "script/PageBreak.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidesmith::script {
namespace {

TEST(ParsePageBreak, DecodesRowAndGroupItems) {
    struct Case {
        std::string text;
        std::size_t groupLevels;
        bool ok;
        PageBreakSpec expected; // Rows, RowsS, Group, GroupLevel, GroupS
    };
    const std::vector<Case> cases{
        {"", 0, true, {}},
        {"10", 0, true, {10, false, 0, 0, false}},
        {"10RS", 0, true, {10, true, 0, 0, false}},
        {"10r", 0, true, {10, false, 0, 0, false}},
        {"s12", 0, true, {12, true, 0, 0, false}},
        {"0", 0, false, {}},
        {"-4", 0, false, {}},
        {"x", 0, false, {}},
        {"G", 1, true, {0, false, 1, -1, false}},
        {"G", 0, false, {}},
        {"10,G", 0, true, {10, false, 0, 0, false}},
        {"gs", 2, true, {0, false, 1, -1, true}},
        {"G2S", 2, true, {0, false, 1, 2, true}},
        {"G3", 2, false, {}},
        {"G0", 2, false, {}},
        {"10,G1", 2, true, {10, false, 1, 1, false}},
        {"'5' , , 7", 0, true, {5, false, 0, 0, false}},
        {"0,7", 0, true, {7, false, 0, 0, false}},
        {"G3,G2,G1", 2, true, {0, false, 1, 2, false}},
        {"40000", 0, false, {}},
    };
    for (const Case& c : cases) {
        StatementRecord record;
        record.Groups.resize(c.groupLevels);
        EXPECT_EQ(ParsePageBreak(c.text, record), c.ok) << c.text;
        const PageBreakSpec& pb = record.PageBreak;
        const PageBreakSpec& e = c.expected;
        EXPECT_EQ(pb.Rows, e.Rows) << c.text;
        EXPECT_EQ(pb.RowsS, e.RowsS) << c.text;
        EXPECT_EQ(pb.Group, e.Group) << c.text;
        EXPECT_EQ(pb.GroupLevel, e.GroupLevel) << c.text;
        EXPECT_EQ(pb.GroupS, e.GroupS) << c.text;
    }
}

} // namespace
} // namespace slidesmith::script
