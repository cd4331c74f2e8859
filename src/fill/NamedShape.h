#pragma once

#include "platform/pptx/SlidePart.h"

#include <string_view>

namespace slidesmith::fill {

// The shape of a slide a name addresses, as the object model's Shapes(name) finds it: the
// first shape of the slide with exactly that name (placeholders included), else the first
// member of a group with it, groups searched in slide order and depth first. No shape (false)
// when none has it.
pptx::Shape FindNamedShape(pptx::SlidePart& slide, std::string_view name);

} // namespace slidesmith::fill
