#include "fill/GroupedTemplate.h"

#include "fill/TableLines.h"

#include <algorithm>

namespace slidesmith::fill {

namespace {

std::size_t FirstLine(const BlockBounds& block, bool byRow) {
    return static_cast<std::size_t>(byRow ? block.minRow : block.minColumn);
}
std::size_t LastLine(const BlockBounds& block, bool byRow) {
    return static_cast<std::size_t>(byRow ? block.maxRow : block.maxColumn);
}

// A field belongs to the outermost level that names it: a header field to that level's
// block, a field of a level sharing the detail to the detail lines, shown per group.
void AssignFields(const std::vector<GroupLevelPlan>& levels, GroupedTemplate& layout) {
    layout.header.assign(layout.fields.size(), -1);
    layout.writeLevel.assign(layout.fields.size(), levels.size());
    for (std::size_t g = levels.size(); g-- > 0;) {
        for (std::size_t field : levels[g].fields) {
            layout.writeLevel[field] = g;
            layout.header[field] = levels[g].ownBlock ? static_cast<int>(g) : -1;
        }
    }
}

void ReadStaticTexts(pptx::TableEditor& table, GroupedTemplate& layout) {
    TableLines lines(table, layout.byRow);
    std::vector<bool> carriesField(lines.CrossCount() + 1, false);
    for (std::size_t field = 0; field < layout.fields.size(); ++field) {
        if (layout.header[field] < 0) {
            carriesField[CrossOf(layout.fields[field].cell, layout.byRow)] = true;
        }
    }
    for (std::size_t cross = 1; cross <= lines.CrossCount(); ++cross) {
        if (!carriesField[cross]) {
            std::string text = lines.Text(layout.detailFirst, cross).Text();
            if (!text.empty()) {
                layout.staticTexts.emplace_back(cross, std::move(text));
            }
        }
    }
}

} // namespace

GroupedTemplate BuildGroupedTemplate(const TableFillPlan& plan,
                                     const std::vector<GroupLevelPlan>& levels, int reserve,
                                     pptx::TableEditor& table) {
    GroupedTemplate layout;
    layout.byRow = plan.order != FillOrder::Col;
    layout.detailFirst = FirstLine(plan.block, layout.byRow);
    layout.detailLength = static_cast<std::size_t>(plan.blockLength);
    // The template holds RESERVE detail blocks, as far as the table reaches.
    const std::size_t lineCount = TableLines(table, layout.byRow).Count();
    const std::size_t room = lineCount >= layout.detailFirst
                                 ? (lineCount - layout.detailFirst + 1) / layout.detailLength
                                 : 0;
    layout.preparedBlocks = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(reserve, 1)),
                                                    1, std::max<std::size_t>(room, 1));
    for (std::size_t g = 0; g < levels.size(); ++g) {
        if (levels[g].ownBlock) {
            layout.headers.push_back({g, FirstLine(levels[g].block, layout.byRow),
                                      LastLine(levels[g].block, layout.byRow)});
        }
    }
    layout.fields = plan.fields;
    AssignFields(levels, layout);
    ReadStaticTexts(table, layout);
    return layout;
}

} // namespace slidesmith::fill
