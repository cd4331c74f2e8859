#pragma once

#include "PackageChecker.h"

#include <vector>

namespace slidesmith::testtools {

class PackageModel;

// Per chart part: unique series c:idx and c:order, ptCount covering every point, the c16:uniqueId
// spelling, and every cached value equal to the workbook cell its c:f formula names (when the
// chart has an embedded workbook). A stale cache is a warning: PowerPoint shows the cache and
// refreshes it from the workbook when the user edits the data, so it opens without a repair.
void CheckCharts(PackageModel& model, std::vector<Finding>& findings);

// Every embedded .xlsx opens as a zip and passes the package checks itself; worksheet rows and
// cells are in ascending order.
void CheckEmbeddedWorkbooks(PackageModel& model, std::vector<Finding>& findings);

} // namespace slidesmith::testtools
