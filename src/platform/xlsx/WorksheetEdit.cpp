// Inserting and deleting cells: moving the cells themselves and keeping every reference of the
// workbook in step, the way the spreadsheet program does.
#include "platform/pptx/XmlPart.h"
#include "platform/xlsx/Workbook.h"
#include "platform/xlsx/Worksheet.h"
#include "platform/xlsx/XlsxError.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace slidesmith::xlsx {
namespace {

bool IsSharedFormula(pugi::xml_node formula) {
    return std::strcmp(formula.attribute("t").value(), "shared") == 0;
}

void SetAttribute(pugi::xml_node node, const char* name, const std::string& value) {
    pugi::xml_attribute attribute = node.attribute(name);
    (attribute ? attribute : node.append_attribute(name)) = value.c_str();
}

void RemoveChildren(pugi::xml_node node) {
    while (pugi::xml_node child = node.first_child())
        node.remove_child(child);
}

// Sets the count attribute of a list element to its number of children, if it has one.
void Recount(pugi::xml_node list) {
    if (pugi::xml_attribute count = list.attribute("count"))
        count = static_cast<unsigned long long>(
            std::distance(list.children().begin(), list.children().end()));
}

} // namespace

SheetEdit Worksheet::MakeEdit(const Range& range, Shift shift, bool insert) const {
    SheetEdit edit;
    edit.sheet = m_name;
    edit.insert = insert;
    bool rows = false;
    if (range.GetKind() == Range::Kind::WholeRows) {
        rows = true;
    } else if (range.GetKind() == Range::Kind::WholeColumns) {
        rows = false;
    } else {
        bool valid = insert ? (shift == Shift::Down || shift == Shift::Right)
                            : (shift == Shift::Up || shift == Shift::Left);
        if (!valid)
            throw XlsxError(m_workbook.DisplayName() + ": " + m_name + ": " + range.Address() +
                            ": cells cannot be " + (insert ? "inserted" : "deleted") +
                            " with that shift");
        rows = shift == Shift::Down || shift == Shift::Up;
    }
    edit.axis = rows ? SheetEdit::Axis::Rows : SheetEdit::Axis::Columns;
    edit.at = rows ? range.Row() : range.Column();
    edit.count = rows ? range.RowCount() : range.ColumnCount();
    edit.bandFirst = rows ? range.Column() : range.Row();
    edit.bandLast = rows ? range.LastColumn() : range.LastRow();
    return edit;
}

void Worksheet::Insert(const Range& range, Shift shift) {
    Apply(MakeEdit(range, shift, true));
}

void Worksheet::Delete(const Range& range, Shift shift) {
    Apply(MakeEdit(range, shift, false));
}

void Worksheet::CheckEdit(const SheetEdit& edit) const {
    std::string where = m_workbook.DisplayName() + ": " + m_name + ": ";
    bool rows = edit.axis == SheetEdit::Axis::Rows;
    if (edit.insert) {
        // Cells pushed past the last row or column would be lost; the program refuses too.
        // Only the rows (or each row's last cells) near the edge are looked at.
        std::uint32_t keep = edit.Limit() - std::min(edit.count, edit.Limit());
        auto refuse = [&](std::uint32_t row, std::uint32_t column) {
            throw XlsxError(where + CellName(row, column) +
                            ": inserting would shift this cell off the worksheet");
        };
        if (rows) {
            for (auto it = m_rows.upper_bound(keep); it != m_rows.end(); ++it) {
                auto cell = it->second.cells.lower_bound(edit.bandFirst);
                if (cell != it->second.cells.end() && cell->first <= edit.bandLast)
                    refuse(it->first, cell->first);
            }
        } else {
            for (auto it = m_rows.lower_bound(edit.bandFirst);
                 it != m_rows.end() && it->first <= edit.bandLast; ++it) {
                if (!it->second.cells.empty() && it->second.cells.rbegin()->first > keep)
                    refuse(it->first, it->second.cells.rbegin()->first);
            }
        }
    }
    if (edit.WholeLines())
        return;
    // Part of a merged area cannot move without the rest of it.
    for (pugi::xml_node merge : m_part.Root().child("mergeCells").children("mergeCell")) {
        std::optional<Range> area = Range::Parse(merge.attribute("ref").value());
        if (!area)
            continue;
        std::uint32_t a2 = rows ? area->LastRow() : area->LastColumn();
        std::uint32_t b1 = rows ? area->Column() : area->Row();
        std::uint32_t b2 = rows ? area->LastColumn() : area->LastRow();
        bool touched = a2 >= edit.at && b2 >= edit.bandFirst && b1 <= edit.bandLast;
        bool inside = b1 >= edit.bandFirst && b2 <= edit.bandLast;
        if (touched && !inside)
            throw XlsxError(where + area->Address(false, false) +
                            ": the edit would shift part of this merged area");
    }
}

void Worksheet::Apply(const SheetEdit& edit) {
    if (edit.count == 0)
        return;
    m_workbook.LoadAllSheets();
    CheckEdit(edit);
    std::vector<SharedGroup> groups;
    std::vector<Worksheet*> sheets = m_workbook.LoadedSheets();
    for (Worksheet* sheet : sheets) {
        std::vector<SharedGroup> found = sheet->CollectSharedGroups(&edit);
        std::move(found.begin(), found.end(), std::back_inserter(groups));
    }
    if (edit.axis == SheetEdit::Axis::Columns)
        MoveColumns(edit);
    else if (edit.WholeLines())
        MoveRows(edit);
    else
        MoveBandCells(edit);
    if (edit.insert)
        CopyFormatIntoInserted(edit);
    for (Worksheet* sheet : sheets)
        sheet->AdjustOwnFormulas(edit);
    for (SharedGroup& group : groups)
        group.sheet->RewriteSharedGroup(group, edit);
    AdjustSheetAreas(edit);
    if (edit.axis == SheetEdit::Axis::Columns && edit.WholeLines())
        AdjustColumnDefinitions(edit);
    m_workbook.AdjustDefinedNames(edit);
    m_workbook.AdjustTables(*this, edit);
    m_workbook.DropCalculationChain();
    MarkChanged();
    m_workbook.NotifyEdit(edit);
}

void Worksheet::MoveRows(const SheetEdit& edit) {
    auto renumber = [&](auto& handle, std::uint32_t row) {
        handle.key() = row;
        RowSlot& slot = handle.mapped();
        slot.node.attribute("r") = row;
        for (const auto& [column, cell] : slot.cells)
            SetCellPosition(cell, row, column);
    };
    if (edit.insert) {
        std::vector<std::uint32_t> moving;
        for (auto it = m_rows.rbegin(); it != m_rows.rend() && it->first >= edit.at; ++it)
            moving.push_back(it->first);
        // Highest first, so a row never lands on one that has not moved yet.
        for (std::uint32_t row : moving) {
            auto handle = m_rows.extract(row);
            renumber(handle, row + edit.count);
            m_rows.insert(std::move(handle));
        }
        return;
    }
    std::uint32_t last = edit.at + edit.count - 1;
    for (auto it = m_rows.lower_bound(edit.at); it != m_rows.end() && it->first <= last;) {
        std::uint32_t row = it->first;
        ++it;
        RemoveRow(row);
    }
    std::vector<std::uint32_t> moving;
    for (auto it = m_rows.upper_bound(last); it != m_rows.end(); ++it)
        moving.push_back(it->first);
    for (std::uint32_t row : moving) {
        auto handle = m_rows.extract(row);
        renumber(handle, row - edit.count);
        m_rows.insert(std::move(handle));
    }
}

void Worksheet::MoveColumns(const SheetEdit& edit) {
    std::uint32_t last = edit.at + edit.count - 1;
    for (auto rowIt = m_rows.lower_bound(edit.bandFirst);
         rowIt != m_rows.end() && rowIt->first <= edit.bandLast; ++rowIt) {
        RowSlot& slot = rowIt->second;
        std::uint32_t row = rowIt->first;
        std::vector<std::uint32_t> moving;
        if (edit.insert) {
            for (auto it = slot.cells.rbegin(); it != slot.cells.rend() && it->first >= edit.at;
                 ++it)
                moving.push_back(it->first);
        } else {
            for (auto it = slot.cells.lower_bound(edit.at);
                 it != slot.cells.end() && it->first <= last;) {
                std::uint32_t column = it->first;
                ++it;
                RemoveCell(slot, column);
            }
            for (auto it = slot.cells.upper_bound(last); it != slot.cells.end(); ++it)
                moving.push_back(it->first);
        }
        for (std::uint32_t column : moving) {
            auto handle = slot.cells.extract(column);
            handle.key() = edit.insert ? column + edit.count : column - edit.count;
            SetCellPosition(handle.mapped(), row, handle.key());
            slot.cells.insert(std::move(handle));
        }
        slot.node.remove_attribute("spans");
    }
}

void Worksheet::MoveBandCells(const SheetEdit& edit) {
    auto move = [&](std::uint32_t from, std::uint32_t column, std::uint32_t to) {
        RowSlot& source = m_rows.at(from);
        pugi::xml_node cell = source.cells.at(column);
        source.cells.erase(column);
        RowSlot& target = EnsureRow(to);
        auto next = target.cells.lower_bound(column);
        if (next == target.cells.end())
            target.node.append_move(cell);
        else
            target.node.insert_move_before(cell, next->second);
        target.cells.emplace_hint(next, column, cell);
        SetCellPosition(cell, to, column);
        source.node.remove_attribute("spans");
        target.node.remove_attribute("spans");
    };
    auto bandColumns = [&](const RowSlot& slot) {
        std::vector<std::uint32_t> columns;
        for (auto it = slot.cells.lower_bound(edit.bandFirst);
             it != slot.cells.end() && it->first <= edit.bandLast; ++it)
            columns.push_back(it->first);
        return columns;
    };
    std::vector<std::uint32_t> rows;
    if (edit.insert) {
        for (auto it = m_rows.rbegin(); it != m_rows.rend() && it->first >= edit.at; ++it)
            rows.push_back(it->first);
        for (std::uint32_t row : rows) {
            for (std::uint32_t column : bandColumns(m_rows.at(row)))
                move(row, column, row + edit.count);
        }
        return;
    }
    std::uint32_t last = edit.at + edit.count - 1;
    for (auto it = m_rows.lower_bound(edit.at); it != m_rows.end(); ++it)
        rows.push_back(it->first);
    for (std::uint32_t row : rows) {
        for (std::uint32_t column : bandColumns(m_rows.at(row))) {
            if (row <= last)
                RemoveCell(m_rows.at(row), column);
            else
                move(row, column, row - edit.count);
        }
    }
}

void Worksheet::CopyFormatIntoInserted(const SheetEdit& edit) {
    // New lines look like the line before them, as the program's "format same as above".
    if (!edit.WholeLines() || edit.at < 2)
        return;
    std::uint32_t source = edit.at - 1;
    if (edit.axis == SheetEdit::Axis::Rows) {
        auto found = m_rows.find(source);
        if (found == m_rows.end())
            return;
        const RowSlot& model = found->second;
        for (std::uint32_t row = edit.at; row < edit.at + edit.count; ++row) {
            RowSlot& slot = EnsureRow(row);
            for (pugi::xml_attribute attribute : model.node.attributes()) {
                if (std::strcmp(attribute.name(), "r") != 0 &&
                    std::strcmp(attribute.name(), "spans") != 0)
                    slot.node.append_attribute(attribute.name()) = attribute.value();
            }
            for (const auto& [column, cell] : model.cells) {
                if (std::uint32_t style = cell.attribute("s").as_uint(); style != 0)
                    SetAttribute(EnsureCell(row, column), "s", std::to_string(style));
            }
        }
        return;
    }
    for (auto& [row, slot] : m_rows) {
        auto found = slot.cells.find(source);
        if (found == slot.cells.end())
            continue;
        std::uint32_t style = found->second.attribute("s").as_uint();
        if (style == 0)
            continue;
        for (std::uint32_t column = edit.at; column < edit.at + edit.count; ++column)
            SetAttribute(EnsureCell(row, column), "s", std::to_string(style));
    }
}

std::vector<Worksheet::SharedGroup> Worksheet::CollectSharedGroups(const SheetEdit* edit) {
    std::map<std::string, SharedGroup> bySi;
    std::map<std::string, SharedMember> masters;
    bool own = edit != nullptr && SameSheet(edit->sheet, m_name);
    for (const auto& [row, slot] : m_rows) {
        for (const auto& [column, cell] : slot.cells) {
            pugi::xml_node formula = cell.child("f");
            if (!formula || !IsSharedFormula(formula))
                continue;
            std::string si = formula.attribute("si").value();
            bool deleted = own && !AdjustArea(*edit, Range::Cell(row, column));
            SharedGroup& group = bySi[si];
            group.sheet = this;
            group.index = si;
            group.members.push_back({cell, row, column, {}, deleted});
            if (formula.attribute("ref") && *formula.text().get() != '\0')
                masters[si] = {cell, row, column, formula.text().get(), false};
        }
    }
    std::vector<SharedGroup> groups;
    for (auto& [si, group] : bySi) {
        auto master = masters.find(si);
        if (master == masters.end())
            continue; // members without a master have no text to keep in step
        for (SharedMember& member : group.members) {
            member.text = OffsetFormula(
                master->second.text, static_cast<std::int64_t>(member.row) - master->second.row,
                static_cast<std::int64_t>(member.column) - master->second.column);
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

void Worksheet::RewriteSharedGroup(SharedGroup& group, const SheetEdit& edit) {
    bool own = SameSheet(edit.sheet, m_name);
    std::vector<SharedMember*> alive;
    for (SharedMember& member : group.members) {
        if (member.deleted)
            continue;
        if (own) {
            std::optional<Range> moved = AdjustArea(edit, Range::Cell(member.row, member.column));
            member.row = moved->Row();
            member.column = moved->Column();
        }
        member.text = AdjustFormula(member.text, m_name, edit);
        alive.push_back(&member);
    }
    if (alive.empty())
        return;
    std::sort(alive.begin(), alive.end(), [](const SharedMember* a, const SharedMember* b) {
        return a->row != b->row ? a->row < b->row : a->column < b->column;
    });
    const SharedMember& master = *alive.front();
    // The group stays shared when every member still reads as the master's text moved to its
    // place; otherwise each member gets its own text.
    bool shareable = true;
    std::uint32_t firstColumn = master.column, lastColumn = master.column;
    for (const SharedMember* member : alive) {
        firstColumn = std::min(firstColumn, member->column);
        lastColumn = std::max(lastColumn, member->column);
        shareable = shareable &&
                    OffsetFormula(master.text, static_cast<std::int64_t>(member->row) - master.row,
                                  static_cast<std::int64_t>(member->column) - master.column) ==
                        member->text;
    }
    for (const SharedMember* member : alive) {
        pugi::xml_node formula = member->cell.child("f");
        RemoveChildren(formula);
        formula.remove_attribute("ref");
        if (!shareable) {
            formula.remove_attribute("t");
            formula.remove_attribute("si");
            formula.text().set(member->text.c_str());
        }
    }
    if (shareable) {
        pugi::xml_node formula = master.cell.child("f");
        Range area = Range::Cells(master.row, firstColumn, alive.back()->row, lastColumn);
        formula.append_attribute("ref") = area.Address(false, false).c_str();
        formula.text().set(master.text.c_str());
    }
    MarkChanged();
}

void Worksheet::UnshareGroupOf(pugi::xml_node cell) {
    std::string si = cell.child("f").attribute("si").value();
    for (SharedGroup& group : CollectSharedGroups(nullptr)) {
        if (group.index != si)
            continue;
        for (SharedMember& member : group.members) {
            pugi::xml_node formula = member.cell.child("f");
            RemoveChildren(formula);
            formula.remove_attribute("t");
            formula.remove_attribute("si");
            formula.remove_attribute("ref");
            formula.text().set(member.text.c_str());
        }
    }
}

void Worksheet::AdjustOwnFormulas(const SheetEdit& edit) {
    bool own = SameSheet(edit.sheet, m_name);
    bool changed = false;
    auto adjustText = [&](pugi::xml_node node) {
        std::string before = node.text().get();
        if (before.empty())
            return;
        std::string after = AdjustFormula(before, m_name, edit);
        if (after != before) {
            node.text().set(after.c_str());
            changed = true;
        }
    };
    for (const auto& [row, slot] : m_rows) {
        for (const auto& [column, cell] : slot.cells) {
            pugi::xml_node formula = cell.child("f");
            if (!formula || IsSharedFormula(formula))
                continue;
            adjustText(formula);
            if (pugi::xml_attribute ref = formula.attribute("ref"); own && ref) {
                std::optional<Range> area = Range::Parse(ref.value());
                if (area && (area = AdjustArea(edit, *area)))
                    ref = area->Address(false, false).c_str();
            }
        }
    }
    pugi::xml_node root = m_part.Root();
    for (pugi::xml_node format : root.children("conditionalFormatting")) {
        for (pugi::xml_node rule : format.children("cfRule")) {
            for (pugi::xml_node formula : rule.children("formula"))
                adjustText(formula);
        }
    }
    for (pugi::xml_node validation : root.child("dataValidations").children("dataValidation")) {
        adjustText(validation.child("formula1"));
        adjustText(validation.child("formula2"));
    }
    if (changed)
        MarkChanged();
}

void Worksheet::AdjustSheetAreas(const SheetEdit& edit) {
    pugi::xml_node root = m_part.Root();
    if (pugi::xml_node merges = root.child("mergeCells")) {
        for (pugi::xml_node merge = merges.first_child(); merge;) {
            pugi::xml_node next = merge.next_sibling();
            std::optional<Range> area = Range::Parse(merge.attribute("ref").value());
            if (area)
                area = AdjustArea(edit, *area);
            if (!area || area->IsSingleCell())
                merges.remove_child(merge);
            else
                merge.attribute("ref") = area->Address(false, false).c_str();
            merge = next;
        }
        Recount(merges);
        if (!merges.first_child())
            root.remove_child(merges);
    }
    // Lists of areas: an element whose areas are all gone goes with them.
    auto adjustList = [&](pugi::xml_node node, const char* attribute) {
        std::string adjusted = AdjustAreaList(node.attribute(attribute).value(), edit);
        if (adjusted.empty())
            return false;
        node.attribute(attribute) = adjusted.c_str();
        return true;
    };
    for (pugi::xml_node format = root.child("conditionalFormatting"); format;) {
        pugi::xml_node next = format.next_sibling("conditionalFormatting");
        if (!adjustList(format, "sqref"))
            root.remove_child(format);
        format = next;
    }
    for (const char* listName : {"dataValidations", "hyperlinks"}) {
        pugi::xml_node list = root.child(listName);
        if (!list)
            continue;
        const char* attribute = std::strcmp(listName, "hyperlinks") == 0 ? "ref" : "sqref";
        for (pugi::xml_node item = list.first_child(); item;) {
            pugi::xml_node next = item.next_sibling();
            if (!adjustList(item, attribute))
                list.remove_child(item);
            item = next;
        }
        Recount(list);
        if (!list.first_child())
            root.remove_child(list);
    }
    if (pugi::xml_node filter = root.child("autoFilter")) {
        std::optional<Range> area = Range::Parse(filter.attribute("ref").value());
        if (area)
            area = AdjustArea(edit, *area);
        if (area)
            filter.attribute("ref") = area->Address(false, false).c_str();
        else
            root.remove_child(filter);
    }
    for (pugi::xml_node view : root.child("sheetViews").children("sheetView")) {
        for (pugi::xml_node selection : view.children("selection")) {
            if (selection.attribute("sqref") && !adjustList(selection, "sqref"))
                selection.attribute("sqref") = "A1";
            if (pugi::xml_attribute active = selection.attribute("activeCell")) {
                std::optional<Range> cell = Range::Parse(active.value());
                if (cell)
                    cell = AdjustArea(edit, *cell);
                active = cell ? cell->Address(false, false).c_str() : "A1";
            }
        }
    }
}

void Worksheet::AdjustColumnDefinitions(const SheetEdit& edit) {
    pugi::xml_node cols = m_part.Root().child("cols");
    std::uint32_t last = edit.at + edit.count - 1;
    for (pugi::xml_node col = cols.first_child(); col;) {
        pugi::xml_node next = col.next_sibling();
        std::uint32_t min = col.attribute("min").as_uint();
        std::uint32_t max = col.attribute("max").as_uint();
        bool keep = true;
        if (edit.insert) {
            // A definition that ends just before the insertion point widens over the new
            // columns: they take the format of the column on their left.
            if (min >= edit.at) {
                min += edit.count;
                max += edit.count;
            } else if (max + 1 >= edit.at) {
                max += edit.count;
            }
            keep = min <= kMaxColumns;
            max = std::min(max, kMaxColumns);
        } else if (min >= edit.at && max <= last) {
            keep = false;
        } else {
            min = min < edit.at ? min : (min <= last ? edit.at : min - edit.count);
            max = max < edit.at ? max : (max <= last ? edit.at - 1 : max - edit.count);
        }
        if (keep) {
            col.attribute("min") = min;
            col.attribute("max") = max;
        } else {
            cols.remove_child(col);
        }
        col = next;
    }
    if (cols && !cols.first_child())
        m_part.Root().remove_child(cols);
}

} // namespace slidesmith::xlsx
