// How the chart's references follow structural edits of the workbook (part of ChartModel).
#include "platform/chart/ChartModel.h"
#include "platform/chart/ChartXml.h"
#include "platform/chart/SeriesReference.h"

#include <algorithm>
#include <map>

namespace slidesmith::chart {
namespace {

// The one area of a data element on the given sheet, when it has exactly one.
std::optional<xlsx::Range> SingleArea(const DataElement& data, std::string_view sheet) {
    std::optional<SeriesReference> reference = SeriesReference::Parse(data.Formula());
    if (!reference || !reference->Book().empty() || reference->Areas().size() != 1)
        return std::nullopt;
    const SeriesArea& area = reference->Areas().front();
    if (!area.area || !xlsx::SameSheet(area.sheet, sheet))
        return std::nullopt;
    return area.area;
}

// True when a series reads its values down a column; decided by the shape of the values, and
// for a single point by where its name sits (above it: a column; left of it: a row).
bool RunsInColumn(const xlsx::Range& values, const std::optional<xlsx::Range>& name) {
    if (values.ColumnCount() == 1 && values.RowCount() > 1)
        return true;
    if (values.RowCount() == 1 && values.ColumnCount() > 1)
        return false;
    if (name && name->Column() == values.Column() && name->LastColumn() == values.Column())
        return true;
    if (name && name->Row() == values.Row() && name->LastRow() == values.Row())
        return false;
    return true;
}

std::string CachedText(pugi::xml_node reference) {
    pugi::xml_node cache = xml::Child(reference, "strCache");
    std::string text;
    for (pugi::xml_node point : xml::Children(cache, "pt"))
        text += xml::Child(point, "v").child_value();
    return text;
}

} // namespace

bool ChartModel::RunsInColumns(pugi::xml_node series) const {
    std::optional<SeriesReference> values = SeriesReference::Parse(ValuesOf(series).Formula());
    if (!values || values->Areas().empty() || !values->Areas().front().area)
        return true;
    std::optional<xlsx::Range> name;
    for (const DataElement& data : DataOf(series)) {
        if (data.role != DataRole::Name)
            continue;
        std::optional<SeriesReference> reference = SeriesReference::Parse(data.Formula());
        if (reference && !reference->Areas().empty())
            name = reference->Areas().front().area;
    }
    return RunsInColumn(*values->Areas().front().area, name);
}

void ChartModel::FollowEdit(const xlsx::SheetEdit& edit) {
    std::vector<InsertedSeries> plans;
    if (edit.insert)
        plans = PlanInsertedSeries(edit);
    bool moved = false;
    for (pugi::xml_node formula : xml::Descendants(ChartSpace(), "f")) {
        std::optional<SeriesReference> reference = SeriesReference::Parse(formula.child_value());
        if (!reference || !reference->Book().empty())
            continue; // names and other workbooks' cells do not move with this one
        bool touched = false;
        for (SeriesArea& area : reference->Areas()) {
            if (!area.area || !xlsx::SameSheet(area.sheet, edit.sheet))
                continue;
            std::optional<xlsx::Range> adjusted = xlsx::AdjustArea(edit, *area.area);
            if (adjusted == area.area)
                continue;
            area.area = adjusted;
            touched = true;
        }
        if (touched) {
            formula.text().set(reference->Text().c_str());
            moved = true;
        }
    }
    for (const InsertedSeries& plan : plans)
        AddInsertedSeries(plan, edit);
    if (moved || !plans.empty()) {
        DropDeletedData();
        MarkChanged();
    }
}

// Series of one plot that read adjacent lines of one block (values in columns B and C over the
// same rows) form the chart's data range; lines inserted between two of them widen that range,
// and the chart program shows every line of it as a series.
std::vector<ChartModel::InsertedSeries>
ChartModel::PlanInsertedSeries(const xlsx::SheetEdit& edit) const {
    struct Member {
        pugi::xml_node series;
        std::uint32_t line;
    };
    bool columns = edit.axis == xlsx::SheetEdit::Axis::Columns;
    // Key: plot, first and last position along the series.
    std::map<std::tuple<pugi::xml_node_struct*, std::uint32_t, std::uint32_t>, std::vector<Member>>
        blocks;
    for (pugi::xml_node series : m_series) {
        std::optional<xlsx::Range> values, name;
        for (const DataElement& data : DataOf(series)) {
            if (data.role == DataRole::Values || data.role == DataRole::YValues)
                values = SingleArea(data, edit.sheet);
            else if (data.role == DataRole::Name)
                name = SingleArea(data, edit.sheet);
        }
        if (!values || RunsInColumn(*values, name) != columns)
            continue;
        std::uint32_t line = columns ? values->Column() : values->Row();
        std::uint32_t first = columns ? values->Row() : values->Column();
        std::uint32_t last = columns ? values->LastRow() : values->LastColumn();
        if (name)
            first = std::min(first, columns ? name->Row() : name->Column());
        // Cells shifted in a band that misses part of the series do not widen the range.
        if (edit.bandFirst > first || edit.bandLast < last)
            continue;
        blocks[{series.parent().internal_object(), columns ? values->Row() : values->Column(),
                last}]
            .push_back({series, line});
    }
    std::vector<InsertedSeries> plans;
    for (auto& [key, members] : blocks) {
        std::sort(members.begin(), members.end(),
                  [](const Member& a, const Member& b) { return a.line < b.line; });
        for (std::size_t i = 0; i + 1 < members.size(); ++i) {
            if (members[i + 1].line == members[i].line + 1 && edit.at == members[i + 1].line)
                plans.push_back({members[i].series, members[i].line, edit.count, columns});
        }
    }
    return plans;
}

void ChartModel::AddInsertedSeries(const InsertedSeries& plan, const xlsx::SheetEdit& edit) {
    pugi::xml_node previous = plan.left;
    for (std::uint32_t step = 1; step <= plan.count; ++step) {
        pugi::xml_node copy = CloneSeries(previous);
        for (DataElement& data : DataOf(copy)) {
            std::optional<xlsx::Range> area = SingleArea(data, edit.sheet);
            if (!area)
                continue;
            std::uint32_t first = plan.columns ? area->Column() : area->Row();
            std::uint32_t last = plan.columns ? area->LastColumn() : area->LastRow();
            // Each copy is made from the one before, one line further on.
            if (first != plan.line + step - 1 || last != first)
                continue; // shared categories stay where they are
            std::uint32_t line = plan.line + step;
            if (plan.columns)
                area->SetBounds(area->Row(), line, area->LastRow(), line);
            else
                area->SetBounds(line, area->Column(), line, area->LastColumn());
            std::optional<SeriesReference> reference = SeriesReference::Parse(data.Formula());
            reference->Areas().front().area = area;
            SetFormula(data, reference->Text());
        }
        previous = copy;
    }
}

// After a deletion: a series without any value cell left goes (the chart keeps at least one);
// a name whose cell went keeps its last text; categories or x values that went are dropped, so
// the points are numbered 1, 2, ...
void ChartModel::DropDeletedData() {
    auto deleted = [](const DataElement& data) {
        if (!data.IsReference())
            return false;
        std::optional<SeriesReference> reference = SeriesReference::Parse(data.Formula());
        return reference && reference->IsDeleted();
    };
    std::vector<pugi::xml_node> series = m_series;
    for (pugi::xml_node one : series) {
        if (m_series.size() > 1 && deleted(ValuesOf(one))) {
            RemoveSeries(one);
            continue;
        }
        for (DataElement& data : DataOf(one)) {
            if (!deleted(data))
                continue;
            if (data.role == DataRole::Name) {
                std::string text = CachedText(data.data);
                pugi::xml_node literal = xml::InsertBefore(data.element, data.data, "v");
                literal.text().set(text.c_str());
                data.element.remove_child(data.data);
            } else if (data.role == DataRole::Categories || data.role == DataRole::XValues) {
                one.remove_child(data.element);
            }
        }
    }
}

} // namespace slidesmith::chart
