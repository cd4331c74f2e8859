#pragma once

#include "platform/pptx/ColourResolver.h"
#include "platform/pptx/Package.h"
#include "platform/pptx/Shape.h"
#include "platform/pptx/ShapeTree.h"

#include <memory>
#include <optional>
#include <string>

namespace slidesmith::pptx {

// What one slide takes from outside its own part: placeholder geometry and text styles from its
// layout and master, the colour scheme of the master's theme, the colour map in force, table
// styles from ppt/tableStyles.xml and the presentation's default text style. The parts are
// found through relationships once, when first needed; a missing link just means nothing is
// inherited from there (PowerPoint shows such slides with its defaults).
class SlideInheritance {
public:
    SlideInheritance(Package& package, std::string slidePart);

    // Position and size of a placeholder that states none: its layout placeholder's, else the
    // master's. Nothing when neither states them.
    std::optional<Rect> InheritedBounds(const Shape& placeholder);

    // Everything ColourResolver needs for a text in `shape` (a table's style too).
    ColourContext ColourContextFor(const Shape& shape);

private:
    struct Tree {
        std::string part;
        std::unique_ptr<ShapeTree> shapes;
    };

    void Resolve();
    ShapeTree* Shapes(Tree& tree);
    std::string TargetOf(const std::string& source, std::string_view type);
    pugi::xml_node Root(const std::string& part);
    pugi::xml_node TableStyle(const Shape& table);
    void AddPlaceholderStyles(const Shape& shape, ColourContext& context);

    Package& m_package;
    std::string m_slide;
    bool m_resolved = false;
    Tree m_layout;
    Tree m_master;
    std::string m_theme;
    std::string m_presentation;
    pugi::xml_document m_builtInTableStyle;
};

} // namespace slidesmith::pptx
