#include "platform/chart/Datasheet.h"

#include "platform/chart/ChartError.h"
#include "platform/chart/ChartXml.h"
#include "platform/chart/SeriesReference.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace slidesmith::chart {
namespace {

class DatasheetCells : public CellSource {
public:
    explicit DatasheetCells(const Datasheet& sheet) : m_sheet(sheet) {}
    xlsx::CellValue Value(std::string_view, std::uint32_t row,
                          std::uint32_t column) const override {
        return m_sheet.SheetCell(row, column);
    }
    std::string NumberFormat(std::string_view, std::uint32_t row,
                             std::uint32_t column) const override {
        return m_sheet.NumberFormat(row, column);
    }
    bool HasSheet(std::string_view) const override { return true; }

private:
    const Datasheet& m_sheet;
};

// The points of a cache or literal by index: value and own format code.
struct CachedPoint {
    CellValue value;
    std::string format;
};

// count: the number of points, when the holder does not say itself (a level of categories).
std::vector<CachedPoint> CachedPoints(pugi::xml_node holder, bool numbers, long long count = -1) {
    // Sized by the points present, not by ptCount, which a damaged file may set to anything.
    if (count < 0)
        count = xml::ChildVal(holder, "ptCount", 0);
    long long last = -1;
    for (pugi::xml_node point : xml::Children(holder, "pt")) {
        long long index = point.attribute("idx").as_llong(-1);
        if (index < count)
            last = std::max(last, index);
    }
    std::vector<CachedPoint> points(static_cast<std::size_t>(last + 1));
    for (pugi::xml_node point : xml::Children(holder, "pt")) {
        long long index = point.attribute("idx").as_llong(-1);
        if (index < 0 || index >= static_cast<long long>(points.size()))
            continue;
        CachedPoint& cached = points[static_cast<std::size_t>(index)];
        std::string text = xml::Child(point, "v").child_value();
        double number = 0;
        auto result = std::from_chars(text.data(), text.data() + text.size(), number);
        if (numbers && result.ec == std::errc() && result.ptr == text.data() + text.size()) {
            cached.value.type = CellValue::Type::Number;
            cached.value.number = number;
        } else {
            cached.value.type = CellValue::Type::Text;
            cached.value.text = std::move(text);
        }
        cached.format = point.attribute("formatCode").value();
    }
    return points;
}

std::optional<double> ReadNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double number = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(number))
        return std::nullopt;
    return number;
}

pugi::xml_node CacheOf(pugi::xml_node data) {
    std::string_view kind = xml::LocalName(data);
    if (kind == "numRef")
        return xml::Child(data, "numCache");
    if (kind == "strRef")
        return xml::Child(data, "strCache");
    return data; // literals hold their points themselves
}

std::string ColumnLetters(int column) {
    return xlsx::ColumnName(static_cast<std::uint32_t>(column));
}

} // namespace

Datasheet::Datasheet(ChartModel& model) : m_model(model) {
    Load();
}

void Datasheet::Load() {
    std::string sheet = m_model.FirstSheet();
    if (sheet.empty()) {
        PlanDefaultLayout();
        return;
    }
    m_sheet = sheet;
    for (pugi::xml_node series : m_model.Series()) {
        for (const DataElement& data : m_model.DataOf(series)) {
            if (data.IsReference())
                LoadReference(data, data.role == DataRole::Name);
        }
    }
    if (!m_model.Series().empty())
        m_seriesInColumns = m_model.RunsInColumns(m_model.Series().front());
}

// Puts a reference's cached points into the cells it names; the grid grows to hold them.
void Datasheet::LoadReference(const DataElement& data, bool name) {
    std::optional<SeriesReference> reference = SeriesReference::Parse(data.Formula(), m_sheet);
    if (!reference || reference->CellCount() > xlsx::kMaxRows)
        return;
    for (const SeriesArea& area : reference->Areas()) {
        if (!area.area)
            continue;
        m_lastRow = std::max(
            m_lastRow, static_cast<int>(std::min<std::uint32_t>(area.area->LastRow(), kLimit)));
        m_lastColumn =
            std::max(m_lastColumn,
                     static_cast<int>(std::min<std::uint32_t>(area.area->LastColumn(), kLimit)));
    }
    std::vector<SeriesReference::CellAt> cells = reference->Cells();
    if (xml::LocalName(data.data) == "multiLvlStrRef") {
        const xlsx::Range& area = *reference->Areas().front().area;
        bool pointsDown = area.RowCount() >= area.ColumnCount();
        pugi::xml_node cache = xml::Child(data.data, "multiLvlStrCache");
        long long count = xml::ChildVal(cache, "ptCount", 0);
        std::vector<pugi::xml_node> levels = xml::Children(cache, "lvl");
        for (std::size_t level = 0; level < levels.size(); ++level) {
            std::vector<CachedPoint> points = CachedPoints(levels[level], false, count);
            std::uint32_t offset = static_cast<std::uint32_t>(levels.size() - 1 - level);
            for (std::size_t i = 0; i < points.size(); ++i) {
                std::uint32_t step = static_cast<std::uint32_t>(i);
                int row = static_cast<int>(area.Row() + (pointsDown ? step : offset));
                int column = static_cast<int>(area.Column() + (pointsDown ? offset : step));
                if (points[i].value.type != CellValue::Type::Empty)
                    m_cells[{row, column}] = points[i].value;
            }
        }
        return;
    }
    pugi::xml_node cache = CacheOf(data.data);
    bool numbers = xml::LocalName(data.data) == "numRef";
    std::vector<CachedPoint> points = CachedPoints(cache, numbers);
    std::string format = xml::Child(cache, "formatCode").child_value();
    std::size_t used = name ? std::min<std::size_t>(1, cells.size()) : cells.size();
    for (std::size_t i = 0; i < used && i < points.size(); ++i) {
        Position at{static_cast<int>(cells[i].row), static_cast<int>(cells[i].column)};
        if (points[i].value.type != CellValue::Type::Empty)
            m_cells[at] = points[i].value;
        if (numbers)
            m_formats[at] = points[i].format.empty() ? format : points[i].format;
    }
}

// A chart without formulas is seen in the presentation program's usual layout: names in row 1
// from column 2 on, categories in column 1 from row 2 on, one series per column.
void Datasheet::PlanDefaultLayout() {
    const std::vector<pugi::xml_node>& series = m_model.Series();
    for (std::size_t i = 0; i < series.size(); ++i) {
        int column = static_cast<int>(i) + 2;
        std::string letters = "$" + ColumnLetters(column) + "$";
        for (const DataElement& data : m_model.DataOf(series[i])) {
            if (!data.data || data.role == DataRole::BubbleSizes)
                continue;
            std::string_view kind = xml::LocalName(data.data);
            if (data.role == DataRole::Name) {
                std::string text = kind == "v" ? data.data.child_value() : std::string();
                if (kind == "strRef" || kind == "strLit") {
                    std::vector<CachedPoint> name = CachedPoints(CacheOf(data.data), false);
                    text = name.empty() ? std::string() : name.front().value.text;
                }
                if (!text.empty())
                    m_cells[{1, column}] = CellValue{CellValue::Type::Text, 0, text, false};
                m_plannedFormulas.emplace_back(data,
                                               xlsx::SheetPrefix(m_sheet) + "!" + letters + "1");
                continue;
            }
            bool categories = data.role == DataRole::Categories || data.role == DataRole::XValues;
            bool numbers = kind == "numLit" || kind == "numRef";
            pugi::xml_node holder = CacheOf(data.data);
            std::vector<CachedPoint> points = CachedPoints(holder, numbers);
            long long count = std::clamp(xml::ChildVal(holder, "ptCount", 0), 0LL,
                                         static_cast<long long>(kLimit - 1));
            int last = static_cast<int>(count) + 1;
            int at = categories ? 1 : column;
            for (std::size_t p = 0; p < points.size() && p < static_cast<std::size_t>(count); ++p) {
                Position cell{static_cast<int>(p) + 2, at};
                if (points[p].value.type != CellValue::Type::Empty)
                    m_cells[cell] = points[p].value;
                if (numbers)
                    m_formats[cell] = xml::Child(holder, "formatCode").child_value();
            }
            std::string line = "$" + ColumnLetters(at) + "$";
            m_plannedFormulas.emplace_back(data, xlsx::SheetPrefix(m_sheet) + "!" + line + "2:" +
                                                     line + std::to_string(std::max(last, 2)));
            m_lastRow = std::max(m_lastRow, last);
        }
        m_lastColumn = std::max(m_lastColumn, column);
    }
}

void Datasheet::EnsureFormulas() {
    for (auto& [data, formula] : m_plannedFormulas)
        m_model.SetFormula(data, formula);
    m_plannedFormulas.clear();
}

void Datasheet::SetCell(int row, int column, const CellValue& value) {
    if (row < 1 || column < 1 || row > kLimit || column > kLimit)
        throw ChartError(m_model.PartName() + ": datasheet cell (" + std::to_string(row) + ", " +
                         std::to_string(column) + ") lies outside the datasheet's " +
                         std::to_string(kLimit) + " rows and " + std::to_string(kLimit) +
                         " columns");
    EnsureFormulas();
    int categoryLine = m_seriesInColumns ? row : column;
    int seriesLine = m_seriesInColumns ? column : row;
    if (categoryLine > (m_seriesInColumns ? m_lastRow : m_lastColumn))
        ExtendCategories(categoryLine);
    if (seriesLine > (m_seriesInColumns ? m_lastColumn : m_lastRow))
        ExtendSeries(seriesLine);
    CellValue stored = value;
    if (stored.type == CellValue::Type::Boolean)
        stored = CellValue{CellValue::Type::Number, value.boolean ? 1.0 : 0.0, {}, false};
    // Data cells hold numbers, as in the data sheet: a text that reads as a number is one.
    // Header cells keep text as it is ("001" stays a label).
    if (stored.type == CellValue::Type::Text && row > 1 && column > 1) {
        if (std::optional<double> number = ReadNumber(stored.text))
            stored = CellValue{CellValue::Type::Number, *number, {}, false};
    }
    if (stored.type == CellValue::Type::Error || stored.type == CellValue::Type::Empty)
        m_cells.erase({row, column});
    else
        m_cells[{row, column}] = std::move(stored);
    m_changed = true;
}

CellValue Datasheet::Cell(int row, int column) const {
    auto found = m_cells.find({row, column});
    return found == m_cells.end() ? CellValue{} : found->second;
}

CellValue Datasheet::SheetCell(std::uint32_t row, std::uint32_t column) const {
    if (row > static_cast<std::uint32_t>(kLimit) || column > static_cast<std::uint32_t>(kLimit))
        return {};
    return Cell(static_cast<int>(row), static_cast<int>(column));
}

std::string Datasheet::NumberFormat(std::uint32_t row, std::uint32_t column) const {
    auto found = m_formats.find({static_cast<int>(row), static_cast<int>(column)});
    if (found != m_formats.end() && !found->second.empty())
        return found->second;
    // A new cell formats like the first value of its series.
    Position first = m_seriesInColumns ? Position{2, static_cast<int>(column)}
                                       : Position{static_cast<int>(row), 2};
    found = m_formats.find(first);
    return found != m_formats.end() && !found->second.empty() ? found->second : "General";
}

// New categories: every reference running along the categories that ends on the last
// category line is stretched to the new last line.
void Datasheet::ExtendCategories(int last) {
    int current = m_seriesInColumns ? m_lastRow : m_lastColumn;
    for (pugi::xml_node series : m_model.Series()) {
        for (DataElement& data : m_model.DataOf(series)) {
            if (data.role == DataRole::Name || !data.IsReference())
                continue;
            std::optional<SeriesReference> reference =
                SeriesReference::Parse(data.Formula(), m_sheet);
            if (!reference || reference->Areas().size() != 1 || !reference->Areas()[0].area)
                continue;
            xlsx::Range& area = *reference->Areas()[0].area;
            if (m_seriesInColumns && static_cast<int>(area.LastRow()) == current)
                area.SetBounds(area.Row(), area.Column(), static_cast<std::uint32_t>(last),
                               area.LastColumn());
            else if (!m_seriesInColumns && static_cast<int>(area.LastColumn()) == current)
                area.SetBounds(area.Row(), area.Column(), area.LastRow(),
                               static_cast<std::uint32_t>(last));
            else
                continue;
            m_model.SetFormula(data, reference->Text());
        }
    }
    (m_seriesInColumns ? m_lastRow : m_lastColumn) = last;
}

// New series: copies of the last series, each reading the next line.
void Datasheet::ExtendSeries(int last) {
    if (m_model.Series().empty())
        throw ChartError(m_model.PartName() + ": the chart has no series to extend");
    int current = m_seriesInColumns ? m_lastColumn : m_lastRow;
    pugi::xml_node previous = m_model.Series().back();
    for (int line = current + 1; line <= last; ++line) {
        int from = line - 1;
        std::optional<SeriesReference> values =
            SeriesReference::Parse(m_model.ValuesOf(previous).Formula(), m_sheet);
        if (values && values->Areas().size() == 1 && values->Areas()[0].area) {
            const xlsx::Range& area = *values->Areas()[0].area;
            from = static_cast<int>(m_seriesInColumns ? area.Column() : area.Row());
        }
        pugi::xml_node copy = m_model.CloneSeries(previous);
        for (DataElement& data : m_model.DataOf(copy)) {
            std::optional<SeriesReference> reference =
                SeriesReference::Parse(data.Formula(), m_sheet);
            if (!reference || reference->Areas().size() != 1 || !reference->Areas()[0].area)
                continue;
            xlsx::Range& area = *reference->Areas()[0].area;
            auto target = static_cast<std::uint32_t>(line);
            if (m_seriesInColumns && area.Column() == area.LastColumn() &&
                static_cast<int>(area.Column()) == from)
                area.SetBounds(area.Row(), target, area.LastRow(), target);
            else if (!m_seriesInColumns && area.Row() == area.LastRow() &&
                     static_cast<int>(area.Row()) == from)
                area.SetBounds(target, area.Column(), target, area.LastColumn());
            else
                continue;
            m_model.SetFormula(data, reference->Text());
        }
        previous = copy;
    }
    (m_seriesInColumns ? m_lastColumn : m_lastRow) = last;
}

void Datasheet::Update() {
    EnsureFormulas();
    m_model.RebuildCaches(DatasheetCells(*this), true);
}

} // namespace slidesmith::chart
