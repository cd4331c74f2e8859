#include "ChartTestSupport.h"

#include "PackageChecker.h"
#include "PackageFiles.h"
#include "TemplateBuilder.h"

#include <stdexcept>

namespace slidesmith::chart::testing {
namespace {

std::string_view Local(pugi::xml_node node) {
    std::string_view name = node.name();
    std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node LocalChild(pugi::xml_node node, std::string_view name) {
    for (pugi::xml_node child : node.children()) {
        if (Local(child) == name)
            return child;
    }
    return {};
}

void CollectSeries(pugi::xml_node node, std::vector<pugi::xml_node>& found) {
    for (pugi::xml_node child : node.children()) {
        if (Local(child) == "ser")
            found.push_back(child);
        else
            CollectSeries(child, found);
    }
}

void ReadPoints(pugi::xml_node holder, SavedCache& cache) {
    cache.ptCount = LocalChild(holder, "ptCount").attribute("val").as_llong(-1);
    cache.formatCode = LocalChild(holder, "formatCode").child_value();
    cache.values.assign(static_cast<std::size_t>(std::max(cache.ptCount, 0LL)), "");
    for (pugi::xml_node point : holder.children()) {
        if (Local(point) != "pt")
            continue;
        long long index = point.attribute("idx").as_llong(-1);
        if (index >= 0 && index < cache.ptCount)
            cache.values[static_cast<std::size_t>(index)] = LocalChild(point, "v").child_value();
    }
}

} // namespace

OpenedChart OpenChart(const std::filesystem::path& path, std::size_t ordinal) {
    OpenedChart opened;
    opened.presentation = pptx::Presentation::Open(path);
    for (std::size_t slide = 0; slide < opened.presentation->SlideCount(); ++slide) {
        pptx::SlidePart& part = opened.presentation->Slide(slide);
        for (const pptx::Shape& shape : part.Shapes().Shapes()) {
            if (part.ChartPart(shape).empty())
                continue;
            if (ordinal-- == 0) {
                opened.chart = ChartObject::Open(*opened.presentation, part, shape);
                return opened;
            }
        }
    }
    throw std::runtime_error(path.string() + ": has not that many charts");
}

std::vector<std::unique_ptr<ChartObject>> OpenAllCharts(pptx::Presentation& presentation) {
    std::vector<std::unique_ptr<ChartObject>> charts;
    for (std::size_t slide = 0; slide < presentation.SlideCount(); ++slide) {
        pptx::SlidePart& part = presentation.Slide(slide);
        for (const pptx::Shape& shape : part.Shapes().Shapes()) {
            if (!part.ChartPart(shape).empty())
                charts.push_back(ChartObject::Open(presentation, part, shape));
        }
    }
    return charts;
}

SavedCharts::SavedCharts(const std::filesystem::path& path) {
    for (const auto& [name, bytes] : testtools::ReadPackage(path)) {
        if (name.find("charts/chart") == std::string::npos || !name.ends_with(".xml"))
            continue;
        auto document = std::make_unique<pugi::xml_document>();
        if (!document->load_buffer(bytes.data(), bytes.size()))
            throw std::runtime_error(name + ": not well-formed");
        m_documents.emplace(name, std::move(document));
    }
}

std::vector<std::string> SavedCharts::PartNames() const {
    std::vector<std::string> names;
    for (const auto& entry : m_documents)
        names.push_back(entry.first);
    return names;
}

std::vector<pugi::xml_node> SavedCharts::Series(const std::string& part) const {
    std::vector<pugi::xml_node> found;
    CollectSeries(m_documents.at(part)->document_element(), found);
    return found;
}

std::size_t SavedCharts::SeriesCount(const std::string& part) const {
    return Series(part).size();
}

SavedCache SavedCharts::Cache(const std::string& part, std::size_t series,
                              const std::string& element) const {
    SavedCache cache;
    pugi::xml_node holder = LocalChild(Series(part).at(series), element);
    for (pugi::xml_node data : holder.children()) {
        std::string_view kind = Local(data);
        if (kind == "numRef" || kind == "strRef") {
            cache.formula = LocalChild(data, "f").child_value();
            ReadPoints(LocalChild(data, kind == "numRef" ? "numCache" : "strCache"), cache);
        } else if (kind == "numLit" || kind == "strLit") {
            ReadPoints(data, cache);
        } else if (kind == "multiLvlStrRef") {
            cache.formula = LocalChild(data, "f").child_value();
            cache.ptCount = LocalChild(LocalChild(data, "multiLvlStrCache"), "ptCount")
                                .attribute("val")
                                .as_llong(-1);
        }
    }
    return cache;
}

std::vector<std::string> CheckerFindings(const std::filesystem::path& path) {
    std::vector<std::string> found;
    for (const testtools::Finding& finding : testtools::CheckPackage(path))
        found.push_back(testtools::Describe(finding));
    return found;
}

std::filesystem::path WriteChartTemplate(const std::filesystem::path& path,
                                         const testtools::ChartShape& chart) {
    testtools::TemplateDescription description;
    testtools::SlideDescription slide{.layout = testtools::Layout::TitleOnly};
    slide.shapes.push_back(chart);
    description.slides.push_back(slide);
    testtools::WriteTemplate(description, path);
    return path;
}

} // namespace slidesmith::chart::testing
