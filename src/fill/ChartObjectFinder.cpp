#include "fill/ChartObjectFinder.h"

namespace slidesmith::fill {

bool IsChartProgId(std::string_view progId) {
    return IsGraphProgId(progId) || progId.starts_with("Excel.Chart") ||
           progId.starts_with("Excel.Sheet");
}

bool IsGraphProgId(std::string_view progId) {
    return progId.starts_with("MSGraph.Chart");
}

pptx::Shape FindChartObject(pptx::SlidePart& slide, int ordinal) {
    if (ordinal < 1) {
        return {};
    }
    int seen = 0;
    for (const pptx::Shape& shape : slide.Shapes().Shapes()) {
        if (IsChartProgId(slide.ProgId(shape)) && ++seen == ordinal) {
            return shape;
        }
    }
    return {};
}

} // namespace slidesmith::fill
