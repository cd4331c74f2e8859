#pragma once

#include "platform/pptx/Shape.h"
#include "platform/pptx/SlidePart.h"

#include <string_view>

// Which objects of a slide a CHART statement can address, and which fill each one takes.
namespace slidesmith::fill {

// A chart object's program identifier: a graph ("MSGraph.Chart..."), a spreadsheet chart or a
// spreadsheet ("Excel.Chart...", "Excel.Sheet..."). Native charts report one of these too (see
// SlidePart::ProgId), so they count among the OLE objects in slide order.
bool IsChartProgId(std::string_view progId);
// A chart whose data is its own datasheet rather than a workbook.
bool IsGraphProgId(std::string_view progId);

// The ordinal-th chart object of the slide, counting from 1 in shape order; pictures, tables
// and other objects in between are not counted. No shape when the ordinal is below 1 or the
// slide has fewer chart objects.
pptx::Shape FindChartObject(pptx::SlidePart& slide, int ordinal);

} // namespace slidesmith::fill
