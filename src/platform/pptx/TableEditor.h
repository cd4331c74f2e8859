#pragma once

#include "platform/pptx/PartChangeSink.h"
#include "platform/pptx/TextBody.h"

#include <cstddef>
#include <cstdint>
#include <pugixml.hpp>
#include <unordered_set>
#include <utility>
#include <vector>

namespace slidesmith::pptx {

// Edits the table of one graphic frame (p:graphicFrame holding a:tbl) the way the object model
// presents it: every grid position is a cell, addressed 1-based as (row, column); the cells a
// merge covers are still cells (marked hMerge/vMerge) and read as empty.
//
// Every edit keeps the table valid for PowerPoint: one a:tc per a:gridCol in every row, spans
// inside the grid, the frame's size equal to the sum of row heights and column widths, and
// Office's a16 row and column ids unique. Row and column operations cost O(rows + columns),
// never more, so a caller may add rows one by one.
//
// Errors: the constructor throws std::runtime_error when the frame holds no table or a table
// whose rows do not match its grid (a broken template); addressing outside the table throws
// std::out_of_range; deleting the last row or column throws std::logic_error. Messages name the
// table position but not the part: the caller adds that.
class TableEditor {
public:
    TableEditor(pugi::xml_node graphicFrame, PartChangeSink& sink);

    std::size_t RowCount() const { return m_rows.size(); }
    std::size_t ColumnCount() const { return m_columns.size(); }

    // The a:tc at grid position (row, column), both 1-based.
    pugi::xml_node Cell(std::size_t row, std::size_t column) const;

    // The grid position (1-based) of the merge anchor that covers (row, column); the position
    // itself when it is not covered.
    std::pair<std::size_t, std::size_t> AnchorOf(std::size_t row, std::size_t column) const;

    // The text shown at (row, column): a covered position shows, and writes to, its merge
    // anchor's text, as the merged cell is one cell on the slide. A cell without a text body
    // gets an empty one first.
    TextBody CellText(std::size_t row, std::size_t column);

    // Inserts an empty row before row `before` (1..RowCount()) formatted like that row: its
    // height, cell properties (fills, borders, margins), paragraph and first-run properties and
    // horizontal merges. A vertical merge running through row `before` from above grows by the
    // new row; one that starts at `before` stays below it. `before` = RowCount() + 1 appends a
    // row formatted like the last one, outside any vertical merge.
    void AddRow(std::size_t before);

    // The same for columns: width and cells of column `before`; vertical merges are copied and
    // horizontal ones grow when they run through it. ColumnCount() + 1 appends.
    void AddColumn(std::size_t before);

    // Removes a row. A merge that starts in it moves its anchor (text, properties) to the next
    // row; a merge running through it shrinks.
    void DeleteRow(std::size_t row);

    // Removes a column, moving or shrinking merges as DeleteRow does.
    void DeleteColumn(std::size_t column);

    std::int64_t RowHeight(std::size_t row) const;
    std::int64_t ColumnWidth(std::size_t column) const;
    pugi::xml_node TableNode() const { return m_table; }

private:
    // Office's a16:rowId / a16:colId values (xsd:unsignedInt) in use; hands out unused ones.
    class IdPool {
    public:
        void Add(std::uint32_t id);
        void Remove(std::uint32_t id) { m_used.erase(id); }
        std::uint32_t Take();

    private:
        std::unordered_set<std::uint32_t> m_used;
        std::uint32_t m_next = 1;
    };

    struct Row {
        pugi::xml_node element;
        std::vector<pugi::xml_node> cells;
    };

    void CheckRow(std::size_t row) const;
    void CheckColumn(std::size_t column) const;
    pugi::xml_node VerticalAnchorAbove(std::size_t rowIndex, std::size_t columnIndex) const;
    pugi::xml_node HorizontalAnchorLeft(std::size_t rowIndex, std::size_t columnIndex) const;
    void ClearCellText(pugi::xml_node cell);
    static pugi::xml_node OfficeId(pugi::xml_node owner, const char* idName);
    void UpdateFrameSize();

    pugi::xml_node m_frame;
    pugi::xml_node m_table;
    pugi::xml_node m_grid;
    std::vector<pugi::xml_node> m_columns;
    std::vector<Row> m_rows;
    IdPool m_rowIds;
    IdPool m_columnIds;
    std::int64_t m_totalHeight = 0;
    std::int64_t m_totalWidth = 0;
    PartChangeSink* m_sink;
};

} // namespace slidesmith::pptx
