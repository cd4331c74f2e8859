#pragma once

#include "fill/ChartFillCommon.h"
#include "platform/chart/ChartObject.h"

#include <string>

// CHART on a chart with an embedded workbook: the records are written into the worksheet the
// chart's first series reads from. For TYPE VAR the template's data area holds two sample
// records, and the worksheet grows or shrinks between them to the record count, so every series
// reference over the sample area stretches with it; the caches are rebuilt from the cells.
namespace slidesmith::fill {

// The worksheet the chart's first series reads its values from; empty when the chart has no
// series or its values are not a sheet-qualified reference.
std::string SeriesSourceSheet(const chart::ChartObject& chart);

// Finds the chart and its data worksheet, runs the query, plans the cells (the worksheet's own
// references, FILLORDER ROW by default), grows or shrinks the sample area for TYPE VAR, writes
// the records and saves the workbook and the chart. Failures are logged as the statement's
// error entries, and after a failure nothing is saved. Never throws.
bool FillExcelChart(ChartFillContext& context);

} // namespace slidesmith::fill
