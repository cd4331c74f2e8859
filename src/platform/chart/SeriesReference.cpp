#include "platform/chart/SeriesReference.h"

#include "platform/xlsx/ReferenceShift.h"

namespace slidesmith::chart {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Splits at commas outside quoted sheet names.
std::vector<std::string_view> SplitUnion(std::string_view text) {
    std::vector<std::string_view> pieces;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'')
            quoted = !quoted;
        else if (text[i] == ',' && !quoted) {
            pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

// The position of the '!' ending the sheet prefix, outside quotes; npos without one.
std::size_t PrefixEnd(std::string_view text) {
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'')
            quoted = !quoted;
        else if (text[i] == '!' && !quoted)
            return i;
    }
    return std::string_view::npos;
}

std::string Unquote(std::string_view prefix) {
    if (prefix.size() < 2 || prefix.front() != '\'' || prefix.back() != '\'')
        return std::string(prefix);
    std::string name;
    prefix = prefix.substr(1, prefix.size() - 2);
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        name += prefix[i];
        if (prefix[i] == '\'' && i + 1 < prefix.size() && prefix[i + 1] == '\'')
            ++i;
    }
    return name;
}

struct Piece {
    std::string book;
    SeriesArea area;
};

std::optional<Piece> ParsePiece(std::string_view text, std::string_view defaultSheet) {
    text = Trim(text);
    Piece piece;
    std::size_t bang = PrefixEnd(text);
    std::string_view areaText = text;
    if (bang == std::string_view::npos) {
        piece.area.sheet = std::string(defaultSheet);
    } else {
        std::string name = Unquote(text.substr(0, bang));
        if (!name.empty() && name.front() == '[') {
            std::size_t close = name.find(']');
            if (close == std::string::npos)
                return std::nullopt;
            piece.book = name.substr(0, close + 1);
            name.erase(0, close + 1);
        }
        if (name.empty())
            return std::nullopt;
        piece.area.sheet = std::move(name);
        areaText = text.substr(bang + 1);
    }
    if (Trim(areaText) == "#REF!")
        return piece;
    std::optional<xlsx::Range> area = xlsx::Range::Parse(areaText);
    if (!area || !area->Sheet().empty())
        return std::nullopt;
    piece.area.area = std::move(area);
    return piece;
}

std::string Prefix(const std::string& book, const std::string& sheet) {
    std::string prefix = xlsx::SheetPrefix(sheet);
    if (book.empty())
        return prefix;
    if (!prefix.empty() && prefix.front() == '\'')
        return "'" + book + prefix.substr(1);
    return book + prefix;
}

} // namespace

std::optional<SeriesReference> SeriesReference::Parse(std::string_view text,
                                                      std::string_view defaultSheet) {
    text = Trim(text);
    if (!text.empty() && text.front() == '=')
        text = Trim(text.substr(1));
    SeriesReference reference;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        reference.m_parenthesised = true;
        text = text.substr(1, text.size() - 2);
    }
    if (text.empty())
        return std::nullopt;
    for (std::string_view pieceText : SplitUnion(text)) {
        std::optional<Piece> piece = ParsePiece(pieceText, defaultSheet);
        if (!piece || piece->area.sheet.empty())
            return std::nullopt;
        if (reference.m_areas.empty())
            reference.m_book = piece->book;
        else if (piece->book != reference.m_book)
            return std::nullopt;
        reference.m_areas.push_back(std::move(piece->area));
    }
    return reference;
}

std::string SeriesReference::Text() const {
    std::string text;
    for (const SeriesArea& area : m_areas) {
        if (!text.empty())
            text += ',';
        text += Prefix(m_book, area.sheet) + "!";
        text += area.area ? area.area->Text() : std::string("#REF!");
    }
    if (m_parenthesised || m_areas.size() > 1)
        return "(" + text + ")";
    return text;
}

bool SeriesReference::IsDeleted() const {
    for (const SeriesArea& area : m_areas) {
        if (area.area)
            return false;
    }
    return true;
}

std::size_t SeriesReference::CellCount() const {
    std::size_t count = 0;
    for (const SeriesArea& area : m_areas) {
        if (area.area)
            count += std::size_t{area.area->RowCount()} * area.area->ColumnCount();
    }
    return count;
}

std::vector<SeriesReference::CellAt> SeriesReference::Cells() const {
    std::vector<CellAt> cells;
    cells.reserve(CellCount());
    for (const SeriesArea& area : m_areas) {
        if (!area.area)
            continue;
        for (std::uint32_t row = area.area->Row(); row <= area.area->LastRow(); ++row) {
            for (std::uint32_t column = area.area->Column(); column <= area.area->LastColumn();
                 ++column)
                cells.push_back({&area.sheet, row, column});
        }
    }
    return cells;
}

} // namespace slidesmith::chart
