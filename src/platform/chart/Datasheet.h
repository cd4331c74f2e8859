#pragma once

#include "platform/chart/ChartModel.h"
#include "platform/xlsx/Worksheet.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace slidesmith::chart {

// A value written into or read from the datasheet: a number, a text or empty (booleans are
// taken as 1 and 0, errors as empty).
using CellValue = xlsx::CellValue;

// The grid the presentation program's data sheet shows for a chart that has no workbook of its
// own (cache-only charts and charts linked to an outside workbook). Row 1 is the header row with
// the series names, column 1 the header column with the categories, the first data cell (2, 2);
// when the series formulas say the series run in rows, the roles of rows and columns swap, as
// the formulas lay them out. A chart without formulas is laid out with names in row 1 and
// categories in column 1. Rows and columns run from 1 to kLimit.
//
// Writes go to the grid at once; Update() (or Refresh()) rebuilds the chart's caches from it.
// A write inside the grid changes a series value, name or category; a write beyond the last
// category or series extends the chart by new categories or new series (each cloned from the
// last series, with its own index, order, colour and unique id).
class Datasheet {
public:
    static constexpr int kLimit = 4000;

    explicit Datasheet(ChartModel& model);
    Datasheet(const Datasheet&) = delete;
    Datasheet& operator=(const Datasheet&) = delete;

    // Throws ChartError naming the cell when row or column lies outside 1..kLimit.
    void SetCell(int row, int column, const CellValue& value);
    // The value the grid holds; empty outside the grid.
    CellValue Cell(int row, int column) const;

    // Last row and column of the grid (the header row and column count).
    int RowCount() const { return m_lastRow; }
    int ColumnCount() const { return m_lastColumn; }
    // True when the series run in columns (names in row 1, categories in column 1).
    bool SeriesInColumns() const { return m_seriesInColumns; }
    bool IsChanged() const { return m_changed; }

    // Rebuild every series cache from the grid.
    void Update();
    void Refresh() { Update(); }

    // The worksheet name the grid stands for in the series formulas.
    const std::string& SheetName() const { return m_sheet; }
    // For the chart model: the grid cell behind a worksheet cell of the series formulas.
    CellValue SheetCell(std::uint32_t row, std::uint32_t column) const;

    // The number format a rebuilt cache gives the cell: the one the template cached for it,
    // else the one of the first value of its series line.
    std::string NumberFormat(std::uint32_t row, std::uint32_t column) const;

private:
    using Position = std::pair<int, int>; // row, column

    void Load();
    void LoadReference(const DataElement& data, bool name);
    void PlanDefaultLayout();
    void EnsureFormulas();
    void ExtendCategories(int last);
    void ExtendSeries(int last);

    ChartModel& m_model;
    std::map<Position, CellValue> m_cells;
    std::map<Position, std::string> m_formats;
    // Literal data elements of a chart without formulas and the references they get once the
    // chart is written to; the chart is left as it is until then.
    std::vector<std::pair<DataElement, std::string>> m_plannedFormulas;
    std::string m_sheet = "Sheet1";
    int m_lastRow = 1;
    int m_lastColumn = 1;
    bool m_seriesInColumns = true;
    bool m_changed = false;
};

} // namespace slidesmith::chart
