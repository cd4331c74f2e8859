#pragma once

#include <string>
#include <string_view>

// Spreadsheet-style references to cells of a presentation table: B3, $B$3, column-only C,
// row-only 7, and ranges A1:C5, A:C, 2:4. Rows and columns count from 1.
namespace slidesmith::fill {

// A parsed reference. 0 in a part means that part was not written; -1 means it was written
// but lies outside rows 1..kMaxRow or columns 1..kMaxColumn (A..IV).
struct CellCoordinate {
    int row = 0;
    int column = 0;
    bool operator==(const CellCoordinate&) const = default;
};

struct RangeReference {
    CellCoordinate first;
    CellCoordinate last;
    bool operator==(const RangeReference&) const = default;
};

inline constexpr int kMaxRow = 65536;
inline constexpr int kMaxColumn = 256;

// Parses one reference, case-insensitively; "$" markers are ignored wherever they stand.
// At most two column letters, and no letter after a digit. The empty text is valid (0, 0).
// On failure returns false and sets both parts to -1.
bool ParseCellRef(std::string_view text, CellCoordinate& cell);

// Writes a reference for messages: (3, 2) -> "B3", (5, 0) -> "5", (0, 28) -> "AB". A part
// outside its representable range makes the whole result empty.
std::string CellRefName(int row, int column);

// Parses "<cell>:<cell>" (blanks around either end allowed). Both ends must have the same form:
// both with or both without a row, both with or both without a column. The order of the ends
// is not checked. On failure returns false; range is then unspecified.
bool ParseRangeRef(std::string_view text, RangeReference& range);

} // namespace slidesmith::fill
