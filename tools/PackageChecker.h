#pragma once

#include "PackageFiles.h"

#include <filesystem>
#include <string>
#include <vector>

namespace slidesmith::testtools {

// What a finding is about; tests compare kinds, people read the message.
enum class FindingKind {
    UnreadablePackage,      // not a zip file at all
    MalformedXml,           // an XML part does not parse or holds characters XML forbids
    MissingContentType,     // a part without Default or Override
    OverrideForMissingPart, // an Override naming no entry
    DuplicateContentType,   // two Defaults for one extension or two Overrides for one part
    WrongContentType,       // a slide, chart, layout, ... whose content type is not its own
    CaseCollision,          // two entries whose names differ only in case
    DanglingRelationship,   // an internal target that does not exist
    DuplicateRelationshipId,
    UnresolvedReference,  // an r:id (r:embed, r:link, ...) with no relationship in the part's rels
    DuplicateSlideId,     // p:sldId id or r:id used twice, or an id out of 256..2147483647
    SectionMismatch,      // a section naming an unknown slide id, or a slide in two sections
    DuplicateShapeId,     // cNvPr id used twice in one shape tree (groups included)
    TableGridMismatch,    // a row's cell count differs from a:tblGrid, or a span runs past it
    TableFrameMismatch,   // warning: frame height/width differs from the rows/columns
    SharedChartPart,      // one chart part referenced by two slides
    UnreferencedPart,     // a part no relationship chain from _rels/.rels reaches
    DuplicateTableId,     // a16:rowId or a16:colId used twice in one table
    ChartInconsistency,   // c:idx/c:order used twice, ptCount below a point, c16:uniqueID misspelt
    ChartCacheMismatch,   // warning: a cached chart value differs from the cell its c:f names
    EmbeddedPackage,      // an embedded workbook that is no readable zip or has faults itself
    NotesMismatch,        // a notes slide shared by slides or pointing back at another slide
    InconsistentDocProps, // docProps/app.xml HeadingPairs counts differ from TitlesOfParts
    InvalidValue,         // a negative or non-numeric position, extent, width or height
    SchemaViolation,      // DrawingML children out of order, repeated or not allowed there
};

enum class FindingLevel { Error, Warning };

struct Finding {
    FindingKind kind;
    FindingLevel level = FindingLevel::Error;
    std::string part;    // item name without leading '/', empty for package-wide findings
    std::string message; // a full sentence that names the part
};

// Checks a .pptx/.pptm/.potx/.ppsx package for what makes PowerPoint offer a repair or refuse
// the file. Never throws: a file that cannot be read gives one UnreadablePackage finding.
// An empty result means nothing was found.
std::vector<Finding> CheckPackage(const std::filesystem::path& path);

// The same checks on entries already in memory.
std::vector<Finding> CheckParts(const PartMap& parts);

// True when any finding is an error (warnings alone leave a package openable).
bool HasErrors(const std::vector<Finding>& findings);

// "error [kind] <message>" / "warning [kind] <message>", for logs and test failure output.
std::string Describe(const Finding& finding);
std::string Describe(const std::vector<Finding>& findings);

// Name of a kind as written in messages and the command line ("dangling-relationship").
std::string KindName(FindingKind kind);

} // namespace slidesmith::testtools
