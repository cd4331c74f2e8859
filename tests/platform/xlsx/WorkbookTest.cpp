#include "platform/xlsx/Workbook.h"

#include "WorkbookTestSupport.h"
#include "platform/xlsx/XlsxError.h"

#include <gtest/gtest.h>

namespace slidesmith::xlsx {
namespace {

using testing::BuildWorkbook;
using testing::PartText;
using testing::SheetSource;
using testing::WorkbookSource;

std::string Text(Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
    CellValue value = sheet.Value(row, column);
    return value.type == CellValue::Type::Text ? value.text : "<not text>";
}

double Number(Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
    CellValue value = sheet.Value(row, column);
    EXPECT_EQ(value.type, CellValue::Type::Number) << CellName(row, column);
    return value.number;
}

std::string Attribute(const std::string& xml, const std::string& element,
                      const std::string& attribute) {
    std::size_t start = xml.find("<" + element + " ");
    if (start == std::string::npos)
        return "<missing>";
    std::size_t end = xml.find('>', start);
    std::size_t at = xml.find(" " + attribute + "=\"", start);
    if (at == std::string::npos || at > end)
        return "<missing>";
    at += attribute.size() + 3;
    return xml.substr(at, xml.find('"', at) - at);
}

// A small sales sheet: a table A1:C4 with a shared formula in C, a total below it, a merged
// area, names over the data and a second sheet that reads from the first.
WorkbookSource SalesBook() {
    WorkbookSource source;
    source.sharedStrings = {"Cat", "S1", "S2", "North", "South", "East"};
    std::string rows =
        "<row r=\"1\" spans=\"1:5\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" "
        "t=\"s\"><v>1</v></c><c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"E1\"><f>Data!$B$2</f><v>10</v>"
        "</c></row>"
        "<row r=\"2\" spans=\"1:3\"><c r=\"A2\" t=\"s\"><v>3</v></c><c r=\"B2\" s=\"1\"><v>10</v>"
        "</c><c r=\"C2\"><f t=\"shared\" ref=\"C2:C4\" si=\"0\">B2*2</f><v>20</v></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"s\"><v>4</v></c><c r=\"B3\" s=\"1\"><v>20</v></c><c "
        "r=\"C3\"><f t=\"shared\" si=\"0\"/><v>40</v></c></row>"
        "<row r=\"4\"><c r=\"A4\" t=\"s\"><v>5</v></c><c r=\"B4\" s=\"1\"><v>30</v></c><c "
        "r=\"C4\"><f t=\"shared\" si=\"0\"/><v>60</v></c></row>"
        "<row r=\"6\"><c r=\"A6\"><f>SUM(B2:B4)</f><v>60</v></c></row>"
        "<row r=\"7\"><c r=\"A7\"><v>1</v></c></row>";
    std::string table =
        "<table xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" id=\"1\" "
        "name=\"Table1\" displayName=\"Table1\" ref=\"A1:C4\"><autoFilter ref=\"A1:C4\"/>"
        "<tableColumns count=\"3\"><tableColumn id=\"1\" name=\"Cat\"/><tableColumn id=\"2\" "
        "name=\"S1\"/><tableColumn id=\"3\" name=\"S2\"/></tableColumns></table>";
    source.sheets.push_back(
        {"Data",
         "<dimension ref=\"A1:E7\"/><sheetViews><sheetView workbookViewId=\"0\"><selection "
         "activeCell=\"B4\" sqref=\"B4\"/></sheetView></sheetViews><sheetData>" +
             rows +
             "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A7:B8\"/></mergeCells>"
             "<conditionalFormatting sqref=\"B2:B4\"><cfRule type=\"expression\" priority=\"1\">"
             "<formula>B2&gt;$B$4</formula></cfRule></conditionalFormatting>",
         {table}});
    source.sheets.push_back({"Other",
                             "<sheetData><row r=\"1\"><c r=\"A1\"><f>Data!B3*1</f><v>20</v></c>"
                             "</row><row r=\"2\"><c r=\"A2\"><f>SUM(Data!B2:B4)</f><v>60</v></c>"
                             "</row></sheetData>",
                             {}});
    source.definedNames = "<definedName name=\"Values\">Data!$B$2:$B$4</definedName>"
                          "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">"
                          "Data!$A$1:$C$4</definedName>";
    source.calcChain = true;
    return source;
}

TEST(WorkbookTest, ReadsAndWritesEveryKindOfValue) {
    WorkbookSource source;
    source.sharedStrings = {"Name"};
    source.sheets.push_back(
        {"Sheet 1",
         "<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\"><v>2.5</v></c>"
         "<c r=\"C1\" t=\"b\"><v>1</v></c><c r=\"D1\" t=\"inlineStr\"><is><t>inline</t></is></c>"
         "<c r=\"E1\" t=\"str\"><f>A1&amp;\"!\"</f><v>Name!</v></c><c r=\"F1\" t=\"e\">"
         "<v>#DIV/0!</v></c><c r=\"G1\" s=\"1\"><v>7</v></c><c r=\"H1\" s=\"2\"><v>7</v></c>"
         "</row></sheetData>",
         {}});
    Workbook book(BuildWorkbook(source), "values.xlsx");
    Worksheet& sheet = *book.FindSheet("sheet 1");
    EXPECT_EQ(Text(sheet, 1, 1), "Name");
    EXPECT_EQ(Number(sheet, 1, 2), 2.5);
    EXPECT_TRUE(sheet.Value(1, 3).boolean);
    EXPECT_EQ(Text(sheet, 1, 4), "inline");
    EXPECT_EQ(Text(sheet, 1, 5), "Name!");
    EXPECT_EQ(sheet.Value(1, 6).type, CellValue::Type::Error);
    EXPECT_EQ(sheet.Value(9, 9).type, CellValue::Type::Empty);

    sheet.SetText(2, 1, " padded ");
    sheet.SetText(2, 2, "Name"); // reuses the shared string
    sheet.SetNumber(2, 3, 0.1 + 0.2);
    sheet.SetBoolean(2, 4, false);
    sheet.SetNumber(1, 5, 42); // replaces a formula
    sheet.SetNumber(1, 7, -3); // keeps the number format of the cell
    sheet.SetDate(1, 8, 45000.5);
    sheet.SetDate(3, 1, 45000);
    sheet.SetText(3, 2, std::string("bell\a _x0041_ end"));
    std::string saved = book.Save();

    Workbook again(saved, "values.xlsx");
    Worksheet& reread = again.Sheet(1);
    EXPECT_EQ(Text(reread, 2, 1), " padded ");
    EXPECT_EQ(Text(reread, 2, 2), "Name");
    EXPECT_EQ(Text(reread, 3, 2), "bell\a _x0041_ end"); // control characters and look-alikes
    EXPECT_EQ(Number(reread, 2, 3), 0.1 + 0.2);
    EXPECT_FALSE(reread.Value(2, 4).boolean);
    EXPECT_EQ(reread.Formula(1, 5), "");
    EXPECT_EQ(Number(reread, 1, 5), 42);
    EXPECT_EQ(reread.StyleIndex(1, 7), 1u);
    EXPECT_EQ(reread.StyleIndex(1, 8), 2u); // already a date format
    EXPECT_EQ(Number(reread, 3, 1), 45000);
    EXPECT_EQ(reread.StyleIndex(3, 1), 3u); // a new style with the short date format
    std::string styles = PartText(saved, "xl/styles.xml");
    EXPECT_NE(styles.find("<cellXfs count=\"4\">"), std::string::npos);
    EXPECT_NE(styles.find("numFmtId=\"14\""), std::string::npos);
    std::string strings = PartText(saved, "xl/sharedStrings.xml");
    EXPECT_EQ(Attribute(strings, "sst", "uniqueCount"), "3");
    EXPECT_EQ(Attribute(strings, "sst", "count"), "4");
    EXPECT_NE(strings.find("bell_x0007_ _x005F_x0041_ end"), std::string::npos);
}

TEST(WorkbookTest, InsertingRowsMovesCellsAndEveryReference) {
    Workbook book(BuildWorkbook(SalesBook()), "sales.xlsx");
    Worksheet& data = *book.FindSheet("Data");
    data.Insert(*Range::Parse("3:4"), Shift::Down);
    std::string saved = book.Save();
    Workbook again(saved, "sales.xlsx");
    Worksheet& sheet = again.Sheet(1);

    EXPECT_EQ(Number(sheet, 2, 2), 10);
    EXPECT_EQ(Number(sheet, 5, 2), 20);
    EXPECT_EQ(Number(sheet, 6, 2), 30);
    EXPECT_EQ(Text(sheet, 6, 1), "East");
    EXPECT_EQ(sheet.Value(3, 2).type, CellValue::Type::Empty);
    EXPECT_EQ(sheet.StyleIndex(3, 2), 1u); // formatted like the row above
    EXPECT_EQ(sheet.Formula(2, 3), "B2*2");
    EXPECT_EQ(sheet.Formula(5, 3), "B5*2");
    EXPECT_EQ(sheet.Formula(6, 3), "B6*2");
    EXPECT_EQ(sheet.Formula(8, 1), "SUM(B2:B6)");
    EXPECT_EQ(sheet.Formula(1, 5), "Data!$B$2");
    EXPECT_EQ(again.Sheet(2).Formula(1, 1), "Data!B5*1");
    EXPECT_EQ(again.Sheet(2).Formula(2, 1), "SUM(Data!B2:B6)");

    std::vector<DefinedName> names = again.DefinedNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].formula, "Data!$B$2:$B$6");
    EXPECT_EQ(names[1].formula, "Data!$A$1:$C$6");

    std::string xml = PartText(saved, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(Attribute(xml, "mergeCell", "ref"), "A9:B10");
    EXPECT_EQ(Attribute(xml, "dimension", "ref"), "A1:E9");
    EXPECT_EQ(Attribute(xml, "conditionalFormatting", "sqref"), "B2:B6");
    EXPECT_NE(xml.find("<formula>B2&gt;$B$6</formula>"), std::string::npos);
    EXPECT_EQ(Attribute(xml, "selection", "activeCell"), "B6");
    EXPECT_EQ(Attribute(xml, "f", "ref"), "C2:C6"); // still one shared formula
    std::string table = PartText(saved, "xl/tables/table1.xml");
    EXPECT_EQ(Attribute(table, "table", "ref"), "A1:C6");
    EXPECT_EQ(Attribute(table, "autoFilter", "ref"), "A1:C6");

    // Formulas moved, so the calculation chain is gone with its relationship and type.
    EXPECT_EQ(PartText(saved, "xl/calcChain.xml"), "");
    EXPECT_EQ(PartText(saved, "xl/_rels/workbook.xml.rels").find("calcChain"), std::string::npos);
    EXPECT_EQ(PartText(saved, "[Content_Types].xml").find("calcChain"), std::string::npos);
}

TEST(WorkbookTest, DeletingRowsShrinksAreasAndBreaksLostReferences) {
    Workbook book(BuildWorkbook(SalesBook()), "sales.xlsx");
    book.Sheet(1).Delete(Range::WholeRows(3, 3), Shift::Up);
    std::string saved = book.Save();
    Workbook again(saved, "sales.xlsx");
    Worksheet& sheet = again.Sheet(1);

    EXPECT_EQ(Number(sheet, 3, 2), 30);
    EXPECT_EQ(sheet.Formula(3, 3), "B3*2");
    EXPECT_EQ(sheet.Formula(5, 1), "SUM(B2:B3)");
    EXPECT_EQ(again.Sheet(2).Formula(1, 1), "Data!#REF!*1");
    EXPECT_EQ(again.Sheet(2).Formula(2, 1), "SUM(Data!B2:B3)");
    EXPECT_EQ(again.DefinedNames()[0].formula, "Data!$B$2:$B$3");
    std::string xml = PartText(saved, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(Attribute(xml, "mergeCell", "ref"), "A6:B7");
    EXPECT_EQ(Attribute(xml, "f", "ref"), "C2:C3");
    EXPECT_EQ(Attribute(PartText(saved, "xl/tables/table1.xml"), "table", "ref"), "A1:C3");
}

TEST(WorkbookTest, ColumnsInsertedIntoATableGetNamedHeaders) {
    Workbook book(BuildWorkbook(SalesBook()), "sales.xlsx");
    Worksheet& sheet = book.Sheet(1);
    sheet.Insert(Range::WholeColumns(2, 3), Shift::Right);
    EXPECT_EQ(Text(sheet, 1, 2), "Column1");
    EXPECT_EQ(Text(sheet, 1, 3), "Column2");
    EXPECT_EQ(Text(sheet, 1, 4), "S1");
    EXPECT_EQ(sheet.Formula(3, 5), "D3*2");
    EXPECT_EQ(sheet.Formula(1, 7), "Data!$D$2");
    std::string saved = book.Save();
    std::string table = PartText(saved, "xl/tables/table1.xml");
    EXPECT_EQ(Attribute(table, "table", "ref"), "A1:E4");
    EXPECT_EQ(Attribute(table, "tableColumns", "count"), "5");
    EXPECT_NE(table.find("<tableColumn id=\"1\" name=\"Cat\"/><tableColumn id=\"4\" "
                         "name=\"Column1\"/><tableColumn id=\"5\" name=\"Column2\"/>"),
              std::string::npos);
    EXPECT_EQ(book.DefinedNames()[0].formula, "Data!$D$2:$D$4");

    Workbook again(saved, "sales.xlsx");
    again.Sheet(1).Delete(Range::WholeColumns(2, 3), Shift::Left);
    std::string restored = again.Save();
    table = PartText(restored, "xl/tables/table1.xml");
    EXPECT_EQ(Attribute(table, "table", "ref"), "A1:C4");
    EXPECT_EQ(table.find("Column1"), std::string::npos);
    EXPECT_EQ(again.Sheet(1).Formula(3, 3), "B3*2");
}

TEST(WorkbookTest, CellBlocksShiftWithinTheirOwnColumns) {
    Workbook book(BuildWorkbook(SalesBook()), "sales.xlsx");
    Worksheet& sheet = book.Sheet(1);
    // The second sample record goes, the rows below it in columns A to C move up.
    sheet.Delete(*Range::Parse("A3:C3"), Shift::Up);
    EXPECT_EQ(Text(sheet, 3, 1), "East");
    EXPECT_EQ(Number(sheet, 3, 2), 30);
    EXPECT_EQ(sheet.Formula(3, 3), "B3*2");
    EXPECT_EQ(sheet.Formula(5, 1), "SUM(B2:B3)");
    EXPECT_EQ(Number(sheet, 6, 1), 1);           // the merged area A7:B8 lies in the band
    EXPECT_EQ(sheet.Formula(1, 5), "Data!$B$2"); // column E is outside the band
    // Cells inserted in column C push the formulas down; what they read stays in place.
    sheet.Insert(*Range::Parse("C2:C4"), Shift::Down);
    EXPECT_EQ(sheet.Value(2, 3).type, CellValue::Type::Empty);
    EXPECT_EQ(sheet.Formula(5, 3), "B2*2");
    EXPECT_EQ(sheet.Formula(6, 3), "B3*2");
    EXPECT_EQ(sheet.Formula(5, 1), "SUM(B2:B3)");
    // The merged area A6:B7 would be cut by a shift of column B alone.
    EXPECT_THROW(sheet.Insert(*Range::Parse("B2:B4"), Shift::Down), XlsxError);
}

TEST(WorkbookTest, RefusesEditsTheSpreadsheetProgramRefuses) {
    Workbook book(BuildWorkbook(SalesBook()), "sales.xlsx");
    Worksheet& sheet = book.Sheet(1);
    // Column A of the merged area A7:B8 would move without column B.
    EXPECT_THROW(sheet.Delete(*Range::Parse("A5:A6"), Shift::Up), XlsxError);
    EXPECT_THROW(sheet.Insert(*Range::Parse("A1"), Shift::Up), XlsxError);
    sheet.SetNumber(kMaxRows, 1, 1);
    EXPECT_THROW(sheet.Insert(Range::WholeRows(2, 2), Shift::Down), XlsxError);
    EXPECT_THROW(book.Sheet(3), XlsxError);
    EXPECT_EQ(book.FindSheet("Missing"), nullptr);
    EXPECT_THROW(sheet.Locate("Other!A1"), XlsxError);
    EXPECT_THROW(sheet.Locate("A1:"), XlsxError);
    EXPECT_EQ(sheet.Locate("Values").Address(), "$B$2:$B$4");
    EXPECT_EQ(sheet.Locate("data!b2:c3").Address(false, false), "B2:C3");
    EXPECT_THROW(Workbook("not a zip", "broken.xlsx"), XlsxError);
}

TEST(WorkbookTest, ManyRowsInsertedAsOneBlockStayOrdered) {
    Workbook book(BuildWorkbook(SalesBook()), "sales.xlsx");
    Worksheet& sheet = book.Sheet(1);
    constexpr std::uint32_t kRows = 10000;
    sheet.Insert(Range::WholeRows(3, 3 + kRows - 1), Shift::Down);
    for (std::uint32_t row = 3; row < 3 + kRows; ++row)
        sheet.SetNumber(row, 2, row);
    Workbook again(book.Save(), "sales.xlsx");
    Worksheet& reread = again.Sheet(1);
    EXPECT_EQ(Number(reread, 3 + kRows - 1, 2), 3 + kRows - 1);
    EXPECT_EQ(Number(reread, 3 + kRows, 2), 20);
    EXPECT_EQ(reread.Formula(6 + kRows, 1), "SUM(B2:B" + std::to_string(4 + kRows) + ")");
    EXPECT_EQ(reread.UsedArea().Address(false, false), "A1:E" + std::to_string(7 + kRows));
}

} // namespace
} // namespace slidesmith::xlsx
