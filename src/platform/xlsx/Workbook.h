#pragma once

#include "platform/xlsx/Worksheet.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace slidesmith::pptx {
class Package;
}

namespace slidesmith::xlsx {

// Hears of every structural edit of a workbook's sheets, after the workbook's own references
// followed it; the chart model uses it to move series references along with the cells.
class EditListener {
public:
    virtual ~EditListener() = default;
    virtual void SheetEdited(const SheetEdit& edit) = 0;
};

struct DefinedName {
    std::string name;
    std::optional<std::size_t> localSheet; // 1-based sheet index for a sheet-level name
    std::string formula;                   // without "="
};

// A spreadsheet package (.xlsx or .xlsm) opened from bytes, as embedded behind a chart:
// workbook part, sheets, shared strings, styles, defined names, tables and calculation chain.
// Sheets are parsed when first used; Save() copies every part nobody changed as it was stored
// and writes the changed ones compactly. Every failure throws XlsxError naming displayName.
class Workbook {
public:
    Workbook(std::string bytes, std::string displayName);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    const std::string& DisplayName() const { return m_displayName; }
    std::size_t SheetCount() const { return m_sheets.size(); }
    // 1-based, in workbook order. Throws when out of range.
    Worksheet& Sheet(std::size_t index);
    // Compares names without regard to ASCII case; nullptr when there is none.
    Worksheet* FindSheet(std::string_view name);
    std::vector<std::string> SheetNames() const;

    std::vector<DefinedName> DefinedNames() const;
    // Dates count from 1904-01-01 instead of 1899-12-30.
    bool Uses1904Dates() const { return m_date1904; }
    bool IsChanged() const { return m_changed; }
    // The number format code of a cell style (the s attribute): "General" for none, the
    // built-in codes by number, the workbook's own ones from its styles.
    std::string NumberFormatCode(std::uint32_t styleIndex);

    // Listeners are not owned; one must be removed before it dies if the workbook outlives it.
    void AddEditListener(EditListener& listener);
    void RemoveEditListener(EditListener& listener);

    // The package with every change, as bytes.
    std::string Save();

private:
    friend class Worksheet;

    struct SheetEntry {
        std::string name;
        std::string partName;
        std::unique_ptr<Worksheet> sheet;
    };

    void ReadWorkbookPart();
    void ReadSharedStrings();
    void ReadStyles();
    Worksheet& Load(SheetEntry& entry);
    void LoadAllSheets();
    std::vector<Worksheet*> LoadedSheets();
    std::string Describe(std::string_view what) const;

    // Shared strings: text of an index, index of a text (appended when new).
    std::string SharedString(std::size_t index) const;
    std::size_t AddSharedString(std::string_view text);
    void CountSharedReference(int delta);
    // A style like baseStyle with a date number format (baseStyle itself when it has one).
    std::uint32_t DateStyle(std::uint32_t baseStyle);
    void AdjustDefinedNames(const SheetEdit& edit);
    void AdjustTables(Worksheet& sheet, const SheetEdit& edit);
    void AdjustTableColumns(Worksheet& sheet, pugi::xml_node table, const Range& old,
                            const Range& area, const SheetEdit& edit);
    void RemoveTable(Worksheet& sheet, const std::string& tablePart);
    void DropCalculationChain();
    void MarkChanged();
    void NotifyEdit(const SheetEdit& edit);
    std::vector<std::string> TablePartsOf(const Worksheet& sheet);
    std::optional<std::size_t> IndexOf(const Worksheet& sheet) const;

    std::string m_displayName;
    std::unique_ptr<pptx::Package> m_package;
    std::string m_workbookPart;
    std::vector<SheetEntry> m_sheets;
    bool m_date1904 = false;
    bool m_changed = false;
    std::vector<EditListener*> m_listeners;

    std::string m_sharedStringsPart;
    std::vector<std::string> m_sharedStrings;
    std::unordered_map<std::string, std::size_t> m_sharedStringIndex;
    pugi::xml_node m_sst;
    bool m_sharedStringsChanged = false;

    std::string m_stylesPart;
    std::unordered_map<std::uint32_t, std::uint32_t> m_dateStyles; // base style -> date style
    std::vector<std::string> m_formatCodes; // by style index, read on first use
};

} // namespace slidesmith::xlsx
