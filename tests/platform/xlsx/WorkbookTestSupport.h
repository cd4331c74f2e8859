#pragma once

#include <string>
#include <vector>

// Builds small workbooks from XML text, zipped by the test helpers (not by the engine), so the
// engine reads exactly what a test wrote.
namespace slidesmith::xlsx::testing {

struct SheetSource {
    std::string name;
    std::string body;                // the children of <worksheet>, sheetData included
    std::vector<std::string> tables; // whole table parts, each linked by a <tablePart>
};

struct WorkbookSource {
    std::vector<SheetSource> sheets;
    std::vector<std::string> sharedStrings;
    std::string definedNames; // <definedName> elements
    bool calcChain = false;
};

std::string BuildWorkbook(const WorkbookSource& source);
// The inflated text of one part of a saved workbook; empty when the part is absent.
std::string PartText(const std::string& workbookBytes, const std::string& partName);

} // namespace slidesmith::xlsx::testing
