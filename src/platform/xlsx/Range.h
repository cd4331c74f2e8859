#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace slidesmith::xlsx {

inline constexpr std::uint32_t kMaxRows = 1048576;
inline constexpr std::uint32_t kMaxColumns = 16384;

// "A" for 1, "XFD" for 16384; empty outside 1..kMaxColumns.
std::string ColumnName(std::uint32_t column);
// 1 for "A" (either case); nullopt for anything but 1-3 letters naming a column on the sheet.
std::optional<std::uint32_t> ColumnNumber(std::string_view letters);
// "B7" (relative form).
std::string CellName(std::uint32_t row, std::uint32_t column);
// The sheet name as a reference prefix writes it: quoted with '' for ' when the name holds
// anything but letters, digits, '_' and '.', starts with a digit, or could be read as a cell.
std::string SheetPrefix(std::string_view sheetName);

// A rectangular area of a worksheet in the spreadsheet program's A1 notation: a cell, a range
// of cells, whole rows ("2:4") or whole columns ("A:C"), optionally qualified by a sheet name.
// Each end keeps its own '$' marks so a parsed reference is written back as it was read. Rows
// and columns are 1-based; first <= last always holds.
class Range {
public:
    enum class Kind { Cells, WholeRows, WholeColumns };

    Range() = default; // A1
    static Range Cells(std::uint32_t firstRow, std::uint32_t firstColumn, std::uint32_t lastRow,
                       std::uint32_t lastColumn);
    static Range Cell(std::uint32_t row, std::uint32_t column) {
        return Cells(row, column, row, column);
    }
    static Range WholeRows(std::uint32_t firstRow, std::uint32_t lastRow);
    static Range WholeColumns(std::uint32_t firstColumn, std::uint32_t lastColumn);

    // Reads "A1", "$B$2:C5", "A:C", "$2:$4", "Sheet1!A1", "'Sales 2008'!$A$1:$B$5"; blanks
    // around the text are ignored, letters may be lower case, and ends given in reverse order
    // ("C5:A1") are put in order. nullopt for anything else, including positions beyond the
    // sheet's 1048576 rows and 16384 columns.
    static std::optional<Range> Parse(std::string_view text);

    Kind GetKind() const { return m_kind; }
    std::uint32_t Row() const { return m_firstRow; }
    std::uint32_t Column() const { return m_firstColumn; }
    std::uint32_t LastRow() const { return m_lastRow; }
    std::uint32_t LastColumn() const { return m_lastColumn; }
    std::uint32_t RowCount() const { return m_lastRow - m_firstRow + 1; }
    std::uint32_t ColumnCount() const { return m_lastColumn - m_firstColumn + 1; }
    bool IsSingleCell() const {
        return m_kind == Kind::Cells && m_firstRow == m_lastRow && m_firstColumn == m_lastColumn;
    }
    bool Contains(std::uint32_t row, std::uint32_t column) const {
        return row >= m_firstRow && row <= m_lastRow && column >= m_firstColumn &&
               column <= m_lastColumn;
    }

    // The sheet the reference names; empty when it is not qualified.
    const std::string& Sheet() const { return m_sheet; }
    void SetSheet(std::string sheet) { m_sheet = std::move(sheet); }

    // The address without sheet the way the spreadsheet program's Address property gives it:
    // "$A$1:$B$5" by default, "A1:B5" with both flags false, "$A:$C" for whole columns, "$2:$4"
    // for whole rows, and a single cell without ":".
    std::string Address(bool rowAbsolute = true, bool columnAbsolute = true) const;
    // The reference as written: the sheet prefix when qualified, and the '$' marks it was read
    // with (new ranges are relative). Parse(Text()) gives the same range back.
    std::string Text() const;

    // Moves the area keeping its '$' marks and sheet; used when references shift.
    void SetBounds(std::uint32_t firstRow, std::uint32_t firstColumn, std::uint32_t lastRow,
                   std::uint32_t lastColumn);
    // '$' marks of the first and the last end (row and column each).
    struct Marks {
        bool firstRow = false;
        bool firstColumn = false;
        bool lastRow = false;
        bool lastColumn = false;
    };
    const Marks& AbsoluteMarks() const { return m_marks; }
    void SetAbsoluteMarks(const Marks& marks) { m_marks = marks; }

    bool operator==(const Range& other) const;

private:
    Kind m_kind = Kind::Cells;
    std::uint32_t m_firstRow = 1;
    std::uint32_t m_firstColumn = 1;
    std::uint32_t m_lastRow = 1;
    std::uint32_t m_lastColumn = 1;
    Marks m_marks;
    std::string m_sheet;

    friend struct ReferenceScanner;
};

// A reference found inside a formula by ScanReference.
struct ReferenceMatch {
    std::size_t begin = 0;     // where the sheet prefix (or the reference) starts
    std::size_t areaBegin = 0; // where the area part starts (after "!")
    std::size_t end = 0;       // one past the reference
    bool hasSheet = false;     // a prefix names a sheet ("Sheet1!" or "'My Sheet'!")
    bool multiSheet = false;   // the prefix names a span of sheets ("Sheet1:Sheet3!")
    std::optional<Range> area; // nullopt when the prefix is followed by #REF! or a name
};

// Tries to read a reference that starts exactly at pos in a formula: an optional sheet prefix,
// then a cell, an area, whole rows or whole columns. The caller guarantees that pos starts a
// token. A word followed by "(" (a function such as LOG10) is no reference.
std::optional<ReferenceMatch> ScanReference(std::string_view formula, std::size_t pos);

} // namespace slidesmith::xlsx
