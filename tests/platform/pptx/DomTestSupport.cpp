#include "DomTestSupport.h"

#include "PackageTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace slidesmith::pptx::test {
namespace {

std::string Flags(pugi::xml_node cell) {
    const auto on = [&cell](const char* name) {
        const std::string value = cell.attribute(name).value();
        return value == "1" || value == "true";
    };
    return std::string(on("hMerge") ? "h" : "") + (on("vMerge") ? "v" : "");
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

// Sum of `attribute` over `elements`, noting duplicate a16 ids found below them.
long long SumAndCheckIds(pugi::xpath_node_set elements, const char* attribute, const char* idPath,
                         std::ostringstream& problems) {
    long long sum = 0;
    std::set<std::string> ids;
    for (pugi::xpath_node element : elements) {
        sum += element.node().attribute(attribute).as_llong();
        for (pugi::xpath_node id : element.node().select_nodes(idPath)) {
            if (!ids.insert(id.node().attribute("val").value()).second) {
                problems << "duplicate " << idPath << " " << id.node().attribute("val").value()
                         << "; ";
            }
        }
    }
    return sum;
}

} // namespace

std::unique_ptr<pugi::xml_document> Parse(std::string_view body) {
    const std::string text =
        "<p:root xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
        " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
        " xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\""
        " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
        " xmlns:a16=\"http://schemas.microsoft.com/office/drawing/2014/main\">" +
        std::string(body) + "</p:root>";
    auto document = std::make_unique<pugi::xml_document>();
    const auto result =
        document->load_string(text.c_str(), pugi::parse_default | pugi::parse_ws_pcdata);
    EXPECT_TRUE(result) << result.description() << " in " << body;
    return document;
}

pugi::xml_node Find(pugi::xml_node root, const char* name) {
    return root.find_node(
        [name](pugi::xml_node node) { return std::string_view(node.name()) == name; });
}

bool HaveRealFixtures() {
    return std::filesystem::is_directory(testing::RealFixtures());
}

std::string RealPart(const std::string& file, const std::string& part) {
    try {
        return testing::ReadEntry(testing::RealFixtures() / file, part);
    } catch (const std::runtime_error&) {
        return ""; // the fixture or the part is absent
    }
}

std::string TableFrameXml(const std::string& picture) {
    std::vector<std::string> rows;
    std::stringstream in(picture);
    for (std::string row; std::getline(in, row, '|');) {
        rows.push_back(row);
    }
    const auto id = [](const char* uri, const char* name, std::size_t value) {
        return std::string("<a:extLst><a:ext uri=\"") + uri + "\"><a16:" + name + " val=\"" +
               std::to_string(10 + value) + "\"/></a:ext></a:extLst>";
    };
    std::ostringstream grid, body;
    long long width = 0, height = 0;
    for (std::size_t j = 0; j < rows[0].size(); ++j) {
        width += 1000 * static_cast<long long>(j + 1);
        grid << "<a:gridCol w=\"" << 1000 * (j + 1) << "\">" << id("{9D8B}", "colId", j)
             << "</a:gridCol>";
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        height += 100 * static_cast<long long>(i + 1);
        body << "<a:tr h=\"" << 100 * (i + 1) << "\">";
        for (std::size_t j = 0; j < rows[i].size(); ++j) {
            const char letter = rows[i][j];
            const bool left = j > 0 && rows[i][j - 1] == letter;
            const bool above = i > 0 && rows[i - 1][j] == letter;
            std::size_t span = 1, down = 1;
            while (j + span < rows[i].size() && rows[i][j + span] == letter) {
                ++span;
            }
            while (i + down < rows.size() && rows[i + down][j] == letter) {
                ++down;
            }
            body << "<a:tc" << (left ? " hMerge=\"1\"" : "") << (above ? " vMerge=\"1\"" : "");
            if (left || above) {
                body << "><a:txBody><a:bodyPr/><a:p><a:endParaRPr/></a:p></a:txBody><a:tcPr/>";
            } else {
                body << (span > 1 ? " gridSpan=\"" + std::to_string(span) + "\"" : "")
                     << (down > 1 ? " rowSpan=\"" + std::to_string(down) + "\"" : "")
                     << "><a:txBody><a:bodyPr/><a:lstStyle/><a:p><a:pPr algn=\"r\"/><a:r><a:rPr "
                        "lang=\"en-US\" sz=\"1100\" b=\"1\" dirty=\"0\"/><a:t>"
                     << letter << "</a:t></a:r></a:p></a:txBody><a:tcPr marL=\"1\"/>";
            }
            body << "</a:tc>";
        }
        body << id("{0D10}", "rowId", i) << "</a:tr>";
    }
    std::ostringstream frame;
    frame << "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"4\" name=\"T\"/>"
             "</p:nvGraphicFramePr><p:xfrm><a:off x=\"5\" y=\"7\"/><a:ext cx=\""
          << width << "\" cy=\"" << height
          << "\"/></p:xfrm><a:graphic><a:graphicData "
             "uri=\"http://schemas.openxmlformats.org/drawingml/2006/table\"><a:tbl><a:tblPr/>"
             "<a:tblGrid>"
          << grid.str() << "</a:tblGrid>" << body.str()
          << "</a:tbl></a:graphicData></a:graphic></p:graphicFrame>";
    return frame.str();
}

std::string DrawTable(pugi::xml_node table) {
    const auto cells = Cells(table);
    std::map<pugi::xml_node, char> numbers;
    std::string drawing;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        drawing += i > 0 ? "|" : "";
        for (std::size_t j = 0; j < cells[i].size(); ++j) {
            std::size_t r = i, c = j;
            while (c > 0 && Flags(cells[r][c]).find('h') != std::string::npos) {
                --c;
            }
            while (r > 0 && Flags(cells[r][c]).find('v') != std::string::npos) {
                --r;
            }
            const std::string text = cells[r][c].select_node(".//a:t").node().child_value();
            const char next = static_cast<char>('1' + numbers.size());
            drawing += text.empty() ? numbers.emplace(cells[r][c], next).first->second : text[0];
        }
    }
    return drawing;
}

std::string TableProblems(pugi::xml_node frame) {
    std::ostringstream problems;
    const pugi::xml_node table = frame.select_node(".//a:tbl").node();
    const long long width =
        SumAndCheckIds(table.select_nodes("a:tblGrid/a:gridCol"), "w", ".//a16:colId", problems);
    const long long height =
        SumAndCheckIds(table.select_nodes("a:tr"), "h", "a:extLst/a:ext/a16:rowId", problems);
    const auto cells = Cells(table);
    const std::size_t columns = table.select_nodes("a:tblGrid/a:gridCol").size();
    // The flags each grid position must carry, filled in from the anchors' spans.
    std::vector<std::vector<std::string>> due(cells.size(), std::vector<std::string>(columns));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].size() != columns) {
            return "row " + std::to_string(i + 1) + " has " + std::to_string(cells[i].size()) +
                   " cells for " + std::to_string(columns) + " columns";
        }
        for (std::size_t j = 0; j < columns; ++j) {
            const auto span = cells[i][j].attribute("gridSpan").as_ullong(1);
            const auto down = cells[i][j].attribute("rowSpan").as_ullong(1);
            if (!Flags(cells[i][j]).empty()) {
                continue;
            }
            if (j + span > columns || i + down > cells.size()) {
                problems << "cell (" << i + 1 << ", " << j + 1 << ") spans outside; ";
                continue;
            }
            for (std::size_t r = i; r < i + down; ++r) {
                for (std::size_t c = j; c < j + span; ++c) {
                    due[r][c] = std::string(c > j ? "h" : "") + (r > i ? "v" : "");
                }
            }
        }
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (std::size_t j = 0; j < columns; ++j) {
            if (Flags(cells[i][j]) != due[i][j]) {
                problems << "cell (" << i + 1 << ", " << j + 1 << ") is '" << Flags(cells[i][j])
                         << "', not '" << due[i][j] << "'; ";
            }
        }
    }
    const pugi::xml_node extent = frame.child("p:xfrm").child("a:ext");
    if (extent.attribute("cx").as_llong() != width || extent.attribute("cy").as_llong() != height) {
        problems << "frame " << extent.attribute("cx").value() << " x "
                 << extent.attribute("cy").value() << " for " << width << " x " << height;
    }
    return problems.str();
}

} // namespace slidesmith::pptx::test
