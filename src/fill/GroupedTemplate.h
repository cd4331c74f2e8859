#pragma once

#include "fill/GroupResolution.h"
#include "fill/TableFillCommon.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The layout of a grouped table's template: header blocks, the detail block and which field
// goes where. Built once per statement from the first page and used for every page.
namespace slidesmith::fill {

// What a grouped fill knows of its template table, the same for every page.
struct GroupedTemplate {
    struct Header {
        std::size_t level = 0; // 0-based group level
        std::size_t first = 0; // first and last template line of its block
        std::size_t last = 0;
    };
    bool byRow = true;
    std::vector<Header> headers;         // levels with blocks of their own, outermost first
    std::size_t detailFirst = 0;         // first template line of the detail block
    std::size_t detailLength = 1;        // lines per detail block
    std::size_t preparedBlocks = 1;      // detail blocks the template holds (RESERVE)
    std::vector<FieldSlot> fields;       // every field's cell, format text and colours
    std::vector<int> header;             // per field: own-block level index, or -1 for detail
    std::vector<std::size_t> writeLevel; // per field: written when the changed level <= this
    // Texts of the detail block's first line in cross positions without a detail field,
    // copied into every added line (labels, units).
    std::vector<std::pair<std::size_t, std::string>> staticTexts;
};

// Takes the layout from the resolved plan (the detail block in plan.block, image fields
// marked), the levels, the statement's RESERVE and the template table.
GroupedTemplate BuildGroupedTemplate(const TableFillPlan& plan,
                                     const std::vector<GroupLevelPlan>& levels, int reserve,
                                     pptx::TableEditor& table);

} // namespace slidesmith::fill
