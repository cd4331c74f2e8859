#pragma once

#include "fill/TableFillCommon.h"

namespace slidesmith::fill {

// Fills a table whose template holds RESERVE prepared record blocks (TYPE VAR without GROUP):
// one-row (one-column) blocks are added before the block, formatted like it and carrying its
// static texts; surplus blocks are removed from the top of the block. With PAGEBREAK every page
// takes that many records on a copy of the slide placed directly after it; the last page keeps
// the rows below the block (a totals row), the others end with their last block. Without
// records NODATA removes the block, the table or the slide, or else the field cells are
// emptied. Blocks of several rows are never added, so RESERVE must cover them: the consistency
// errors end the statement before the table is touched.
//
// Every page slide is visited once and released when its records are written, so cost and
// memory grow linearly with records and pages. Logs counts, progress and failures; closes the
// records; never throws.
TableFillResult FillGrowingTable(TableFillContext& context);

} // namespace slidesmith::fill
