#pragma once

#include "TemplateDescription.h"

#include <cstdint>
#include <string>
#include <vector>

namespace slidesmith::testtools {

// The parts every built template shares, as PowerPoint writes them for a new presentation:
// the Office theme, one master with title and body placeholders, four layouts and the table
// style PowerPoint gives new tables.
namespace FixedParts {

std::string Theme();
std::string Master(int layoutCount, std::int64_t slideWidth, std::int64_t slideHeight);
std::string MasterRelationships(int layoutCount);
std::string LayoutPart(Layout layout, std::int64_t slideWidth, std::int64_t slideHeight);
std::string LayoutRelationships();
std::string LayoutName(Layout layout);
int LayoutCount();
std::string TableStyles();
std::string PresentationProperties();
std::string ViewProperties();
std::string CoreProperties(const std::string& title);
std::string AppProperties(const std::vector<std::string>& slideTitles, int notes);

} // namespace FixedParts
} // namespace slidesmith::testtools
