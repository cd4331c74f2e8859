#include "fill/FixedTableFill.h"

#include "fill/TablePictures.h"

#include <exception>

namespace slidesmith::fill {

namespace {

// An image field's picture; a later block's own settings text is read and cleared like the
// first block's.
void PlaceFixedPicture(TablePictures& pictures, pptx::TextBody cell, bool ownSettings,
                       std::size_t row, std::size_t column, const FieldSlot& field,
                       const odbc::FieldValue& value) {
    ImageSettings settings = field.imageSettings;
    if (ownSettings) {
        const std::string own = cell.Text();
        if (!own.empty()) {
            settings = ReadImageSettings(own);
            cell.SetText("");
        }
    }
    pictures.Place(row, column, value, settings);
}

bool WriteFixedRecords(TableFillContext& context, pptx::TableEditor& table,
                       const TemplateColourReader& colourReader, const TableFillPlan& plan,
                       TablePictures& pictures) {
    const bool byRow = plan.order != FillOrder::Col;
    std::size_t offset = 0;
    for (std::size_t k = 0; k < plan.recordCount; ++k) {
        if (!ReportRecordProgress(context, plan, k + 1)) {
            return false;
        }
        for (std::size_t i = 0; i < plan.fields.size(); ++i) {
            const FieldSlot& field = plan.fields[i];
            const odbc::FieldValue value = context.records.ReadValue(i);
            const std::size_t row = static_cast<std::size_t>(field.cell.row) + (byRow ? offset : 0);
            const std::size_t column =
                static_cast<std::size_t>(field.cell.column) + (byRow ? 0 : offset);
            pptx::TextBody cell = table.CellText(row, column);
            if (field.image) {
                PlaceFixedPicture(pictures, cell, k > 0, row, column, field, value);
                continue;
            }
            if (k == 0) {
                WriteCellValue(cell, value, field.templateText, field, field.colours,
                               FillKind::Fixed, context.options.conventions);
                continue;
            }
            // A later block may carry its own format texts (a different colour for a total).
            const std::string own = cell.Text();
            if (own.empty()) {
                WriteCellValue(cell, value, field.templateText, field, field.colours,
                               FillKind::Fixed, context.options.conventions);
            } else {
                const TemplateColours colours =
                    field.kind == ValueKind::Number ? colourReader.Read(cell, own) : field.colours;
                WriteCellValue(cell, value, own, field, colours, FillKind::Fixed,
                               context.options.conventions);
            }
        }
        offset += static_cast<std::size_t>(plan.blockLength);
        context.records.MoveNext();
    }
    if (plan.progressInterval > 0) {
        context.reporter.WriteLine("Process complete.");
    }
    if (plan.recordCount == 0) {
        // Without records the format texts must not stay behind as if they were data.
        for (const FieldSlot& field : plan.fields) {
            table
                .CellText(static_cast<std::size_t>(field.cell.row),
                          static_cast<std::size_t>(field.cell.column))
                .SetText("");
        }
    }
    return true;
}

} // namespace

TableFillResult FillFixedTable(TableFillContext& context) {
    TableFillResult result;
    result.slideIndex = context.slideIndex;
    FillPhase phase = FillPhase::CellList;
    try {
        pptx::SlidePart& slide = context.presentation.Slide(context.slideIndex);
        pptx::TableEditor table = slide.Table(context.tableShape);
        const TemplateColourReader colourReader(slide, context.tableShape);
        const std::optional<TableFillPlan> plan =
            StartTableFill(context, table, colourReader, phase);
        if (plan) {
            TablePictures pictures(*plan, slide, table, context.tableShape);
            result.success = WriteFixedRecords(context, table, colourReader, *plan, pictures);
        }
    } catch (const std::exception& error) {
        LogFillFailure(context, phase, context.slideIndex, error.what());
        return result;
    }
    CloseRecords(context.records);
    return result;
}

} // namespace slidesmith::fill
