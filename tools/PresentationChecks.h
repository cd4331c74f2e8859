#pragma once

#include "PackageChecker.h"

#include <vector>

namespace slidesmith::testtools {

class PackageModel;

// p:sldIdLst ids and r:ids unique and in range; sections name existing slides, each once.
void CheckPresentation(PackageModel& model, std::vector<Finding>& findings);

// One notes slide per slide at most, never shared, pointing back at its own slide.
void CheckNotes(PackageModel& model, std::vector<Finding>& findings);

// docProps/app.xml vectors hold as many entries as they say, and HeadingPairs add up to
// TitlesOfParts.
void CheckAppProperties(PackageModel& model, std::vector<Finding>& findings);

} // namespace slidesmith::testtools
