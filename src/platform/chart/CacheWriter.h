#pragma once

#include "platform/chart/ChartModel.h"
#include "platform/chart/SeriesReference.h"

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::chart {

// Writes the caches of chart references from cells and keeps point-level formatting in step
// with the number of points. Every write replaces the cache as a whole, so its cost is linear in
// the points and independent of what the cache held before.
class CacheWriter {
public:
    explicit CacheWriter(const CellSource& cells) : m_cells(cells) {}

    // Rewrites the cache of a c:numRef, c:strRef or c:multiLvlStrRef from the cells its
    // reference names. holder is the element it belongs to (tx, cat, val, ...): the cells of a
    // name join into one point, and number categories that now hold text become text ones.
    void Rewrite(pugi::xml_node referenceNode, const SeriesReference& reference,
                 std::string_view holder) const;

    // Rewrites the cache of a data label range (c15:datalabelsRange), the texts that label the
    // points; chartPrefix is the prefix of the chart namespace its points are written in.
    void RewriteLabelRange(pugi::xml_node range, const SeriesReference& reference,
                           std::string_view chartPrefix) const;

    // The number of points a data node holds (its cache's or literal's ptCount).
    static long long PointCount(pugi::xml_node data);

    // Drops c:dPt and c:dLbl of points at or beyond newCount; when every point of oldCount had
    // its own c:dPt, the new points get copies of them in turn, so a pie keeps varied colours.
    static void AdjustPointFormatting(pugi::xml_node series, long long oldCount,
                                      long long newCount);

private:
    std::vector<xlsx::CellValue> Read(const SeriesReference& reference) const;
    void WriteNumbers(pugi::xml_node cache, const SeriesReference& reference,
                      const std::vector<xlsx::CellValue>& values,
                      const std::string& previousFormat) const;
    void WriteTexts(pugi::xml_node cache, const std::vector<xlsx::CellValue>& values) const;
    void WriteLevels(pugi::xml_node cache, const SeriesReference& reference) const;

    const CellSource& m_cells;
};

// The text a category or name cache shows for a cell.
std::string DisplayText(const xlsx::CellValue& value);

} // namespace slidesmith::chart
