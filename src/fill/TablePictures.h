#pragma once

#include "fill/TableFillCommon.h"

#include <functional>
#include <vector>

namespace slidesmith::fill {

// Marks the fields the IMAGE list names as image fields: each one's template text (the text
// `textOf` gives for the field) becomes its size settings and is cleared. An entry naming no
// field is logged ("Syntax error. Failed to parse image.") and the result is false.
bool ResolveImageList(const std::vector<std::string>& entries, const RecordSource& records,
                      std::vector<FieldSlot>& fields,
                      const std::function<pptx::TextBody(std::size_t field)>& textOf,
                      FillReporter& reporter);

// The placer a fill with image fields and records needs; none otherwise.
std::shared_ptr<PicturePlacer> MakePicturePlacer(TableFillContext& context,
                                                 const std::vector<FieldSlot>& fields,
                                                 std::size_t recordCount);

// Places the pictures of image fields over the cells of one table on one page. Cell positions
// come from the table's frame and its row heights and column widths, added up once per page
// (the rows no longer change while a page is written).
class TablePictures {
public:
    TablePictures(const TableFillPlan& plan, pptx::SlidePart& slide, pptx::TableEditor& table,
                  const pptx::Shape& tableShape);

    // The picture of `value` over cell (row, column), both 1-based.
    void Place(std::size_t row, std::size_t column, const odbc::FieldValue& value,
               const ImageSettings& settings);

private:
    pptx::Rect CellRect(std::size_t row, std::size_t column);

    PicturePlacer* m_placer;
    pptx::SlidePart& m_slide;
    pptx::TableEditor& m_table;
    pptx::Shape m_tableShape;
    std::vector<std::int64_t> m_rowTops;     // offsets from the frame's top, one per row + 1
    std::vector<std::int64_t> m_columnLefts; // offsets from its left, one per column + 1
    pptx::Rect m_frame;
};

} // namespace slidesmith::fill
