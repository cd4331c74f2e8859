#pragma once

#include "fill/TableFillCommon.h"

namespace slidesmith::fill {

// Fills a growing table (TYPE VAR) whose records are grouped by the statement's GROUP levels,
// taken as sorted by the query. A level whose block is the detail block shows its fields in
// the detail lines, on the first record of each of its groups (and on the first record of a
// page when PAGEBREAK asks for repeated headers); a level with a block of its own (GROUPRANGE
// or its fields on lines of their own) writes that header block when its group starts. Pages
// break every PAGEBREAK records and, with PAGEBREAK G, at every new group of a level; each page
// is an unfilled copy of the slide made before it is written, so every page starts from the
// template, and the spare copy is removed at the end. Rows left over at a page end are
// removed; only the last page keeps the lines below the detail.
//
// Failures in resolving groups and ranges, and the consistency rules, end the statement
// before the table is touched. Logs counts, warnings, progress and failures; closes the
// records; never throws. Each page slide is released when finished, so cost and memory grow
// linearly with records and pages.
TableFillResult FillGroupedTable(TableFillContext& context);

} // namespace slidesmith::fill
