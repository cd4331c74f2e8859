#pragma once

#include "fill/ChartFillCommon.h"

// CHART on a chart that keeps its data in its own datasheet (a native chart without an
// embedded workbook): the records are written into datasheet cells, block after block, and the
// chart's caches are rebuilt from the datasheet. The datasheet is never cleared: cells that no
// record writes keep the template's values, and writing beyond the chart's last category or
// series extends it.
namespace slidesmith::fill {

// Runs the query, plans the cells (datasheet references, FILLORDER COL by default), writes the
// records and saves the chart. Failures are logged as the statement's error entries; the
// result is the statement's success. Never throws.
bool FillGraphChart(ChartFillContext& context);

} // namespace slidesmith::fill
