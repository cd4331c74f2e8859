#pragma once

#include "PackageChecker.h"

#include <vector>

namespace slidesmith::testtools {

class PackageModel;

// Every attribute in the relationships namespace (r:id, r:embed, r:link, r:dm, ...) of every
// XML part names a relationship of that part.
void CheckReferences(PackageModel& model, std::vector<Finding>& findings);

// Shape ids unique per shape tree (groups included, one branch of mc:AlternateContent), tables
// consistent with their grid and frame, in slides, layouts, masters and notes.
void CheckShapeTrees(PackageModel& model, std::vector<Finding>& findings);

// No chart part is the target of chart relationships from two slides.
void CheckSharedCharts(PackageModel& model, std::vector<Finding>& findings);

} // namespace slidesmith::testtools
