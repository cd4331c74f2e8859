#pragma once

#include "platform/xlsx/ReferenceShift.h"
#include "platform/xlsx/Worksheet.h"

#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::pptx {
class XmlPart;
}

namespace slidesmith::chart {

// Where caches are rebuilt from: the cells of a workbook or of a datasheet.
class CellSource {
public:
    virtual ~CellSource() = default;
    // nullopt-like Empty value for a missing cell. sheet is the one the reference names.
    virtual xlsx::CellValue Value(std::string_view sheet, std::uint32_t row,
                                  std::uint32_t column) const = 0;
    // The number format code of the cell ("General" when it has none).
    virtual std::string NumberFormat(std::string_view sheet, std::uint32_t row,
                                     std::uint32_t column) const = 0;
    // False when the sheet does not exist: references to it keep their caches.
    virtual bool HasSheet(std::string_view sheet) const = 0;
};

// The role of one data element of a series.
enum class DataRole { Name, Categories, Values, XValues, YValues, BubbleSizes };

// One data element of a series (c:tx, c:cat, c:val, c:xVal, c:yVal, c:bubbleSize) and the node
// holding its data: c:strRef, c:numRef, c:multiLvlStrRef (references with caches), c:strLit,
// c:numLit (array constants), or c:v (a literal series name).
struct DataElement {
    DataRole role = DataRole::Values;
    pugi::xml_node element;
    pugi::xml_node data;

    bool IsReference() const;
    // The c:f text; empty for literals.
    std::string Formula() const;
};

// The chart part's plots and series: every c:ser of every plot of the plot area (bar, column,
// line, area, pie, doughnut, of-pie, scatter, bubble, radar, surface, stock, their 3-D variants
// and combinations), in plot order. Knows the series references (c:f) and caches: moves the
// references with edits of the workbook, adds and removes series as the spreadsheet program's
// chart data range does, and rebuilds every cache from cells. Throws ChartError naming the part.
class ChartModel {
public:
    explicit ChartModel(pptx::XmlPart& part);
    ChartModel(const ChartModel&) = delete;
    ChartModel& operator=(const ChartModel&) = delete;

    const std::string& PartName() const;
    pugi::xml_node ChartSpace() const;
    std::size_t SeriesCount() const { return m_series.size(); }
    // c:ser nodes in plot order (ascending c:order; document order for equal ones).
    const std::vector<pugi::xml_node>& Series() const { return m_series; }
    std::vector<DataElement> DataOf(pugi::xml_node series) const;
    // The value element of a series: c:val, or c:yVal for scatter and bubble.
    DataElement ValuesOf(pugi::xml_node series) const;

    std::vector<std::string> SeriesFormulas() const;
    // The sheet named by the first reference of any series; empty when none names one.
    std::string FirstSheet() const;

    // Moves every chart reference with an insertion or deletion of cells. A series whose values
    // were all deleted is removed (the last remaining series is kept with "#REF!"); lines
    // inserted between two adjacent series of one plot become new series between them.
    void FollowEdit(const xlsx::SheetEdit& edit);

    // Rebuilds every reference cache of the chart from the cells: points, ptCount, number
    // formats; point formatting of points that no longer exist is dropped, and when every point
    // was formatted on its own, new points are formatted like the earlier ones.
    // References into another workbook ("[1]Sheet1!..") are rebuilt only with includeLinked.
    void RebuildCaches(const CellSource& cells, bool includeLinked = false);
    // Removes the book index of linked references, so they name the chart's own data.
    void DropBookReferences();
    // True when the series reads its values down a column (the usual layout).
    bool RunsInColumns(pugi::xml_node series) const;

    // Sets the c:f of a reference element (creating the reference from a literal when needed).
    void SetFormula(DataElement& data, const std::string& formula);
    // A copy of `series` placed right after it in its plot, with the next free c:idx, a c:order
    // right after it (later ones move up), its own colour and unique id. Returns the copy.
    pugi::xml_node CloneSeries(pugi::xml_node series);
    void RemoveSeries(pugi::xml_node series);

    void MarkChanged();
    bool IsChanged() const { return m_changed; }

private:
    struct InsertedSeries {
        pugi::xml_node left; // the series before the inserted lines
        std::uint32_t line;  // its column (or row)
        std::uint32_t count;
        bool columns;
    };

    void Index();
    std::vector<InsertedSeries> PlanInsertedSeries(const xlsx::SheetEdit& edit) const;
    void AddInsertedSeries(const InsertedSeries& plan, const xlsx::SheetEdit& edit);
    void DropDeletedData();
    void TrimLegendEntries();
    std::string Describe(pugi::xml_node series, std::string_view what) const;

    pptx::XmlPart& m_part;
    std::vector<pugi::xml_node> m_series;
    bool m_changed = false;
};

} // namespace slidesmith::chart
