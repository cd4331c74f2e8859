#pragma once

#include "platform/pptx/PartChangeSink.h"

#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace slidesmith::pptx::test {

// Counts change notifications, as the package's part object would act on them.
struct CountingSink : PartChangeSink {
    void MarkChanged() override { ++changes; }
    int changes = 0;
};

// Parses `body` inside an element declaring the DrawingML prefixes; fails the test on errors.
std::unique_ptr<pugi::xml_document> Parse(std::string_view body);
pugi::xml_node Find(pugi::xml_node root, const char* name);

// A part of a real presentation; "" when the fixture or the part is absent.
std::string RealPart(const std::string& file, const std::string& part);
bool HaveRealFixtures();

// A p:graphicFrame with a table drawn as text: rows separated by "|", one letter per grid
// position; equal letters form one rectangular merged area whose anchor holds the letter. Row i
// is 100 * (i + 1) high, column j 1000 * (j + 1) wide, a16 ids are 10 + index; anchors have a
// bold 11 pt run, a right-aligned paragraph and tcPr marL="1".
std::string TableFrameXml(const std::string& picture);

// The table drawn the same way; anchors without text are numbered in reading order from 1.
std::string DrawTable(pugi::xml_node table);

// What PowerPoint would repair in a table's structure: cells per row, spans inside the grid,
// covered cells flagged exactly as covered, duplicate a16 ids, a frame extent other than the
// sums of widths and heights. "" when all hold.
std::string TableProblems(pugi::xml_node graphicFrame);

} // namespace slidesmith::pptx::test
