#pragma once

#include "fill/CellReference.h"
#include "fill/TableFillCommon.h"
#include "platform/pptx/Shape.h"
#include "platform/pptx/SlidePart.h"
#include "platform/pptx/TableEditor.h"
#include "platform/pptx/TextBody.h"

#include <cstddef>
#include <memory>
#include <vector>

// Table helpers the growing fills share: the lines records advance along, and finding or
// removing a table shape on a page slide.
namespace slidesmith::fill {

// The rows of a table for FILLORDER ROW, its columns for COL: the lines records advance along.
// "Cross" is the other direction (the column of a row, the row of a column).
class TableLines {
public:
    TableLines(pptx::TableEditor& table, bool byRow) : m_table(&table), m_byRow(byRow) {}
    std::size_t Count() const { return m_byRow ? m_table->RowCount() : m_table->ColumnCount(); }
    std::size_t CrossCount() const {
        return m_byRow ? m_table->ColumnCount() : m_table->RowCount();
    }
    // Inserts an empty line before `before`, formatted like it.
    void Add(std::size_t before) { m_byRow ? m_table->AddRow(before) : m_table->AddColumn(before); }
    void Delete(std::size_t line) {
        m_byRow ? m_table->DeleteRow(line) : m_table->DeleteColumn(line);
    }
    pptx::TextBody Text(std::size_t line, std::size_t cross) {
        return m_byRow ? m_table->CellText(line, cross) : m_table->CellText(cross, line);
    }

private:
    pptx::TableEditor* m_table;
    bool m_byRow;
};

// The line of a cell (its row for FILLORDER ROW, its column for COL) and its cross position.
inline std::size_t LineOf(const CellCoordinate& cell, bool byRow) {
    return static_cast<std::size_t>(byRow ? cell.row : cell.column);
}
inline std::size_t CrossOf(const CellCoordinate& cell, bool byRow) {
    return static_cast<std::size_t>(byRow ? cell.column : cell.row);
}

// The ordinal of a table shape among the tables of its slide (1-based, 0 when it is not
// there); copies of the slide hold it at the same ordinal.
int TableOrdinal(pptx::SlidePart& slide, const pptx::Shape& tableShape);

// Removes a shape from its slide's top-level shapes; nothing when it is not there.
void RemoveTableShape(pptx::SlidePart& slide, const pptx::Shape& target);

// Removes a page's table shape for NODATA (DELTABLE, or DELRANGE over the whole table) and
// says so in the result. The editor is dropped first: it points into the removed shape.
void DropTable(std::unique_ptr<pptx::TableEditor>& table, pptx::SlidePart& slide,
               const pptx::Shape& shape, TableFillResult& result);

// Empties the template cells of the fields: NODATA without an action.
void ClearFieldCells(TableLines& lines, const std::vector<FieldSlot>& fields, bool byRow);

} // namespace slidesmith::fill
