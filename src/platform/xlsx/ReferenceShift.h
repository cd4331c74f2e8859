#pragma once

#include "platform/xlsx/Range.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace slidesmith::xlsx {

// One structural edit of a worksheet: `count` rows (or columns) inserted or deleted at `at`,
// within the band bandFirst..bandLast of the other axis. Whole rows or columns have the full
// band; a cell range shifted down or up has its own columns as the band.
struct SheetEdit {
    enum class Axis { Rows, Columns };

    std::string sheet;
    Axis axis = Axis::Rows;
    bool insert = true;
    std::uint32_t at = 1;
    std::uint32_t count = 1;
    std::uint32_t bandFirst = 1;
    std::uint32_t bandLast = kMaxColumns;

    std::uint32_t Limit() const { return axis == Axis::Rows ? kMaxRows : kMaxColumns; }
    std::uint32_t BandLimit() const { return axis == Axis::Rows ? kMaxColumns : kMaxRows; }
    bool WholeLines() const { return bandFirst == 1 && bandLast == BandLimit(); }
};

// The area after the edit, as the spreadsheet program moves references: an area after the
// insertion point moves, one that spans it grows, one that loses some lines shrinks, and one
// whose lines are all deleted is gone (nullopt). Areas that reach outside a partial band keep
// their place. The sheet of the area is not checked.
std::optional<Range> AdjustArea(const SheetEdit& edit, const Range& area);

// Case-insensitive (ASCII) sheet name comparison, as the spreadsheet program compares names.
bool SameSheet(std::string_view left, std::string_view right);

// Rewrites every reference to the edited sheet in a formula (without the leading "=");
// unqualified references belong to formulaSheet. A reference whose cells were deleted becomes
// "#REF!" after its sheet prefix. Strings, array constants, structured and external references
// are copied unchanged.
std::string AdjustFormula(std::string_view formula, std::string_view formulaSheet,
                          const SheetEdit& edit);

// The formula as seen from a cell rows/columns away (copying a formula, shared formulas):
// parts without '$' move, parts pushed off the sheet become "#REF!".
std::string OffsetFormula(std::string_view formula, std::int64_t rows, std::int64_t columns);

// Adjusts a blank-separated list of areas (sqref); areas that vanish are dropped, so the
// result is empty when nothing is left.
std::string AdjustAreaList(std::string_view list, const SheetEdit& edit);

} // namespace slidesmith::xlsx
