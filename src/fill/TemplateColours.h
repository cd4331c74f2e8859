#pragma once

#include "fill/FieldKind.h"
#include "platform/odbc/FieldValue.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

// The colours a numeric cell takes from its template text, and the choice among them for one
// value.
namespace slidesmith::fill {

using RgbColour = std::uint32_t;

struct TemplateColours {
    RgbColour positive = 0;
    RgbColour negative = 0;
    RgbColour zero = 0;
    bool operator==(const TemplateColours&) const = default;
};

// The font colour of the template text's bytes [start, start + length) (0-based byte offsets
// into its UTF-8 text, as the presentation engine's text bodies count); the engine supplies
// it. A length of 0 asks for the colour at start. Parts always begin on a character boundary.
using ColourOfCharacters = std::function<RgbColour(std::size_t start, std::size_t length)>;

// Reads the three colours of a format text written in the template cell: the whole text gives
// the positive colour; the part after the first unescaped ";" the negative colour; the part
// after the second the zero colour (the positive one when there is no second separator).
// A "\" makes the next character literal, so "0\;0" has no separator.
TemplateColours ReadTemplateColors(std::string_view formatText, const ColourOfCharacters& colourOf);

enum class FillKind {
    Fixed,  // cells already carry their colour; only a differing one is written
    Growing // added cells are always given the colour (growing and grouped tables)
};

// The colour to write over the cell text for value, or nothing to keep the cell's colour.
// Only numeric fields are coloured; a value that is null or not a number keeps its colour.
std::optional<RgbColour> ChooseCellColour(const odbc::FieldValue& value, ValueKind kind,
                                          const TemplateColours& colours, FillKind fill);

} // namespace slidesmith::fill
