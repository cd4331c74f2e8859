#include "platform/pptx/TableEditor.h"

#include "platform/pptx/XmlUtil.h"

#include <limits>
#include <stdexcept>
#include <string>

namespace slidesmith::pptx {
namespace {

std::int64_t Span(pugi::xml_node cell, const char* name) {
    const std::int64_t span = xml::IntAttribute(cell, name, 1);
    return span < 1 ? 1 : span;
}

// A span of 1 is written as no attribute, as PowerPoint does.
void SetSpan(pugi::xml_node cell, const char* name, std::int64_t span) {
    if (span <= 1) {
        cell.remove_attribute(name);
    } else {
        xml::SetIntAttribute(cell, name, span);
    }
}

bool IsHMerge(pugi::xml_node cell) {
    return xml::BoolAttribute(cell, "hMerge");
}
bool IsVMerge(pugi::xml_node cell) {
    return xml::BoolAttribute(cell, "vMerge");
}

std::vector<pugi::xml_node> CellsOf(pugi::xml_node row) {
    std::vector<pugi::xml_node> cells;
    for (pugi::xml_node cell = row.child("a:tc"); cell; cell = cell.next_sibling("a:tc")) {
        cells.push_back(cell);
    }
    return cells;
}

// The merge's content and look live in its anchor cell; when the anchor goes, the next cell
// takes them over so the merged area keeps its text, fill and borders.
void MoveAnchorContent(pugi::xml_node from, pugi::xml_node to) {
    for (const char* part : {"a:txBody", "a:tcPr"}) {
        pugi::xml_node source = from.child(part);
        pugi::xml_node old = to.child(part);
        if (!source) {
            continue;
        }
        if (old) {
            to.insert_copy_before(source, old);
            to.remove_child(old);
        } else if (std::string_view(part) == "a:txBody") {
            to.prepend_copy(source);
        } else {
            // CT_TableCell: txBody?, tcPr?, extLst?
            pugi::xml_node body = to.child("a:txBody");
            body ? to.insert_copy_after(source, body) : to.prepend_copy(source);
        }
    }
}

std::string Position(std::size_t row, std::size_t column) {
    return "(" + std::to_string(row) + ", " + std::to_string(column) + ")";
}

} // namespace

void TableEditor::IdPool::Add(std::uint32_t id) {
    m_used.insert(id);
    if (id >= m_next && id < std::numeric_limits<std::uint32_t>::max()) {
        m_next = id + 1;
    }
}

std::uint32_t TableEditor::IdPool::Take() {
    // Counting up from the largest id seen keeps the common case O(1); the probe only runs
    // after the counter wrapped around.
    while (m_used.count(m_next) != 0 || m_next == 0) {
        ++m_next;
    }
    const std::uint32_t id = m_next;
    Add(id);
    return id;
}

pugi::xml_node TableEditor::OfficeId(pugi::xml_node owner, const char* idName) {
    for (pugi::xml_node ext : owner.child("a:extLst").children("a:ext")) {
        if (pugi::xml_node id = ext.child(idName)) {
            return id;
        }
    }
    return {};
}

TableEditor::TableEditor(pugi::xml_node graphicFrame, PartChangeSink& sink)
    : m_frame(graphicFrame), m_sink(&sink) {
    m_table = graphicFrame.child("a:graphic").child("a:graphicData").child("a:tbl");
    m_grid = m_table.child("a:tblGrid");
    if (!m_table || !m_grid) {
        throw std::runtime_error("the graphic frame holds no table with a grid");
    }
    for (pugi::xml_node column : m_grid.children("a:gridCol")) {
        m_columns.push_back(column);
        m_totalWidth += xml::IntAttribute(column, "w", 0);
        if (pugi::xml_node id = OfficeId(column, "a16:colId")) {
            m_columnIds.Add(id.attribute("val").as_uint());
        }
    }
    for (pugi::xml_node row : m_table.children("a:tr")) {
        Row entry{row, CellsOf(row)};
        if (entry.cells.size() != m_columns.size()) {
            throw std::runtime_error("table row " + std::to_string(m_rows.size() + 1) + " has " +
                                     std::to_string(entry.cells.size()) + " cells for " +
                                     std::to_string(m_columns.size()) + " grid columns");
        }
        m_totalHeight += xml::IntAttribute(row, "h", 0);
        if (pugi::xml_node id = OfficeId(row, "a16:rowId")) {
            m_rowIds.Add(id.attribute("val").as_uint());
        }
        m_rows.push_back(std::move(entry));
    }
}

void TableEditor::CheckRow(std::size_t row) const {
    if (row < 1 || row > m_rows.size()) {
        throw std::out_of_range("the table has " + std::to_string(m_rows.size()) + " rows, row " +
                                std::to_string(row) + " is outside");
    }
}

void TableEditor::CheckColumn(std::size_t column) const {
    if (column < 1 || column > m_columns.size()) {
        throw std::out_of_range("the table has " + std::to_string(m_columns.size()) +
                                " columns, column " + std::to_string(column) + " is outside");
    }
}

pugi::xml_node TableEditor::Cell(std::size_t row, std::size_t column) const {
    if (row < 1 || row > m_rows.size() || column < 1 || column > m_columns.size()) {
        throw std::out_of_range("the table has " + std::to_string(m_rows.size()) + " rows and " +
                                std::to_string(m_columns.size()) + " columns, cell " +
                                Position(row, column) + " is outside");
    }
    return m_rows[row - 1].cells[column - 1];
}

std::pair<std::size_t, std::size_t> TableEditor::AnchorOf(std::size_t row,
                                                          std::size_t column) const {
    Cell(row, column); // range check
    std::size_t r = row - 1;
    std::size_t c = column - 1;
    // Block merges flag the anchor row's cells hMerge and the anchor column's vMerge, so going
    // left first, then up, ends on the anchor for every shape of merge.
    while (c > 0 && IsHMerge(m_rows[r].cells[c])) {
        --c;
    }
    while (r > 0 && IsVMerge(m_rows[r].cells[c])) {
        --r;
    }
    return {r + 1, c + 1};
}

TextBody TableEditor::CellText(std::size_t row, std::size_t column) {
    const auto [anchorRow, anchorColumn] = AnchorOf(row, column);
    pugi::xml_node cell = Cell(anchorRow, anchorColumn);
    pugi::xml_node body = cell.child("a:txBody");
    if (!body) {
        // CT_TableCell: txBody comes first. PowerPoint always writes a full body.
        body = cell.prepend_child("a:txBody");
        body.append_child("a:bodyPr");
        body.append_child("a:lstStyle");
        body.append_child("a:p");
        m_sink->MarkChanged();
    }
    return TextBody(body, *m_sink);
}

std::int64_t TableEditor::RowHeight(std::size_t row) const {
    CheckRow(row);
    return xml::IntAttribute(m_rows[row - 1].element, "h", 0);
}

std::int64_t TableEditor::ColumnWidth(std::size_t column) const {
    CheckColumn(column);
    return xml::IntAttribute(m_columns[column - 1], "w", 0);
}

pugi::xml_node TableEditor::VerticalAnchorAbove(std::size_t rowIndex,
                                                std::size_t columnIndex) const {
    for (std::size_t r = rowIndex; r-- > 0;) {
        pugi::xml_node cell = m_rows[r].cells[columnIndex];
        if (!IsVMerge(cell)) {
            return cell;
        }
    }
    return {};
}

pugi::xml_node TableEditor::HorizontalAnchorLeft(std::size_t rowIndex,
                                                 std::size_t columnIndex) const {
    for (std::size_t c = columnIndex; c-- > 0;) {
        pugi::xml_node cell = m_rows[rowIndex].cells[c];
        if (!IsHMerge(cell)) {
            return cell;
        }
    }
    return {};
}

void TableEditor::ClearCellText(pugi::xml_node cell) {
    pugi::xml_node body = cell.child("a:txBody");
    if (!body) {
        // Some programs leave covered cells without a body; PowerPoint always writes one and may
        // ask to repair a cell that lacks it.
        body = cell.prepend_child("a:txBody");
        body.append_child("a:bodyPr");
        body.append_child("a:lstStyle");
        body.append_child("a:p");
    }
    TextBody(body, *m_sink).SetText({});
}

void TableEditor::AddRow(std::size_t before) {
    if (before < 1 || before > m_rows.size() + 1 || m_rows.empty()) {
        throw std::out_of_range("the table has " + std::to_string(m_rows.size()) +
                                " rows, a row cannot be added before row " +
                                std::to_string(before));
    }
    const bool append = before == m_rows.size() + 1;
    const std::size_t sourceIndex = append ? m_rows.size() - 1 : before - 1;
    Row& source = m_rows[sourceIndex];
    pugi::xml_node element = append ? m_table.insert_copy_after(source.element, source.element)
                                    : m_table.insert_copy_before(source.element, source.element);
    Row added{element, CellsOf(element)};
    for (std::size_t j = 0; j < added.cells.size(); ++j) {
        pugi::xml_node cell = added.cells[j];
        pugi::xml_node sourceCell = source.cells[j];
        // A copy of a merge's top cell sits above (or below) that merge, not in it.
        cell.remove_attribute("rowSpan");
        if (!append) {
            // Row `before` continues a vertical merge from above: the new row joins it, and the
            // merge's anchor (in its first column only) spans one row more.
            if (IsVMerge(sourceCell) && !IsHMerge(sourceCell)) {
                if (pugi::xml_node anchor = VerticalAnchorAbove(sourceIndex, j)) {
                    SetSpan(anchor, "rowSpan", Span(anchor, "rowSpan") + 1);
                }
            }
        } else if (IsVMerge(cell)) {
            // Below the last row every merge ends; the cells the merge's columns cover in the
            // new row form a horizontal merge of the same width instead.
            cell.remove_attribute("vMerge");
            if (!IsHMerge(cell)) {
                SetSpan(cell, "gridSpan", Span(VerticalAnchorAbove(sourceIndex, j), "gridSpan"));
            }
        }
        ClearCellText(cell);
    }
    if (pugi::xml_node id = OfficeId(element, "a16:rowId")) {
        id.attribute("val").set_value(m_rowIds.Take());
    }
    m_totalHeight += xml::IntAttribute(element, "h", 0);
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(before - 1), std::move(added));
    UpdateFrameSize();
}

void TableEditor::AddColumn(std::size_t before) {
    if (before < 1 || before > m_columns.size() + 1 || m_columns.empty()) {
        throw std::out_of_range("the table has " + std::to_string(m_columns.size()) +
                                " columns, a column cannot be added before column " +
                                std::to_string(before));
    }
    const bool append = before == m_columns.size() + 1;
    const std::size_t sourceIndex = append ? m_columns.size() - 1 : before - 1;
    pugi::xml_node sourceColumn = m_columns[sourceIndex];
    pugi::xml_node column = append ? m_grid.insert_copy_after(sourceColumn, sourceColumn)
                                   : m_grid.insert_copy_before(sourceColumn, sourceColumn);
    if (pugi::xml_node id = OfficeId(column, "a16:colId")) {
        id.attribute("val").set_value(m_columnIds.Take());
    }
    m_totalWidth += xml::IntAttribute(column, "w", 0);

    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        pugi::xml_node sourceCell = row.cells[sourceIndex];
        pugi::xml_node cell = append ? row.element.insert_copy_after(sourceCell, sourceCell)
                                     : row.element.insert_copy_before(sourceCell, sourceCell);
        cell.remove_attribute("gridSpan");
        if (!append) {
            if (IsHMerge(sourceCell) && !IsVMerge(sourceCell)) {
                if (pugi::xml_node anchor = HorizontalAnchorLeft(i, sourceIndex)) {
                    SetSpan(anchor, "gridSpan", Span(anchor, "gridSpan") + 1);
                }
            }
        } else if (IsHMerge(cell)) {
            cell.remove_attribute("hMerge");
            if (!IsVMerge(cell)) {
                SetSpan(cell, "rowSpan", Span(HorizontalAnchorLeft(i, sourceIndex), "rowSpan"));
            }
        }
        ClearCellText(cell);
        row.cells.insert(row.cells.begin() + static_cast<std::ptrdiff_t>(before - 1), cell);
    }
    m_columns.insert(m_columns.begin() + static_cast<std::ptrdiff_t>(before - 1), column);
    UpdateFrameSize();
}

void TableEditor::DeleteRow(std::size_t row) {
    CheckRow(row);
    if (m_rows.size() == 1) {
        throw std::logic_error("the only row of a table cannot be deleted");
    }
    const std::size_t index = row - 1;
    Row& doomed = m_rows[index];
    for (std::size_t j = 0; j < doomed.cells.size(); ++j) {
        pugi::xml_node cell = doomed.cells[j];
        const std::int64_t rowSpan = Span(cell, "rowSpan");
        if (rowSpan > 1 && !IsVMerge(cell) && !IsHMerge(cell) && index + 1 < m_rows.size()) {
            Row& next = m_rows[index + 1];
            pugi::xml_node heir = next.cells[j];
            MoveAnchorContent(cell, heir);
            heir.remove_attribute("vMerge");
            SetSpan(heir, "rowSpan", rowSpan - 1);
            const std::int64_t gridSpan = Span(cell, "gridSpan");
            SetSpan(heir, "gridSpan", gridSpan);
            for (std::size_t k = 1;
                 k < static_cast<std::size_t>(gridSpan) && j + k < next.cells.size(); ++k) {
                next.cells[j + k].remove_attribute("vMerge");
            }
        } else if (IsVMerge(cell) && !IsHMerge(cell)) {
            if (pugi::xml_node anchor = VerticalAnchorAbove(index, j)) {
                SetSpan(anchor, "rowSpan", Span(anchor, "rowSpan") - 1);
            }
        }
    }
    if (pugi::xml_node id = OfficeId(doomed.element, "a16:rowId")) {
        m_rowIds.Remove(id.attribute("val").as_uint());
    }
    m_totalHeight -= xml::IntAttribute(doomed.element, "h", 0);
    m_table.remove_child(doomed.element);
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(index));
    UpdateFrameSize();
}

void TableEditor::DeleteColumn(std::size_t column) {
    CheckColumn(column);
    if (m_columns.size() == 1) {
        throw std::logic_error("the only column of a table cannot be deleted");
    }
    const std::size_t index = column - 1;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        pugi::xml_node cell = m_rows[i].cells[index];
        const std::int64_t gridSpan = Span(cell, "gridSpan");
        if (gridSpan > 1 && !IsHMerge(cell) && !IsVMerge(cell) && index + 1 < m_columns.size()) {
            pugi::xml_node heir = m_rows[i].cells[index + 1];
            MoveAnchorContent(cell, heir);
            heir.remove_attribute("hMerge");
            SetSpan(heir, "gridSpan", gridSpan - 1);
            const std::int64_t rowSpan = Span(cell, "rowSpan");
            SetSpan(heir, "rowSpan", rowSpan);
            for (std::size_t k = 1; k < static_cast<std::size_t>(rowSpan) && i + k < m_rows.size();
                 ++k) {
                m_rows[i + k].cells[index + 1].remove_attribute("hMerge");
            }
        } else if (IsHMerge(cell) && !IsVMerge(cell)) {
            if (pugi::xml_node anchor = HorizontalAnchorLeft(i, index)) {
                SetSpan(anchor, "gridSpan", Span(anchor, "gridSpan") - 1);
            }
        }
    }
    for (Row& row : m_rows) {
        row.element.remove_child(row.cells[index]);
        row.cells.erase(row.cells.begin() + static_cast<std::ptrdiff_t>(index));
    }
    pugi::xml_node doomed = m_columns[index];
    if (pugi::xml_node id = OfficeId(doomed, "a16:colId")) {
        m_columnIds.Remove(id.attribute("val").as_uint());
    }
    m_totalWidth -= xml::IntAttribute(doomed, "w", 0);
    m_grid.remove_child(doomed);
    m_columns.erase(m_columns.begin() + static_cast<std::ptrdiff_t>(index));
    UpdateFrameSize();
}

void TableEditor::UpdateFrameSize() {
    // The frame is what renderers clip to; a stale, smaller frame leaves added rows undrawn.
    pugi::xml_node extent = m_frame.child("p:xfrm").child("a:ext");
    if (extent) {
        xml::SetIntAttribute(extent, "cx", m_totalWidth);
        xml::SetIntAttribute(extent, "cy", m_totalHeight);
    }
    m_sink->MarkChanged();
}

} // namespace slidesmith::pptx
