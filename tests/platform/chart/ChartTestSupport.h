#pragma once

#include "../pptx/PackageTestSupport.h"
#include "TemplateDescription.h"
#include "platform/chart/ChartObject.h"
#include "platform/pptx/Presentation.h"

#include <filesystem>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

// Helpers for the chart model tests: open a chart of a presentation through the engine, and read
// a saved package back independently (libzip and pugixml through the package tools).
namespace slidesmith::chart::testing {

using pptx::testing::ScratchFolder;

struct OpenedChart {
    std::unique_ptr<pptx::Presentation> presentation;
    std::unique_ptr<ChartObject> chart;
};

// The ordinal-th native chart (0-based, in slide and shape order) of a presentation file.
OpenedChart OpenChart(const std::filesystem::path& path, std::size_t ordinal = 0);
// Every native chart of the presentation, in slide and shape order.
std::vector<std::unique_ptr<ChartObject>> OpenAllCharts(pptx::Presentation& presentation);

// One cache (or literal) of a saved chart part, read without the engine.
struct SavedCache {
    std::string formula;
    long long ptCount = -1;
    std::vector<std::string> values; // by point index, "" for missing points
    std::string formatCode;
};

// The saved chart parts of a package by name, and in them the series in document order.
class SavedCharts {
public:
    explicit SavedCharts(const std::filesystem::path& path);
    std::vector<std::string> PartNames() const;
    // element: "tx", "cat", "val", "xVal", "yVal", "bubbleSize".
    SavedCache Cache(const std::string& part, std::size_t series, const std::string& element) const;
    std::size_t SeriesCount(const std::string& part) const;
    // The c:ser nodes of a part in document order.
    std::vector<pugi::xml_node> Series(const std::string& part) const;

private:
    std::map<std::string, std::unique_ptr<pugi::xml_document>> m_documents;
};

// Errors and warnings the independent package checker reports, one description each.
std::vector<std::string> CheckerFindings(const std::filesystem::path& path);

// Saves the chart and its presentation as `path` (PowerPoint format) and expects the package
// checker to find nothing in it.
std::filesystem::path SaveChecked(OpenedChart& opened, const std::filesystem::path& path);

// A one-slide presentation holding the chart, written by the template builder.
std::filesystem::path WriteChartTemplate(const std::filesystem::path& path,
                                         const testtools::ChartShape& chart);

} // namespace slidesmith::chart::testing
