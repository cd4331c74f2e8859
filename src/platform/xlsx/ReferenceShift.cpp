#include "platform/xlsx/ReferenceShift.h"

#include <algorithm>
#include <functional>

namespace slidesmith::xlsx {
namespace {

bool IsWordChar(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
           ch == '_' || ch == '.' || ch == '\\' || ch == '?' || ch == '$' ||
           static_cast<unsigned char>(ch) >= 0x80;
}

// Copies a run that ends at the matching close character (strings inside skipped).
std::size_t SkipBalanced(std::string_view text, std::size_t pos, char open, char close) {
    int depth = 0;
    for (std::size_t i = pos; i < text.size(); ++i) {
        if (text[i] == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) {
            }
            continue;
        }
        if (text[i] == open)
            ++depth;
        else if (text[i] == close && --depth == 0)
            return i + 1;
    }
    return text.size();
}

// Calls rewrite for every reference of the formula and writes what it returns (the area text,
// or nullopt for #REF!) after the reference's own sheet prefix.
using Rewriter = std::function<std::optional<Range>(const Range& area, bool qualified)>;

std::string RewriteReferences(std::string_view formula, const Rewriter& rewrite) {
    std::string out;
    out.reserve(formula.size() + 8);
    bool external = false; // the previous token was "[n]" of a reference into another workbook
    std::size_t i = 0;
    while (i < formula.size()) {
        char ch = formula[i];
        if (ch == '"') {
            std::size_t end = i + 1;
            while (end < formula.size()) {
                if (formula[end] == '"' && (end + 1 >= formula.size() || formula[end + 1] != '"'))
                    break;
                end += formula[end] == '"' ? 2 : 1;
            }
            end = std::min(end + 1, formula.size());
            out.append(formula.substr(i, end - i));
            i = end;
            continue;
        }
        if (ch == '{' || ch == '[') {
            std::size_t end = SkipBalanced(formula, i, ch, ch == '{' ? '}' : ']');
            // "[1]Sheet1!A1" points into another workbook: its reference is not ours to move.
            external = ch == '[' &&
                       (i == 0 || (!IsWordChar(formula[i - 1]) && formula[i - 1] != ']')) &&
                       end < formula.size() && (IsWordChar(formula[end]) || formula[end] == '\'');
            out.append(formula.substr(i, end - i));
            i = end;
            continue;
        }
        if (ch == '#') {
            std::size_t end = i + 1;
            while (end < formula.size() && (IsWordChar(formula[end]) || formula[end] == '/'))
                ++end;
            if (end < formula.size() && (formula[end] == '!' || formula[end] == '?'))
                ++end;
            out.append(formula.substr(i, end - i));
            i = end;
            continue;
        }
        if (IsWordChar(ch) || ch == '\'') {
            std::optional<ReferenceMatch> match = ScanReference(formula, i);
            if (match && match->area && !match->multiSheet && !external) {
                out.append(formula.substr(match->begin, match->areaBegin - match->begin));
                std::optional<Range> adjusted = rewrite(*match->area, match->hasSheet);
                if (adjusted) {
                    Range area = *adjusted;
                    area.SetSheet({});
                    out += area.Text();
                } else {
                    out += "#REF!";
                }
                i = match->end;
            } else if (match) {
                out.append(formula.substr(i, match->end - i));
                i = match->end;
            } else if (ch == '\'') {
                std::size_t end = formula.find('\'', i + 1);
                end = end == std::string_view::npos ? formula.size() : end + 1;
                out.append(formula.substr(i, end - i));
                i = end;
            } else {
                std::size_t end = i;
                while (end < formula.size() && IsWordChar(formula[end]))
                    ++end;
                out.append(formula.substr(i, end - i));
                i = end;
            }
            external = false;
            continue;
        }
        out += ch;
        ++i;
    }
    return out;
}

} // namespace

bool SameSheet(std::string_view left, std::string_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return lower(a) == lower(b);
    });
}

std::optional<Range> AdjustArea(const SheetEdit& edit, const Range& area) {
    bool rows = edit.axis == SheetEdit::Axis::Rows;
    // Whole columns span every row (and whole rows every column): an edit along them leaves
    // them where they are.
    if ((rows && area.GetKind() == Range::Kind::WholeColumns) ||
        (!rows && area.GetKind() == Range::Kind::WholeRows))
        return area;
    std::uint32_t a1 = rows ? area.Row() : area.Column();
    std::uint32_t a2 = rows ? area.LastRow() : area.LastColumn();
    std::uint32_t b1 = rows ? area.Column() : area.Row();
    std::uint32_t b2 = rows ? area.LastColumn() : area.LastRow();
    if (b1 < edit.bandFirst || b2 > edit.bandLast)
        return area;
    std::uint32_t limit = edit.Limit();
    if (edit.insert) {
        if (a1 >= edit.at) {
            if (static_cast<std::uint64_t>(a1) + edit.count > limit)
                return std::nullopt;
            a1 += edit.count;
            a2 = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(static_cast<std::uint64_t>(a2) + edit.count, limit));
        } else if (a2 >= edit.at) {
            a2 = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(static_cast<std::uint64_t>(a2) + edit.count, limit));
        }
    } else {
        std::uint32_t first = edit.at;
        std::uint32_t last = edit.at + edit.count - 1;
        if (a1 >= first && a2 <= last)
            return std::nullopt;
        a1 = a1 < first ? a1 : (a1 <= last ? first : a1 - edit.count);
        a2 = a2 < first ? a2 : (a2 <= last ? first - 1 : a2 - edit.count);
    }
    Range moved = area;
    if (rows)
        moved.SetBounds(a1, b1, a2, b2);
    else
        moved.SetBounds(b1, a1, b2, a2);
    return moved;
}

std::string AdjustFormula(std::string_view formula, std::string_view formulaSheet,
                          const SheetEdit& edit) {
    return RewriteReferences(formula, [&](const Range& area, bool qualified) {
        std::string_view sheet = qualified ? std::string_view(area.Sheet()) : formulaSheet;
        if (!SameSheet(sheet, edit.sheet))
            return std::optional<Range>(area);
        return AdjustArea(edit, area);
    });
}

std::string OffsetFormula(std::string_view formula, std::int64_t rows, std::int64_t columns) {
    return RewriteReferences(formula, [&](const Range& area, bool) -> std::optional<Range> {
        const Range::Marks& marks = area.AbsoluteMarks();
        std::int64_t r1 = area.Row(), r2 = area.LastRow();
        std::int64_t c1 = area.Column(), c2 = area.LastColumn();
        if (area.GetKind() != Range::Kind::WholeColumns) {
            r1 += marks.firstRow ? 0 : rows;
            r2 += marks.lastRow ? 0 : rows;
        }
        if (area.GetKind() != Range::Kind::WholeRows) {
            c1 += marks.firstColumn ? 0 : columns;
            c2 += marks.lastColumn ? 0 : columns;
        }
        auto inside = [](std::int64_t value, std::uint32_t limit) {
            return value >= 1 && value <= limit;
        };
        if (!inside(r1, kMaxRows) || !inside(r2, kMaxRows) || !inside(c1, kMaxColumns) ||
            !inside(c2, kMaxColumns))
            return std::nullopt;
        Range moved = area;
        moved.SetBounds(static_cast<std::uint32_t>(std::min(r1, r2)),
                        static_cast<std::uint32_t>(std::min(c1, c2)),
                        static_cast<std::uint32_t>(std::max(r1, r2)),
                        static_cast<std::uint32_t>(std::max(c1, c2)));
        return moved;
    });
}

std::string AdjustAreaList(std::string_view list, const SheetEdit& edit) {
    std::string out;
    std::size_t pos = 0;
    while (pos < list.size()) {
        std::size_t end = list.find(' ', pos);
        if (end == std::string_view::npos)
            end = list.size();
        std::string_view item = list.substr(pos, end - pos);
        pos = end + 1;
        if (item.empty())
            continue;
        std::optional<Range> area = Range::Parse(item);
        if (area)
            area = AdjustArea(edit, *area);
        else
            continue; // an unreadable area cannot be kept in step; dropping it is safe
        if (!area)
            continue;
        if (!out.empty())
            out += ' ';
        out += area->Text();
    }
    return out;
}

} // namespace slidesmith::xlsx
