#include "TableTestSupport.h"

#include <map>
#include <set>
#include <sstream>
#include <vector>

namespace slidesmith::pptx::test {
namespace {

std::vector<std::string> SplitRows(const std::string& picture) {
    std::vector<std::string> rows;
    std::stringstream in(picture);
    std::string row;
    while (std::getline(in, row, '|')) {
        rows.push_back(row);
    }
    return rows;
}

std::string IdExtension(const char* uri, const char* name, std::size_t value) {
    return std::string("<a:extLst><a:ext uri=\"") + uri + "\"><a16:" + name + " val=\"" +
           std::to_string(value) + "\"/></a:ext></a:extLst>";
}

long long Int(pugi::xml_node node, const char* name, long long fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    return attribute ? attribute.as_llong() : fallback;
}

bool Flag(pugi::xml_node cell, const char* name) {
    const std::string value = cell.attribute(name).value();
    return value == "1" || value == "true";
}

std::vector<std::vector<pugi::xml_node>> Cells(pugi::xml_node table) {
    std::vector<std::vector<pugi::xml_node>> rows;
    for (pugi::xml_node row : table.children("a:tr")) {
        rows.emplace_back();
        for (pugi::xml_node cell : row.children("a:tc")) {
            rows.back().push_back(cell);
        }
    }
    return rows;
}

} // namespace

std::string TableFrameXml(const std::string& picture) {
    const std::vector<std::string> rows = SplitRows(picture);
    const std::size_t columns = rows.front().size();
    long long width = 0;
    long long height = 0;
    std::ostringstream grid;
    for (std::size_t j = 0; j < columns; ++j) {
        width += 1000 * static_cast<long long>(j + 1);
        grid << "<a:gridCol w=\"" << 1000 * (j + 1) << "\">"
             << IdExtension("{9D8B030D-6E8A-4147-A177-3AD203B41FA5}", "colId", 10 + j)
             << "</a:gridCol>";
    }
    std::ostringstream body;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        height += 100 * static_cast<long long>(i + 1);
        body << "<a:tr h=\"" << 100 * (i + 1) << "\">";
        for (std::size_t j = 0; j < columns; ++j) {
            const char letter = rows[i][j];
            const bool left = j > 0 && rows[i][j - 1] == letter;
            const bool above = i > 0 && rows[i - 1][j] == letter;
            body << "<a:tc";
            if (!left && !above) {
                std::size_t span = 1;
                while (j + span < columns && rows[i][j + span] == letter) {
                    ++span;
                }
                std::size_t down = 1;
                while (i + down < rows.size() && rows[i + down][j] == letter) {
                    ++down;
                }
                if (span > 1) {
                    body << " gridSpan=\"" << span << "\"";
                }
                if (down > 1) {
                    body << " rowSpan=\"" << down << "\"";
                }
                body << "><a:txBody><a:bodyPr/><a:lstStyle/><a:p><a:pPr algn=\"r\"/><a:r>"
                        "<a:rPr lang=\"en-US\" sz=\"1100\" b=\"1\" dirty=\"0\"/><a:t>"
                     << letter << "</a:t></a:r></a:p></a:txBody><a:tcPr marL=\"1\"/></a:tc>";
            } else {
                body << (left ? " hMerge=\"1\"" : "") << (above ? " vMerge=\"1\"" : "")
                     << "><a:txBody><a:bodyPr/><a:lstStyle/><a:p><a:endParaRPr lang=\"en-US\"/>"
                        "</a:p></a:txBody><a:tcPr/></a:tc>";
            }
        }
        body << IdExtension("{0D108BD9-81ED-4DB2-BD59-A6C34878D82A}", "rowId", 10 + i) << "</a:tr>";
    }
    std::ostringstream frame;
    frame << "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"4\" name=\"Table 3\"/>"
             "<p:cNvGraphicFramePr/><p:nvPr/></p:nvGraphicFramePr><p:xfrm><a:off x=\"5\" "
             "y=\"7\"/><a:ext cx=\""
          << width << "\" cy=\"" << height
          << "\"/></p:xfrm><a:graphic><a:graphicData "
             "uri=\"http://schemas.openxmlformats.org/drawingml/2006/table\"><a:tbl>"
             "<a:tblPr firstRow=\"1\" bandRow=\"1\"/><a:tblGrid>"
          << grid.str() << "</a:tblGrid>" << body.str()
          << "</a:tbl></a:graphicData></a:graphic></p:graphicFrame>";
    return frame.str();
}

std::string DrawTable(pugi::xml_node table) {
    const auto cells = Cells(table);
    std::map<pugi::xml_node, char> emptyAnchors;
    char nextDigit = '1';
    std::string drawing;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            drawing += '|';
        }
        for (std::size_t j = 0; j < cells[i].size(); ++j) {
            std::size_t r = i;
            std::size_t c = j;
            while (c > 0 && Flag(cells[r][c], "hMerge")) {
                --c;
            }
            while (r > 0 && Flag(cells[r][c], "vMerge")) {
                --r;
            }
            const pugi::xml_node anchor = cells[r][c];
            std::string text;
            for (pugi::xpath_node t : anchor.select_nodes(".//a:t")) {
                text += t.node().child_value();
            }
            if (text.empty()) {
                auto [entry, added] = emptyAnchors.emplace(anchor, nextDigit);
                if (added) {
                    ++nextDigit;
                }
                drawing += entry->second;
            } else {
                drawing += text.front();
            }
        }
    }
    return drawing;
}

std::string TableProblems(pugi::xml_node frame) {
    std::ostringstream problems;
    const pugi::xml_node table = frame.child("a:graphic").child("a:graphicData").child("a:tbl");
    long long width = 0;
    std::size_t columns = 0;
    std::set<std::string> columnIds;
    for (pugi::xml_node column : table.child("a:tblGrid").children("a:gridCol")) {
        width += Int(column, "w", -1);
        ++columns;
        for (pugi::xpath_node id : column.select_nodes(".//a16:colId")) {
            const std::string value = id.node().attribute("val").value();
            if (!columnIds.insert(value).second) {
                problems << "duplicate colId " << value << "; ";
            }
        }
    }
    const auto cells = Cells(table);
    long long height = 0;
    std::set<std::string> rowIds;
    for (pugi::xml_node row : table.children("a:tr")) {
        height += Int(row, "h", -1);
        for (pugi::xpath_node id : row.select_nodes("a:extLst/a:ext/a16:rowId")) {
            const std::string value = id.node().attribute("val").value();
            if (!rowIds.insert(value).second) {
                problems << "duplicate rowId " << value << "; ";
            }
        }
        if (row.last_child() != row.child("a:extLst") && row.child("a:extLst")) {
            problems << "row extLst is not last; ";
        }
    }
    // What each position must be: 0 free/anchor, 1 hMerge, 2 vMerge, 3 both.
    std::vector<std::vector<int>> expected(cells.size(), std::vector<int>(columns, -1));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].size() != columns) {
            problems << "row " << i + 1 << " has " << cells[i].size() << " cells for " << columns
                     << " columns; ";
            return problems.str();
        }
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (std::size_t j = 0; j < columns; ++j) {
            const pugi::xml_node cell = cells[i][j];
            if (Flag(cell, "hMerge") || Flag(cell, "vMerge")) {
                continue;
            }
            const auto span = static_cast<std::size_t>(Int(cell, "gridSpan", 1));
            const auto down = static_cast<std::size_t>(Int(cell, "rowSpan", 1));
            if (span < 1 || down < 1 || j + span > columns || i + down > cells.size()) {
                problems << "cell (" << i + 1 << ", " << j + 1 << ") spans outside the grid; ";
                continue;
            }
            for (std::size_t r = i; r < i + down; ++r) {
                for (std::size_t c = j; c < j + span; ++c) {
                    const int role = (c > j ? 1 : 0) | (r > i ? 2 : 0);
                    if (expected[r][c] != -1 && (r != i || c != j)) {
                        problems << "cell (" << r + 1 << ", " << c + 1 << ") covered twice; ";
                    }
                    expected[r][c] = role;
                }
            }
        }
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (std::size_t j = 0; j < columns; ++j) {
            const int actual =
                (Flag(cells[i][j], "hMerge") ? 1 : 0) | (Flag(cells[i][j], "vMerge") ? 2 : 0);
            if (expected[i][j] != actual) {
                problems << "cell (" << i + 1 << ", " << j + 1 << ") has merge flags " << actual
                         << " where " << expected[i][j] << " is due; ";
            }
        }
    }
    const pugi::xml_node extent = frame.child("p:xfrm").child("a:ext");
    if (Int(extent, "cx", -1) != width || Int(extent, "cy", -1) != height) {
        problems << "frame " << Int(extent, "cx", -1) << " x " << Int(extent, "cy", -1)
                 << " for a grid of " << width << " x " << height << "; ";
    }
    return problems.str();
}

} // namespace slidesmith::pptx::test
