#include "fill/TableLines.h"

namespace slidesmith::fill {

int TableOrdinal(pptx::SlidePart& slide, const pptx::Shape& tableShape) {
    int ordinal = 0;
    for (const pptx::Shape& shape : slide.Shapes().Shapes()) {
        if (shape.HasTable()) {
            ++ordinal;
            if (shape.Node() == tableShape.Node()) {
                return ordinal;
            }
        }
    }
    return 0;
}

void RemoveTableShape(pptx::SlidePart& slide, const pptx::Shape& target) {
    pptx::ShapeTree& shapes = slide.Shapes();
    for (std::size_t i = 1; i <= shapes.Count(); ++i) {
        if (shapes.Item(i).Node() == target.Node()) {
            shapes.Remove(i);
            return;
        }
    }
}

void DropTable(std::unique_ptr<pptx::TableEditor>& table, pptx::SlidePart& slide,
               const pptx::Shape& shape, TableFillResult& result) {
    table.reset();
    RemoveTableShape(slide, shape);
    result.tableDeleted = true;
}

void ClearFieldCells(TableLines& lines, const std::vector<FieldSlot>& fields, bool byRow) {
    for (const FieldSlot& field : fields) {
        lines.Text(LineOf(field.cell, byRow), CrossOf(field.cell, byRow)).SetText("");
    }
}

} // namespace slidesmith::fill
