#pragma once

#include "EmbeddedWorkbook.h"
#include "PackageFiles.h"
#include "PresentationReader.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Reads what a chart fill left in a saved report: the chart's caches and series formulas, and
// the cells of its embedded workbook, each straight from the package.
namespace slidesmith::engine::test {

class ChartReport {
public:
    explicit ChartReport(const std::filesystem::path& report) : m_reader(report) {}

    testtools::ChartView Chart(std::size_t slide, const std::string& name) const {
        return m_reader.Chart(slide, name);
    }
    // The c:f texts of every series' values (yVal for scatter and bubble), in plot order.
    std::vector<std::string> ValueFormulas(std::size_t slide, const std::string& name) const;
    // The embedded workbook of the chart; throws when it has none.
    testtools::EmbeddedWorkbook Workbook(std::size_t slide, const std::string& name) const;
    // True when the chart part still refers to an outside (linked) workbook.
    bool HasExternalLink(std::size_t slide, const std::string& name) const;
    const testtools::PartMap& Parts() const { return m_reader.Parts(); }

private:
    testtools::PresentationReader m_reader;
};

// The cell's text as written ("" for an empty or missing cell).
std::string CellText(const testtools::EmbeddedWorkbook& workbook, const std::string& sheet,
                     const std::string& reference);

// Rewrites the embedded workbooks of a template: a sheet named `name` is put before the others
// (holding "note" in A1), so the data sheet is no longer the first one.
void AddFirstSheet(const std::filesystem::path& pptx, const std::string& name);

// Replaces the values of the first series of every chart in the template by an array constant
// (c:numLit) with the same cached points, as a series typed in by hand has.
void MakeFirstSeriesLiteral(const std::filesystem::path& pptx);

} // namespace slidesmith::engine::test
