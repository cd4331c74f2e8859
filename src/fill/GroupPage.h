#pragma once

#include "fill/GroupedTemplate.h"
#include "fill/TableLines.h"
#include "fill/TablePictures.h"

#include <cstddef>
#include <vector>

// Writes the records of one page of a grouped table into that page's copy of the template
// table. Header blocks are written where the template holds them, at most once a page (pages
// break at every new group of the innermost level with a header block); detail blocks fill the
// prepared blocks below them and then grow one line at a time in front of the last unfilled
// block, so an added line is formatted like a template detail line and each addition shifts
// only the lines below it. Pictures of image fields are placed when the page is finished,
// once its lines no longer move.
namespace slidesmith::fill {

class GroupPage {
public:
    GroupPage(pptx::TableEditor& table, const GroupedTemplate& layout,
              const LocaleConventions& conventions, TablePictures& pictures);
    GroupPage(const GroupPage&) = delete;
    GroupPage& operator=(const GroupPage&) = delete;

    // Writes the header blocks of the levels from firstLevel inwards and removes the blocks
    // of the outer levels. Call once, before the page's first detail.
    void Begin(std::size_t firstLevel, const std::vector<odbc::FieldValue>& values);
    // Writes one record's detail block; fields of group levels outside `changed` stay empty.
    void WriteDetail(std::size_t changed, const std::vector<odbc::FieldValue>& values);
    // Removes the detail blocks left unfilled and, unless this is the last page, the lines
    // below the detail (totals belong to the end of the table); then places the pictures.
    void Finish(bool lastPage);

private:
    struct PendingPicture {
        std::size_t field = 0;
        std::size_t line = 0; // where the field's cell is once the page's lines are final
        odbc::FieldValue value;
    };

    void WriteField(std::size_t field, std::size_t line, const odbc::FieldValue& value);
    void AddDetailLine(std::size_t before);

    TableLines m_lines;
    const GroupedTemplate& m_layout;
    const LocaleConventions& m_conventions;
    TablePictures& m_pictures;
    std::vector<PendingPicture> m_pending;
    std::size_t m_detailFirst = 0;    // the detail block's first line on this page
    std::size_t m_availableLines = 0; // detail lines prepared or added, filled or not
    std::size_t m_records = 0;        // detail blocks written
};

} // namespace slidesmith::fill
