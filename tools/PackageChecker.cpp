#include "PackageChecker.h"

#include "ChartChecks.h"
#include "DrawingChecks.h"
#include "PackageModel.h"
#include "PresentationChecks.h"
#include "SchemaChecks.h"
#include "TestToolError.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <map>
#include <set>

namespace slidesmith::testtools {
namespace {

const std::string kOfficeRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const std::string kPml = "application/vnd.openxmlformats-officedocument.presentationml.";

// The content type a part must have when it is the target of a relationship of this type.
const std::map<std::string, std::string>& ExpectedContentTypes() {
    static const std::map<std::string, std::string> types = {
        {kOfficeRel + "slide", kPml + "slide+xml"},
        {kOfficeRel + "slideLayout", kPml + "slideLayout+xml"},
        {kOfficeRel + "slideMaster", kPml + "slideMaster+xml"},
        {kOfficeRel + "notesSlide", kPml + "notesSlide+xml"},
        {kOfficeRel + "notesMaster", kPml + "notesMaster+xml"},
        {kOfficeRel + "handoutMaster", kPml + "handoutMaster+xml"},
        {kOfficeRel + "presProps", kPml + "presProps+xml"},
        {kOfficeRel + "viewProps", kPml + "viewProps+xml"},
        {kOfficeRel + "tableStyles", kPml + "tableStyles+xml"},
        {kOfficeRel + "theme", "application/vnd.openxmlformats-officedocument.theme+xml"},
        {kOfficeRel + "chart", "application/vnd.openxmlformats-officedocument.drawingml.chart+xml"},
        {kOfficeRel + "extended-properties",
         "application/vnd.openxmlformats-officedocument.extended-properties+xml"},
        {"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties",
         "application/vnd.openxmlformats-package.core-properties+xml"},
    };
    return types;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void CheckNamesAndContentTypes(PackageModel& model, std::vector<Finding>& findings) {
    std::map<std::string, std::string> seen;
    for (const auto& [name, bytes] : model.Parts()) {
        auto [previous, isNew] = seen.emplace(Lower(name), name);
        if (!isNew) {
            findings.push_back({FindingKind::CaseCollision, FindingLevel::Error, name,
                                "Entries " + previous->second + " and " + name +
                                    " differ only in case, so they name the same part."});
        }
        if (name == "[Content_Types].xml") {
            continue;
        }
        if (model.ContentType(name).empty()) {
            findings.push_back({FindingKind::MissingContentType, FindingLevel::Error, name,
                                "Part " + name +
                                    " has no content type: no Override names it and no Default "
                                    "covers its extension."});
        }
        if (model.IsXmlPart(name)) {
            model.Xml(name); // reports a part that does not parse
        }
    }
}

void CheckRelationshipParts(PackageModel& model, std::vector<Finding>& findings) {
    for (const auto& entry : model.Parts()) {
        if (!PackageModel::IsRelsPart(entry.first)) {
            continue;
        }
        const std::string source = PackageModel::SourceOfRels(entry.first);
        std::set<std::string> ids;
        for (const Relationship& relationship : model.RelationshipsOf(source)) {
            if (!ids.insert(relationship.id).second) {
                findings.push_back({FindingKind::DuplicateRelationshipId, FindingLevel::Error,
                                    entry.first,
                                    entry.first + " uses relationship id " + relationship.id +
                                        " more than once."});
            }
            if (relationship.external) {
                continue;
            }
            const auto target = model.Find(relationship.target);
            if (!target) {
                findings.push_back(
                    {FindingKind::DanglingRelationship, FindingLevel::Error, entry.first,
                     entry.first + ": relationship " + relationship.id + " targets " +
                         relationship.target + ", which does not exist."});
                continue;
            }
            auto expected = ExpectedContentTypes().find(relationship.type);
            if (expected != ExpectedContentTypes().end() &&
                model.ContentType(*target) != expected->second) {
                findings.push_back({FindingKind::WrongContentType, FindingLevel::Error, *target,
                                    "Part " + *target + " is the target of a " +
                                        relationship.type.substr(relationship.type.rfind('/') + 1) +
                                        " relationship but has content type \"" +
                                        model.ContentType(*target) + "\", not \"" +
                                        expected->second + "\"."});
            }
        }
    }
}

void CheckReachability(PackageModel& model, std::vector<Finding>& findings) {
    std::set<std::string> reached;
    std::deque<std::string> queue{""};
    while (!queue.empty()) {
        const std::string source = queue.front();
        queue.pop_front();
        for (const Relationship& relationship : model.RelationshipsOf(source)) {
            if (relationship.external) {
                continue;
            }
            if (auto target = model.Find(relationship.target);
                target && reached.insert(*target).second) {
                queue.push_back(*target);
            }
        }
    }
    for (const auto& entry : model.Parts()) {
        const std::string& name = entry.first;
        if (name == "[Content_Types].xml" || reached.count(name) != 0) {
            continue;
        }
        if (PackageModel::IsRelsPart(name)) {
            const std::string source = PackageModel::SourceOfRels(name);
            if (source.empty() || reached.count(source) != 0 || model.Find(source)) {
                continue; // belongs to a reached part, or its unreached source is reported
            }
            findings.push_back(
                {FindingKind::UnreferencedPart, FindingLevel::Error, name,
                 name + " holds the relationships of " + source + ", which does not exist."});
            continue;
        }
        findings.push_back(
            {FindingKind::UnreferencedPart, FindingLevel::Error, name,
             "Part " + name + " is not reachable through relationships from _rels/.rels."});
    }
}

void RunChecks(const PartMap& parts, std::vector<Finding>& findings);

} // namespace

std::vector<Finding> CheckParts(const PartMap& parts) {
    std::vector<Finding> findings;
    try {
        RunChecks(parts, findings);
    } catch (const std::exception& error) {
        // A value past every range (a row number with 30 digits) must not crash a test run.
        findings.push_back({FindingKind::UnreadablePackage, FindingLevel::Error, "",
                            std::string("The checker could not finish: ") + error.what()});
    }
    return findings;
}

namespace {

void RunChecks(const PartMap& parts, std::vector<Finding>& findings) {
    PackageModel model(parts, findings);
    CheckNamesAndContentTypes(model, findings);
    CheckRelationshipParts(model, findings);
    CheckReachability(model, findings);
    CheckReferences(model, findings);
    CheckPresentation(model, findings);
    CheckShapeTrees(model, findings);
    CheckSharedCharts(model, findings);
    CheckNotes(model, findings);
    CheckAppProperties(model, findings);
    CheckCharts(model, findings);
    CheckEmbeddedWorkbooks(model, findings);
    CheckElementOrder(model, findings);
}

} // namespace

std::vector<Finding> CheckPackage(const std::filesystem::path& path) {
    PartMap parts;
    try {
        parts = ReadPackage(path);
    } catch (const TestToolError& error) {
        return {{FindingKind::UnreadablePackage, FindingLevel::Error, "", error.what()}};
    }
    return CheckParts(parts);
}

std::string KindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::UnreadablePackage:
        return "unreadable-package";
    case FindingKind::MalformedXml:
        return "malformed-xml";
    case FindingKind::MissingContentType:
        return "missing-content-type";
    case FindingKind::OverrideForMissingPart:
        return "override-for-missing-part";
    case FindingKind::DuplicateContentType:
        return "duplicate-content-type";
    case FindingKind::WrongContentType:
        return "wrong-content-type";
    case FindingKind::CaseCollision:
        return "case-collision";
    case FindingKind::DanglingRelationship:
        return "dangling-relationship";
    case FindingKind::DuplicateRelationshipId:
        return "duplicate-relationship-id";
    case FindingKind::UnresolvedReference:
        return "unresolved-reference";
    case FindingKind::DuplicateSlideId:
        return "duplicate-slide-id";
    case FindingKind::SectionMismatch:
        return "section-mismatch";
    case FindingKind::DuplicateShapeId:
        return "duplicate-shape-id";
    case FindingKind::TableGridMismatch:
        return "table-grid-mismatch";
    case FindingKind::TableFrameMismatch:
        return "table-frame-mismatch";
    case FindingKind::SharedChartPart:
        return "shared-chart-part";
    case FindingKind::UnreferencedPart:
        return "unreferenced-part";
    case FindingKind::DuplicateTableId:
        return "duplicate-table-id";
    case FindingKind::ChartInconsistency:
        return "chart-inconsistency";
    case FindingKind::ChartCacheMismatch:
        return "chart-cache-mismatch";
    case FindingKind::EmbeddedPackage:
        return "embedded-package";
    case FindingKind::NotesMismatch:
        return "notes-mismatch";
    case FindingKind::InconsistentDocProps:
        return "inconsistent-doc-props";
    case FindingKind::InvalidValue:
        return "invalid-value";
    case FindingKind::SchemaViolation:
        return "schema-violation";
    }
    return "unknown";
}

bool HasErrors(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& finding) { return finding.level == FindingLevel::Error; });
}

std::string Describe(const Finding& finding) {
    return std::string(finding.level == FindingLevel::Error ? "error" : "warning") + " [" +
           KindName(finding.kind) + "] " + finding.message;
}

std::string Describe(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& finding : findings) {
        text += Describe(finding) + "\n";
    }
    return text;
}

} // namespace slidesmith::testtools
