#pragma once

#include "platform/xlsx/Range.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace slidesmith::chart {

// One area of a chart formula; area is nullopt once its cells were deleted ("Sheet1!#REF!").
struct SeriesArea {
    std::string sheet;
    std::optional<xlsx::Range> area;
};

// The text of a chart data reference (c:f): one area such as "Sheet1!$B$2:$B$5" or
// "'Sales 2008'!$A$1", or a union of areas in parentheses, each optionally preceded by the
// "[n]" book index of a linked workbook. Keeps the '$' marks and the book so Text() writes the
// reference back as the chart program would.
class SeriesReference {
public:
    // nullopt when the text is no reference (a name, a constant, a malformed area).
    static std::optional<SeriesReference> Parse(std::string_view text,
                                                std::string_view defaultSheet = {});

    std::string Text() const;
    const std::string& Book() const { return m_book; }
    void DropBook() { m_book.clear(); }
    std::vector<SeriesArea>& Areas() { return m_areas; }
    const std::vector<SeriesArea>& Areas() const { return m_areas; }
    // True when every area was deleted.
    bool IsDeleted() const;
    // The cells in the order the chart reads them (area by area, row by row), with their sheet.
    struct CellAt {
        const std::string* sheet;
        std::uint32_t row;
        std::uint32_t column;
    };
    std::vector<CellAt> Cells() const;
    std::size_t CellCount() const;

private:
    std::string m_book;
    std::vector<SeriesArea> m_areas;
    bool m_parenthesised = false;
};

} // namespace slidesmith::chart
