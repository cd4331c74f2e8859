#include "fill/TablePictures.h"

#include "fill/FieldEntries.h"

#include <algorithm>

namespace slidesmith::fill {

bool ResolveImageList(const std::vector<std::string>& entries, const RecordSource& records,
                      std::vector<FieldSlot>& fields,
                      const std::function<pptx::TextBody(std::size_t field)>& textOf,
                      FillReporter& reporter) {
    const FieldEntryResult resolved = ResolveFieldEntries(entries, FieldNames(records));
    if (resolved.wrong) {
        reporter.LogError("Syntax error. Failed to parse image.",
                          "Can not find field \"" + *resolved.wrong + "\" in the image list.");
        return false;
    }
    for (const std::size_t index : resolved.fields) {
        FieldSlot& field = fields.at(index);
        if (field.image)
            continue; // listed twice: its text is already the settings, and now cleared
        field.image = true;
        field.imageSettings = ReadImageSettings(field.templateText);
        textOf(index).SetText("");
    }
    return true;
}

std::shared_ptr<PicturePlacer> MakePicturePlacer(TableFillContext& context,
                                                 const std::vector<FieldSlot>& fields,
                                                 std::size_t recordCount) {
    const bool anyImage =
        std::any_of(fields.begin(), fields.end(), [](const FieldSlot& f) { return f.image; });
    if (!anyImage || recordCount == 0)
        return nullptr;
    PictureOptions options{.templateFolder = context.options.templateFolder,
                           .connectTimeoutSeconds = context.options.connectTimeoutSeconds};
    return std::make_shared<PicturePlacer>(std::move(options), context.reporter,
                                           context.statement.Label, context.options.conventions);
}

TablePictures::TablePictures(const TableFillPlan& plan, pptx::SlidePart& slide,
                             pptx::TableEditor& table, const pptx::Shape& tableShape)
    : m_placer(plan.pictures.get()), m_slide(slide), m_table(table), m_tableShape(tableShape) {}

pptx::Rect TablePictures::CellRect(std::size_t row, std::size_t column) {
    if (m_rowTops.empty()) {
        m_frame = m_slide.Bounds(m_tableShape).value_or(pptx::Rect{});
        m_rowTops.push_back(0);
        for (std::size_t r = 1; r <= m_table.RowCount(); ++r)
            m_rowTops.push_back(m_rowTops.back() + m_table.RowHeight(r));
        m_columnLefts.push_back(0);
        for (std::size_t c = 1; c <= m_table.ColumnCount(); ++c)
            m_columnLefts.push_back(m_columnLefts.back() + m_table.ColumnWidth(c));
    }
    return {m_frame.x + m_columnLefts.at(column - 1), m_frame.y + m_rowTops.at(row - 1),
            m_columnLefts.at(column) - m_columnLefts.at(column - 1),
            m_rowTops.at(row) - m_rowTops.at(row - 1)};
}

void TablePictures::Place(std::size_t row, std::size_t column, const odbc::FieldValue& value,
                          const ImageSettings& settings) {
    if (m_placer == nullptr)
        return;
    m_placer->PlaceImage(m_slide, CellRect(row, column), m_table.CellText(row, column), value,
                         settings);
}

} // namespace slidesmith::fill
