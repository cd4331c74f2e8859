#pragma once

#include "fill/CellReference.h"
#include "script/StatementRecord.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Turns a statement's CELL list and RANGE (or COPYRANGE) value into table coordinates, before
// any record is read. Failures come back as data; the caller writes them to the run log.
namespace slidesmith::fill {

// FillOrder::Row (or Unset, as ROW is the default) and FillOrder::Col: the direction in which
// fields follow one another when their cells are not written, and records advance.
using script::FillOrder;

// One run-log error entry: the message line and the detail line ("" when there is none).
struct FillMessage {
    std::string message;
    std::string detail;
    bool operator==(const FillMessage&) const = default;
};

// The block one record occupies. A bound of 0 has not been set yet.
struct BlockBounds {
    int minRow = 0;
    int maxRow = 0;
    int minColumn = 0;
    int maxColumn = 0;
    bool operator==(const BlockBounds&) const = default;
};

// Widens bounds to take in a cell; a bound still 0 takes the cell's.
void ExtendBounds(BlockBounds& bounds, const CellCoordinate& cell);

// The rows (FillOrder::Row) or columns (FillOrder::Col) one record occupies.
int BlockLength(const BlockBounds& bounds, FillOrder order);

struct ResolvedCells {
    std::vector<CellCoordinate> cells; // one per field, in recordset field order
    BlockBounds bounds;
};

// Resolves the cell of each of fieldCount fields. An empty or missing entry follows the
// previous field's cell (next column with FillOrder::Row, next row with FillOrder::Col).
// A written entry must name both a row and a column. Every cell must lie within tableRows x
// tableColumns; the entry of a cell outside is replaced in cellList by the cell's name, so
// that the statement shows where the field would have gone. Returns the error, or nothing when
// every field has its cell in resolved.
std::optional<FillMessage> ResolveCellList(std::vector<std::string>& cellList, int fieldCount,
                                           FillOrder order, int tableRows, int tableColumns,
                                           ResolvedCells& resolved);

// Whether a range's lines (rows for FillOrder::Row, columns for Col) enclose the bounds';
// expected is set to the bounds' lines as a row-only ("3:5") or column-only ("B:D") range.
bool RangeEncloses(const RangeReference& range, const BlockBounds& bounds, FillOrder order,
                   std::string& expected);

// Checks a RANGE value against the cells: with FillOrder::Row its rows must enclose the cells'
// rows, with FillOrder::Col its columns the cells' columns. On success the range becomes
// the block bounds. An empty value changes nothing.
std::optional<FillMessage> ApplyRange(std::string_view rangeText, FillOrder order,
                                      BlockBounds& bounds);

} // namespace slidesmith::fill
