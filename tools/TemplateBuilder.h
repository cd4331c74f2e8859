#pragma once

#include "PackageFiles.h"
#include "TemplateDescription.h"

#include <filesystem>

namespace slidesmith::testtools {

// Writes a complete, valid presentation package from a TemplateDescription: content types,
// relationships, docProps, presProps, viewProps, theme, one master with four layouts, table
// styles, slides, pictures and charts (with an embedded workbook or cache only), sections.
// Throws TestToolError when the description is inconsistent (a merge past the grid, a series
// whose value count differs from the categories, section counts past the slides).
PartMap BuildTemplateParts(const TemplateDescription& description);

// BuildTemplateParts, zipped to `path` (.pptx or .potx as the description says).
void WriteTemplate(const TemplateDescription& description, const std::filesystem::path& path);

} // namespace slidesmith::testtools
