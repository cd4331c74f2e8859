#pragma once

#include "TemplateDescription.h"

#include <string>

namespace slidesmith::testtools {

// p:spTree children for the shapes of a description. `id` is the shape's cNvPr id, unique in
// its slide; `relationshipId` the slide relationship of a picture's image or a chart's part.
namespace SlideShapes {

std::string Placeholder(int id, const PlaceholderShape& shape);
std::string Text(int id, const TextShape& shape);
// Throws TestToolError when a merge runs past the grid or the sizes do not match the cells.
std::string Table(int id, const TableShape& shape);
std::string Picture(int id, const PictureShape& shape, const std::string& relationshipId);
std::string ChartFrame(int id, const ChartShape& shape, const std::string& relationshipId);

// The name PowerPoint would give a placeholder with this id ("Title 1", "Subtitle 2", ...).
std::string DefaultPlaceholderName(int id, PlaceholderShape::Type type);

} // namespace SlideShapes
} // namespace slidesmith::testtools
