#pragma once

#include <pugixml.hpp>
#include <string>

namespace slidesmith::pptx::test {

// A p:graphicFrame with a table drawn as text: rows separated by "|", one character per grid
// position; equal letters form one merged (rectangular) area whose anchor holds that letter.
// Row i is 100 * (i + 1) EMU high, column j 1000 * (j + 1) wide; rows and columns carry a16 ids
// 10 + index; anchors have a bold 11 pt run and tcPr marL="1".
std::string TableFrameXml(const std::string& picture);

// The table drawn the same way: each grid position shows the first letter of its merge anchor's
// text, or, for anchors without text, a digit numbering them in reading order from 1.
std::string DrawTable(pugi::xml_node table);

// The rules PowerPoint checks on a table's structure: one a:tc per a:gridCol, spans inside the grid
// and covering cells flagged exactly as covered, no stray merge flags, unique a16 ids, and the
// frame's extent equal to the summed widths and heights. "" when all hold, else the problems.
std::string TableProblems(pugi::xml_node graphicFrame);

} // namespace slidesmith::pptx::test
