#include "fill/ChartReference.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace slidesmith::fill {
namespace {

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Row of a digit string: its value + 1, 0 without digits, -1 beyond the datasheet.
int RowOf(const std::string& digits) {
    if (digits.empty()) {
        return 0;
    }
    long long value = 0;
    for (char digit : digits) {
        value = value * 10 + (digit - '0');
        if (value >= kDatasheetLimit) {
            return -1;
        }
    }
    return static_cast<int>(value) + 1;
}

// Column of the letters: 0 without, 1 for the header column's "0", else the spreadsheet
// column number + 1 (A is 2); three letters beyond the datasheet give -1.
int ColumnOf(const std::string& letters) {
    if (letters.empty()) {
        return 0;
    }
    if (letters == "0") {
        return 1;
    }
    int column = 1;
    for (char letter : letters) {
        column = (column - 1) * 26 + (letter - 'A' + 1) + 1;
    }
    if (letters.size() == 3 && column > kDatasheetLimit) {
        return -1;
    }
    return column;
}

std::string ColumnLetters(int column) {
    std::string letters;
    for (int number = column - 1; number > 0; number = (number - 1) / 26) {
        letters += static_cast<char>('A' + (number - 1) % 26);
    }
    std::reverse(letters.begin(), letters.end());
    return letters;
}

} // namespace

bool ParseDatasheetRef(std::string_view text, CellCoordinate& cell) {
    cell = {-1, -1};
    std::string digits;
    std::string letters;
    int state = 0; // 0 nothing yet, 1 letters, 2 digits
    for (char raw : text) {
        const char c = Upper(raw);
        if (IsDigit(c)) {
            if (state == 0) {
                // A reference that starts with a digit names the header column.
                letters.assign(1, '0');
                state = 1;
            }
            digits += c;
            state = 2;
        } else if (c >= 'A' && c <= 'Z') {
            if (state == 2) {
                return false;
            }
            letters += c;
            state = 1;
            if (letters.size() > 3) {
                return false;
            }
        } else if (c != '$') {
            return false;
        }
    }
    cell = {RowOf(digits), ColumnOf(letters)};
    return true;
}

std::string DatasheetRefName(int row, int column) {
    if (column < 0 || column > kDatasheetLimit || row < 0 || row > kDatasheetLimit) {
        return {};
    }
    std::string name = column == 1 ? "0" : ColumnLetters(column);
    if (row > 0) {
        name += std::to_string(row - 1);
    }
    return name;
}

bool ParseDatasheetRange(std::string_view text, RangeReference& range) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t colon = text.find(':'); colon != std::string_view::npos;
         colon = text.find(':', start)) {
        pieces.push_back(text.substr(start, colon - start));
        start = colon + 1;
    }
    pieces.push_back(text.substr(start));
    if (pieces.size() != 2) {
        return false;
    }
    const std::string_view firstPiece = Trim(pieces[0]);
    if (!ParseDatasheetRef(firstPiece, range.first) ||
        !ParseDatasheetRef(Trim(pieces[1]), range.last)) {
        return false;
    }
    CellCoordinate& first = range.first;
    CellCoordinate& last = range.last;
    if (first.column == 1 && last.column == 1) {
        // Plain numbers are rows; only "01:05" written with the leading zero means the
        // header cells of those rows.
        const bool headerCells = firstPiece.size() > 1 && firstPiece.front() == '0';
        if (!headerCells) {
            first.column = 0;
            last.column = 0;
        }
    } else if (first.column == 1 && last.row == 0 && first.row == 1) {
        first.row = 0; // "0:C": whole columns from the header column
    }
    return (first.row == 0) == (last.row == 0) && (first.column == 0) == (last.column == 0);
}

std::string SeriesSourceSheet(std::string_view formula) {
    const std::size_t nameEnd = formula.find(',');
    if (nameEnd == std::string_view::npos || nameEnd + 1 >= formula.size()) {
        return {};
    }
    // Skip the categories: a parenthesised union or an array constant may hold commas.
    std::size_t categoriesEnd = std::string_view::npos;
    const char opening = formula[nameEnd + 1];
    if (opening == '(' || opening == '{') {
        const std::size_t closing = formula.find(opening == '(' ? ')' : '}', nameEnd + 2);
        if (closing != std::string_view::npos) {
            categoriesEnd = closing + 1;
        }
    } else {
        categoriesEnd = formula.find(',', nameEnd + 1);
    }
    if (categoriesEnd == std::string_view::npos || categoriesEnd + 1 >= formula.size()) {
        return {};
    }
    std::string_view values = formula.substr(categoriesEnd + 1);
    if (values.front() == '(') {
        values =
            values.substr(1, values.find(')') == std::string_view::npos ? std::string_view::npos
                                                                        : values.find(')') - 1);
    } else if (values.front() == '{') {
        values =
            values.substr(0, values.find('}') == std::string_view::npos ? std::string_view::npos
                                                                        : values.find('}') + 1);
    } else {
        values = values.substr(0, values.find(','));
    }
    const std::size_t bang = values.find('!');
    if (bang == std::string_view::npos || bang == 0) {
        return {};
    }
    std::string_view sheet = values.substr(0, bang);
    if (sheet.size() >= 2 && (sheet.front() == '\'' || sheet.front() == '"') &&
        sheet.back() == sheet.front()) {
        const char quote = sheet.front();
        sheet = sheet.substr(1, sheet.size() - 2);
        // A quote inside a quoted name is written twice.
        std::string name;
        for (std::size_t i = 0; i < sheet.size(); ++i) {
            name += sheet[i];
            if (sheet[i] == quote && i + 1 < sheet.size() && sheet[i + 1] == quote) {
                ++i;
            }
        }
        return name;
    }
    return std::string(sheet);
}

} // namespace slidesmith::fill
