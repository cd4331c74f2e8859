#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::pptx {

class TextBody;

// What a text's colour may inherit from outside its own part; the package layer fills it from
// the slide's theme, master and layout and from ppt/tableStyles.xml.
struct ColourContext {
    // a:clrScheme of the theme: "dk1", "lt1", "dk2", "lt2", "accent1".."accent6", "hlink",
    // "folHlink" -> 0xRRGGBB. Fill it with LoadScheme.
    std::map<std::string, std::uint32_t, std::less<>> scheme;
    // The colour map in force (p:clrMap of the master, or a slide's override): "tx1" -> "dk1",
    // ... Fill it with LoadColourMap; when empty the usual tx1=dk1, bg1=lt1, tx2=dk2, bg2=lt2.
    std::map<std::string, std::string, std::less<>> colourMap;
    // The a:tblStyle the table refers to (a:tableStyleId), or the built-in style PowerPoint
    // would use; null when the table has none. Only read for table cells.
    pugi::xml_node tableStyle;
    // Inherited list styles, nearest first: the layout placeholder's a:lstStyle, the master
    // placeholder's, then the master's p:titleStyle/p:bodyStyle/p:otherStyle or the
    // presentation's p:defaultTextStyle. Each holds a:lvl1pPr..a:lvl9pPr children.
    std::vector<pugi::xml_node> listStyles;

    void LoadScheme(pugi::xml_node clrScheme);
    void LoadColourMap(pugi::xml_node clrMap);
};

// PowerPoint's style for new tables, "Medium Style 2 - Accent 1". PowerPoint knows its built-in
// styles without ppt/tableStyles.xml listing them, so a table may name one the part lacks; this
// is its a:tblStyle (text colours and boldness only) for the context's tableStyle then.
inline constexpr std::string_view kDefaultTableStyleId = "{5C22544A-7EE6-4342-B048-85BDC9FD1C3A}";
std::string_view DefaultTableStyleXml();

// Resolves the colour a reader sees for a text, and writes colours as plain RGB. Resolution
// stops at the first level that states a fill: the run's properties, the body's own list style
// for the paragraph's level, for a table cell the table style's text colour of the parts that
// apply to the cell, the shape's style font reference, the inherited list styles, and finally
// the theme's tx1. Scheme colours go through the colour map; lumMod/lumOff/satMod/hue are
// applied in HSL, tint/shade on linear RGB, in document order.
class ColourResolver {
public:
    explicit ColourResolver(const ColourContext& context);

    // The font colour of the character at `position` (see TextBody::LocationAt).
    std::uint32_t TextColour(const TextBody& body, std::size_t position) const;

    // The colour of a colour element (a:srgbClr, a:schemeClr, a:sysClr, a:prstClr, a:scrgbClr,
    // a:hslClr) with its transforms; nothing when it is none of these or names an unknown
    // scheme colour.
    std::optional<std::uint32_t> ColourOf(pugi::xml_node colour) const;

    // Colour of a fill-holding element (a:rPr, a:defRPr, a:endParaRPr): its a:solidFill, or the
    // first stop of an a:gradFill; nothing when it states no fill.
    std::optional<std::uint32_t> FillColourOf(pugi::xml_node properties) const;

    // Replaces the fill of a:rPr / a:endParaRPr / a:defRPr with <a:solidFill><a:srgbClr/>,
    // placed where CT_TextCharacterProperties wants it (after a:ln).
    static void WriteSolidFill(pugi::xml_node properties, std::uint32_t rgb);

private:
    std::optional<std::uint32_t> SchemeColour(std::string_view name) const;
    std::optional<std::uint32_t> TableStyleColour(pugi::xml_node cell) const;
    std::optional<std::uint32_t> ListStyleColour(pugi::xml_node listStyle, int level) const;

    const ColourContext* m_context;
};

} // namespace slidesmith::pptx
