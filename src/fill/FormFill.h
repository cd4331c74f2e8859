#pragma once

#include "fill/TableFillCommon.h"

namespace slidesmith::fill {

// Fills named shapes, one slide per record (TYPE FORM). CELL entry i names the shape of field
// i on the statement's slide (a field without an entry is not shown); its text is the field's
// format text, or its picture settings for an image field. Every shape is checked before any
// slide is copied; then the slide is followed by N - 1 copies of itself and record k is
// written into slide k. Numbers take their colour by sign. GROUP levels show a group's values
// on its first slide only (FormGroups). Without records NODATA DELRANGE or DELSLIDE deletes
// the slide, otherwise the shapes are emptied.
// The context's table shape is not used. Logs the record count, progress and every failure;
// closes the records; never throws.
TableFillResult FillForm(TableFillContext& context);

} // namespace slidesmith::fill
