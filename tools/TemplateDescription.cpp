#include "TemplateDescription.h"

namespace slidesmith::testtools {

TableShape TableShape::Grid(std::string name, int rows, int columns, std::int64_t x, std::int64_t y,
                            std::int64_t columnWidth, std::int64_t rowHeight) {
    TableShape table;
    table.name = std::move(name);
    table.box.x = x;
    table.box.y = y;
    table.columnWidths.assign(static_cast<std::size_t>(columns), columnWidth);
    table.rowHeights.assign(static_cast<std::size_t>(rows), rowHeight);
    table.cells.assign(static_cast<std::size_t>(rows),
                       std::vector<TableCell>(static_cast<std::size_t>(columns)));
    return table;
}

TableCell& TableShape::Cell(int row, int column) {
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(column);
    if (cells.size() <= r) {
        cells.resize(r + 1);
    }
    if (cells[r].size() <= c) {
        cells[r].resize(c + 1);
    }
    return cells[r][c];
}

} // namespace slidesmith::testtools
