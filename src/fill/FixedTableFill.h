#pragma once

#include "fill/TableFillCommon.h"

namespace slidesmith::fill {

// Fills a table that already has room for every record (TYPE FIX): record k goes k blocks
// below (FILLORDER ROW) or to the right of (COL) the cells of the CELL list. A cell of a later
// record that holds its own format text is formatted by it; an empty one by the first
// record's. Nothing is added or removed, so more records than the table has room for fail
// with the records that fit written. Without records the field cells are emptied.
// Logs the record count, progress and every failure; closes the records; never throws.
TableFillResult FillFixedTable(TableFillContext& context);

} // namespace slidesmith::fill
