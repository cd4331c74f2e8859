// The chart model on chart parts written by hand: reference syntax, series formulas, how
// references follow edits, cache rebuilding and the datasheet's two layouts.
#include "platform/chart/ChartModel.h"

#include "platform/chart/ChartError.h"
#include "platform/chart/Datasheet.h"
#include "platform/chart/SeriesReference.h"
#include "platform/pptx/XmlPart.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include <tuple>

namespace slidesmith::chart {
namespace {

std::unique_ptr<pptx::XmlPart> ChartPart(const std::string& plots) {
    std::string xml =
        "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><c:chart><c:plotArea>" +
        plots +
        "</c:plotArea><c:legend><c:legendEntry><c:idx val=\"1\"/></c:legendEntry>"
        "</c:legend></c:chart></c:chartSpace>";
    return std::make_unique<pptx::XmlPart>("ppt/charts/chart1.xml", xml, "test.pptx");
}

std::string Ref(const std::string& kind, const std::string& formula) {
    return "<c:" + kind + "><c:f>" + formula + "</c:f></c:" + kind + ">";
}

std::string Series(int index, const std::string& name, const std::string& categories,
                   const std::string& values, const std::string& extra = {}) {
    std::string id = std::to_string(index);
    return "<c:ser><c:idx val=\"" + id + "\"/><c:order val=\"" + id + "\"/><c:tx>" + name +
           "</c:tx><c:spPr><a:solidFill><a:schemeClr val=\"accent" + std::to_string(index + 1) +
           "\"/></a:solidFill><a:ln><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill>"
           "</a:ln></c:spPr>" +
           extra + "<c:cat>" + categories + "</c:cat><c:val>" + values + "</c:val></c:ser>";
}

// Series in rows: names in column A, categories in row 1.
std::string RowSeriesBars() {
    return "<c:barChart>" +
           Series(0, Ref("strRef", "Sheet1!$A$2"), Ref("strRef", "Sheet1!$B$1:$E$1"),
                  Ref("numRef", "Sheet1!$B$2:$E$2")) +
           Series(1, Ref("strRef", "Sheet1!$A$3"), Ref("strRef", "Sheet1!$B$1:$E$1"),
                  Ref("numRef", "Sheet1!$B$3:$E$3")) +
           "</c:barChart>";
}

CellValue Number(double value) {
    return CellValue{CellValue::Type::Number, value, {}, false};
}

CellValue Text(const std::string& text) {
    return CellValue{CellValue::Type::Text, 0, text, false};
}

class Cells : public CellSource {
public:
    std::map<std::tuple<std::string, std::uint32_t, std::uint32_t>, CellValue> values;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::string> formats;

    xlsx::CellValue Value(std::string_view sheet, std::uint32_t row,
                          std::uint32_t column) const override {
        auto found = values.find({std::string(sheet), row, column});
        return found == values.end() ? CellValue{} : found->second;
    }
    std::string NumberFormat(std::string_view, std::uint32_t row,
                             std::uint32_t column) const override {
        auto found = formats.find({row, column});
        return found == formats.end() ? "General" : found->second;
    }
    bool HasSheet(std::string_view sheet) const override { return sheet != "Missing"; }
};

std::string Xml(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

TEST(SeriesReference, ReadsAndWritesBackEveryFormOfChartReference) {
    for (const char* text : {"Sheet1!$B$2:$B$5", "'Sales 2008'!$A$1", "'It''s'!B2:C3",
                             "(Sheet1!$A$2,Sheet1!$A$4:$A$5)", "[1]Sheet1!$B$2:$B$5",
                             "'[1]My Sheet'!$C$1", "Sheet1!#REF!", "Графики!$D$189:$F$189"}) {
        std::optional<SeriesReference> reference = SeriesReference::Parse(text);
        ASSERT_TRUE(reference) << text;
        EXPECT_EQ(reference->Text(), text);
    }
    std::optional<SeriesReference> linked = SeriesReference::Parse("'[1]My Sheet'!$C$1");
    EXPECT_EQ(linked->Book(), "[1]");
    EXPECT_EQ(linked->Areas()[0].sheet, "My Sheet");
    EXPECT_EQ(SeriesReference::Parse("(Sheet1!$A$2,Sheet1!$A$4:$A$5)")->CellCount(), 3u);
    // What LibreOffice writes for charts without data ranges, and other non-references.
    for (const char* text : {"label 0", "categories", "0", "", "Sheet1!", "Sheet1!$B$2:"})
        EXPECT_FALSE(SeriesReference::Parse(text)) << text;
}

TEST(ChartModel, SeriesFormulasFollowPlotOrderAndShowLiteralsAsArrayConstants) {
    std::string literalBar =
        "<c:ser><c:idx val=\"0\"/><c:order val=\"1\"/><c:tx><c:v>Car \"A\"</c:v></c:tx><c:cat>"
        "<c:strLit><c:ptCount val=\"2\"/><c:pt idx=\"0\"><c:v>Q1</c:v></c:pt><c:pt idx=\"1\">"
        "<c:v>Q2</c:v></c:pt></c:strLit></c:cat><c:val><c:numLit><c:ptCount val=\"2\"/>"
        "<c:pt idx=\"0\"><c:v>3</c:v></c:pt><c:pt idx=\"1\"><c:v>4.5</c:v></c:pt></c:numLit>"
        "</c:val></c:ser>";
    std::string bubble = "<c:ser><c:idx val=\"1\"/><c:order val=\"0\"/><c:xVal>" +
                         Ref("numRef", "'Sales 2008'!$A$2:$A$4") + "</c:xVal><c:yVal>" +
                         Ref("numRef", "'Sales 2008'!$B$2:$B$4") + "</c:yVal><c:bubbleSize>" +
                         Ref("numRef", "'Sales 2008'!$C$2:$C$4") + "</c:bubbleSize></c:ser>";
    auto part = ChartPart("<c:barChart>" + literalBar + "</c:barChart><c:bubbleChart>" + bubble +
                          "</c:bubbleChart>");
    ChartModel model(*part);
    EXPECT_EQ(model.SeriesFormulas(),
              (std::vector<std::string>{"=SERIES(,'Sales 2008'!$A$2:$A$4,'Sales 2008'!$B$2:$B$4,1,"
                                        "'Sales 2008'!$C$2:$C$4)",
                                        "=SERIES(\"Car \"\"A\"\"\",{\"Q1\",\"Q2\"},{3,4.5},2)"}));
    EXPECT_EQ(model.FirstSheet(), "Sales 2008");
}

TEST(ChartModel, FindsTheSeriesOfEveryKindOfPlot) {
    std::string plots;
    int index = 0;
    for (const char* kind :
         {"barChart", "bar3DChart", "lineChart", "line3DChart", "areaChart", "area3DChart",
          "pieChart", "pie3DChart", "doughnutChart", "ofPieChart", "radarChart", "surfaceChart",
          "surface3DChart", "stockChart", "scatterChart", "bubbleChart"}) {
        plots += std::string("<c:") + kind + ">" +
                 Series(index, "<c:v>S</c:v>", Ref("strRef", "Sheet1!$A$2:$A$3"),
                        Ref("numRef", "Sheet1!$B$2:$B$3")) +
                 "</c:" + kind + ">";
        ++index;
    }
    auto part = ChartPart("<c:layout/>" + plots + "<c:catAx/><c:valAx/><c:dTable/>");
    ChartModel model(*part);
    EXPECT_EQ(model.SeriesCount(), 16u);
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Rows, true, 3, 1, 1, xlsx::kMaxColumns});
    for (const std::string& formula : model.SeriesFormulas())
        EXPECT_NE(formula.find("Sheet1!$B$2:$B$4"), std::string::npos) << formula;
}

TEST(ChartModel, SeriesInRowsGainSeriesForInsertedRowsAndStretchOverInsertedColumns) {
    auto part = ChartPart(RowSeriesBars());
    ChartModel model(*part);
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Rows, true, 3, 2, 1, xlsx::kMaxColumns});
    model.FollowEdit({"sheet1", xlsx::SheetEdit::Axis::Columns, true, 4, 1, 1, xlsx::kMaxRows});
    EXPECT_EQ(
        model.SeriesFormulas(),
        (std::vector<std::string>{"=SERIES(Sheet1!$A$2,Sheet1!$B$1:$F$1,Sheet1!$B$2:$F$2,1)",
                                  "=SERIES(Sheet1!$A$3,Sheet1!$B$1:$F$1,Sheet1!$B$3:$F$3,2)",
                                  "=SERIES(Sheet1!$A$4,Sheet1!$B$1:$F$1,Sheet1!$B$4:$F$4,3)",
                                  "=SERIES(Sheet1!$A$5,Sheet1!$B$1:$F$1,Sheet1!$B$5:$F$5,4)"}));
    // The copies have indexes, colours and orders of their own.
    std::vector<std::string> colours;
    std::vector<long long> indexes;
    for (pugi::xml_node series : model.Series()) {
        colours.push_back(series.select_node(".//a:schemeClr").node().attribute("val").value());
        indexes.push_back(series.child("c:idx").attribute("val").as_llong());
    }
    EXPECT_EQ(colours, (std::vector<std::string>{"accent1", "accent3", "accent4", "accent2"}));
    EXPECT_EQ(part->Root().select_nodes("//c:ser/c:spPr/a:ln//a:srgbClr[@val='FFFFFF']").size(),
              4u); // outlines keep their colour
    EXPECT_EQ(indexes, (std::vector<long long>{0, 2, 3, 1}));
    EXPECT_TRUE(model.IsChanged());
}

TEST(ChartModel, LinesInsertedRightAfterASeriesOrInAnotherSheetLeaveItAlone) {
    auto part = ChartPart(RowSeriesBars());
    ChartModel model(*part);
    std::vector<std::string> before = model.SeriesFormulas();
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Columns, true, 6, 3, 1, xlsx::kMaxRows});
    model.FollowEdit({"Other", xlsx::SheetEdit::Axis::Rows, false, 1, 3, 1, xlsx::kMaxColumns});
    // Cells shifted down in a band that misses the names do not add series.
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Rows, true, 3, 1, 2, 5});
    EXPECT_EQ(model.SeriesFormulas()[0], before[0]);
    EXPECT_EQ(model.SeriesCount(), 2u);
}

TEST(ChartModel, DeletedCellsRemoveSeriesKeepNamesAsTextAndDropCategories) {
    auto part = ChartPart(RowSeriesBars());
    ChartModel model(*part);
    pugi::xml_node name = model.Series()[1].select_node(".//c:strRef").node();
    name.append_child("c:strCache").append_child("c:pt").append_child("c:v").text().set("East");
    // Column A (the names) goes: the names stay as text.
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Columns, false, 1, 1, 1, xlsx::kMaxRows});
    EXPECT_EQ(model.SeriesFormulas()[1], "=SERIES(\"East\",Sheet1!$A$1:$D$1,Sheet1!$A$3:$D$3,2)");
    // Row 2 goes: the first series has nothing left and is removed with its legend entry.
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Rows, false, 2, 1, 1, xlsx::kMaxColumns});
    EXPECT_EQ(model.SeriesFormulas(),
              std::vector<std::string>{"=SERIES(\"East\",Sheet1!$A$1:$D$1,Sheet1!$A$2:$D$2,1)"});
    EXPECT_FALSE(part->Root().select_node("//c:legendEntry"));
    // Row 1 (the categories) goes: the points are numbered instead. The last series stays
    // even when its values go.
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Rows, false, 1, 2, 1, xlsx::kMaxColumns});
    EXPECT_EQ(model.SeriesFormulas(),
              std::vector<std::string>{"=SERIES(\"East\",,Sheet1!#REF!,1)"});
}

TEST(ChartModel, RebuiltCachesHoldTheCellsWithFormatsGapsAndLevels) {
    std::string extra = "<c:dPt><c:idx val=\"0\"/></c:dPt><c:dPt><c:idx val=\"2\"/></c:dPt>"
                        "<c:dLbls><c:dLbl><c:idx val=\"2\"/></c:dLbl><c:dLbl><c:idx val=\"1\"/>"
                        "</c:dLbl></c:dLbls>";
    std::string values = "<c:numRef><c:f>Sheet1!$C$2:$C$4</c:f><c:numCache><c:formatCode>0.0"
                         "</c:formatCode><c:ptCount val=\"3\"/></c:numCache></c:numRef>";
    auto part = ChartPart("<c:lineChart>" +
                          Series(0, Ref("strRef", "Sheet1!$C$1:$D$1"),
                                 Ref("multiLvlStrRef", "Sheet1!$A$2:$B$4"), values, extra) +
                          "</c:lineChart>");
    ChartModel model(*part);
    Cells cells;
    cells.values = {{{"Sheet1", 1, 3}, Text("Sales")}, {{"Sheet1", 1, 4}, Text("2026")},
                    {{"Sheet1", 2, 1}, Text("North")}, {{"Sheet1", 2, 2}, Text("Jan")},
                    {{"Sheet1", 3, 2}, Number(2)},     {{"Sheet1", 2, 3}, Number(0.25)},
                    {{"Sheet1", 3, 3}, Text("n/a")}};
    cells.formats = {{{2, 3}, "0%"}, {{3, 3}, "0.00"}};
    // Shrink to two points first: the point formatting of the third goes.
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Rows, false, 4, 1, 1, xlsx::kMaxColumns});
    model.RebuildCaches(cells);
    pugi::xml_node series = model.Series()[0];
    EXPECT_EQ(Xml(series.child("c:tx").child("c:strRef").child("c:strCache")),
              "<c:strCache><c:ptCount val=\"1\"/><c:pt idx=\"0\"><c:v>Sales 2026</c:v></c:pt>"
              "</c:strCache>");
    EXPECT_EQ(Xml(series.child("c:cat").child("c:multiLvlStrRef").child("c:multiLvlStrCache")),
              "<c:multiLvlStrCache><c:ptCount val=\"2\"/><c:lvl><c:pt idx=\"0\"><c:v>Jan</c:v>"
              "</c:pt><c:pt idx=\"1\"><c:v>2</c:v></c:pt></c:lvl><c:lvl><c:pt idx=\"0\"><c:v>"
              "North</c:v></c:pt></c:lvl></c:multiLvlStrCache>");
    EXPECT_EQ(Xml(series.child("c:val").child("c:numRef").child("c:numCache")),
              "<c:numCache><c:formatCode>0%</c:formatCode><c:ptCount val=\"2\"/><c:pt idx=\"0\">"
              "<c:v>0.25</c:v></c:pt></c:numCache>");
    EXPECT_EQ(series.select_nodes("c:dPt").size(), 1u);
    EXPECT_FALSE(part->Root().select_node("//c:legendEntry")); // it named a second series
    EXPECT_EQ(series.select_nodes("c:dLbls/c:dLbl").size(), 1u);
}

TEST(ChartModel, DataLabelRangesMoveAndTakeTheirCellsTexts) {
    std::string labels =
        "<c:extLst><c:ext uri=\"{02D57815-91ED-43cb-92C2-25804820EDAC}\" "
        "xmlns:c15=\"http://schemas.microsoft.com/office/drawing/2012/chart\"><c15:datalabelsRange>"
        "<c15:f>Sheet1!$D$2:$D$3</c15:f><c15:dlblRangeCache><c:ptCount val=\"2\"/>"
        "</c15:dlblRangeCache></c15:datalabelsRange></c:ext></c:extLst>";
    std::string series = Series(0, "<c:v>A</c:v>", Ref("strRef", "Sheet1!$A$2:$A$3"),
                                Ref("numRef", "Sheet1!$B$2:$B$3"));
    series.insert(series.size() - std::string("</c:ser>").size(), labels);
    auto part = ChartPart("<c:barChart>" + series + "</c:barChart>");
    ChartModel model(*part);
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Rows, true, 3, 1, 1, xlsx::kMaxColumns});
    Cells cells;
    cells.values = {{{"Sheet1", 2, 4}, Text("low")}, {{"Sheet1", 4, 4}, Text("high")}};
    model.RebuildCaches(cells);
    EXPECT_EQ(Xml(part->Root().select_node("//c15:datalabelsRange").node()),
              "<c15:datalabelsRange><c15:f>Sheet1!$D$2:$D$4</c15:f><c15:dlblRangeCache>"
              "<c:ptCount val=\"3\"/><c:pt idx=\"0\"><c:v>low</c:v></c:pt><c:pt idx=\"2\">"
              "<c:v>high</c:v></c:pt></c15:dlblRangeCache></c15:datalabelsRange>");
}

TEST(ChartModel, APieKeepsTheLegendEntriesOfItsRemainingPoints) {
    auto part = ChartPart("<c:pieChart><c:varyColors val=\"1\"/>" +
                          Series(0, "<c:v>A</c:v>", Ref("strRef", "Sheet1!$A$2:$A$4"),
                                 Ref("numRef", "Sheet1!$B$2:$B$4")) +
                          "</c:pieChart>");
    ChartModel model(*part);
    model.RebuildCaches(Cells());
    EXPECT_TRUE(part->Root().select_node("//c:legendEntry")); // point 2 of 3
    model.FollowEdit({"Sheet1", xlsx::SheetEdit::Axis::Rows, false, 3, 2, 1, xlsx::kMaxColumns});
    model.RebuildCaches(Cells());
    EXPECT_FALSE(part->Root().select_node("//c:legendEntry"));
}

TEST(ChartModel, NumberCategoriesThatReceiveTextBecomeTextCategories) {
    auto part = ChartPart("<c:barChart>" +
                          Series(0, "<c:v>A</c:v>", Ref("numRef", "Sheet1!$A$2:$A$3"),
                                 Ref("numRef", "Sheet1!$B$2:$B$3")) +
                          "</c:barChart>");
    ChartModel model(*part);
    Cells cells;
    cells.values = {{{"Sheet1", 2, 1}, Number(2025)}, {{"Sheet1", 3, 1}, Text("Plan")}};
    model.RebuildCaches(cells);
    EXPECT_EQ(Xml(part->Root().select_node("//c:cat").node()),
              "<c:cat><c:strRef><c:f>Sheet1!$A$2:$A$3</c:f><c:strCache><c:ptCount val=\"2\"/>"
              "<c:pt idx=\"0\"><c:v>2025</c:v></c:pt><c:pt idx=\"1\"><c:v>Plan</c:v></c:pt>"
              "</c:strCache></c:strRef></c:cat>");
}

TEST(ChartModel, ReferencesToMissingSheetsOrOtherWorkbooksKeepTheirCaches) {
    std::string cached = "<c:numCache><c:ptCount val=\"1\"/><c:pt idx=\"0\"><c:v>7</c:v></c:pt>"
                         "</c:numCache>";
    auto part = ChartPart("<c:barChart>" +
                          Series(0, "<c:v>A</c:v>", Ref("strRef", "Missing!$A$2"),
                                 "<c:numRef><c:f>[1]Sheet1!$B$2</c:f>" + cached + "</c:numRef>") +
                          "</c:barChart>");
    ChartModel model(*part);
    model.RebuildCaches(Cells());
    EXPECT_EQ(Xml(part->Root().select_node("//c:numCache").node()), cached);
    EXPECT_EQ(part->Root().select_node("//c:strCache").node(), pugi::xml_node());
}

TEST(Datasheet, SeriesInRowsExtendByRowsAndCategoriesByColumns) {
    auto part = ChartPart(RowSeriesBars());
    ChartModel model(*part);
    Datasheet datasheet(model);
    EXPECT_FALSE(datasheet.SeriesInColumns());
    EXPECT_EQ(datasheet.RowCount(), 3);
    EXPECT_EQ(datasheet.ColumnCount(), 5);
    datasheet.SetCell(4, 1, Text("West")); // a new series
    datasheet.SetCell(2, 7, Number(8));    // two new categories
    EXPECT_EQ(
        model.SeriesFormulas(),
        (std::vector<std::string>{"=SERIES(Sheet1!$A$2,Sheet1!$B$1:$G$1,Sheet1!$B$2:$G$2,1)",
                                  "=SERIES(Sheet1!$A$3,Sheet1!$B$1:$G$1,Sheet1!$B$3:$G$3,2)",
                                  "=SERIES(Sheet1!$A$4,Sheet1!$B$1:$G$1,Sheet1!$B$4:$G$4,3)"}));
    datasheet.Update();
    EXPECT_STREQ(part->Root().select_node("//c:ser[3]/c:tx//c:v").node().child_value(), "West");
    EXPECT_THROW(datasheet.SetCell(2, 4001, Number(1)), ChartError);
    EXPECT_THROW(datasheet.SetCell(0, 2, Number(1)), ChartError);
}

TEST(Datasheet, MultiLevelCategoriesFillTheirColumns) {
    std::string categories =
        "<c:multiLvlStrRef><c:f>Sheet1!$A$2:$B$3</c:f><c:multiLvlStrCache><c:ptCount val=\"2\"/>"
        "<c:lvl><c:pt idx=\"0\"><c:v>Jan</c:v></c:pt><c:pt idx=\"1\"><c:v>Feb</c:v></c:pt>"
        "</c:lvl><c:lvl><c:pt idx=\"0\"><c:v>2026</c:v></c:pt></c:lvl></c:multiLvlStrCache>"
        "</c:multiLvlStrRef>";
    auto part = ChartPart(
        "<c:barChart>" +
        Series(0, Ref("strRef", "Sheet1!$C$1"), categories, Ref("numRef", "Sheet1!$C$2:$C$3")) +
        "</c:barChart>");
    ChartModel model(*part);
    Datasheet datasheet(model);
    EXPECT_EQ(datasheet.Cell(2, 1).text, "2026");
    EXPECT_EQ(datasheet.Cell(2, 2).text, "Jan");
    EXPECT_EQ(datasheet.Cell(3, 2).text, "Feb");
    EXPECT_EQ(datasheet.Cell(3, 1).type, CellValue::Type::Empty);
}

TEST(Datasheet, AChartWithoutFormulasIsLaidOutWithNamesAboveAndCategoriesLeft) {
    std::string literal = "<c:ser><c:idx val=\"0\"/><c:order val=\"0\"/><c:tx><c:v>Car</c:v>"
                          "</c:tx><c:cat><c:strLit><c:ptCount val=\"2\"/><c:pt idx=\"0\"><c:v>Q1"
                          "</c:v></c:pt><c:pt idx=\"1\"><c:v>Q2</c:v></c:pt></c:strLit></c:cat>"
                          "<c:val><c:numLit><c:formatCode>0.0</c:formatCode><c:ptCount val=\"2\"/>"
                          "<c:pt idx=\"0\"><c:v>3</c:v></c:pt><c:pt idx=\"1\"><c:v>4</c:v></c:pt>"
                          "</c:numLit></c:val></c:ser>";
    auto part = ChartPart("<c:barChart>" + literal + "</c:barChart>");
    ChartModel model(*part);
    Datasheet datasheet(model);
    EXPECT_EQ(datasheet.Cell(1, 2).text, "Car");
    EXPECT_EQ(datasheet.Cell(3, 1).text, "Q2");
    EXPECT_EQ(datasheet.Cell(3, 2).number, 4);
    EXPECT_FALSE(model.IsChanged()); // nothing is written until a cell is
    datasheet.SetCell(4, 1, Text("003"));
    datasheet.SetCell(4, 2, Text(" 5"));
    EXPECT_EQ(datasheet.Cell(4, 1).text, "003"); // a label stays text, a data cell a number
    datasheet.Update();
    EXPECT_EQ(model.SeriesFormulas(),
              std::vector<std::string>{"=SERIES(Sheet1!$B$1,Sheet1!$A$2:$A$4,Sheet1!$B$2:$B$4,1)"});
    EXPECT_EQ(Xml(part->Root().select_node("//c:val//c:numCache").node()),
              "<c:numCache><c:formatCode>0.0</c:formatCode><c:ptCount val=\"3\"/><c:pt idx=\"0\">"
              "<c:v>3</c:v></c:pt><c:pt idx=\"1\"><c:v>4</c:v></c:pt><c:pt idx=\"2\"><c:v>5</c:v>"
              "</c:pt></c:numCache>");
}

} // namespace
} // namespace slidesmith::chart
