#pragma once

#include "fill/TableFillCommon.h"
#include "fill/TableLines.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// Writes the records of one page of a grouped table into that page's copy of the template
// table. Header blocks are written where the template holds them, at most once a page (pages
// break at every new group of the innermost level with a header block); detail blocks fill the
// prepared blocks below them and then grow one line at a time in front of the last unfilled
// block, so an added line is formatted like a template detail line and each addition shifts
// only the lines below it.
namespace slidesmith::fill {

// What a grouped fill knows of its template table, the same for every page.
struct GroupedTemplate {
    struct Header {
        std::size_t level = 0; // 0-based group level
        std::size_t first = 0; // first and last template line of its block
        std::size_t last = 0;
    };
    bool byRow = true;
    std::vector<Header> headers;         // levels with blocks of their own, outermost first
    std::size_t detailFirst = 0;         // first template line of the detail block
    std::size_t detailLength = 1;        // lines per detail block
    std::size_t preparedBlocks = 1;      // detail blocks the template holds (RESERVE)
    std::vector<FieldSlot> fields;       // every field's cell, format text and colours
    std::vector<int> header;             // per field: own-block level index, or -1 for detail
    std::vector<std::size_t> writeLevel; // per field: written when the changed level <= this
    std::vector<bool> asText;            // per field: written without its format text
    // Texts of the detail block's first line in cross positions without a detail field,
    // copied into every added line (labels, units).
    std::vector<std::pair<std::size_t, std::string>> staticTexts;
};

class GroupPage {
public:
    GroupPage(pptx::TableEditor& table, const GroupedTemplate& layout,
              const LocaleConventions& conventions);
    GroupPage(const GroupPage&) = delete;
    GroupPage& operator=(const GroupPage&) = delete;

    // Writes the header blocks of the levels from firstLevel inwards and removes the blocks
    // of the outer levels. Call once, before the page's first detail.
    void Begin(std::size_t firstLevel, const std::vector<odbc::FieldValue>& values);
    // Writes one record's detail block; fields of group levels outside `changed` stay empty.
    void WriteDetail(std::size_t changed, const std::vector<odbc::FieldValue>& values);
    // Removes the detail blocks left unfilled and, unless this is the last page, the lines
    // below the detail (totals belong to the end of the table).
    void Finish(bool lastPage);

private:
    void WriteField(std::size_t field, std::size_t line, const odbc::FieldValue& value);
    void AddDetailLine(std::size_t before);

    TableLines m_lines;
    const GroupedTemplate& m_layout;
    const LocaleConventions& m_conventions;
    std::size_t m_detailFirst = 0;    // the detail block's first line on this page
    std::size_t m_availableLines = 0; // detail lines prepared or added, filled or not
    std::size_t m_records = 0;        // detail blocks written
};

} // namespace slidesmith::fill
