#pragma once

#include "fill/GroupResolution.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Decides which group levels have header blocks of their own and at which level pages break,
// and refuses the combinations of block length, RESERVE and PAGEBREAK a grouped fill cannot
// lay out. Runs before the table is touched.
namespace slidesmith::fill {

struct GroupLayoutInput {
    BlockBounds detail;
    FillOrder order = FillOrder::Row;
    std::size_t recordCount = 0;
    long reserve = 1;
    long recordsPerPage = 0; // PAGEBREAK by record count, 0 for none
    bool breakByGroup = false;
    int breakLevel = 0; // as PAGEBREAK named it; below 1 when it named no level
};

struct GroupLayout {
    // Set when the statement is refused: the fill must end with it as an error.
    std::optional<FillMessage> refusal;
    // An information line to log before filling (PAGEBREAK moved to another level).
    std::optional<std::string> warning;
    bool ownBlocks = false; // some level has header lines of its own
    int breakLevel = 0;     // 1-based level whose new groups start pages; 0 for none
    int detailLength = 1;   // lines one record's detail block takes
};

// Marks levels[g].ownBlock where a level's block differs from the detail block and checks the
// rules. A page break by group always lands on the innermost level with a block of its own,
// since only one header block per level fits on a page.
GroupLayout DecideGroupLayout(std::vector<GroupLevelPlan>& levels, const GroupLayoutInput& input);

} // namespace slidesmith::fill
