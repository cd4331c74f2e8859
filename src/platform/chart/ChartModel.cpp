#include "platform/chart/ChartModel.h"

#include "platform/chart/CacheWriter.h"
#include "platform/chart/ChartError.h"
#include "platform/chart/ChartXml.h"
#include "platform/chart/SeriesReference.h"
#include "platform/pptx/XmlPart.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <unordered_map>

namespace slidesmith::chart {
namespace {

constexpr std::string_view kUniqueIdExtension = "{C3380CC4-5D6E-409C-BE32-E72D297353CC}";

bool IsReferenceName(std::string_view local) {
    return local == "numRef" || local == "strRef" || local == "multiLvlStrRef";
}

DataElement MakeElement(DataRole role, pugi::xml_node element) {
    DataElement data{role, element, {}};
    for (pugi::xml_node child : element.children()) {
        std::string_view local = xml::LocalName(child);
        if (IsReferenceName(local) || local == "strLit" || local == "numLit" || local == "v") {
            data.data = child;
            break;
        }
    }
    return data;
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (char ch : text) {
        quoted += ch;
        if (ch == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

// A literal as the spreadsheet program shows it in a series formula: {1,2,3} or {"a","b"}.
std::string ArrayConstant(pugi::xml_node literal) {
    bool numbers = xml::LocalName(literal) == "numLit";
    // Sized by the points present, not by ptCount, which a damaged file may set to anything.
    long long count = xml::ChildVal(literal, "ptCount", 0);
    std::map<long long, std::string> present;
    for (pugi::xml_node point : xml::Children(literal, "pt")) {
        long long index = point.attribute("idx").as_llong(-1);
        if (index >= 0 && index < count)
            present[index] = xml::Child(point, "v").child_value();
    }
    std::vector<std::string> values(
        present.empty() ? 0 : static_cast<std::size_t>(present.rbegin()->first + 1));
    for (auto& [index, text] : present)
        values[static_cast<std::size_t>(index)] = std::move(text);
    std::string text = "{";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += ',';
        text += numbers ? (values[i].empty() ? "0" : values[i]) : Quoted(values[i]);
    }
    return text + "}";
}

std::string Argument(const DataElement& data) {
    if (!data.data)
        return {};
    std::string_view local = xml::LocalName(data.data);
    if (local == "v")
        return Quoted(data.data.child_value());
    if (local == "strLit" || local == "numLit")
        return ArrayConstant(data.data);
    return data.Formula();
}

// A GUID that depends only on the chart part and the series index: the output stays the same
// from run to run, and no two series of a chart share one.
std::string SeriesGuid(std::string_view partName, long long index) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (char ch : partName)
        hash = (hash ^ static_cast<unsigned char>(ch)) * 1099511628211ULL;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-4%03X-8%03X-%012llX}",
                  static_cast<unsigned>(hash >> 32), static_cast<unsigned>(hash >> 16) & 0xFFFFU,
                  static_cast<unsigned>(index >> 12) & 0xFFFU,
                  static_cast<unsigned>(index) & 0xFFFU,
                  static_cast<unsigned long long>(index) & 0xFFFFFFFFFFFFULL);
    return buffer;
}

// Gives a cloned series a colour of its own: the series fill (for lines, the line; markers
// both) takes the accent its index would get automatically. Outlines of filled shapes keep
// their colour, so white borders between bars stay white.
void Recolour(pugi::xml_node series, long long index) {
    std::string accent = "accent" + std::to_string(index % 6 + 1);
    auto recolour = [&](pugi::xml_node fill) {
        for (pugi::xml_node colour : fill.children()) {
            std::string_view local = xml::LocalName(colour);
            if (local != "schemeClr" && local != "srgbClr" && local != "sysClr" &&
                local != "prstClr")
                continue;
            std::string name = std::string(xml::PrefixOf(colour)) + "schemeClr";
            colour.set_name(name.c_str());
            while (colour.first_attribute())
                colour.remove_attribute(colour.first_attribute());
            colour.append_attribute("val").set_value(accent.c_str());
        }
    };
    std::string_view plot = xml::LocalName(series.parent());
    bool lines = plot.starts_with("line") || plot == "scatterChart" || plot == "radarChart";
    auto recolourShape = [&](pugi::xml_node shape, bool outline) {
        recolour(xml::Child(shape, "solidFill"));
        if (outline)
            recolour(xml::Child(xml::Child(shape, "ln"), "solidFill"));
    };
    recolourShape(xml::Child(series, "spPr"), lines);
    recolourShape(xml::Child(xml::Child(series, "marker"), "spPr"), true);
}

} // namespace

bool DataElement::IsReference() const {
    return data && IsReferenceName(xml::LocalName(data));
}

std::string DataElement::Formula() const {
    return IsReference() ? std::string(xml::Child(data, "f").child_value()) : std::string();
}

ChartModel::ChartModel(pptx::XmlPart& part) : m_part(part) {
    if (xml::LocalName(part.Root()) != "chartSpace")
        throw ChartError(part.Name() + ": the part holds no chart (c:chartSpace)");
    Index();
}

const std::string& ChartModel::PartName() const {
    return m_part.Name();
}

pugi::xml_node ChartModel::ChartSpace() const {
    return m_part.Root();
}

void ChartModel::Index() {
    m_series.clear();
    pugi::xml_node plotArea = xml::Child(xml::Child(ChartSpace(), "chart"), "plotArea");
    for (pugi::xml_node plot : plotArea.children()) {
        std::string_view local = xml::LocalName(plot);
        if (local.size() > 5 && local.ends_with("Chart")) {
            for (pugi::xml_node series : xml::Children(plot, "ser"))
                m_series.push_back(series);
        }
    }
    std::stable_sort(m_series.begin(), m_series.end(), [](pugi::xml_node a, pugi::xml_node b) {
        return xml::ChildVal(a, "order", 0) < xml::ChildVal(b, "order", 0);
    });
}

std::string ChartModel::Describe(pugi::xml_node series, std::string_view what) const {
    return m_part.Name() + ": c:ser " + std::to_string(xml::ChildVal(series, "idx", -1)) + ": " +
           std::string(what);
}

std::vector<DataElement> ChartModel::DataOf(pugi::xml_node series) const {
    static const std::pair<std::string_view, DataRole> kRoles[] = {
        {"tx", DataRole::Name},      {"cat", DataRole::Categories},
        {"val", DataRole::Values},   {"xVal", DataRole::XValues},
        {"yVal", DataRole::YValues}, {"bubbleSize", DataRole::BubbleSizes}};
    std::vector<DataElement> found;
    for (pugi::xml_node child : series.children()) {
        for (const auto& [name, role] : kRoles) {
            if (xml::LocalName(child) == name)
                found.push_back(MakeElement(role, child));
        }
    }
    return found;
}

DataElement ChartModel::ValuesOf(pugi::xml_node series) const {
    for (const DataElement& data : DataOf(series)) {
        if (data.role == DataRole::Values || data.role == DataRole::YValues)
            return data;
    }
    return {};
}

std::vector<std::string> ChartModel::SeriesFormulas() const {
    std::vector<std::string> formulas;
    for (std::size_t i = 0; i < m_series.size(); ++i) {
        std::string name, categories, values, sizes;
        bool bubble = false;
        for (const DataElement& data : DataOf(m_series[i])) {
            switch (data.role) {
            case DataRole::Name:
                name = Argument(data);
                break;
            case DataRole::Categories:
            case DataRole::XValues:
                categories = Argument(data);
                break;
            case DataRole::Values:
            case DataRole::YValues:
                values = Argument(data);
                break;
            case DataRole::BubbleSizes:
                bubble = true;
                sizes = Argument(data);
                break;
            }
        }
        std::string formula =
            "=SERIES(" + name + "," + categories + "," + values + "," + std::to_string(i + 1);
        formulas.push_back(formula + (bubble ? "," + sizes : std::string()) + ")");
    }
    return formulas;
}

std::string ChartModel::FirstSheet() const {
    for (pugi::xml_node series : m_series) {
        for (const DataElement& data : DataOf(series)) {
            std::optional<SeriesReference> reference = SeriesReference::Parse(data.Formula());
            if (reference)
                return reference->Areas().front().sheet;
        }
    }
    return {};
}

void ChartModel::MarkChanged() {
    m_changed = true;
    m_part.MarkChanged();
}

void ChartModel::SetFormula(DataElement& data, const std::string& formula) {
    if (!data.data || !data.IsReference()) {
        // A literal becomes a reference of the same kind; its cache is written on rebuild.
        std::string_view local = data.data ? xml::LocalName(data.data) : std::string_view();
        std::string_view kind = local == "numLit" ? "numRef" : "strRef";
        if (data.role != DataRole::Name && data.role != DataRole::Categories)
            kind = "numRef";
        pugi::xml_node reference = xml::InsertBefore(data.element, data.data, kind);
        if (data.data)
            data.element.remove_child(data.data);
        data.data = reference;
        xml::Append(reference, "f");
    }
    xml::Child(data.data, "f").text().set(formula.c_str());
    MarkChanged();
}

pugi::xml_node ChartModel::CloneSeries(pugi::xml_node series) {
    long long maxIndex = -1;
    long long order = xml::ChildVal(series, "order", 0);
    for (pugi::xml_node other : m_series) {
        maxIndex = std::max(maxIndex, xml::ChildVal(other, "idx", 0));
        long long otherOrder = xml::ChildVal(other, "order", 0);
        if (otherOrder > order)
            xml::SetChildVal(other, "order", otherOrder + 1);
    }
    pugi::xml_node copy = series.parent().insert_copy_after(series, series);
    long long index = maxIndex + 1;
    xml::SetChildVal(copy, "idx", index);
    xml::SetChildVal(copy, "order", order + 1);
    Recolour(copy, index);
    for (pugi::xml_node point : xml::Children(copy, "dPt")) {
        if (pugi::xml_node extensions = xml::Child(point, "extLst"))
            point.remove_child(extensions);
    }
    for (pugi::xml_node extension : xml::Children(xml::Child(copy, "extLst"), "ext")) {
        if (extension.attribute("uri").value() != kUniqueIdExtension)
            continue;
        for (pugi::xml_node id : xml::Descendants(extension, "uniqueId"))
            id.attribute("val").set_value(SeriesGuid(m_part.Name(), index).c_str());
    }
    Index();
    MarkChanged();
    return copy;
}

void ChartModel::RemoveSeries(pugi::xml_node series) {
    series.parent().remove_child(series);
    Index();
    TrimLegendEntries();
    MarkChanged();
}

// Legend entries name series by position, or the points of a chart that varies colours by point
// (a pie); entries past the end would point at nothing.
void ChartModel::TrimLegendEntries() {
    long long entries = static_cast<long long>(m_series.size());
    if (m_series.size() == 1 && xml::ChildVal(m_series[0].parent(), "varyColors", 0) == 1)
        entries = CacheWriter::PointCount(ValuesOf(m_series[0]).data);
    pugi::xml_node legend = xml::Child(xml::Child(ChartSpace(), "chart"), "legend");
    for (pugi::xml_node entry : xml::Children(legend, "legendEntry")) {
        if (xml::ChildVal(entry, "idx", 0) >= entries)
            legend.remove_child(entry);
    }
}

void ChartModel::DropBookReferences() {
    for (pugi::xml_node formula : xml::Descendants(ChartSpace(), "f")) {
        std::optional<SeriesReference> parsed = SeriesReference::Parse(formula.child_value());
        if (!parsed || parsed->Book().empty())
            continue;
        parsed->DropBook();
        formula.text().set(parsed->Text().c_str());
        MarkChanged();
    }
}

void ChartModel::RebuildCaches(const CellSource& cells, bool includeLinked) {
    std::unordered_map<pugi::xml_node_struct*, long long> before;
    for (pugi::xml_node series : m_series)
        before[series.internal_object()] = CacheWriter::PointCount(ValuesOf(series).data);
    CacheWriter writer(cells);
    for (pugi::xml_node formula : xml::Descendants(ChartSpace(), "f")) {
        pugi::xml_node reference = formula.parent();
        bool labels = xml::LocalName(reference) == "datalabelsRange";
        if (!IsReferenceName(xml::LocalName(reference)) && !labels)
            continue; // formulas of other extensions are left alone
        std::optional<SeriesReference> parsed = SeriesReference::Parse(formula.child_value());
        // A reference larger than a whole column is no chart series anyone made on purpose;
        // reading it would take the memory of billions of points.
        if (!parsed || (!includeLinked && !parsed->Book().empty()) ||
            parsed->CellCount() > xlsx::kMaxRows)
            continue;
        bool known = true;
        for (const SeriesArea& area : parsed->Areas())
            known = known && cells.HasSheet(area.sheet);
        if (!known)
            continue;
        if (labels)
            writer.RewriteLabelRange(reference, *parsed, xml::PrefixOf(ChartSpace()));
        else
            writer.Rewrite(reference, *parsed, xml::LocalName(reference.parent()));
    }
    for (pugi::xml_node series : m_series) {
        long long after = CacheWriter::PointCount(ValuesOf(series).data);
        CacheWriter::AdjustPointFormatting(series, before[series.internal_object()], after);
    }
    TrimLegendEntries();
    MarkChanged();
}

} // namespace slidesmith::chart
