#include "ChartChecks.h"

#include "EmbeddedWorkbook.h"
#include "PackageModel.h"
#include "TestToolError.h"

#include <cmath>
#include <regex>
#include <set>

namespace slidesmith::testtools {
namespace {

const std::string kChartType = "application/vnd.openxmlformats-officedocument.drawingml.chart+xml";

void Add(std::vector<Finding>& findings, FindingKind kind, const std::string& part,
         const std::string& message) {
    findings.push_back({kind, FindingLevel::Error, part, message});
}

std::vector<pugi::xml_node> Descendants(pugi::xml_node root, const std::string& local) {
    std::vector<pugi::xml_node> nodes;
    for (pugi::xml_node node = root.first_child(); node;) {
        if (node.type() == pugi::node_element && PackageModel::LocalName(node) == local) {
            nodes.push_back(node);
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != root && !node.next_sibling()) {
            node = node.parent();
        }
        node = node == root ? pugi::xml_node() : node.next_sibling();
    }
    return nodes;
}

pugi::xml_node Child(pugi::xml_node node, const std::string& local) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && PackageModel::LocalName(child) == local) {
            return child;
        }
    }
    return {};
}

void CheckSeriesIds(pugi::xml_node plotArea, const std::string& part,
                    std::vector<Finding>& findings) {
    std::set<std::string> indexes;
    std::set<std::string> orders;
    for (pugi::xml_node series : Descendants(plotArea, "ser")) {
        const std::string idx = Child(series, "idx").attribute("val").value();
        const std::string order = Child(series, "order").attribute("val").value();
        if (!indexes.insert(idx).second) {
            Add(findings, FindingKind::ChartInconsistency, part,
                part + ": two series have c:idx " + idx + ".");
        }
        if (!orders.insert(order).second) {
            Add(findings, FindingKind::ChartInconsistency, part,
                part + ": two series have c:order " + order + ".");
        }
    }
}

void CheckPointCounts(pugi::xml_node root, const std::string& part,
                      std::vector<Finding>& findings) {
    for (const char* cacheName : {"strCache", "numCache", "strLit", "numLit"}) {
        for (pugi::xml_node cache : Descendants(root, cacheName)) {
            const long long count = Child(cache, "ptCount").attribute("val").as_llong();
            for (pugi::xml_node point : cache.children()) {
                if (PackageModel::LocalName(point) == "pt" &&
                    point.attribute("idx").as_llong() >= count) {
                    Add(findings, FindingKind::ChartInconsistency, part,
                        part + ": a c:" + cacheName + " has point idx " +
                            point.attribute("idx").value() + " but ptCount " +
                            std::to_string(count) + ".");
                    break;
                }
            }
        }
    }
    for (pugi::xml_node misspelt : Descendants(root, "uniqueID")) {
        if (PackageModel::LocalName(misspelt.parent()) != "ptentry") {
            Add(findings, FindingKind::ChartInconsistency, part,
                part + ": <" + misspelt.name() +
                    "> outside a data point map; a series id is spelt uniqueId.");
        }
    }
}

struct Range {
    std::string sheet;
    std::vector<std::string> cells;
};

int ColumnNumber(const std::string& letters) {
    int number = 0;
    for (char c : letters) {
        number = number * 26 + (c - 'A' + 1);
    }
    return number;
}

std::string ColumnLetters(int number) {
    std::string name;
    for (; number > 0; number = (number - 1) / 26) {
        name.insert(name.begin(), static_cast<char>('A' + (number - 1) % 26));
    }
    return name;
}

// One rectangular one-row or one-column area such as Sheet1!$B$2:$B$5; anything else (several
// areas, whole columns, defined names) is not compared.
std::optional<Range> ParseRange(const std::string& formula) {
    static const std::regex pattern(
        R"(^(?:'((?:[^']|'')+)'|([^'!]+))!\$?([A-Z]{1,3})\$?(\d+)(?::\$?([A-Z]{1,3})\$?(\d+))?$)");
    std::smatch match;
    if (!std::regex_match(formula, match, pattern)) {
        return std::nullopt;
    }
    Range range;
    range.sheet = match[1].matched ? std::regex_replace(match[1].str(), std::regex("''"), "'")
                                   : match[2].str();
    const int firstColumn = ColumnNumber(match[3]);
    const int firstRow = std::stoi(match[4]);
    const int lastColumn = match[5].matched ? ColumnNumber(match[5]) : firstColumn;
    const int lastRow = match[6].matched ? std::stoi(match[6]) : firstRow;
    if ((firstColumn != lastColumn && firstRow != lastRow) || lastRow < firstRow ||
        lastColumn < firstColumn || lastRow - firstRow > 100000) {
        return std::nullopt;
    }
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row) {
            range.cells.push_back(ColumnLetters(column) + std::to_string(row));
        }
    }
    return range;
}

std::optional<double> AsNumber(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    try {
        std::size_t used = 0;
        const double value = std::stod(text, &used);
        return used == text.size() ? std::optional<double>(value) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool SameValue(const std::string& cached, const WorkbookCell& cell, bool numericCache) {
    const auto cachedNumber = AsNumber(cached);
    const auto cellNumber = cell.isText ? std::nullopt : AsNumber(cell.value);
    if (cachedNumber && cellNumber) {
        return std::fabs(*cachedNumber - *cellNumber) <=
               1e-9 * std::max(1.0, std::fabs(*cellNumber));
    }
    if (!numericCache && cellNumber && !cachedNumber) {
        return true; // a category cache holds the number as formatted (a date, "1,000")
    }
    return cached == cell.value;
}

void CompareWithWorkbook(pugi::xml_node root, const EmbeddedWorkbook& workbook,
                         const std::string& part, std::vector<Finding>& findings) {
    std::set<std::string> reported;
    for (pugi::xml_node formula : Descendants(root, "f")) {
        pugi::xml_node cache = formula.next_sibling();
        const std::string cacheName = PackageModel::LocalName(cache);
        if (cacheName != "strCache" && cacheName != "numCache") {
            continue;
        }
        const auto range = ParseRange(formula.child_value());
        if (!range || !workbook.HasSheet(range->sheet)) {
            if (range) {
                Add(findings, FindingKind::ChartCacheMismatch, part,
                    part + ": formula " + formula.child_value() +
                        " names a sheet the embedded workbook does not have.");
            }
            continue;
        }
        std::map<std::size_t, std::string> points;
        for (pugi::xml_node point : cache.children()) {
            if (PackageModel::LocalName(point) == "pt") {
                points[point.attribute("idx").as_uint()] = Child(point, "v").child_value();
            }
        }
        // A multi-cell series name is cached as one point joining the cells; not compared.
        if (PackageModel::LocalName(formula.parent().parent()) == "tx" && range->cells.size() > 1) {
            continue;
        }
        for (std::size_t i = 0; i < range->cells.size(); ++i) {
            const auto cell = workbook.Cell(range->sheet, range->cells[i]);
            auto point = points.find(i);
            const bool cellBlank = !cell || cell->value.empty();
            if (point == points.end() && cellBlank) {
                continue;
            }
            if (point == points.end() || cellBlank ||
                !SameValue(point->second, *cell, cacheName == "numCache")) {
                const std::string message =
                    part + ": " + formula.child_value() + " caches \"" +
                    (point == points.end() ? std::string("(nothing)") : point->second) + "\" for " +
                    range->cells[i] + ", but the workbook holds \"" +
                    (cellBlank ? std::string("(nothing)") : cell->value) + "\".";
                // Series of one chart share their category formula; say it once.
                if (reported.insert(message).second) {
                    findings.push_back(
                        {FindingKind::ChartCacheMismatch, FindingLevel::Warning, part, message});
                }
                break;
            }
        }
    }
}

} // namespace

void CheckCharts(PackageModel& model, std::vector<Finding>& findings) {
    for (const std::string& part : model.PartsOfType(kChartType)) {
        const pugi::xml_document* document = model.Xml(part);
        if (document == nullptr) {
            continue;
        }
        pugi::xml_node root = document->document_element();
        CheckSeriesIds(Child(Child(root, "chart"), "plotArea"), part, findings);
        CheckPointCounts(root, part, findings);
        const std::string externalId = Child(root, "externalData").attribute("r:id").value();
        for (const Relationship& relationship : model.RelationshipsOf(part)) {
            const auto target = model.Find(relationship.target);
            if (relationship.external || relationship.id != externalId || !target ||
                relationship.type.find("/package") == std::string::npos) {
                continue;
            }
            try {
                const EmbeddedWorkbook workbook(model.Parts().at(*target), *target);
                CompareWithWorkbook(root, workbook, part, findings);
            } catch (const std::exception&) {
                // CheckEmbeddedWorkbooks reports the unreadable workbook itself.
            }
        }
    }
}

void CheckEmbeddedWorkbooks(PackageModel& model, std::vector<Finding>& findings) {
    for (const auto& [name, bytes] : model.Parts()) {
        if (model.ContentType(name) !=
            "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet") {
            continue;
        }
        PartMap inner;
        try {
            inner = ReadPackageFromMemory(bytes, name);
        } catch (const TestToolError& error) {
            Add(findings, FindingKind::EmbeddedPackage, name,
                "Embedded workbook " + name + " cannot be read: " + error.what());
            continue;
        }
        for (const Finding& finding : CheckParts(inner)) {
            findings.push_back({FindingKind::EmbeddedPackage, finding.level, name,
                                "Embedded workbook " + name + ": " + finding.message});
        }
        std::vector<Finding> ignored;
        PackageModel workbook(inner, ignored);
        for (const std::string& sheet : workbook.PartsOfType(
                 "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml")) {
            const pugi::xml_document* document = workbook.Xml(sheet);
            if (document == nullptr) {
                continue;
            }
            long long lastRow = 0;
            for (pugi::xml_node row : Child(document->document_element(), "sheetData").children()) {
                const long long number = row.attribute("r").as_llong();
                if (row.attribute("r") && number <= lastRow) {
                    Add(findings, FindingKind::EmbeddedPackage, name,
                        "Embedded workbook " + name + ": " + sheet + " row " +
                            std::to_string(number) + " follows row " + std::to_string(lastRow) +
                            "; rows must ascend.");
                    break;
                }
                lastRow = row.attribute("r") ? number : lastRow + 1;
            }
        }
    }
}

} // namespace slidesmith::testtools
