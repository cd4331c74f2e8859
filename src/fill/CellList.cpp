#include "fill/CellList.h"

#include <cstddef>

namespace slidesmith::fill {

namespace {

FillMessage CellParseError(std::string_view entry, std::string detail = {}) {
    return {"Syntax error. Failed to parse cell '" + std::string(entry) + "'.", std::move(detail)};
}

} // namespace

void ExtendBounds(BlockBounds& bounds, const CellCoordinate& cell) {
    if (bounds.minRow == 0 || cell.row < bounds.minRow) {
        bounds.minRow = cell.row;
    }
    if (bounds.maxRow == 0 || cell.row > bounds.maxRow) {
        bounds.maxRow = cell.row;
    }
    if (bounds.minColumn == 0 || cell.column < bounds.minColumn) {
        bounds.minColumn = cell.column;
    }
    if (bounds.maxColumn == 0 || cell.column > bounds.maxColumn) {
        bounds.maxColumn = cell.column;
    }
}

int BlockLength(const BlockBounds& bounds, FillOrder order) {
    return order != FillOrder::Col ? bounds.maxRow - bounds.minRow + 1
                                   : bounds.maxColumn - bounds.minColumn + 1;
}

std::optional<FillMessage> ResolveCellList(std::vector<std::string>& cellList, int fieldCount,
                                           FillOrder order, int tableRows, int tableColumns,
                                           ResolvedCells& resolved) {
    resolved = {};
    CellCoordinate previous;
    for (int field = 0; field < fieldCount; ++field) {
        const auto index = static_cast<std::size_t>(field);
        CellCoordinate cell;
        const bool written = index < cellList.size() && !cellList[index].empty();
        if (written) {
            if (!ParseCellRef(cellList[index], cell) || cell.row < 1 || cell.column < 1) {
                return CellParseError(cellList[index]);
            }
        } else if (field == 0) {
            // The first field has nothing to follow; the statement check normally prevents this.
            return CellParseError("");
        } else if (order != FillOrder::Col) {
            cell = {previous.row, previous.column + 1};
        } else {
            cell = {previous.row + 1, previous.column};
        }
        ExtendBounds(resolved.bounds, cell);
        if (cell.row > tableRows || cell.column > tableColumns) {
            const std::string name = CellRefName(cell.row, cell.column);
            if (index >= cellList.size()) {
                cellList.resize(index + 1);
            }
            cellList[index] = name;
            return CellParseError(name,
                                  "The cell '" + name + "' is out of the range of the table.");
        }
        resolved.cells.push_back(cell);
        previous = cell;
    }
    return std::nullopt;
}

bool RangeEncloses(const RangeReference& range, const BlockBounds& bounds, FillOrder order,
                   std::string& expected) {
    if (order != FillOrder::Col) {
        expected = CellRefName(bounds.minRow, 0) + ":" + CellRefName(bounds.maxRow, 0);
        return range.first.row <= bounds.minRow && range.last.row >= bounds.maxRow;
    }
    expected = CellRefName(0, bounds.minColumn) + ":" + CellRefName(0, bounds.maxColumn);
    return range.first.column <= bounds.minColumn && range.last.column >= bounds.maxColumn;
}

std::optional<FillMessage> ApplyRange(std::string_view rangeText, FillOrder order,
                                      BlockBounds& bounds) {
    if (rangeText.empty()) {
        return std::nullopt;
    }
    RangeReference range;
    if (!ParseRangeRef(rangeText, range)) {
        return FillMessage{"Syntax error. Failed to parse range '" + std::string(rangeText) + "'.",
                           {}};
    }
    std::string expected;
    if (!RangeEncloses(range, bounds, order, expected)) {
        return FillMessage{"The range or copyrange should be " + expected + " .", {}};
    }
    bounds = {range.first.row, range.last.row, range.first.column, range.last.column};
    return std::nullopt;
}

} // namespace slidesmith::fill
