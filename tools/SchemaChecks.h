#pragma once

#include "PackageChecker.h"

#include <vector>

namespace slidesmith::testtools {

class PackageModel;

// Child order and cardinality of the DrawingML elements an editor rewrites most (text bodies,
// paragraphs, run properties, tables, rows, cells, cell properties) in slides, layouts, masters
// and notes, and the cell anchor values. PowerPoint repairs a file on any schema violation; this
// covers the ones report generation is likely to cause, not the whole schema.
void CheckElementOrder(PackageModel& model, std::vector<Finding>& findings);

} // namespace slidesmith::testtools
