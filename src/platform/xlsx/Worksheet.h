#pragma once

#include "platform/xlsx/Range.h"
#include "platform/xlsx/ReferenceShift.h"

#include <cstdint>
#include <map>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::pptx {
class XmlPart;
}

namespace slidesmith::xlsx {

class Workbook;

// A cell's value as read back: formulas give their cached result.
struct CellValue {
    enum class Type { Empty, Number, Text, Boolean, Error };
    Type type = Type::Empty;
    double number = 0;
    std::string text; // Text, and the error code ("#REF!") for Error
    bool boolean = false;
};

// The shift of the cells around an inserted or deleted range; the values are the spreadsheet
// program's own constants, so callers that carry them through need no table.
enum class Shift { Down = -4121, Right = -4161, Up = -4162, Left = -4159 };

// One worksheet of a Workbook. Rows are indexed by number and cells by column, so reading or
// writing a cell costs a map lookup, and inserting or deleting a block of rows or columns
// touches only the cells behind it, once. Cells written keep their style; a new cell takes the
// style of its row or column. Every failure throws XlsxError naming workbook, sheet and cell.
class Worksheet {
public:
    Worksheet(Workbook& workbook, std::string name, pptx::XmlPart& part);
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    const std::string& Name() const { return m_name; }
    const std::string& PartName() const;

    // Locates a reference the way the sheet's Range property does: A1 notation (qualified with
    // this sheet's name or not) or a defined name that stands for an area of this sheet.
    // Throws XlsxError for anything else.
    Range Locate(std::string_view reference) const;

    CellValue Value(std::uint32_t row, std::uint32_t column) const;
    // The cell's formula without "=", as the cell itself would show it (a member of a shared
    // formula gets the shared text moved to its place); empty when the cell has none.
    std::string Formula(std::uint32_t row, std::uint32_t column) const;
    // The style index (s attribute) of the cell; 0 when it has none or does not exist.
    std::uint32_t StyleIndex(std::uint32_t row, std::uint32_t column) const;

    void SetNumber(std::uint32_t row, std::uint32_t column, double value);
    void SetText(std::uint32_t row, std::uint32_t column, std::string_view text);
    void SetBoolean(std::uint32_t row, std::uint32_t column, bool value);
    // A date or time as its serial number (days since the workbook's epoch, time as fraction);
    // the cell gets a date format unless its style already has one.
    void SetDate(std::uint32_t row, std::uint32_t column, double serial);
    // Empties the cell (value and formula) but keeps its style, as clearing contents does.
    void Clear(std::uint32_t row, std::uint32_t column);

    // Inserts cells shifting the others down or right (whole rows and whole columns shift
    // down and right whatever is asked), and deletes them shifting up or left; every reference
    // in the workbook follows the spreadsheet program's rules, references into deleted cells
    // become #REF!.
    void Insert(const Range& range, Shift shift);
    void Delete(const Range& range, Shift shift);

    // The area holding cells, "A1" when the sheet is empty.
    Range UsedArea() const;

private:
    friend class Workbook;

    struct RowSlot {
        pugi::xml_node node;
        std::map<std::uint32_t, pugi::xml_node> cells;
    };
    struct SharedMember {
        pugi::xml_node cell;
        std::uint32_t row;
        std::uint32_t column;
        std::string text;
        bool deleted;
    };
    struct SharedGroup {
        Worksheet* sheet;
        std::string index;
        std::vector<SharedMember> members;
    };

    void Index();
    std::string Where(std::uint32_t row, std::uint32_t column) const;
    pugi::xml_node FindCell(std::uint32_t row, std::uint32_t column) const;
    RowSlot& EnsureRow(std::uint32_t row);
    pugi::xml_node EnsureCell(std::uint32_t row, std::uint32_t column);
    // Removes value, formula and type of a cell before a new value goes in.
    void ResetCell(pugi::xml_node cell);
    void RemoveCell(RowSlot& slot, std::uint32_t column);
    void RemoveRow(std::uint32_t row);
    std::uint32_t DefaultStyle(std::uint32_t row, std::uint32_t column) const;
    void SetCellPosition(pugi::xml_node cell, std::uint32_t row, std::uint32_t column);
    void MarkChanged();
    // Brings the dimension in step with the cells before the part is written.
    void FinishForSave();

    SheetEdit MakeEdit(const Range& range, Shift shift, bool insert) const;
    void CheckEdit(const SheetEdit& edit) const;
    void Apply(const SheetEdit& edit);
    void MoveRows(const SheetEdit& edit);
    void MoveColumns(const SheetEdit& edit);
    void MoveBandCells(const SheetEdit& edit);
    void CopyFormatIntoInserted(const SheetEdit& edit);
    std::vector<SharedGroup> CollectSharedGroups(const SheetEdit* edit);
    void RewriteSharedGroup(SharedGroup& group, const SheetEdit& edit);
    void UnshareGroupOf(pugi::xml_node cell);
    void AdjustOwnFormulas(const SheetEdit& edit);
    void AdjustSheetAreas(const SheetEdit& edit);
    void AdjustColumnDefinitions(const SheetEdit& edit);

    Workbook& m_workbook;
    std::string m_name;
    pptx::XmlPart& m_part;
    pugi::xml_node m_sheetData;
    std::map<std::uint32_t, RowSlot> m_rows;
};

} // namespace slidesmith::xlsx
