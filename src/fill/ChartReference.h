#pragma once

#include "fill/CellReference.h"

#include <string>
#include <string_view>

// References to the cells of a chart's datasheet, and the worksheet a spreadsheet chart's
// series formula reads from.
//
// The datasheet numbers its cells from the header: row 1 is the header row (series names),
// column 1 the header column (categories), and the first data cell (2, 2) is written "A1".
// A reference that begins with a digit names the header column ("01" and "1" are (2, 1)); row
// "0" is the header row ("A0" is (1, 2), "00" the corner). As in CellCoordinate, 0 in a part
// means it was not written and -1 that it lies beyond the datasheet.
namespace slidesmith::fill {

inline constexpr int kDatasheetLimit = 4000; // rows and columns 1..4000

// Parses one datasheet reference, case-insensitively; "$" is ignored. At most three letters,
// and no letter after a digit. The empty text is valid (0, 0). On failure returns false and
// sets both parts to -1.
bool ParseDatasheetRef(std::string_view text, CellCoordinate& cell);

// The reference of a datasheet cell, for messages: (2, 2) -> "A1", (1, 1) -> "00", (3, 1) ->
// "02", (0, 2) -> "A". Empty when either part lies outside 0..4000.
std::string DatasheetRefName(int row, int column);

// Parses "<ref>:<ref>". Ends in the header column are read as whole rows ("1:5", "0:0"),
// except the header cells themselves written with a leading zero ("01:05"); "0:C" is the
// whole columns from the header column to C. Both ends must agree in form (both with or both
// without a row, both with or both without a column). The order of the ends is not checked.
bool ParseDatasheetRange(std::string_view text, RangeReference& range);

// The worksheet named by the values argument of a series formula
// "=SERIES(name,categories,values,order)", with one pair of enclosing quotes removed (and ''
// inside read as '); empty when the values are not a sheet-qualified reference (an array
// constant, an unqualified reference, a formula that is not a series).
std::string SeriesSourceSheet(std::string_view formula);

} // namespace slidesmith::fill
