#include "platform/pptx/ColourResolver.h"

#include "platform/pptx/ColourMath.h"
#include "platform/pptx/TextBody.h"
#include "platform/pptx/XmlUtil.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace slidesmith::pptx {
namespace {

bool IsName(pugi::xml_node node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

std::optional<std::uint32_t> ParseHex(std::string_view text) {
    std::uint32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc{} || ptr != text.data() + text.size() || text.size() != 6) {
        return std::nullopt;
    }
    return value;
}

// The colour element among a node's children, if any (EG_ColorChoice).
pugi::xml_node ColourChild(pugi::xml_node node) {
    for (pugi::xml_node child : node.children()) {
        for (const char* name :
             {"a:srgbClr", "a:schemeClr", "a:sysClr", "a:prstClr", "a:scrgbClr", "a:hslClr"}) {
            if (IsName(child, name)) {
                return child;
            }
        }
    }
    return {};
}

// Position of a cell in its table, and the table's flags, for the table style's parts.
struct CellPlace {
    std::size_t row = 0, column = 0, rows = 0, columns = 0;
    bool firstRow = false, lastRow = false, firstCol = false, lastCol = false;
    bool bandRow = false, bandCol = false;
};

std::optional<CellPlace> PlaceOf(pugi::xml_node cell) {
    const pugi::xml_node row = cell.parent();
    const pugi::xml_node table = row.parent();
    if (!IsName(cell, "a:tc") || !IsName(table, "a:tbl")) {
        return std::nullopt;
    }
    CellPlace place;
    for (pugi::xml_node r = table.child("a:tr"); r; r = r.next_sibling("a:tr")) {
        if (r == row) {
            place.row = place.rows;
        }
        ++place.rows;
    }
    for (pugi::xml_node c = row.child("a:tc"); c; c = c.next_sibling("a:tc")) {
        if (c == cell) {
            place.column = place.columns;
        }
        ++place.columns;
    }
    const pugi::xml_node flags = table.child("a:tblPr");
    place.firstRow = xml::BoolAttribute(flags, "firstRow");
    place.lastRow = xml::BoolAttribute(flags, "lastRow");
    place.firstCol = xml::BoolAttribute(flags, "firstCol");
    place.lastCol = xml::BoolAttribute(flags, "lastCol");
    place.bandRow = xml::BoolAttribute(flags, "bandRow");
    place.bandCol = xml::BoolAttribute(flags, "bandCol");
    return place;
}

// The table style parts that format a cell, in the order PowerPoint lays them over each other
// (a later part wins). Banding counts from the first row or column after a header.
std::vector<const char*> PartsFor(const CellPlace& p) {
    const bool isFirstRow = p.firstRow && p.row == 0;
    const bool isLastRow = p.lastRow && p.row + 1 == p.rows;
    const bool isFirstCol = p.firstCol && p.column == 0;
    const bool isLastCol = p.lastCol && p.column + 1 == p.columns;
    std::vector<const char*> parts{"a:wholeTbl"};
    if (p.bandRow && !isFirstRow && !isLastRow) {
        const std::size_t band = p.row - (p.firstRow ? 1 : 0);
        parts.push_back(band % 2 == 0 ? "a:band1H" : "a:band2H");
    }
    if (p.bandCol && !isFirstCol && !isLastCol) {
        const std::size_t band = p.column - (p.firstCol ? 1 : 0);
        parts.push_back(band % 2 == 0 ? "a:band1V" : "a:band2V");
    }
    const std::array<std::pair<bool, const char*>, 8> corners{{
        {isLastCol, "a:lastCol"},
        {isFirstCol, "a:firstCol"},
        {isLastRow, "a:lastRow"},
        {isLastRow && isLastCol, "a:seCell"},
        {isLastRow && isFirstCol, "a:swCell"},
        {isFirstRow, "a:firstRow"},
        {isFirstRow && isLastCol, "a:neCell"},
        {isFirstRow && isFirstCol, "a:nwCell"},
    }};
    for (const auto& [applies, name] : corners) {
        if (applies) {
            parts.push_back(name);
        }
    }
    return parts;
}

int LevelOf(pugi::xml_node paragraph) {
    const auto level = xml::IntAttribute(paragraph.child("a:pPr"), "lvl", 0);
    return level >= 0 && level <= 8 ? static_cast<int>(level) + 1 : 1;
}

} // namespace

std::string_view DefaultTableStyleXml() {
    return "<a:tblStyle xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
           "styleId=\"{5C22544A-7EE6-4342-B048-85BDC9FD1C3A}\" "
           "styleName=\"Medium Style 2 - Accent 1\">"
           "<a:wholeTbl><a:tcTxStyle><a:schemeClr val=\"dk1\"/></a:tcTxStyle></a:wholeTbl>"
           "<a:lastCol><a:tcTxStyle b=\"on\"><a:schemeClr val=\"lt1\"/></a:tcTxStyle></a:lastCol>"
           "<a:firstCol><a:tcTxStyle b=\"on\"><a:schemeClr val=\"lt1\"/></a:tcTxStyle>"
           "</a:firstCol>"
           "<a:lastRow><a:tcTxStyle b=\"on\"><a:schemeClr val=\"lt1\"/></a:tcTxStyle></a:lastRow>"
           "<a:firstRow><a:tcTxStyle b=\"on\"><a:schemeClr val=\"lt1\"/></a:tcTxStyle>"
           "</a:firstRow></a:tblStyle>";
}

void ColourContext::LoadScheme(pugi::xml_node clrScheme) {
    for (pugi::xml_node entry : clrScheme.children()) {
        const std::string_view name = entry.name();
        if (name.substr(0, 2) != "a:") {
            continue;
        }
        const pugi::xml_node colour = ColourChild(entry);
        std::optional<std::uint32_t> rgb;
        if (IsName(colour, "a:srgbClr")) {
            rgb = ParseHex(colour.attribute("val").value());
        } else if (IsName(colour, "a:sysClr")) {
            rgb = ParseHex(colour.attribute("lastClr").value());
            if (!rgb) {
                rgb = std::string_view(colour.attribute("val").value()) == "window" ? 0xFFFFFFu
                                                                                    : 0x000000u;
            }
        }
        if (rgb) {
            scheme[std::string(name.substr(2))] = *rgb;
        }
    }
}

void ColourContext::LoadColourMap(pugi::xml_node clrMap) {
    for (pugi::xml_attribute attribute : clrMap.attributes()) {
        colourMap[attribute.name()] = attribute.value();
    }
}

ColourResolver::ColourResolver(const ColourContext& context) : m_context(&context) {}

std::optional<std::uint32_t> ColourResolver::SchemeColour(std::string_view name) const {
    std::string_view mapped = name;
    const auto& colourMap = m_context->colourMap;
    if (const auto found = colourMap.find(name); found != colourMap.end()) {
        mapped = found->second;
    } else if (name == "tx1") {
        mapped = "dk1";
    } else if (name == "bg1") {
        mapped = "lt1";
    } else if (name == "tx2") {
        mapped = "dk2";
    } else if (name == "bg2") {
        mapped = "lt2";
    }
    if (const auto found = m_context->scheme.find(mapped); found != m_context->scheme.end()) {
        return found->second;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ColourResolver::ColourOf(pugi::xml_node colour) const {
    std::optional<std::uint32_t> base;
    if (IsName(colour, "a:srgbClr")) {
        base = ParseHex(colour.attribute("val").value());
    } else if (IsName(colour, "a:schemeClr")) {
        base = SchemeColour(colour.attribute("val").value());
    } else if (IsName(colour, "a:sysClr")) {
        base = ParseHex(colour.attribute("lastClr").value());
        if (!base) {
            base = std::string_view(colour.attribute("val").value()) == "window" ? 0xFFFFFFu
                                                                                 : 0x000000u;
        }
    } else if (IsName(colour, "a:prstClr")) {
        base = colour::PresetColour(colour.attribute("val").value());
    } else if (IsName(colour, "a:scrgbClr")) {
        // Percentages of linear light; close enough to take them as sRGB shares for text.
        const auto channel = [&colour](const char* name) {
            const auto value = xml::IntAttribute(colour, name, 0);
            return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, 100000) * 255 /
                                              100000);
        };
        base = (channel("r") << 16) | (channel("g") << 8) | channel("b");
    }
    if (!base) {
        return std::nullopt;
    }
    return colour::ApplyTransforms(*base, colour);
}

std::optional<std::uint32_t> ColourResolver::FillColourOf(pugi::xml_node properties) const {
    if (const pugi::xml_node solid = properties.child("a:solidFill")) {
        return ColourOf(ColourChild(solid));
    }
    if (const pugi::xml_node gradient = properties.child("a:gradFill")) {
        return ColourOf(ColourChild(gradient.child("a:gsLst").child("a:gs")));
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ColourResolver::ListStyleColour(pugi::xml_node listStyle,
                                                             int level) const {
    char name[16];
    std::snprintf(name, sizeof name, "a:lvl%dpPr", level);
    return FillColourOf(listStyle.child(name).child("a:defRPr"));
}

std::optional<std::uint32_t> ColourResolver::TableStyleColour(pugi::xml_node cell) const {
    const auto place = PlaceOf(cell);
    if (!place || !m_context->tableStyle) {
        return std::nullopt;
    }
    std::optional<std::uint32_t> result;
    for (const char* partName : PartsFor(*place)) {
        const pugi::xml_node style = m_context->tableStyle.child(partName).child("a:tcTxStyle");
        pugi::xml_node colour = ColourChild(style);
        if (!colour) {
            colour = ColourChild(style.child("a:fontRef"));
        }
        if (const auto rgb = ColourOf(colour)) {
            result = rgb;
        }
    }
    return result;
}

std::uint32_t ColourResolver::TextColour(const TextBody& body, std::size_t position) const {
    const TextBody::Location location = body.LocationAt(position);
    pugi::xml_node properties = location.run.child("a:rPr");
    if (!location.run) {
        properties = location.paragraph.child("a:endParaRPr");
    }
    if (const auto rgb = FillColourOf(properties)) {
        return *rgb;
    }
    const int level = LevelOf(location.paragraph);
    if (const auto rgb = ListStyleColour(body.Node().child("a:lstStyle"), level)) {
        return *rgb;
    }
    const pugi::xml_node owner = body.Node().parent();
    if (const auto rgb = TableStyleColour(owner)) {
        return *rgb;
    }
    if (const auto rgb = ColourOf(ColourChild(owner.child("p:style").child("a:fontRef")))) {
        return *rgb;
    }
    for (pugi::xml_node listStyle : m_context->listStyles) {
        if (const auto rgb = ListStyleColour(listStyle, level)) {
            return *rgb;
        }
    }
    return SchemeColour("tx1").value_or(0x000000u);
}

void ColourResolver::WriteSolidFill(pugi::xml_node properties, std::uint32_t rgb) {
    for (const char* fill :
         {"a:noFill", "a:solidFill", "a:gradFill", "a:blipFill", "a:pattFill", "a:grpFill"}) {
        properties.remove_child(fill);
    }
    pugi::xml_node solid =
        xml::InsertInOrder(properties, "a:solidFill",
                           {"a:ln", "a:solidFill", "a:effectLst", "a:effectDag", "a:highlight",
                            "a:uLnTx", "a:uLn", "a:uFillTx", "a:uFill", "a:latin", "a:ea", "a:cs",
                            "a:sym", "a:hlinkClick", "a:hlinkMouseOver", "a:rtl", "a:extLst"});
    char hex[8];
    std::snprintf(hex, sizeof hex, "%06X", rgb & 0xFFFFFFu);
    solid.append_child("a:srgbClr").append_attribute("val").set_value(hex);
}

} // namespace slidesmith::pptx
