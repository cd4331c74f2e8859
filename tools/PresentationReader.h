#pragma once

#include "PackageFiles.h"
#include "TemplateDescription.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace slidesmith::testtools {

// What a shape of a slide holds, read straight from the XML.
struct ShapeView {
    enum class Kind { Text, Placeholder, Table, Picture, Chart, OleObject, Group, Other };
    Kind kind = Kind::Other;
    std::string name{};
    long long id = 0;
    Box box{};                     // its own a:xfrm; zero when inherited from the layout
    std::string text{};            // text frames and placeholders: paragraphs joined by '\n'
    std::string placeholderType{}; // p:ph@type ("title", "body", ...), "body" for idx-only
    int depth = 0;                 // 0 for shapes of the slide, 1 inside a group, ...
};

struct TableCellView {
    std::string text{};   // paragraphs joined by '\n'
    std::string colour{}; // first run's explicit srgbClr, empty when none
    bool bold = false;    // first run's b="1"
    int gridSpan = 1;
    int rowSpan = 1;
    bool hMerge = false;
    bool vMerge = false;
};

struct TableView {
    std::vector<std::int64_t> columnWidths{};
    std::vector<std::int64_t> rowHeights{};
    std::vector<std::vector<TableCellView>> cells{}; // every a:tc, merged-away ones included
    Box frame{};
};

struct ChartView {
    std::string chartPart{};
    bool hasEmbeddedWorkbook = false;
    std::vector<std::string> categories{}; // of the first series
    std::vector<ChartSeries> series{};     // names and cached values; a missing point reads 0
};

// A second, independent reader of a presentation package for tests: slides in presentation
// order, shapes by name, texts, tables, chart caches, notes and sections. Slide numbers count
// from 1 as in PowerPoint. Throws TestToolError naming the part when something it needs is
// missing or is not XML, or when a slide or shape does not exist.
class PresentationReader {
public:
    explicit PresentationReader(const std::filesystem::path& path);
    explicit PresentationReader(PartMap parts);
    ~PresentationReader();
    PresentationReader(const PresentationReader&) = delete;
    PresentationReader& operator=(const PresentationReader&) = delete;

    const PartMap& Parts() const { return m_parts; }
    std::size_t SlideCount() const { return m_slides.size(); }
    const std::string& SlidePart(std::size_t slideNumber) const;
    std::vector<ShapeView> Shapes(std::size_t slideNumber) const; // document order, groups flat
    ShapeView Shape(std::size_t slideNumber, const std::string& name) const;
    TableView Table(std::size_t slideNumber, const std::string& name) const;
    ChartView Chart(std::size_t slideNumber, const std::string& name) const;
    std::string Notes(std::size_t slideNumber) const; // empty when the slide has none
    // Section names with the slide numbers they hold, in order.
    std::vector<std::pair<std::string, std::vector<std::size_t>>> Sections() const;

private:
    const pugi::xml_document& Xml(const std::string& part) const;
    std::string RelationshipTarget(const std::string& part, const std::string& id) const;
    pugi::xml_node FindShapeNode(std::size_t slideNumber, const std::string& name) const;

    PartMap m_parts;
    std::vector<std::string> m_slides;
    std::vector<long long> m_slideIds;
    mutable std::map<std::string, std::unique_ptr<pugi::xml_document>> m_xml;
};

} // namespace slidesmith::testtools
