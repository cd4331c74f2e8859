#include "SlideShapes.h"

#include "TestToolError.h"
#include "XmlText.h"

#include <algorithm>
#include <sstream>

namespace slidesmith::testtools::SlideShapes {
namespace {

constexpr const char* kA16 = "http://schemas.microsoft.com/office/drawing/2014/main";

std::string Transform(const char* tag, const Box& box) {
    return std::string("<") + tag + "><a:off" + Attribute("x", box.x) + Attribute("y", box.y) +
           "/><a:ext" + Attribute("cx", box.cx) + Attribute("cy", box.cy) + "/></" + tag + ">";
}

std::string RunProperties(const char* tag, const TextFormat& format) {
    std::string text = std::string("<") + tag + " lang=\"en-US\"";
    if (format.sizeHundredths > 0) {
        text += Attribute("sz", format.sizeHundredths);
    }
    if (format.bold) {
        text += " b=\"1\"";
    }
    if (format.colour.empty()) {
        return text + " dirty=\"0\"/>";
    }
    return text + " dirty=\"0\"><a:solidFill><a:srgbClr" + Attribute("val", format.colour) +
           "/></a:solidFill></" + tag + ">";
}

// One run, or with section colours one run per ';'-separated section, each ';' ending the run
// before it.
std::string Runs(const std::string& line, const TextFormat& format) {
    if (format.sectionColours.empty()) {
        return "<a:r>" + RunProperties("a:rPr", format) + "<a:t>" + Escape(line) + "</a:t></a:r>";
    }
    std::string out;
    std::size_t start = 0;
    for (std::size_t section = 0; start < line.size(); ++section) {
        std::size_t end = line.find(';', start);
        end = end == std::string::npos ? line.size() : end + 1;
        TextFormat sectionFormat = format;
        sectionFormat.colour =
            format.sectionColours[std::min(section, format.sectionColours.size() - 1)];
        out += "<a:r>" + RunProperties("a:rPr", sectionFormat) + "<a:t>" +
               Escape(line.substr(start, end - start)) + "</a:t></a:r>";
        start = end;
    }
    return out;
}

// One a:p per line; an empty line keeps its formatting in a:endParaRPr alone.
std::string Paragraphs(const std::string& text, const TextFormat& format) {
    std::string out;
    std::stringstream stream(text);
    std::string line;
    bool any = false;
    while (std::getline(stream, line, '\n')) {
        any = true;
        out += "<a:p>";
        if (!line.empty()) {
            out += Runs(line, format);
        }
        out += RunProperties("a:endParaRPr", format) + "</a:p>";
    }
    if (!any) {
        out = "<a:p>" + RunProperties("a:endParaRPr", format) + "</a:p>";
    }
    return out;
}

std::string Extension(const char* uri, const std::string& body) {
    return std::string("<a:extLst><a:ext uri=\"") + uri + "\">" + body + "</a:ext></a:extLst>";
}

// a16:rowId/colId values look random like PowerPoint's, stay below 2^32 and never repeat: the
// step is prime to the modulus.
std::int64_t UniqueId(std::int64_t base, std::size_t index) {
    return base + static_cast<std::int64_t>(index) * 104729 % 1000000000;
}

struct CellRole {
    bool hMerge = false;
    bool vMerge = false;
};

std::vector<std::vector<CellRole>> MergeRoles(const TableShape& table, std::size_t rows,
                                              std::size_t columns) {
    std::vector<std::vector<CellRole>> roles(rows, std::vector<CellRole>(columns));
    for (std::size_t r = 0; r < table.cells.size() && r < rows; ++r) {
        for (std::size_t c = 0; c < table.cells[r].size() && c < columns; ++c) {
            const TableCell& cell = table.cells[r][c];
            if (cell.gridSpan < 1 || cell.rowSpan < 1 ||
                c + static_cast<std::size_t>(cell.gridSpan) > columns ||
                r + static_cast<std::size_t>(cell.rowSpan) > rows) {
                throw TestToolError("table \"" + table.name + "\" cell (" + std::to_string(r) +
                                    ", " + std::to_string(c) + ") spans past the grid");
            }
            for (std::size_t dr = 0; dr < static_cast<std::size_t>(cell.rowSpan); ++dr) {
                for (std::size_t dc = 0; dc < static_cast<std::size_t>(cell.gridSpan); ++dc) {
                    roles[r + dr][c + dc].hMerge |= dc > 0;
                    roles[r + dr][c + dc].vMerge |= dr > 0;
                }
            }
        }
    }
    return roles;
}

std::string Cell(const TableShape& table, std::size_t r, std::size_t c, const CellRole& role) {
    static const TableCell kEmpty;
    const TableCell& cell =
        r < table.cells.size() && c < table.cells[r].size() ? table.cells[r][c] : kEmpty;
    const bool covered = role.hMerge || role.vMerge;
    std::string attributes;
    if (!covered && cell.rowSpan > 1) {
        attributes += Attribute("rowSpan", cell.rowSpan);
    }
    if (!covered && cell.gridSpan > 1) {
        attributes += Attribute("gridSpan", cell.gridSpan);
    }
    if (role.hMerge) {
        attributes += " hMerge=\"1\"";
    }
    if (role.vMerge) {
        attributes += " vMerge=\"1\"";
    }
    // A covered cell still needs a full text body: PowerPoint repairs an empty a:tc.
    return "<a:tc" + attributes + "><a:txBody><a:bodyPr/><a:lstStyle/>" +
           Paragraphs(covered ? std::string() : cell.text, cell.format) +
           "</a:txBody><a:tcPr/></a:tc>";
}

} // namespace

std::string DefaultPlaceholderName(int id, PlaceholderShape::Type type) {
    switch (type) {
    case PlaceholderShape::Type::Title:
    case PlaceholderShape::Type::CenteredTitle:
        return "Title " + std::to_string(id - 1);
    case PlaceholderShape::Type::Subtitle:
        return "Subtitle " + std::to_string(id - 1);
    case PlaceholderShape::Type::Body:
        return "Content Placeholder " + std::to_string(id - 1);
    }
    return {};
}

std::string Placeholder(int id, const PlaceholderShape& shape) {
    const char* ph = "<p:ph type=\"title\"/>";
    switch (shape.type) {
    case PlaceholderShape::Type::Title:
        break;
    case PlaceholderShape::Type::CenteredTitle:
        ph = "<p:ph type=\"ctrTitle\"/>";
        break;
    case PlaceholderShape::Type::Subtitle:
        ph = "<p:ph type=\"subTitle\" idx=\"1\"/>";
        break;
    case PlaceholderShape::Type::Body:
        ph = "<p:ph idx=\"1\"/>";
        break;
    }
    const std::string name =
        shape.name.empty() ? DefaultPlaceholderName(id, shape.type) : shape.name;
    return "<p:sp><p:nvSpPr><p:cNvPr" + Attribute("id", id) + Attribute("name", name) +
           "/><p:cNvSpPr><a:spLocks noGrp=\"1\"/></p:cNvSpPr><p:nvPr>" + ph +
           "</p:nvPr></p:nvSpPr><p:spPr/><p:txBody><a:bodyPr/><a:lstStyle/>" +
           Paragraphs(shape.text, {}) + "</p:txBody></p:sp>";
}

std::string Text(int id, const TextShape& shape) {
    return "<p:sp><p:nvSpPr><p:cNvPr" + Attribute("id", id) + Attribute("name", shape.name) +
           "/><p:cNvSpPr txBox=\"1\"/><p:nvPr/></p:nvSpPr><p:spPr>" +
           Transform("a:xfrm", shape.box) +
           "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom><a:noFill/></p:spPr><p:txBody>"
           "<a:bodyPr wrap=\"square\" rtlCol=\"0\"><a:spAutoFit/></a:bodyPr><a:lstStyle/>" +
           Paragraphs(shape.text, shape.format) + "</p:txBody></p:sp>";
}

std::string Table(int id, const TableShape& shape) {
    const std::size_t columns = shape.columnWidths.size();
    const std::size_t rows = shape.rowHeights.size();
    if (columns == 0 || rows == 0 || shape.cells.size() > rows) {
        throw TestToolError("table \"" + shape.name +
                            "\" needs a width per column and a height "
                            "per row, and no more cell rows than heights");
    }
    for (const auto& row : shape.cells) {
        if (row.size() > columns) {
            throw TestToolError("table \"" + shape.name +
                                "\" has a row with more cells than "
                                "column widths");
        }
    }
    const auto roles = MergeRoles(shape, rows, columns);
    Box frame = shape.box;
    frame.cx = 0;
    frame.cy = 0;
    std::string grid;
    for (std::size_t c = 0; c < columns; ++c) {
        frame.cx += shape.columnWidths[c];
        grid += "<a:gridCol" + Attribute("w", shape.columnWidths[c]);
        grid += shape.rowAndColumnIds
                    ? ">" +
                          Extension("{9D8B030D-6E8A-4147-A177-3AD203B41FA5}",
                                    std::string("<a16:colId xmlns:a16=\"") + kA16 + "\"" +
                                        Attribute("val", UniqueId(1000000000, c)) + "/>") +
                          "</a:gridCol>"
                    : "/>";
    }
    std::string body;
    for (std::size_t r = 0; r < rows; ++r) {
        frame.cy += shape.rowHeights[r];
        body += "<a:tr" + Attribute("h", shape.rowHeights[r]) + ">";
        for (std::size_t c = 0; c < columns; ++c) {
            body += Cell(shape, r, c, roles[r][c]);
        }
        if (shape.rowAndColumnIds) {
            body += Extension("{0D108BD9-81ED-4DB2-BD59-A6C34878D82A}",
                              std::string("<a16:rowId xmlns:a16=\"") + kA16 + "\"" +
                                  Attribute("val", UniqueId(2000000000, r)) + "/>");
        }
        body += "</a:tr>";
    }
    std::string properties = "<a:tblPr";
    properties += shape.firstRow ? " firstRow=\"1\"" : "";
    properties += shape.bandRow ? " bandRow=\"1\"" : "";
    properties += shape.styleId.empty()
                      ? "/>"
                      : "><a:tableStyleId>" + Escape(shape.styleId) + "</a:tableStyleId></a:tblPr>";
    return "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr" + Attribute("id", id) +
           Attribute("name", shape.name) +
           "/><p:cNvGraphicFramePr><a:graphicFrameLocks "
           "noGrp=\"1\"/></p:cNvGraphicFramePr><p:nvPr/>"
           "</p:nvGraphicFramePr>" +
           Transform("p:xfrm", frame) +
           "<a:graphic><a:graphicData "
           "uri=\"http://schemas.openxmlformats.org/drawingml/2006/table\">"
           "<a:tbl>" +
           properties + "<a:tblGrid>" + grid + "</a:tblGrid>" + body +
           "</a:tbl></a:graphicData></a:graphic></p:graphicFrame>";
}

std::string Picture(int id, const PictureShape& shape, const std::string& relationshipId) {
    return "<p:pic><p:nvPicPr><p:cNvPr" + Attribute("id", id) + Attribute("name", shape.name) +
           "/><p:cNvPicPr><a:picLocks noChangeAspect=\"1\"/></p:cNvPicPr><p:nvPr/></p:nvPicPr>"
           "<p:blipFill><a:blip" +
           Attribute("r:embed", relationshipId) +
           "/><a:stretch><a:fillRect/></a:stretch></p:blipFill><p:spPr>" +
           Transform("a:xfrm", shape.box) +
           "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></p:spPr></p:pic>";
}

std::string ChartFrame(int id, const ChartShape& shape, const std::string& relationshipId) {
    return "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr" + Attribute("id", id) +
           Attribute("name", shape.name) +
           "/><p:cNvGraphicFramePr/><p:nvPr/></p:nvGraphicFramePr>" +
           Transform("p:xfrm", shape.box) +
           "<a:graphic><a:graphicData "
           "uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\">"
           "<c:chart xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"" +
           Attribute("r:id", relationshipId) + "/></a:graphicData></a:graphic></p:graphicFrame>";
}

} // namespace slidesmith::testtools::SlideShapes
