#include "platform/xlsx/Workbook.h"

#include "platform/pptx/Package.h"
#include "platform/pptx/PptxError.h"
#include "platform/xlsx/XlsxError.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

namespace slidesmith::xlsx {
namespace {

constexpr const char* kRelationshipsBase =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kSharedStringsType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";
constexpr const char* kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
// Built-in number format 14 is the short date every spreadsheet program knows.
constexpr std::uint32_t kShortDateFormat = 14;

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// Relationship types differ between the transitional and the strict vocabulary; the last
// segment ("/worksheet") is the same in both.
const pptx::Relationship* FindRelationship(pptx::Relationships& rels, std::string_view kind) {
    for (const pptx::Relationship& relationship : rels.All()) {
        if (!relationship.external && EndsWith(relationship.type, kind))
            return rels.FindById(relationship.id);
    }
    return nullptr;
}

// XML cannot carry most control characters, so the spreadsheet format writes them as _xHHHH_;
// a text that itself looks like such an escape gets its underscore escaped, so it reads back
// unchanged.
std::string EscapeForXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    auto hex = [](unsigned value) {
        const char* digits = "0123456789ABCDEF";
        std::string code = "_x";
        for (int shift = 12; shift >= 0; shift -= 4)
            code += digits[(value >> shift) & 0xF];
        return code + "_";
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char ch = static_cast<unsigned char>(text[i]);
        bool looksEscaped =
            ch == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_' &&
            std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i) + 2,
                        text.begin() + static_cast<std::ptrdiff_t>(i) + 6,
                        [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
        if ((ch < 0x20 && ch != '\t' && ch != '\n' && ch != '\r') || looksEscaped)
            out += hex(ch);
        else
            out += static_cast<char>(ch);
    }
    return out;
}

// Reverses EscapeForXml.
std::string UnescapeFromXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
            unsigned value = 0;
            auto result = std::from_chars(text.data() + i + 2, text.data() + i + 6, value, 16);
            if (result.ec == std::errc() && result.ptr == text.data() + i + 6 && value < 0x80) {
                out += static_cast<char>(value);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The text of a shared string item: its own text, or its runs' texts (phonetic hints skipped).
std::string ItemText(pugi::xml_node item) {
    std::string text;
    for (pugi::xml_node child : item.children()) {
        if (std::strcmp(child.name(), "t") == 0)
            text += child.text().get();
        else if (std::strcmp(child.name(), "r") == 0)
            text += child.child("t").text().get();
    }
    return UnescapeFromXml(text);
}

bool IsDateFormatCode(std::string_view code) {
    for (std::size_t i = 0; i < code.size(); ++i) {
        char ch = code[i];
        if (ch == '"') {
            i = code.find('"', i + 1);
            if (i == std::string_view::npos)
                return false;
        } else if (ch == '\\' || ch == '_' || ch == '*') {
            ++i;
        } else if (ch == '[') {
            std::size_t close = code.find(']', i);
            std::string_view inside = code.substr(
                i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
            // [h], [mm], [ss] are elapsed times; colours and conditions are not.
            if (!inside.empty() && std::strchr("hHmMsS", inside.front()) != nullptr)
                return true;
            if (close == std::string_view::npos)
                return false;
            i = close;
        } else if (std::strchr("dDmMyYhHsS", ch) != nullptr) {
            return true;
        }
    }
    return false;
}

bool IsBuiltInDateFormat(std::uint32_t id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

// Package errors keep their precise text; only the type changes at this layer's boundary.
template <typename Action>
auto Translate(Action action) -> decltype(action()) {
    try {
        return action();
    } catch (const pptx::PptxError& error) {
        throw XlsxError(error.what());
    }
}

} // namespace

Workbook::Workbook(std::string bytes, std::string displayName)
    : m_displayName(std::move(displayName)) {
    Translate([&] {
        m_package = std::make_unique<pptx::Package>(std::move(bytes), m_displayName);
        const pptx::Relationship* main = FindRelationship(m_package->Rels(""), "/officeDocument");
        if (main == nullptr || !m_package->Has(main->targetPart))
            throw XlsxError(Describe("the package has no workbook part"));
        m_workbookPart = main->targetPart;
        ReadWorkbookPart();
        ReadSharedStrings();
        ReadStyles();
    });
}

Workbook::~Workbook() = default;

std::string Workbook::Describe(std::string_view what) const {
    return m_displayName + ": " + std::string(what);
}

void Workbook::ReadWorkbookPart() {
    pugi::xml_node root = m_package->Xml(m_workbookPart).Root();
    if (std::strcmp(root.name(), "workbook") != 0)
        throw XlsxError(Describe(m_workbookPart + ": the root element is not <workbook>"));
    m_date1904 = root.child("workbookPr").attribute("date1904").as_bool();
    pptx::Relationships& rels = m_package->Rels(m_workbookPart);
    for (pugi::xml_node sheet : root.child("sheets").children("sheet")) {
        std::string name = sheet.attribute("name").value();
        const pptx::Relationship* target = rels.FindById(sheet.attribute("r:id").value());
        if (name.empty() || target == nullptr || target->external ||
            !m_package->Has(target->targetPart))
            throw XlsxError(
                Describe(m_workbookPart + ": sheet \"" + name + "\" has no worksheet part"));
        m_sheets.push_back({name, target->targetPart, nullptr});
    }
}

void Workbook::ReadSharedStrings() {
    const pptx::Relationship* rel =
        FindRelationship(m_package->Rels(m_workbookPart), "/sharedStrings");
    if (rel == nullptr || !m_package->Has(rel->targetPart))
        return;
    m_sharedStringsPart = rel->targetPart;
    m_sst = m_package->Xml(m_sharedStringsPart).Root();
    for (pugi::xml_node item : m_sst.children("si")) {
        m_sharedStrings.push_back(ItemText(item));
        m_sharedStringIndex.emplace(m_sharedStrings.back(), m_sharedStrings.size() - 1);
    }
}

void Workbook::ReadStyles() {
    const pptx::Relationship* rel = FindRelationship(m_package->Rels(m_workbookPart), "/styles");
    if (rel != nullptr && m_package->Has(rel->targetPart))
        m_stylesPart = rel->targetPart;
}

Worksheet& Workbook::Load(SheetEntry& entry) {
    if (!entry.sheet) {
        Translate([&] {
            entry.sheet =
                std::make_unique<Worksheet>(*this, entry.name, m_package->Xml(entry.partName));
        });
    }
    return *entry.sheet;
}

void Workbook::LoadAllSheets() {
    for (SheetEntry& entry : m_sheets)
        Load(entry);
}

std::vector<Worksheet*> Workbook::LoadedSheets() {
    std::vector<Worksheet*> sheets;
    for (SheetEntry& entry : m_sheets) {
        if (entry.sheet)
            sheets.push_back(entry.sheet.get());
    }
    return sheets;
}

Worksheet& Workbook::Sheet(std::size_t index) {
    if (index < 1 || index > m_sheets.size())
        throw XlsxError(Describe("there is no sheet " + std::to_string(index) +
                                 " (the workbook has " + std::to_string(m_sheets.size()) + ")"));
    return Load(m_sheets[index - 1]);
}

Worksheet* Workbook::FindSheet(std::string_view name) {
    for (SheetEntry& entry : m_sheets) {
        if (SameSheet(entry.name, name))
            return &Load(entry);
    }
    return nullptr;
}

std::vector<std::string> Workbook::SheetNames() const {
    std::vector<std::string> names;
    for (const SheetEntry& entry : m_sheets)
        names.push_back(entry.name);
    return names;
}

std::optional<std::size_t> Workbook::IndexOf(const Worksheet& sheet) const {
    for (std::size_t i = 0; i < m_sheets.size(); ++i) {
        if (m_sheets[i].sheet.get() == &sheet)
            return i + 1;
    }
    return std::nullopt;
}

std::vector<DefinedName> Workbook::DefinedNames() const {
    std::vector<DefinedName> names;
    pugi::xml_node root = m_package->Xml(m_workbookPart).Root();
    for (pugi::xml_node name : root.child("definedNames").children("definedName")) {
        DefinedName item{name.attribute("name").value(), std::nullopt, name.text().get()};
        if (pugi::xml_attribute local = name.attribute("localSheetId"))
            item.localSheet = local.as_uint() + 1;
        names.push_back(std::move(item));
    }
    return names;
}

std::string Workbook::SharedString(std::size_t index) const {
    if (index >= m_sharedStrings.size())
        throw XlsxError(Describe("shared string " + std::to_string(index) + " does not exist"));
    return m_sharedStrings[index];
}

std::size_t Workbook::AddSharedString(std::string_view text) {
    auto found = m_sharedStringIndex.find(std::string(text));
    if (found != m_sharedStringIndex.end())
        return found->second;
    Translate([&] {
        if (m_sharedStringsPart.empty()) {
            pugi::xml_document document;
            pptx::EnsureDeclaration(document);
            pugi::xml_node sst = document.append_child("sst");
            sst.append_attribute("xmlns") = kMainNamespace;
            sst.append_attribute("count") = 0;
            sst.append_attribute("uniqueCount") = 0;
            std::string folder = m_workbookPart.substr(0, m_workbookPart.rfind('/') + 1);
            m_sharedStringsPart = folder + "sharedStrings.xml";
            m_package->AddXmlPart(m_sharedStringsPart, document, kSharedStringsType);
            m_package->Rels(m_workbookPart)
                .Add(std::string(kRelationshipsBase) + "sharedStrings", m_sharedStringsPart);
            m_sst = m_package->Xml(m_sharedStringsPart).Root();
        }
    });
    pugi::xml_node t = m_sst.append_child("si").append_child("t");
    t.text().set(EscapeForXml(text).c_str());
    if (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\n' ||
                          text.back() == '\n' || text.front() == '\t' || text.back() == '\t'))
        t.append_attribute("xml:space") = "preserve";
    m_sharedStrings.emplace_back(text);
    m_sharedStringIndex.emplace(m_sharedStrings.back(), m_sharedStrings.size() - 1);
    pugi::xml_attribute unique = m_sst.attribute("uniqueCount");
    if (!unique)
        unique = m_sst.append_attribute("uniqueCount");
    unique = static_cast<unsigned long long>(m_sharedStrings.size());
    m_sharedStringsChanged = true;
    return m_sharedStrings.size() - 1;
}

void Workbook::CountSharedReference(int delta) {
    if (!m_sst)
        return;
    pugi::xml_attribute count = m_sst.attribute("count");
    if (!count)
        return; // the count is optional; absent it needs no upkeep
    long long value = count.as_llong() + delta;
    count = value < 0 ? 0 : value;
    m_sharedStringsChanged = true;
}

std::uint32_t Workbook::DateStyle(std::uint32_t baseStyle) {
    if (m_stylesPart.empty())
        return baseStyle;
    auto known = m_dateStyles.find(baseStyle);
    if (known != m_dateStyles.end())
        return known->second;
    return Translate([&]() -> std::uint32_t {
        pptx::XmlPart& part = m_package->Xml(m_stylesPart);
        pugi::xml_node cellXfs = part.Root().child("cellXfs");
        std::vector<pugi::xml_node> formats;
        for (pugi::xml_node xf : cellXfs.children("xf"))
            formats.push_back(xf);
        if (baseStyle >= formats.size())
            return baseStyle;
        std::uint32_t numFmtId = formats[baseStyle].attribute("numFmtId").as_uint();
        bool isDate = IsBuiltInDateFormat(numFmtId);
        for (pugi::xml_node format : part.Root().child("numFmts").children("numFmt")) {
            if (format.attribute("numFmtId").as_uint() == numFmtId)
                isDate = IsDateFormatCode(format.attribute("formatCode").value());
        }
        std::uint32_t style = baseStyle;
        if (!isDate) {
            pugi::xml_node copy = cellXfs.append_copy(formats[baseStyle]);
            auto set = [&](const char* name, auto value) {
                pugi::xml_attribute attribute = copy.attribute(name);
                (attribute ? attribute : copy.append_attribute(name)) = value;
            };
            set("numFmtId", kShortDateFormat);
            set("applyNumberFormat", 1);
            style = static_cast<std::uint32_t>(formats.size());
            pugi::xml_attribute count = cellXfs.attribute("count");
            (count ? count : cellXfs.append_attribute("count")) = style + 1;
            part.MarkChanged();
            MarkChanged();
            m_formatCodes.clear();
        }
        m_dateStyles.emplace(baseStyle, style);
        return style;
    });
}

void Workbook::AdjustDefinedNames(const SheetEdit& edit) {
    pptx::XmlPart& part = m_package->Xml(m_workbookPart);
    for (pugi::xml_node name : part.Root().child("definedNames").children("definedName")) {
        std::string sheet;
        if (pugi::xml_attribute local = name.attribute("localSheetId")) {
            std::size_t index = local.as_uint();
            if (index < m_sheets.size())
                sheet = m_sheets[index].name;
        }
        std::string before = name.text().get();
        std::string after = AdjustFormula(before, sheet, edit);
        if (after != before) {
            name.text().set(after.c_str());
            part.MarkChanged();
        }
    }
}

std::vector<std::string> Workbook::TablePartsOf(const Worksheet& sheet) {
    std::vector<std::string> tables;
    if (!m_package->HasRels(sheet.PartName()))
        return tables;
    for (const pptx::Relationship& rel : m_package->Rels(sheet.PartName()).All()) {
        if (!rel.external && EndsWith(rel.type, "/table") && m_package->Has(rel.targetPart))
            tables.push_back(rel.targetPart);
    }
    return tables;
}

void Workbook::AdjustTables(Worksheet& sheet, const SheetEdit& edit) {
    Translate([&] {
        for (const std::string& tablePart : TablePartsOf(sheet)) {
            pptx::XmlPart& part = m_package->Xml(tablePart);
            pugi::xml_node table = part.Root();
            std::optional<Range> old = Range::Parse(table.attribute("ref").value());
            if (!old)
                continue;
            std::optional<Range> area = AdjustArea(edit, *old);
            if (!area) {
                RemoveTable(sheet, tablePart);
                continue;
            }
            if (edit.axis == SheetEdit::Axis::Columns && area->ColumnCount() != old->ColumnCount())
                AdjustTableColumns(sheet, table, *old, *area, edit);
            table.attribute("ref") = area->Address(false, false).c_str();
            for (const char* name : {"autoFilter", "sortState"}) {
                pugi::xml_node node = table.child(name);
                std::optional<Range> inner = Range::Parse(node.attribute("ref").value());
                if (inner && (inner = AdjustArea(edit, *inner)))
                    node.attribute("ref") = inner->Address(false, false).c_str();
            }
            for (pugi::xml_node column : table.child("tableColumns").children("tableColumn")) {
                pugi::xml_node formula = column.child("calculatedColumnFormula");
                if (formula)
                    formula.text().set(
                        AdjustFormula(formula.text().get(), sheet.Name(), edit).c_str());
            }
            part.MarkChanged();
        }
    });
}

void Workbook::AdjustTableColumns(Worksheet& sheet, pugi::xml_node table, const Range& old,
                                  const Range& area, const SheetEdit& edit) {
    pugi::xml_node columns = table.child("tableColumns");
    std::vector<pugi::xml_node> list;
    unsigned long maxId = 0;
    std::vector<std::string> names;
    for (pugi::xml_node column : columns.children("tableColumn")) {
        list.push_back(column);
        maxId = std::max(maxId, column.attribute("id").as_ullong() > 0
                                    ? static_cast<unsigned long>(column.attribute("id").as_ullong())
                                    : 0ul);
        names.emplace_back(column.attribute("name").value());
    }
    if (edit.insert) {
        // New columns are named as the program names them, "Column<n>" with the lowest free n;
        // the header cells must show the same names or the table is repaired on opening.
        std::size_t index = edit.at - old.Column();
        pugi::xml_node before = index < list.size() ? list[index] : pugi::xml_node();
        bool header = table.attribute("headerRowCount").as_uint(1) != 0;
        unsigned long number = 1;
        for (std::uint32_t k = 0; k < edit.count; ++k) {
            std::string name;
            do {
                name = "Column" + std::to_string(number++);
            } while (std::any_of(names.begin(), names.end(),
                                 [&](const std::string& used) { return SameSheet(used, name); }));
            names.push_back(name);
            pugi::xml_node column = before ? columns.insert_child_before("tableColumn", before)
                                           : columns.append_child("tableColumn");
            column.append_attribute("id") = ++maxId;
            column.append_attribute("name") = name.c_str();
            if (header)
                sheet.SetText(area.Row(), edit.at + k, name);
        }
    } else {
        std::uint32_t first = std::max(edit.at, old.Column());
        std::uint32_t last = std::min(edit.at + edit.count - 1, old.LastColumn());
        for (std::uint32_t column = first; column <= last; ++column)
            columns.remove_child(list[column - old.Column()]);
    }
    columns.attribute("count") = static_cast<unsigned long long>(
        std::distance(columns.children().begin(), columns.children().end()));
}

void Workbook::RemoveTable(Worksheet& sheet, const std::string& tablePart) {
    pptx::Relationships& rels = m_package->Rels(sheet.PartName());
    pugi::xml_node parts = sheet.m_part.Root().child("tableParts");
    for (const std::string& id : rels.FindByTarget(tablePart)) {
        for (pugi::xml_node part : parts.children("tablePart")) {
            if (id == part.attribute("r:id").value()) {
                parts.remove_child(part);
                break;
            }
        }
        rels.Remove(id);
    }
    if (parts && !parts.first_child())
        sheet.m_part.Root().remove_child(parts);
    else if (parts)
        parts.attribute("count") = static_cast<unsigned long long>(
            std::distance(parts.children().begin(), parts.children().end()));
    m_package->RemovePart(tablePart);
}

void Workbook::DropCalculationChain() {
    Translate([&] {
        pptx::Relationships& rels = m_package->Rels(m_workbookPart);
        while (const pptx::Relationship* chain = FindRelationship(rels, "/calcChain")) {
            std::string part = chain->targetPart;
            rels.Remove(std::string(chain->id));
            if (m_package->Has(part))
                m_package->RemovePart(part);
        }
    });
}

namespace {

// The built-in number formats a chart cache is likely to meet; others read as General.
std::string BuiltInFormatCode(std::uint32_t id) {
    switch (id) {
    case 1:
        return "0";
    case 2:
        return "0.00";
    case 3:
        return "#,##0";
    case 4:
        return "#,##0.00";
    case 9:
        return "0%";
    case 10:
        return "0.00%";
    case 11:
        return "0.00E+00";
    case 12:
        return "# ?/?";
    case 13:
        return "# ?"
               "?/?"
               "?";
    case 14:
        return "m/d/yyyy";
    case 15:
        return "d-mmm-yy";
    case 16:
        return "d-mmm";
    case 17:
        return "mmm-yy";
    case 18:
        return "h:mm AM/PM";
    case 19:
        return "h:mm:ss AM/PM";
    case 20:
        return "h:mm";
    case 21:
        return "h:mm:ss";
    case 22:
        return "m/d/yyyy h:mm";
    case 37:
        return "#,##0 ;(#,##0)";
    case 38:
        return "#,##0 ;[Red](#,##0)";
    case 39:
        return "#,##0.00;(#,##0.00)";
    case 40:
        return "#,##0.00;[Red](#,##0.00)";
    case 45:
        return "mm:ss";
    case 46:
        return "[h]:mm:ss";
    case 47:
        return "mmss.0";
    case 48:
        return "##0.0E+0";
    case 49:
        return "@";
    default:
        return "General";
    }
}

} // namespace

std::string Workbook::NumberFormatCode(std::uint32_t styleIndex) {
    if (m_stylesPart.empty())
        return "General";
    // Read once; DateStyle empties the list when it adds a style.
    if (m_formatCodes.empty()) {
        pptx::XmlPart& part =
            Translate([&]() -> pptx::XmlPart& { return m_package->Xml(m_stylesPart); });
        std::unordered_map<std::uint32_t, std::string> own;
        for (pugi::xml_node format : part.Root().child("numFmts").children("numFmt"))
            own[format.attribute("numFmtId").as_uint()] = format.attribute("formatCode").value();
        for (pugi::xml_node xf : part.Root().child("cellXfs").children("xf")) {
            std::uint32_t id = xf.attribute("numFmtId").as_uint();
            auto found = own.find(id);
            m_formatCodes.push_back(found != own.end() ? found->second : BuiltInFormatCode(id));
        }
    }
    return styleIndex < m_formatCodes.size() ? m_formatCodes[styleIndex] : "General";
}

void Workbook::AddEditListener(EditListener& listener) {
    m_listeners.push_back(&listener);
}

void Workbook::RemoveEditListener(EditListener& listener) {
    std::erase(m_listeners, &listener);
}

void Workbook::NotifyEdit(const SheetEdit& edit) {
    for (EditListener* listener : m_listeners)
        listener->SheetEdited(edit);
}

void Workbook::MarkChanged() {
    m_changed = true;
}

std::string Workbook::Save() {
    return Translate([&] {
        if (m_changed) {
            for (Worksheet* sheet : LoadedSheets())
                sheet->FinishForSave();
            // Values written under formulas leave their cached results stale; the spreadsheet
            // program recalculates on opening when asked to.
            pptx::XmlPart& part = m_package->Xml(m_workbookPart);
            pugi::xml_node calcPr = part.Root().child("calcPr");
            if (!calcPr) {
                pugi::xml_node before = part.Root().child("oleSize");
                for (const char* later :
                     {"customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
                      "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"}) {
                    if (!before)
                        before = part.Root().child(later);
                }
                calcPr = before ? part.Root().insert_child_before("calcPr", before)
                                : part.Root().append_child("calcPr");
            }
            pugi::xml_attribute full = calcPr.attribute("fullCalcOnLoad");
            (full ? full : calcPr.append_attribute("fullCalcOnLoad")) = 1;
            part.MarkChanged();
            if (m_sharedStringsChanged)
                m_package->Xml(m_sharedStringsPart).MarkChanged();
        }
        return m_package->Save();
    });
}

} // namespace slidesmith::xlsx
