#include "platform/chart/CacheWriter.h"

#include "platform/chart/ChartXml.h"

#include <algorithm>
#include <unordered_map>

namespace slidesmith::chart {
namespace {

void ClearChildren(pugi::xml_node node) {
    while (node.first_child())
        node.remove_child(node.first_child());
}

// Replaces the cache element that follows c:f (creating it when missing); other children of
// the reference (c:extLst) stay where they are.
pugi::xml_node FreshCache(pugi::xml_node referenceNode, std::string_view cacheName) {
    pugi::xml_node formula = xml::Child(referenceNode, "f");
    pugi::xml_node cache = xml::Child(referenceNode, cacheName);
    if (!cache) {
        std::string name = std::string(xml::PrefixOf(referenceNode)) + std::string(cacheName);
        cache = formula ? referenceNode.insert_child_after(name.c_str(), formula)
                        : referenceNode.prepend_child(name.c_str());
    }
    ClearChildren(cache);
    return cache;
}

void AddPoint(pugi::xml_node cache, std::size_t index, const std::string& text) {
    pugi::xml_node point = xml::Append(cache, "pt");
    point.append_attribute("idx").set_value(static_cast<unsigned long long>(index));
    xml::Append(point, "v").text().set(text.c_str());
}

void AddCount(pugi::xml_node cache, std::size_t count) {
    xml::Append(cache, "ptCount")
        .append_attribute("val")
        .set_value(static_cast<unsigned long long>(count));
}

std::string CacheNameFor(std::string_view referenceName) {
    if (referenceName == "numRef")
        return "numCache";
    if (referenceName == "strRef")
        return "strCache";
    return "multiLvlStrCache";
}

} // namespace

std::string DisplayText(const xlsx::CellValue& value) {
    switch (value.type) {
    case xlsx::CellValue::Type::Number:
        return xml::NumberText(value.number);
    case xlsx::CellValue::Type::Text:
    case xlsx::CellValue::Type::Error:
        return value.text;
    case xlsx::CellValue::Type::Boolean:
        return value.boolean ? "TRUE" : "FALSE";
    case xlsx::CellValue::Type::Empty:
        break;
    }
    return {};
}

std::vector<xlsx::CellValue> CacheWriter::Read(const SeriesReference& reference) const {
    std::vector<xlsx::CellValue> values;
    values.reserve(reference.CellCount());
    for (const SeriesReference::CellAt& cell : reference.Cells())
        values.push_back(m_cells.Value(*cell.sheet, cell.row, cell.column));
    return values;
}

void CacheWriter::Rewrite(pugi::xml_node referenceNode, const SeriesReference& reference,
                          std::string_view holder) const {
    std::string_view kind = xml::LocalName(referenceNode);
    if (kind == "multiLvlStrRef") {
        WriteLevels(FreshCache(referenceNode, CacheNameFor(kind)), reference);
        return;
    }
    std::vector<xlsx::CellValue> values = Read(reference);
    if (holder == "tx") {
        // A name over several cells reads as their texts joined by blanks.
        std::string joined;
        for (const xlsx::CellValue& value : values) {
            std::string text = DisplayText(value);
            if (text.empty())
                continue;
            joined += (joined.empty() ? "" : " ") + text;
        }
        values.assign(1, xlsx::CellValue{});
        if (!joined.empty()) {
            values[0].type = xlsx::CellValue::Type::Text;
            values[0].text = std::move(joined);
        }
    }
    std::string previousFormat =
        xml::Child(xml::Child(referenceNode, "numCache"), "formatCode").child_value();
    // Categories that now hold text are text categories: a number cache would show them blank.
    bool axis = holder == "cat" || holder == "xVal";
    if (kind == "numRef" && axis &&
        std::any_of(values.begin(), values.end(), [](const xlsx::CellValue& value) {
            return value.type == xlsx::CellValue::Type::Text;
        })) {
        referenceNode.remove_child(xml::Child(referenceNode, "numCache"));
        std::string name = std::string(xml::PrefixOf(referenceNode)) + "strRef";
        referenceNode.set_name(name.c_str());
        kind = "strRef";
    }
    pugi::xml_node cache = FreshCache(referenceNode, CacheNameFor(kind));
    if (kind == "numRef")
        WriteNumbers(cache, reference, values, previousFormat);
    else
        WriteTexts(cache, values);
}

void CacheWriter::RewriteLabelRange(pugi::xml_node range, const SeriesReference& reference,
                                    std::string_view chartPrefix) const {
    pugi::xml_node cache = xml::Child(range, "dlblRangeCache");
    if (!cache) {
        std::string name = std::string(xml::PrefixOf(range)) + "dlblRangeCache";
        cache = range.insert_child_after(name.c_str(), xml::Child(range, "f"));
    }
    ClearChildren(cache);
    // The cache is an extension element, but its points are plain chart elements.
    std::string prefix(chartPrefix);
    std::vector<xlsx::CellValue> values = Read(reference);
    cache.append_child((prefix + "ptCount").c_str())
        .append_attribute("val")
        .set_value(static_cast<unsigned long long>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string text = DisplayText(values[i]);
        if (text.empty())
            continue;
        pugi::xml_node point = cache.append_child((prefix + "pt").c_str());
        point.append_attribute("idx").set_value(static_cast<unsigned long long>(i));
        point.append_child((prefix + "v").c_str()).text().set(text.c_str());
    }
}

void CacheWriter::WriteNumbers(pugi::xml_node cache, const SeriesReference& reference,
                               const std::vector<xlsx::CellValue>& values,
                               const std::string& previousFormat) const {
    std::vector<SeriesReference::CellAt> cells = reference.Cells();
    std::string seriesFormat = "General";
    if (!cells.empty())
        seriesFormat = m_cells.NumberFormat(*cells[0].sheet, cells[0].row, cells[0].column);
    // A General cell says nothing about the look: the template's own format stays.
    if (seriesFormat == "General" && !previousFormat.empty())
        seriesFormat = previousFormat;
    xml::Append(cache, "formatCode").text().set(seriesFormat.c_str());
    AddCount(cache, values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        double number = 0;
        if (values[i].type == xlsx::CellValue::Type::Number)
            number = values[i].number;
        else if (values[i].type == xlsx::CellValue::Type::Boolean)
            number = values[i].boolean ? 1 : 0;
        else
            continue; // blanks, texts and errors are gaps, as the chart program caches them
        pugi::xml_node point = xml::Append(cache, "pt");
        point.append_attribute("idx").set_value(static_cast<unsigned long long>(i));
        if (i < cells.size() && i > 0) {
            std::string format =
                m_cells.NumberFormat(*cells[i].sheet, cells[i].row, cells[i].column);
            if (format != seriesFormat && format != "General")
                point.append_attribute("formatCode").set_value(format.c_str());
        }
        xml::Append(point, "v").text().set(xml::NumberText(number).c_str());
    }
}

void CacheWriter::WriteTexts(pugi::xml_node cache,
                             const std::vector<xlsx::CellValue>& values) const {
    AddCount(cache, values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string text = DisplayText(values[i]);
        if (!text.empty())
            AddPoint(cache, i, text);
    }
}

// Multi-level categories: the longer side of the area runs along the points, the shorter one
// gives the levels, the one next to the data (last) first.
void CacheWriter::WriteLevels(pugi::xml_node cache, const SeriesReference& reference) const {
    const SeriesArea* first = nullptr;
    for (const SeriesArea& area : reference.Areas()) {
        if (area.area) {
            first = &area;
            break;
        }
    }
    if (first == nullptr) {
        AddCount(cache, 0);
        return;
    }
    const xlsx::Range& area = *first->area;
    bool pointsDown = area.RowCount() >= area.ColumnCount();
    std::uint32_t points = pointsDown ? area.RowCount() : area.ColumnCount();
    std::uint32_t levels = pointsDown ? area.ColumnCount() : area.RowCount();
    AddCount(cache, points);
    for (std::uint32_t level = levels; level-- > 0;) {
        pugi::xml_node lvl = xml::Append(cache, "lvl");
        for (std::uint32_t i = 0; i < points; ++i) {
            std::uint32_t row = pointsDown ? area.Row() + i : area.Row() + level;
            std::uint32_t column = pointsDown ? area.Column() + level : area.Column() + i;
            std::string text = DisplayText(m_cells.Value(first->sheet, row, column));
            if (!text.empty())
                AddPoint(lvl, i, text);
        }
    }
}

long long CacheWriter::PointCount(pugi::xml_node data) {
    std::string_view kind = xml::LocalName(data);
    pugi::xml_node holder = data;
    if (kind == "numRef")
        holder = xml::Child(data, "numCache");
    else if (kind == "strRef")
        holder = xml::Child(data, "strCache");
    else if (kind == "multiLvlStrRef")
        holder = xml::Child(data, "multiLvlStrCache");
    return holder ? xml::ChildVal(holder, "ptCount", 0) : 0;
}

void CacheWriter::AdjustPointFormatting(pugi::xml_node series, long long oldCount,
                                        long long newCount) {
    std::vector<pugi::xml_node> points = xml::Children(series, "dPt");
    std::unordered_map<long long, pugi::xml_node> byIndex;
    for (pugi::xml_node point : points) {
        long long index = xml::ChildVal(point, "idx", -1);
        if (index >= newCount || index < 0)
            series.remove_child(point);
        else
            byIndex.emplace(index, point);
    }
    if (pugi::xml_node labels = xml::Child(series, "dLbls")) {
        for (pugi::xml_node label : xml::Children(labels, "dLbl")) {
            if (xml::ChildVal(label, "idx", -1) >= newCount)
                labels.remove_child(label);
        }
    }
    bool everyPoint = oldCount > 0 && static_cast<long long>(byIndex.size()) >= oldCount;
    for (long long i = 0; everyPoint && i < oldCount; ++i)
        everyPoint = byIndex.count(i) != 0;
    if (!everyPoint || newCount <= oldCount)
        return;
    pugi::xml_node last = byIndex[oldCount - 1];
    for (long long i = oldCount; i < newCount; ++i) {
        pugi::xml_node copy = series.insert_copy_after(byIndex[i % oldCount], last);
        xml::SetChildVal(copy, "idx", i);
        // The copy is a new point: ids of the original must not appear twice.
        if (pugi::xml_node extensions = xml::Child(copy, "extLst"))
            copy.remove_child(extensions);
        last = copy;
    }
}

} // namespace slidesmith::chart
