#pragma once

#include "fill/DecimalNumber.h"
#include "fill/LocaleConventions.h"

#include <string>
#include <string_view>

namespace slidesmith::fill {

// Writes the magnitude of value with one section of a number format: digit placeholders
// "0" (always a digit) and "#" (a digit when there is one), "." for the decimal separator,
// "," for thousands grouping between placeholders or, after the last integer placeholder,
// division by 1000 each, "%" (multiplies by 100 and is written), "E+" "E-" "e+" "e-" for
// scientific notation, and literal text (quoted, "\"-escaped or plain). Rounds half away
// from zero. With minus set, "-" is written first. Separators come from conventions.
// A section without placeholders or decimal point writes only its literal text.
std::string RenderNumberSection(std::string_view section, DecimalNumber value, bool minus,
                                const LocaleConventions& conventions);

} // namespace slidesmith::fill
