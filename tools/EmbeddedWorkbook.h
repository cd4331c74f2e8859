#pragma once

#include <map>
#include <optional>
#include <string>

namespace slidesmith::testtools {

struct WorkbookCell {
    std::string value; // shared and inline strings resolved; numbers as written
    bool isText = false;
};

// The cell values of an .xlsx held in memory, read independently of the engine: sheets by name,
// cells by reference ("B2"). Throws TestToolError naming `label` when the workbook cannot be read.
class EmbeddedWorkbook {
public:
    EmbeddedWorkbook(const std::string& xlsx, const std::string& label);

    // Empty when the sheet or the cell does not exist.
    std::optional<WorkbookCell> Cell(const std::string& sheet, const std::string& reference) const;
    bool HasSheet(const std::string& sheet) const { return m_sheets.count(sheet) != 0; }
    const std::map<std::string, std::map<std::string, WorkbookCell>>& Sheets() const {
        return m_sheets;
    }

private:
    std::map<std::string, std::map<std::string, WorkbookCell>> m_sheets;
};

} // namespace slidesmith::testtools
