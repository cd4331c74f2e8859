#include "WorkbookTestSupport.h"

#include "PackageFiles.h"

namespace slidesmith::xlsx::testing {
namespace {

constexpr const char* kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kRelBase =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kTypeBase = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

std::string Rel(const std::string& id, const std::string& type, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelBase + type + "\" Target=\"" + target +
           "\"/>";
}

std::string Override(const std::string& part, const std::string& type) {
    return "<Override PartName=\"/" + part + "\" ContentType=\"" + kTypeBase + type + "\"/>";
}

} // namespace

std::string BuildWorkbook(const WorkbookSource& source) {
    testtools::PartMap parts;
    std::string types =
        std::string(kDeclaration) +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
        "content-types\"><Default Extension=\"rels\" ContentType=\"application/"
        "vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
        "ContentType=\"application/xml\"/>" +
        Override("xl/workbook.xml", "sheet.main+xml") + Override("xl/styles.xml", "styles+xml");
    std::string workbookRels = std::string(kDeclaration) +
                               "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
                               "2006/relationships\">" +
                               Rel("rIdStyles", "styles", "styles.xml");
    std::string sheets;
    int tableNumber = 0;
    for (std::size_t i = 0; i < source.sheets.size(); ++i) {
        const SheetSource& sheet = source.sheets[i];
        std::string number = std::to_string(i + 1);
        std::string part = "xl/worksheets/sheet" + number + ".xml";
        types += Override(part, "worksheet+xml");
        workbookRels += Rel("rId" + number, "worksheet", "worksheets/sheet" + number + ".xml");
        sheets += "<sheet name=\"" + sheet.name + "\" sheetId=\"" + number + "\" r:id=\"rId" +
                  number + "\"/>";
        std::string body = sheet.body;
        if (!sheet.tables.empty()) {
            std::string sheetRels = std::string(kDeclaration) +
                                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/"
                                    "package/2006/relationships\">";
            body += "<tableParts count=\"" + std::to_string(sheet.tables.size()) + "\">";
            for (std::size_t t = 0; t < sheet.tables.size(); ++t) {
                std::string tablePart = "xl/tables/table" + std::to_string(++tableNumber) + ".xml";
                types += Override(tablePart, "table+xml");
                sheetRels += Rel("rIdT" + std::to_string(t + 1), "table",
                                 "../tables/table" + std::to_string(tableNumber) + ".xml");
                body += "<tablePart r:id=\"rIdT" + std::to_string(t + 1) + "\"/>";
                parts.emplace(tablePart, kDeclaration + sheet.tables[t]);
            }
            body += "</tableParts>";
            parts.emplace("xl/worksheets/_rels/sheet" + number + ".xml.rels",
                          sheetRels + "</Relationships>");
        }
        parts.emplace(part, std::string(kDeclaration) + "<worksheet xmlns=\"" + kMain +
                                "\" xmlns:r=\"" + kRelNs + "\">" + body + "</worksheet>");
    }
    if (!source.sharedStrings.empty()) {
        types += Override("xl/sharedStrings.xml", "sharedStrings+xml");
        workbookRels += Rel("rIdStrings", "sharedStrings", "sharedStrings.xml");
        std::string sst = std::string(kDeclaration) + "<sst xmlns=\"" + kMain + "\" count=\"" +
                          std::to_string(source.sharedStrings.size()) + "\" uniqueCount=\"" +
                          std::to_string(source.sharedStrings.size()) + "\">";
        for (const std::string& text : source.sharedStrings)
            sst += "<si><t>" + text + "</t></si>";
        parts.emplace("xl/sharedStrings.xml", sst + "</sst>");
    }
    if (source.calcChain) {
        types += Override("xl/calcChain.xml", "calcChain+xml");
        workbookRels += Rel("rIdChain", "calcChain", "calcChain.xml");
        parts.emplace("xl/calcChain.xml", std::string(kDeclaration) + "<calcChain xmlns=\"" +
                                              kMain + "\"><c r=\"A1\" i=\"1\"/></calcChain>");
    }
    parts.emplace("xl/styles.xml",
                  std::string(kDeclaration) + "<styleSheet xmlns=\"" + kMain +
                      "\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" "
                      "formatCode=\"yyyy\\-mm\\-dd\"/></numFmts><cellXfs count=\"3\"><xf "
                      "numFmtId=\"0\"/><xf numFmtId=\"4\" applyNumberFormat=\"1\"/><xf "
                      "numFmtId=\"164\" applyNumberFormat=\"1\"/></cellXfs></styleSheet>");
    std::string workbook = std::string(kDeclaration) + "<workbook xmlns=\"" + kMain +
                           "\" xmlns:r=\"" + kRelNs + "\"><sheets>" + sheets + "</sheets>";
    if (!source.definedNames.empty())
        workbook += "<definedNames>" + source.definedNames + "</definedNames>";
    workbook += "</workbook>";
    parts.emplace("xl/workbook.xml", workbook);
    parts.emplace("xl/_rels/workbook.xml.rels", workbookRels + "</Relationships>");
    parts.emplace("_rels/.rels",
                  std::string(kDeclaration) +
                      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                      "relationships\">" +
                      Rel("rId1", "officeDocument", "xl/workbook.xml") + "</Relationships>");
    parts.emplace("[Content_Types].xml", types + "</Types>");
    return testtools::WritePackageToMemory(parts);
}

std::string PartText(const std::string& workbookBytes, const std::string& partName) {
    const testtools::PartMap parts = testtools::ReadPackageFromMemory(workbookBytes, "book.xlsx");
    const auto found = parts.find(partName);
    return found == parts.end() ? std::string() : found->second;
}

} // namespace slidesmith::xlsx::testing
