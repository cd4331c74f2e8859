#include "platform/xlsx/Range.h"

#include <utility>

namespace slidesmith::xlsx {
namespace {

bool IsLetter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// Characters that continue a name or a number: a reference must not be followed by one, or it
// is only the start of a longer word ("A1B", "TRUE1").
bool IsWordChar(char ch) {
    return IsLetter(ch) || IsDigit(ch) || ch == '_' || ch == '.' || ch == '\\' || ch == '?' ||
           ch == '$' || static_cast<unsigned char>(ch) >= 0x80;
}

// Characters of an unquoted sheet prefix; ':' joins the first and last sheet of a span.
bool IsPrefixChar(char ch) {
    return IsLetter(ch) || IsDigit(ch) || ch == '_' || ch == '.' || ch == '\\' || ch == ':' ||
           static_cast<unsigned char>(ch) >= 0x80;
}

// One end of an area: column, row or both, each possibly marked with '$'.
struct End {
    bool hasColumn = false;
    bool hasRow = false;
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    bool columnAbsolute = false;
    bool rowAbsolute = false;
    std::size_t next = 0;
};

std::optional<End> ParseEnd(std::string_view text, std::size_t pos) {
    End end;
    std::size_t i = pos;
    bool dollar = i < text.size() && text[i] == '$';
    if (dollar)
        ++i;
    std::size_t lettersBegin = i;
    while (i < text.size() && IsLetter(text[i]))
        ++i;
    if (i > lettersBegin) {
        std::optional<std::uint32_t> column =
            ColumnNumber(text.substr(lettersBegin, i - lettersBegin));
        if (!column)
            return std::nullopt;
        end.hasColumn = true;
        end.column = *column;
        end.columnAbsolute = dollar;
        dollar = i < text.size() && text[i] == '$';
        if (dollar)
            ++i;
    }
    std::size_t digitsBegin = i;
    std::uint64_t row = 0;
    while (i < text.size() && IsDigit(text[i]) && i - digitsBegin < 8) {
        row = row * 10 + static_cast<std::uint64_t>(text[i] - '0');
        ++i;
    }
    if (i > digitsBegin) {
        if (row < 1 || row > kMaxRows || (i < text.size() && IsDigit(text[i])))
            return std::nullopt;
        end.hasRow = true;
        end.row = static_cast<std::uint32_t>(row);
        end.rowAbsolute = dollar;
    } else if (dollar) {
        return std::nullopt; // "$" not followed by what it marks
    }
    if (!end.hasColumn && !end.hasRow)
        return std::nullopt;
    end.next = i;
    return end;
}

bool EndsWord(std::string_view text, std::size_t pos) {
    return pos >= text.size() ||
           (!IsWordChar(text[pos]) && text[pos] != '(' && text[pos] != '!' && text[pos] != '[');
}

bool LooksLikeCellOrR1C1(std::string_view name) {
    std::optional<End> end = ParseEnd(name, 0);
    if (end && end->next == name.size() && end->hasColumn && end->hasRow)
        return true;
    // R1C1 notation: R, C, R2, C3, RC, R2C3 name cells in the other reference style.
    std::size_t i = 0;
    auto part = [&](char letter) {
        if (i < name.size() && (name[i] == letter || name[i] == letter + ('a' - 'A'))) {
            ++i;
            while (i < name.size() && IsDigit(name[i]))
                ++i;
        }
    };
    part('R');
    part('C');
    return i > 0 && i == name.size();
}

} // namespace

std::string ColumnName(std::uint32_t column) {
    if (column < 1 || column > kMaxColumns)
        return {};
    std::string name;
    while (column > 0) {
        std::uint32_t digit = (column - 1) % 26;
        name.insert(name.begin(), static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

std::optional<std::uint32_t> ColumnNumber(std::string_view letters) {
    if (letters.empty() || letters.size() > 3)
        return std::nullopt;
    std::uint32_t column = 0;
    for (char ch : letters) {
        if (!IsLetter(ch))
            return std::nullopt;
        char upper = ch >= 'a' ? static_cast<char>(ch - ('a' - 'A')) : ch;
        column = column * 26 + static_cast<std::uint32_t>(upper - 'A' + 1);
    }
    if (column > kMaxColumns)
        return std::nullopt;
    return column;
}

std::string CellName(std::uint32_t row, std::uint32_t column) {
    return ColumnName(column) + std::to_string(row);
}

std::string SheetPrefix(std::string_view sheetName) {
    bool plain =
        !sheetName.empty() && !IsDigit(sheetName.front()) && !LooksLikeCellOrR1C1(sheetName);
    for (char ch : sheetName) {
        if (!(IsLetter(ch) || IsDigit(ch) || ch == '_' || ch == '.' ||
              static_cast<unsigned char>(ch) >= 0x80))
            plain = false;
    }
    if (plain)
        return std::string(sheetName);
    std::string quoted = "'";
    for (char ch : sheetName) {
        quoted += ch;
        if (ch == '\'')
            quoted += '\'';
    }
    quoted += '\'';
    return quoted;
}

Range Range::Cells(std::uint32_t firstRow, std::uint32_t firstColumn, std::uint32_t lastRow,
                   std::uint32_t lastColumn) {
    Range range;
    range.SetBounds(firstRow, firstColumn, lastRow, lastColumn);
    return range;
}

Range Range::WholeRows(std::uint32_t firstRow, std::uint32_t lastRow) {
    Range range = Cells(firstRow, 1, lastRow, kMaxColumns);
    range.m_kind = Kind::WholeRows;
    return range;
}

Range Range::WholeColumns(std::uint32_t firstColumn, std::uint32_t lastColumn) {
    Range range = Cells(1, firstColumn, kMaxRows, lastColumn);
    range.m_kind = Kind::WholeColumns;
    return range;
}

void Range::SetBounds(std::uint32_t firstRow, std::uint32_t firstColumn, std::uint32_t lastRow,
                      std::uint32_t lastColumn) {
    m_firstRow = firstRow;
    m_firstColumn = firstColumn;
    m_lastRow = lastRow;
    m_lastColumn = lastColumn;
}

bool Range::operator==(const Range& other) const {
    return m_kind == other.m_kind && m_firstRow == other.m_firstRow &&
           m_firstColumn == other.m_firstColumn && m_lastRow == other.m_lastRow &&
           m_lastColumn == other.m_lastColumn && m_sheet == other.m_sheet;
}

std::string Range::Address(bool rowAbsolute, bool columnAbsolute) const {
    std::string rowMark = rowAbsolute ? "$" : "";
    std::string columnMark = columnAbsolute ? "$" : "";
    auto cell = [&](std::uint32_t row, std::uint32_t column) {
        return columnMark + ColumnName(column) + rowMark + std::to_string(row);
    };
    switch (m_kind) {
    case Kind::WholeRows:
        return rowMark + std::to_string(m_firstRow) + ":" + rowMark + std::to_string(m_lastRow);
    case Kind::WholeColumns:
        return columnMark + ColumnName(m_firstColumn) + ":" + columnMark + ColumnName(m_lastColumn);
    case Kind::Cells:
        break;
    }
    if (IsSingleCell())
        return cell(m_firstRow, m_firstColumn);
    return cell(m_firstRow, m_firstColumn) + ":" + cell(m_lastRow, m_lastColumn);
}

std::string Range::Text() const {
    std::string text = m_sheet.empty() ? std::string() : SheetPrefix(m_sheet) + "!";
    auto column = [](bool mark, std::uint32_t number) {
        return (mark ? "$" : "") + ColumnName(number);
    };
    auto row = [](bool mark, std::uint32_t number) {
        return (mark ? "$" : "") + std::to_string(number);
    };
    switch (m_kind) {
    case Kind::WholeRows:
        return text + row(m_marks.firstRow, m_firstRow) + ":" + row(m_marks.lastRow, m_lastRow);
    case Kind::WholeColumns:
        return text + column(m_marks.firstColumn, m_firstColumn) + ":" +
               column(m_marks.lastColumn, m_lastColumn);
    case Kind::Cells:
        break;
    }
    text += column(m_marks.firstColumn, m_firstColumn) + row(m_marks.firstRow, m_firstRow);
    if (!IsSingleCell())
        text += ":" + column(m_marks.lastColumn, m_lastColumn) + row(m_marks.lastRow, m_lastRow);
    return text;
}

struct ReferenceScanner {
    static std::optional<Range> Area(std::string_view text, std::size_t pos, std::size_t& next) {
        std::optional<End> first = ParseEnd(text, pos);
        if (!first)
            return std::nullopt;
        std::optional<End> last;
        if (first->next < text.size() && text[first->next] == ':') {
            last = ParseEnd(text, first->next + 1);
            if (last && (last->hasColumn != first->hasColumn || last->hasRow != first->hasRow))
                last.reset();
            if (last && !EndsWord(text, last->next))
                return std::nullopt;
        }
        if (!last) {
            if (!first->hasColumn || !first->hasRow || !EndsWord(text, first->next))
                return std::nullopt;
            last = first;
        }
        Range range;
        if (!first->hasColumn)
            range = Range::WholeRows(1, 1);
        else if (!first->hasRow)
            range = Range::WholeColumns(1, 1);
        if (first->hasRow && last->row < first->row)
            std::swap(first->row, last->row), std::swap(first->rowAbsolute, last->rowAbsolute);
        if (first->hasColumn && last->column < first->column) {
            std::swap(first->column, last->column);
            std::swap(first->columnAbsolute, last->columnAbsolute);
        }
        range.SetBounds(first->hasRow ? first->row : 1, first->hasColumn ? first->column : 1,
                        first->hasRow ? last->row : kMaxRows,
                        first->hasColumn ? last->column : kMaxColumns);
        range.m_marks = {first->rowAbsolute, first->columnAbsolute, last->rowAbsolute,
                         last->columnAbsolute};
        next = last->next;
        return range;
    }
};

std::optional<ReferenceMatch> ScanReference(std::string_view formula, std::size_t pos) {
    ReferenceMatch match;
    match.begin = pos;
    match.areaBegin = pos;
    std::string sheet;
    if (pos < formula.size() && formula[pos] == '\'') {
        std::size_t i = pos + 1;
        while (true) {
            if (i >= formula.size())
                return std::nullopt;
            if (formula[i] == '\'') {
                if (i + 1 < formula.size() && formula[i + 1] == '\'') {
                    sheet += '\'';
                    i += 2;
                    continue;
                }
                break;
            }
            sheet += formula[i++];
        }
        if (i + 1 >= formula.size() || formula[i + 1] != '!')
            return std::nullopt;
        match.hasSheet = true;
        match.areaBegin = i + 2;
    } else {
        std::size_t i = pos;
        while (i < formula.size() && IsPrefixChar(formula[i]))
            ++i;
        if (i > pos && i < formula.size() && formula[i] == '!') {
            sheet = std::string(formula.substr(pos, i - pos));
            match.hasSheet = true;
            match.areaBegin = i + 1;
        }
    }
    match.multiSheet = sheet.find(':') != std::string::npos;
    std::size_t next = match.areaBegin;
    match.area = ReferenceScanner::Area(formula, match.areaBegin, next);
    if (!match.area && !match.hasSheet)
        return std::nullopt;
    match.end = match.area ? next : match.areaBegin;
    if (match.area && !match.multiSheet)
        match.area->SetSheet(sheet);
    return match;
}

std::optional<Range> Range::Parse(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    std::optional<ReferenceMatch> match = ScanReference(text, 0);
    if (!match || !match->area || match->multiSheet || match->end != text.size())
        return std::nullopt;
    if (match->hasSheet && match->area->Sheet().empty())
        return std::nullopt; // "''!A1"
    return match->area;
}

} // namespace slidesmith::xlsx
