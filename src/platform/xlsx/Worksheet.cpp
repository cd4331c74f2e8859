#include "platform/xlsx/Worksheet.h"

#include "platform/pptx/XmlPart.h"
#include "platform/xlsx/Workbook.h"
#include "platform/xlsx/XlsxError.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace slidesmith::xlsx {
namespace {

// Splits "B7" into row 7, column 2; nullopt for anything else.
std::optional<std::pair<std::uint32_t, std::uint32_t>> SplitCellName(std::string_view name) {
    std::optional<Range> range = Range::Parse(name);
    if (!range || !range->IsSingleCell() || !range->Sheet().empty())
        return std::nullopt;
    return std::make_pair(range->Row(), range->Column());
}

std::string FormatNumber(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

bool IsSharedFormula(pugi::xml_node formula) {
    return std::strcmp(formula.attribute("t").value(), "shared") == 0;
}

} // namespace

Worksheet::Worksheet(Workbook& workbook, std::string name, pptx::XmlPart& part)
    : m_workbook(workbook), m_name(std::move(name)), m_part(part) {
    if (std::strcmp(part.Root().name(), "worksheet") != 0)
        throw XlsxError(m_workbook.DisplayName() + ": " + part.Name() +
                        ": the root element is not <worksheet>");
    Index();
}

const std::string& Worksheet::PartName() const {
    return m_part.Name();
}

std::string Worksheet::Where(std::uint32_t row, std::uint32_t column) const {
    return m_workbook.DisplayName() + ": " + m_name + "!" + CellName(row, column);
}

void Worksheet::Index() {
    m_sheetData = m_part.Root().child("sheetData");
    if (!m_sheetData)
        throw XlsxError(m_workbook.DisplayName() + ": " + m_part.Name() + ": no <sheetData>");
    std::uint32_t previousRow = 0;
    for (pugi::xml_node row : m_sheetData.children("row")) {
        std::uint32_t number = row.attribute("r").as_uint(previousRow + 1);
        if (number <= previousRow || number > kMaxRows)
            throw XlsxError(m_workbook.DisplayName() + ": " + m_part.Name() + ": row " +
                            std::to_string(number) + " is out of order");
        previousRow = number;
        RowSlot& slot = m_rows[number];
        slot.node = row;
        std::uint32_t previousColumn = 0;
        for (pugi::xml_node cell : row.children("c")) {
            std::uint32_t column = previousColumn + 1;
            if (pugi::xml_attribute reference = cell.attribute("r")) {
                auto position = SplitCellName(reference.value());
                if (!position || position->first != number)
                    throw XlsxError(m_workbook.DisplayName() + ": " + m_part.Name() + ": cell \"" +
                                    reference.value() + "\" in row " + std::to_string(number));
                column = position->second;
            }
            if (column <= previousColumn || column > kMaxColumns)
                throw XlsxError(Where(number, column) + ": the cell is out of order");
            previousColumn = column;
            slot.cells.emplace(column, cell);
        }
    }
}

pugi::xml_node Worksheet::FindCell(std::uint32_t row, std::uint32_t column) const {
    auto rowIt = m_rows.find(row);
    if (rowIt == m_rows.end())
        return {};
    auto cellIt = rowIt->second.cells.find(column);
    return cellIt == rowIt->second.cells.end() ? pugi::xml_node() : cellIt->second;
}

Worksheet::RowSlot& Worksheet::EnsureRow(std::uint32_t row) {
    auto found = m_rows.lower_bound(row);
    if (found != m_rows.end() && found->first == row)
        return found->second;
    pugi::xml_node node = found == m_rows.end()
                              ? m_sheetData.append_child("row")
                              : m_sheetData.insert_child_before("row", found->second.node);
    node.append_attribute("r") = row;
    RowSlot& slot = m_rows.emplace_hint(found, row, RowSlot{node, {}})->second;
    return slot;
}

pugi::xml_node Worksheet::EnsureCell(std::uint32_t row, std::uint32_t column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw XlsxError(m_workbook.DisplayName() + ": " + m_name + ": row " + std::to_string(row) +
                        ", column " + std::to_string(column) + " is outside the worksheet");
    RowSlot& slot = EnsureRow(row);
    auto found = slot.cells.lower_bound(column);
    if (found != slot.cells.end() && found->first == column)
        return found->second;
    pugi::xml_node cell = found == slot.cells.end()
                              ? slot.node.append_child("c")
                              : slot.node.insert_child_before("c", found->second);
    cell.append_attribute("r") = CellName(row, column).c_str();
    if (std::uint32_t style = DefaultStyle(row, column); style != 0)
        cell.append_attribute("s") = style;
    slot.cells.emplace_hint(found, column, cell);
    // The row's span hint may no longer cover its cells; it is optional, so it goes.
    slot.node.remove_attribute("spans");
    return cell;
}

std::uint32_t Worksheet::DefaultStyle(std::uint32_t row, std::uint32_t column) const {
    auto rowIt = m_rows.find(row);
    if (rowIt != m_rows.end() && rowIt->second.node.attribute("customFormat").as_bool())
        return rowIt->second.node.attribute("s").as_uint();
    for (pugi::xml_node col : m_part.Root().child("cols").children("col")) {
        if (column >= col.attribute("min").as_uint() && column <= col.attribute("max").as_uint())
            return col.attribute("style").as_uint();
    }
    return 0;
}

void Worksheet::MarkChanged() {
    m_part.MarkChanged();
    m_workbook.MarkChanged();
}

CellValue Worksheet::Value(std::uint32_t row, std::uint32_t column) const {
    CellValue value;
    pugi::xml_node cell = FindCell(row, column);
    if (!cell)
        return value;
    std::string_view type = cell.attribute("t").value();
    pugi::xml_node v = cell.child("v");
    if (type == "inlineStr") {
        pugi::xml_node is = cell.child("is");
        value.type = CellValue::Type::Text;
        for (pugi::xml_node child : is.children()) {
            if (std::strcmp(child.name(), "t") == 0)
                value.text += child.text().get();
            else if (std::strcmp(child.name(), "r") == 0)
                value.text += child.child("t").text().get();
        }
        return value;
    }
    if (!v)
        return value;
    std::string_view text = v.text().get();
    if (type == "s") {
        value.type = CellValue::Type::Text;
        value.text = m_workbook.SharedString(v.text().as_ullong());
    } else if (type == "str") {
        value.type = CellValue::Type::Text;
        value.text = std::string(text);
    } else if (type == "b") {
        value.type = CellValue::Type::Boolean;
        value.boolean = text == "1" || text == "true";
    } else if (type == "e") {
        value.type = CellValue::Type::Error;
        value.text = std::string(text);
    } else {
        double number = 0;
        auto result = std::from_chars(text.data(), text.data() + text.size(), number);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size())
            throw XlsxError(Where(row, column) + ": \"" + std::string(text) + "\" is not a number");
        value.type = CellValue::Type::Number;
        value.number = number;
    }
    return value;
}

std::string Worksheet::Formula(std::uint32_t row, std::uint32_t column) const {
    pugi::xml_node formula = FindCell(row, column).child("f");
    if (!formula)
        return {};
    if (!IsSharedFormula(formula) || *formula.text().get() != '\0')
        return formula.text().get();
    // A member of a shared formula: the master is the group's cell with the text.
    std::string_view index = formula.attribute("si").value();
    for (const auto& [rowNumber, slot] : m_rows) {
        for (const auto& [columnNumber, cell] : slot.cells) {
            pugi::xml_node master = cell.child("f");
            if (master && IsSharedFormula(master) && index == master.attribute("si").value() &&
                master.attribute("ref"))
                return OffsetFormula(master.text().get(),
                                     static_cast<std::int64_t>(row) - rowNumber,
                                     static_cast<std::int64_t>(column) - columnNumber);
        }
    }
    return {};
}

std::uint32_t Worksheet::StyleIndex(std::uint32_t row, std::uint32_t column) const {
    return FindCell(row, column).attribute("s").as_uint();
}

void Worksheet::ResetCell(pugi::xml_node cell) {
    if (pugi::xml_node formula = cell.child("f")) {
        if (IsSharedFormula(formula))
            UnshareGroupOf(cell);
        cell.remove_child("f");
        // The calculation chain lists formula cells; a stale entry makes the spreadsheet
        // program repair the workbook.
        m_workbook.DropCalculationChain();
    }
    if (std::strcmp(cell.attribute("t").value(), "s") == 0 && cell.child("v"))
        m_workbook.CountSharedReference(-1);
    cell.remove_child("v");
    cell.remove_child("is");
    cell.remove_attribute("t");
}

void Worksheet::SetNumber(std::uint32_t row, std::uint32_t column, double value) {
    pugi::xml_node cell = EnsureCell(row, column);
    ResetCell(cell);
    if (!std::isfinite(value)) {
        // A worksheet cannot hold NaN or infinity; the program's own result for them is #NUM!.
        cell.append_attribute("t") = "e";
        cell.append_child("v").text().set("#NUM!");
    } else {
        cell.append_child("v").text().set(FormatNumber(value).c_str());
    }
    MarkChanged();
}

void Worksheet::SetText(std::uint32_t row, std::uint32_t column, std::string_view text) {
    pugi::xml_node cell = EnsureCell(row, column);
    ResetCell(cell);
    std::size_t index = m_workbook.AddSharedString(text);
    cell.append_attribute("t") = "s";
    cell.append_child("v").text().set(static_cast<unsigned long long>(index));
    m_workbook.CountSharedReference(1);
    MarkChanged();
}

void Worksheet::SetBoolean(std::uint32_t row, std::uint32_t column, bool value) {
    pugi::xml_node cell = EnsureCell(row, column);
    ResetCell(cell);
    cell.append_attribute("t") = "b";
    cell.append_child("v").text().set(value ? "1" : "0");
    MarkChanged();
}

void Worksheet::SetDate(std::uint32_t row, std::uint32_t column, double serial) {
    SetNumber(row, column, serial);
    pugi::xml_node cell = FindCell(row, column);
    std::uint32_t style = m_workbook.DateStyle(cell.attribute("s").as_uint());
    if (style != 0) {
        pugi::xml_attribute s = cell.attribute("s");
        (s ? s : cell.append_attribute("s")) = style;
    }
}

void Worksheet::Clear(std::uint32_t row, std::uint32_t column) {
    pugi::xml_node cell = FindCell(row, column);
    if (!cell)
        return;
    ResetCell(cell);
    MarkChanged();
}

Range Worksheet::Locate(std::string_view reference) const {
    std::optional<Range> range = Range::Parse(reference);
    if (!range) {
        // A defined name that stands for one area: the sheet's own names win over global ones.
        std::optional<std::size_t> self = m_workbook.IndexOf(*this);
        std::optional<Range> global;
        for (const DefinedName& name : m_workbook.DefinedNames()) {
            if (!SameSheet(name.name, reference))
                continue;
            std::optional<Range> area = Range::Parse(name.formula);
            if (area && name.localSheet && name.localSheet == self) {
                range = area;
                break;
            }
            if (area && !name.localSheet)
                global = area;
        }
        if (!range)
            range = global;
    }
    if (!range || (!range->Sheet().empty() && !SameSheet(range->Sheet(), m_name)))
        throw XlsxError(m_workbook.DisplayName() + ": " + m_name + ": \"" + std::string(reference) +
                        "\" is not a reference to this worksheet");
    range->SetSheet({});
    return *range;
}

Range Worksheet::UsedArea() const {
    std::uint32_t firstColumn = kMaxColumns, lastColumn = 0, firstRow = 0, lastRow = 0;
    for (const auto& [row, slot] : m_rows) {
        if (slot.cells.empty())
            continue;
        if (firstRow == 0)
            firstRow = row;
        lastRow = row;
        firstColumn = std::min(firstColumn, slot.cells.begin()->first);
        lastColumn = std::max(lastColumn, slot.cells.rbegin()->first);
    }
    if (firstRow == 0)
        return Range::Cell(1, 1);
    return Range::Cells(firstRow, firstColumn, lastRow, lastColumn);
}

void Worksheet::FinishForSave() {
    if (!m_part.IsChanged())
        return;
    pugi::xml_node dimension = m_part.Root().child("dimension");
    if (dimension) {
        std::string area = UsedArea().Address(false, false);
        if (area != dimension.attribute("ref").value())
            dimension.attribute("ref").set_value(area.c_str());
    }
}

void Worksheet::SetCellPosition(pugi::xml_node cell, std::uint32_t row, std::uint32_t column) {
    pugi::xml_attribute reference = cell.attribute("r");
    (reference ? reference : cell.prepend_attribute("r")) = CellName(row, column).c_str();
}

void Worksheet::RemoveCell(RowSlot& slot, std::uint32_t column) {
    auto found = slot.cells.find(column);
    if (found == slot.cells.end())
        return;
    pugi::xml_node cell = found->second;
    if (std::strcmp(cell.attribute("t").value(), "s") == 0 && cell.child("v"))
        m_workbook.CountSharedReference(-1);
    slot.node.remove_child(cell);
    slot.cells.erase(found);
}

void Worksheet::RemoveRow(std::uint32_t row) {
    auto found = m_rows.find(row);
    if (found == m_rows.end())
        return;
    while (!found->second.cells.empty())
        RemoveCell(found->second, found->second.cells.begin()->first);
    m_sheetData.remove_child(found->second.node);
    m_rows.erase(found);
}

} // namespace slidesmith::xlsx
