#include "fill/CellReference.h"

#include "script/TextScan.h"

#include <cstdint>

namespace slidesmith::fill {

namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && script::IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && script::IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

bool ParseCellRef(std::string_view text, CellCoordinate& cell) {
    enum class Seen { Nothing, Letters, Digits };
    Seen state = Seen::Nothing;
    int letterCount = 0;
    int columnValue = 0;
    // Saturates above kMaxRow so that a long run of digits cannot overflow.
    std::int64_t rowValue = 0;
    bool hasDigits = false;

    cell = {-1, -1};
    for (const char raw : text) {
        const char c = UpperAscii(raw);
        if (c >= '0' && c <= '9') {
            hasDigits = true;
            if (rowValue <= kMaxRow) {
                rowValue = rowValue * 10 + (c - '0');
            }
            state = Seen::Digits;
        } else if (c >= 'A' && c <= 'Z') {
            if (state == Seen::Digits) {
                return false;
            }
            state = Seen::Letters;
            if (++letterCount > 2) {
                return false;
            }
            columnValue = columnValue * 26 + (c - 'A' + 1);
        } else if (c != '$') {
            return false;
        }
    }
    cell.row = !hasDigits ? 0 : (rowValue > kMaxRow ? -1 : static_cast<int>(rowValue));
    cell.column = columnValue > kMaxColumn ? -1 : columnValue;
    return true;
}

std::string CellRefName(int row, int column) {
    if (column < 0 || column > kMaxColumn || row < 0 || row > kMaxRow) {
        return {};
    }
    std::string name;
    if (column > 26) {
        const int first = (column - 1) / 26;
        name += static_cast<char>('A' + first - 1);
        name += static_cast<char>('A' + column - 26 * first - 1);
    } else if (column > 0) {
        name += static_cast<char>('A' + column - 1);
    }
    if (row > 0) {
        name += std::to_string(row);
    }
    return name;
}

bool ParseRangeRef(std::string_view text, RangeReference& range) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || text.find(':', colon + 1) != std::string_view::npos) {
        return false;
    }
    if (!ParseCellRef(TrimBlanks(text.substr(0, colon)), range.first) ||
        !ParseCellRef(TrimBlanks(text.substr(colon + 1)), range.last)) {
        return false;
    }
    const bool rowsAgree = (range.first.row != 0) == (range.last.row != 0);
    const bool columnsAgree = (range.first.column != 0) == (range.last.column != 0);
    return rowsAgree && columnsAgree;
}

} // namespace slidesmith::fill
