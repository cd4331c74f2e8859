#pragma once

#include "TemplateDescription.h"

#include <string>

namespace slidesmith::testtools {

// Chart part and embedded workbook of a ChartShape, laid out as PowerPoint does: A1 empty,
// series names in B1.., categories in A2.., values below each name. With a workbook every
// series carries c:f formulas pointing at those cells and caches holding the same values, and
// the chart ends with c:externalData r:id="rId1"; without one the data is literal (c:strLit,
// c:numLit), as PowerPoint saves a chart whose workbook is gone.
namespace ChartParts {

// Throws TestToolError when a series' value count differs from the category count.
std::string ChartXml(const ChartShape& chart);
// The chart's relationships part when it has a workbook: rId1 -> `workbookTarget`.
std::string ChartRelationships(const std::string& workbookTarget);
// A minimal valid .xlsx (workbook, one sheet, shared strings, styles), zipped in memory.
std::string Workbook(const ChartShape& chart);

// "A", "B", ..., "Z", "AA" for a 0-based column.
std::string ColumnName(int column);
// Sheet!$A$1 style reference, quoting the sheet name when it needs it.
std::string CellReference(const std::string& sheet, const std::string& range);

} // namespace ChartParts
} // namespace slidesmith::testtools
