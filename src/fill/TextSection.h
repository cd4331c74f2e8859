#pragma once

#include <string>
#include <string_view>

namespace slidesmith::fill {

// Writes a text with one section of a text format: "@" (a character, or a blank when the text
// has run out), "&" (a character, or nothing), "<" (lower case), ">" (upper case), "!" (fill
// the placeholders from the left instead of from the right); everything else is literal.
// Characters the placeholders cannot hold go with the outermost placeholder, so nothing of
// the text is lost. A section without placeholders writes its literals and then the text.
std::string RenderTextSection(std::string_view section, std::string_view text);

} // namespace slidesmith::fill
