#include "fill/NamedShape.h"

namespace slidesmith::fill {
namespace {

pptx::Shape FindInGroups(const std::vector<pptx::Shape>& shapes, std::string_view name) {
    for (const pptx::Shape& shape : shapes) {
        if (shape.Kind() != pptx::ShapeKind::Group)
            continue;
        const std::vector<pptx::Shape> members = shape.Children();
        for (const pptx::Shape& member : members) {
            if (member.Name() == name)
                return member;
        }
        if (pptx::Shape nested = FindInGroups(members, name))
            return nested;
    }
    return {};
}

} // namespace

pptx::Shape FindNamedShape(pptx::SlidePart& slide, std::string_view name) {
    pptx::ShapeTree& shapes = slide.Shapes();
    if (pptx::Shape found = shapes.Find(name))
        return found;
    return FindInGroups(shapes.Shapes(), name);
}

} // namespace slidesmith::fill
