#include "ChartParts.h"

#include "PackageFiles.h"
#include "TestToolError.h"
#include "XmlText.h"

#include <cctype>
#include <map>

namespace slidesmith::testtools::ChartParts {
namespace {

std::string Val(const char* element, const std::string& value) {
    return std::string("<c:") + element + " val=\"" + value + "\"/>";
}

std::string Row(int row) {
    return std::to_string(row);
}

std::string Absolute(int column, int row) {
    return "$" + ColumnName(column) + "$" + Row(row);
}

std::string StringPoints(const std::vector<std::string>& values) {
    std::string text = "<c:ptCount val=\"" + std::to_string(values.size()) + "\"/>";
    for (std::size_t i = 0; i < values.size(); ++i) {
        text +=
            "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>" + Escape(values[i]) + "</c:v></c:pt>";
    }
    return text;
}

std::string NumberPoints(const ChartShape& chart, const std::vector<double>& values) {
    std::string text = "<c:formatCode>" + Escape(chart.numberFormat) +
                       "</c:formatCode><c:ptCount val=\"" + std::to_string(values.size()) + "\"/>";
    for (std::size_t i = 0; i < values.size(); ++i) {
        text += "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>" + FormatNumber(values[i]) +
                "</c:v></c:pt>";
    }
    return text;
}

// c:tx, then the part after the type-specific elements: c:cat and c:val.
std::pair<std::string, std::string> SeriesParts(const ChartShape& chart, std::size_t index) {
    const ChartSeries& series = chart.series[index];
    const int column = static_cast<int>(index) + 1;
    const int lastRow = static_cast<int>(chart.categories.size()) + 1;
    if (!chart.embeddedWorkbook) {
        return {"<c:tx><c:v>" + Escape(series.name) + "</c:v></c:tx>",
                "<c:cat><c:strLit>" + StringPoints(chart.categories) + "</c:strLit></c:cat>" +
                    "<c:val><c:numLit>" + NumberPoints(chart, series.values) +
                    "</c:numLit></c:val>"};
    }
    const std::string name = CellReference(chart.sheetName, Absolute(column, 1));
    const std::string categories =
        CellReference(chart.sheetName, Absolute(0, 2) + ":" + Absolute(0, lastRow));
    const std::string values =
        CellReference(chart.sheetName, Absolute(column, 2) + ":" + Absolute(column, lastRow));
    return {"<c:tx><c:strRef><c:f>" + Escape(name) + "</c:f><c:strCache>" +
                StringPoints({series.name}) + "</c:strCache></c:strRef></c:tx>",
            "<c:cat><c:strRef><c:f>" + Escape(categories) + "</c:f><c:strCache>" +
                StringPoints(chart.categories) +
                "</c:strCache></c:strRef></c:cat><c:val><c:numRef><c:f>" + Escape(values) +
                "</c:f><c:numCache>" + NumberPoints(chart, series.values) +
                "</c:numCache></c:numRef></c:val>"};
}

std::string Fill(std::size_t index) {
    return "<c:spPr><a:solidFill><a:schemeClr val=\"accent" + std::to_string(index % 6 + 1) +
           "\"/></a:solidFill></c:spPr>";
}

std::string Axes() {
    return "<c:catAx><c:axId val=\"500000001\"/><c:scaling><c:orientation val=\"minMax\"/>"
           "</c:scaling><c:delete val=\"0\"/><c:axPos val=\"b\"/><c:numFmt formatCode=\"General\" "
           "sourceLinked=\"1\"/><c:majorTickMark val=\"none\"/><c:minorTickMark val=\"none\"/>"
           "<c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"500000002\"/><c:crosses "
           "val=\"autoZero\"/><c:auto val=\"1\"/><c:lblAlgn val=\"ctr\"/><c:lblOffset "
           "val=\"100\"/><c:noMultiLvlLbl val=\"0\"/></c:catAx><c:valAx><c:axId "
           "val=\"500000002\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete "
           "val=\"0\"/><c:axPos val=\"l\"/><c:majorGridlines/><c:numFmt formatCode=\"General\" "
           "sourceLinked=\"1\"/><c:majorTickMark val=\"none\"/><c:minorTickMark val=\"none\"/>"
           "<c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"500000001\"/><c:crosses "
           "val=\"autoZero\"/><c:crossBetween val=\"between\"/></c:valAx>";
}

// Schema order of c:ser differs per chart type; a wrong order makes PowerPoint repair the file.
std::string Plot(const ChartShape& chart) {
    std::string series;
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        const auto [tx, data] = SeriesParts(chart, i);
        const std::string head =
            Val("idx", std::to_string(i)) + Val("order", std::to_string(i)) + tx;
        switch (chart.kind) {
        case ChartShape::Kind::Bar:
            series += "<c:ser>" + head + Fill(i) + Val("invertIfNegative", "0") + data + "</c:ser>";
            break;
        case ChartShape::Kind::Line:
            series += "<c:ser>" + head +
                      "<c:spPr><a:ln w=\"28575\" cap=\"rnd\"><a:solidFill>"
                      "<a:schemeClr val=\"accent" +
                      std::to_string(i % 6 + 1) +
                      "\"/></a:solidFill><a:round/></a:ln></c:spPr><c:marker><c:symbol "
                      "val=\"none\"/></c:marker>" +
                      data + Val("smooth", "0") + "</c:ser>";
            break;
        case ChartShape::Kind::Pie:
            series += "<c:ser>" + head + data + "</c:ser>";
            break;
        }
    }
    switch (chart.kind) {
    case ChartShape::Kind::Bar:
        return "<c:barChart>" + Val("barDir", "col") + Val("grouping", "clustered") +
               Val("varyColors", "0") + series + Val("gapWidth", "219") + Val("overlap", "-27") +
               "<c:axId val=\"500000001\"/><c:axId val=\"500000002\"/></c:barChart>" + Axes();
    case ChartShape::Kind::Line:
        return "<c:lineChart>" + Val("grouping", "standard") + Val("varyColors", "0") + series +
               Val("marker", "1") +
               "<c:axId val=\"500000001\"/><c:axId val=\"500000002\"/></c:lineChart>" + Axes();
    case ChartShape::Kind::Pie:
        return "<c:pieChart>" + Val("varyColors", "1") + series + Val("firstSliceAng", "0") +
               "</c:pieChart>";
    }
    return {};
}

void Validate(const ChartShape& chart) {
    if (chart.series.empty() || chart.categories.empty()) {
        throw TestToolError("chart \"" + chart.name + "\" needs at least one series and category");
    }
    for (const ChartSeries& series : chart.series) {
        if (series.values.size() != chart.categories.size()) {
            throw TestToolError("chart \"" + chart.name + "\" series \"" + series.name + "\" has " +
                                std::to_string(series.values.size()) + " values for " +
                                std::to_string(chart.categories.size()) + " categories");
        }
    }
}

} // namespace

std::string ColumnName(int column) {
    std::string name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) {
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return name;
}

std::string CellReference(const std::string& sheet, const std::string& range) {
    bool plain = !sheet.empty() && std::isdigit(static_cast<unsigned char>(sheet[0])) == 0;
    for (char c : sheet) {
        plain = plain && (std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_');
    }
    if (plain) {
        return sheet + "!" + range;
    }
    std::string quoted;
    for (char c : sheet) {
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    }
    return "'" + quoted + "'!" + range;
}

std::string ChartXml(const ChartShape& chart) {
    Validate(chart);
    return std::string(kXmlDeclaration) +
           "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
           "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">" +
           Val("date1904", "0") + Val("lang", "en-US") + Val("roundedCorners", "0") + "<c:chart>" +
           Val("autoTitleDeleted", "1") + "<c:plotArea><c:layout/>" + Plot(chart) +
           "</c:plotArea><c:legend>" + Val("legendPos", "b") + Val("overlay", "0") + "</c:legend>" +
           Val("plotVisOnly", "1") + Val("dispBlanksAs", "gap") +
           "</c:chart><c:txPr><a:bodyPr/><a:lstStyle/><a:p><a:pPr><a:defRPr sz=\"1200\"/></a:pPr>"
           "<a:endParaRPr lang=\"en-US\"/></a:p></c:txPr>" +
           (chart.embeddedWorkbook
                ? "<c:externalData r:id=\"rId1\"><c:autoUpdate val=\"0\"/></c:externalData>"
                : "") +
           "</c:chartSpace>";
}

std::string ChartRelationships(const std::string& workbookTarget) {
    return std::string(kXmlDeclaration) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/package\" "
           "Target=\"" +
           Escape(workbookTarget) + "\"/></Relationships>";
}

std::string Workbook(const ChartShape& chart) {
    Validate(chart);
    std::vector<std::string> strings;
    std::map<std::string, std::size_t> index;
    const auto stringCell = [&](const std::string& ref, const std::string& text) {
        auto [at, isNew] = index.emplace(text, strings.size());
        if (isNew) {
            strings.push_back(text);
        }
        return "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(at->second) + "</v></c>";
    };
    const int lastColumn = static_cast<int>(chart.series.size());
    const int lastRow = static_cast<int>(chart.categories.size()) + 1;
    std::string rows = "<row r=\"1\">";
    for (int s = 0; s < lastColumn; ++s) {
        rows += stringCell(ColumnName(s + 1) + "1", chart.series[static_cast<std::size_t>(s)].name);
    }
    rows += "</row>";
    for (int r = 2; r <= lastRow; ++r) {
        const auto category = static_cast<std::size_t>(r - 2);
        rows += "<row r=\"" + Row(r) + "\">" + stringCell("A" + Row(r), chart.categories[category]);
        for (int s = 0; s < lastColumn; ++s) {
            rows += "<c r=\"" + ColumnName(s + 1) + Row(r) + "\"><v>" +
                    FormatNumber(chart.series[static_cast<std::size_t>(s)].values[category]) +
                    "</v></c>";
        }
        rows += "</row>";
    }
    std::string shared;
    for (const auto& text : strings) {
        shared += "<si><t>" + Escape(text) + "</t></si>";
    }
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string sml = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    PartMap parts;
    parts["[Content_Types].xml"] =
        std::string(kXmlDeclaration) +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
        sml +
        "sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" +
        sml +
        "worksheet+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" ContentType=\"" +
        sml +
        "styles+xml\"/>"
        "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"" +
        sml + "sharedStrings+xml\"/></Types>";
    parts["_rels/.rels"] = std::string(kXmlDeclaration) +
                           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                           "relationships\"><Relationship Id=\"rId1\" Type=\"" +
                           rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    parts["xl/workbook.xml"] = std::string(kXmlDeclaration) + "<workbook xmlns=\"" + main +
                               "\" xmlns:r=\"" + rel + "\"><sheets><sheet name=\"" +
                               Escape(chart.sheetName) +
                               "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    parts["xl/_rels/workbook.xml.rels"] =
        std::string(kXmlDeclaration) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" +
        rel +
        "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"" +
        rel +
        "/styles\" Target=\"styles.xml\"/>"
        "<Relationship Id=\"rId3\" Type=\"" +
        rel + "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";
    parts["xl/worksheets/sheet1.xml"] =
        std::string(kXmlDeclaration) + "<worksheet xmlns=\"" + main + "\" xmlns:r=\"" + rel +
        "\"><dimension ref=\"A1:" + ColumnName(lastColumn) + Row(lastRow) + "\"/><sheetData>" +
        rows + "</sheetData></worksheet>";
    parts["xl/sharedStrings.xml"] = std::string(kXmlDeclaration) + "<sst xmlns=\"" + main +
                                    "\" count=\"" + std::to_string(strings.size()) +
                                    "\" uniqueCount=\"" + std::to_string(strings.size()) + "\">" +
                                    shared + "</sst>";
    parts["xl/styles.xml"] =
        std::string(kXmlDeclaration) + "<styleSheet xmlns=\"" + main +
        "\"><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/>"
        "</font></fonts><fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill>"
        "<patternFill patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border><left/>"
        "<right/><top/><bottom/><diagonal/></border></borders><cellStyleXfs count=\"1\"><xf "
        "numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs><cellXfs "
        "count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
        "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
        "</cellStyles></styleSheet>";
    return WritePackageToMemory(parts);
}

} // namespace slidesmith::testtools::ChartParts
