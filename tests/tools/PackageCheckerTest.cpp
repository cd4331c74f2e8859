#include "PackageChecker.h"

#include "SampleTemplates.h"
#include "TemplateBuilder.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <set>
#include <sstream>

namespace slidesmith::testtools {
namespace {

// Replaces the first occurrence of `from` in a part; fails the test when it is not there, so a
// change in the builder cannot silently turn a breakage into a no-op.
void Replace(PartMap& parts, const std::string& part, const std::string& from,
             const std::string& to) {
    std::string& bytes = parts.at(part);
    const std::size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from << " not in " << part;
    bytes.replace(at, from.size(), to);
}

void EditXml(PartMap& parts, const std::string& part,
             const std::function<void(pugi::xml_document&)>& edit) {
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(parts.at(part).c_str()));
    edit(document);
    std::ostringstream out;
    document.save(out, "", pugi::format_raw);
    parts[part] = out.str();
}

pugi::xml_node FirstNamed(pugi::xml_document& document, const char* name) {
    return document.find_node(
        [name](pugi::xml_node node) { return std::strcmp(node.name(), name) == 0; });
}

std::set<FindingKind> Kinds(const std::vector<Finding>& findings) {
    std::set<FindingKind> kinds;
    for (const Finding& finding : findings) {
        kinds.insert(finding.kind);
    }
    return kinds;
}

TEST(PackageChecker, FindsNothingInBuiltTemplates) {
    TemplateDescription potx = SampleReportTemplate();
    potx.asTemplate = true;
    for (const TemplateDescription& description :
         {SampleReportTemplate(), potx, SingleTableTemplate(1, 1), TemplateDescription{}}) {
        const auto findings = CheckParts(BuildTemplateParts(description));
        EXPECT_TRUE(findings.empty()) << Describe(findings);
    }
}

struct Breakage {
    const char* what;
    std::function<void(PartMap&)> breakPackage;
    std::set<FindingKind> expected;
    const char* partNamed; // a finding must name this part
};

const char* kSlide2 = "ppt/slides/slide2.xml";
const char* kSlide4Rels = "ppt/slides/_rels/slide4.xml.rels";
const char* kChart1 = "ppt/charts/chart1.xml";
const char* kWorkbook = "ppt/embeddings/Microsoft_Excel_Worksheet.xlsx";

std::vector<Breakage> Breakages() {
    using K = FindingKind;
    return {
        {"slide override removed, so the slide falls back to application/xml",
         [](PartMap& p) {
             Replace(p, "[Content_Types].xml", "<Override PartName=\"/ppt/slides/slide2.xml\"",
                     "<Ignored");
         },
         {K::WrongContentType},
         kSlide2},
        {"no Default for png",
         [](PartMap& p) {
             Replace(p, "[Content_Types].xml", "Extension=\"png\"", "Extension=\"gif\"");
         },
         {K::MissingContentType},
         "ppt/media/image1.png"},
        {"Override for a part that does not exist",
         [](PartMap& p) {
             Replace(p, "[Content_Types].xml", "</Types>",
                     "<Override PartName=\"/ppt/slides/slide9.xml\" ContentType=\"application/"
                     "vnd.openxmlformats-officedocument.presentationml.slide+xml\"/></Types>");
         },
         {K::OverrideForMissingPart},
         "ppt/slides/slide9.xml"},
        {"two Defaults for one extension",
         [](PartMap& p) {
             Replace(p, "[Content_Types].xml", "</Types>",
                     "<Default Extension=\"PNG\" ContentType=\"image/png\"/></Types>");
         },
         {K::DuplicateContentType},
         "[Content_Types].xml"},
        {"relationship to a missing media part",
         [](PartMap& p) {
             Replace(p, kSlide4Rels, "</Relationships>",
                     "<Relationship Id=\"rId99\" Type=\"http://schemas.openxmlformats.org/"
                     "officeDocument/2006/relationships/image\" Target=\"../media/gone.png\"/>"
                     "</Relationships>");
         },
         {K::DanglingRelationship},
         kSlide4Rels},
        {"relationship id used twice",
         [](PartMap& p) {
             Replace(p, kSlide4Rels, "</Relationships>",
                     "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
                     "officeDocument/2006/relationships/slideLayout\" "
                     "Target=\"../slideLayouts/slideLayout4.xml\"/></Relationships>");
         },
         {K::DuplicateRelationshipId},
         kSlide4Rels},
        {"r:embed naming no relationship",
         [](PartMap& p) {
             Replace(p, "ppt/slides/slide4.xml", "r:embed=\"rId2\"", "r:embed=\"rId42\"");
         },
         {K::UnresolvedReference},
         "ppt/slides/slide4.xml"},
        {"two p:sldId entries share an r:id",
         [](PartMap& p) { Replace(p, "ppt/presentation.xml", "r:id=\"rId3\"", "r:id=\"rId2\""); },
         {K::DuplicateSlideId},
         "ppt/presentation.xml"},
        {"two slides share an id (sections updated alike)",
         [](PartMap& p) {
             Replace(p, "ppt/presentation.xml", "<p:sldId id=\"257\"", "<p:sldId id=\"256\"");
             Replace(p, "ppt/presentation.xml", "<p14:sldId id=\"257\"/>", "");
         },
         {K::DuplicateSlideId},
         "ppt/presentation.xml"},
        {"slide id below 256",
         [](PartMap& p) {
             Replace(p, "ppt/presentation.xml", "<p:sldId id=\"256\"", "<p:sldId id=\"255\"");
             Replace(p, "ppt/presentation.xml", "<p14:sldId id=\"256\"/>",
                     "<p14:sldId id=\"255\"/>");
         },
         {K::DuplicateSlideId},
         "ppt/presentation.xml"},
        {"section naming an unknown slide id",
         [](PartMap& p) {
             Replace(p, "ppt/presentation.xml", "<p14:sldId id=\"256\"/>",
                     "<p14:sldId id=\"999\"/>");
         },
         {K::SectionMismatch},
         "ppt/presentation.xml"},
        {"two shapes with one id",
         [](PartMap& p) { Replace(p, kSlide2, "<p:cNvPr id=\"3\"", "<p:cNvPr id=\"2\""); },
         {K::DuplicateShapeId},
         kSlide2},
        {"a shape inside a group repeats an id of the tree",
         [](PartMap& p) {
             Replace(p, kSlide2, "</p:spTree>",
                     "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"20\" name=\"Group\"/><p:cNvGrpSpPr/>"
                     "<p:nvPr/></p:nvGrpSpPr><p:grpSpPr/><p:sp><p:nvSpPr><p:cNvPr id=\"4\" "
                     "name=\"Inner\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr/></p:sp></p:grpSp>"
                     "</p:spTree>");
         },
         {K::DuplicateShapeId},
         kSlide2},
        {"a row with one cell too few",
         [](PartMap& p) {
             EditXml(p, kSlide2, [](pugi::xml_document& d) {
                 pugi::xml_node row = FirstNamed(d, "a:tr");
                 row.remove_child(row.find_child([](pugi::xml_node n) {
                     return std::strcmp(n.name(), "a:tc") == 0 && !n.next_sibling("a:tc");
                 }));
             });
         },
         {K::TableGridMismatch},
         kSlide2},
        {"a gridSpan running past the grid",
         [](PartMap& p) { Replace(p, kSlide2, "gridSpan=\"2\"", "gridSpan=\"5\""); },
         {K::TableGridMismatch},
         kSlide2},
        {"a rowSpan running past the last row",
         [](PartMap& p) { Replace(p, kSlide2, "gridSpan=\"2\"", "gridSpan=\"2\" rowSpan=\"3\""); },
         {K::TableGridMismatch},
         kSlide2},
        {"a table frame lower than its rows",
         [](PartMap& p) {
             EditXml(p, kSlide2, [](pugi::xml_document& d) {
                 FirstNamed(d, "p:graphicFrame").child("p:xfrm").child("a:ext").attribute("cy") =
                     100;
             });
         },
         {K::TableFrameMismatch},
         kSlide2},
        {"a chart part used by two slides",
         [](PartMap& p) {
             Replace(p, kSlide4Rels, "</Relationships>",
                     "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/"
                     "officeDocument/2006/relationships/chart\" Target=\"../charts/chart1.xml\"/>"
                     "</Relationships>");
         },
         {K::SharedChartPart},
         "ppt/charts/chart1.xml"},
        {"a part nothing refers to",
         [](PartMap& p) { p["ppt/media/orphan.png"] = p.at("ppt/media/image1.png"); },
         {K::UnreferencedPart},
         "ppt/media/orphan.png"},
        {"relationships of a part that does not exist",
         [](PartMap& p) { p["ppt/slides/_rels/slide99.xml.rels"] = p.at(kSlide4Rels); },
         {K::UnreferencedPart},
         "ppt/slides/_rels/slide99.xml.rels"},
        {"a truncated slide",
         [](PartMap& p) { p[kSlide2].resize(p[kSlide2].size() / 2); },
         {K::MalformedXml},
         kSlide2},
        {"a control character in a text run",
         [](PartMap& p) { Replace(p, kSlide2, ">North<", ">No\x01rth<"); },
         {K::MalformedXml},
         kSlide2},
        {"a character reference XML forbids",
         [](PartMap& p) { Replace(p, kSlide2, ">North<", ">No&#x1B;rth<"); },
         {K::MalformedXml},
         kSlide2},
        {"two table rows with one a16:rowId",
         [](PartMap& p) { Replace(p, kSlide2, "val=\"2000104729\"", "val=\"2000000000\""); },
         {K::DuplicateTableId},
         kSlide2},
        {"two chart series with one c:idx",
         [](PartMap& p) { Replace(p, kChart1, "<c:idx val=\"1\"/>", "<c:idx val=\"0\"/>"); },
         {K::ChartInconsistency},
         kChart1},
        {"a point past ptCount",
         [](PartMap& p) {
             Replace(p, "ppt/charts/chart2.xml", "<c:ptCount val=\"3\"/>",
                     "<c:ptCount val=\"2\"/>");
         },
         {K::ChartInconsistency},
         "ppt/charts/chart2.xml"},
        {"a series id spelt c16:uniqueID",
         [](PartMap& p) {
             Replace(p, "ppt/charts/chart2.xml", "</c:ser>",
                     "<c:extLst><c:ext uri=\"{C3380CC4-5D6E-409C-BE32-E72D297353CC}\">"
                     "<c16:uniqueID xmlns:c16=\"http://schemas.microsoft.com/office/drawing/2014/"
                     "chart\" val=\"{00000000-0000-0000-0000-000000000001}\"/></c:ext></c:extLst>"
                     "</c:ser>");
         },
         {K::ChartInconsistency},
         "ppt/charts/chart2.xml"},
        {"a cached value the workbook does not hold",
         [](PartMap& p) { Replace(p, kChart1, "<c:v>12.5</c:v>", "<c:v>13.5</c:v>"); },
         {K::ChartCacheMismatch},
         kChart1},
        {"an embedded workbook that is no zip",
         [](PartMap& p) { p[kWorkbook] = "not a zip"; },
         {K::EmbeddedPackage},
         kWorkbook},
        {"an embedded workbook whose rows go backwards",
         [](PartMap& p) {
             PartMap workbook = ReadPackageFromMemory(p.at(kWorkbook), kWorkbook);
             Replace(workbook, "xl/worksheets/sheet1.xml", "<row r=\"3\">", "<row r=\"2\">");
             p[kWorkbook] = WritePackageToMemory(workbook);
         },
         {K::EmbeddedPackage},
         kWorkbook},
        {"a notes slide claimed by a second slide",
         [](PartMap& p) {
             Replace(p, "ppt/slides/_rels/slide3.xml.rels", "</Relationships>",
                     "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/"
                     "officeDocument/2006/relationships/notesSlide\" "
                     "Target=\"../notesSlides/notesSlide1.xml\"/></Relationships>");
         },
         {K::NotesMismatch},
         "ppt/notesSlides/notesSlide1.xml"},
        {"HeadingPairs counting more parts than TitlesOfParts lists",
         [](PartMap& p) { Replace(p, "docProps/app.xml", "<vt:i4>4</vt:i4>", "<vt:i4>5</vt:i4>"); },
         {K::InconsistentDocProps},
         "docProps/app.xml"},
        {"a negative picture height",
         [](PartMap& p) { Replace(p, "ppt/slides/slide4.xml", "cy=\"685800\"", "cy=\"-685800\""); },
         {K::InvalidValue},
         "ppt/slides/slide4.xml"},
        {"a row height that is no integer",
         [](PartMap& p) { Replace(p, kSlide2, "<a:tr h=\"370840\"", "<a:tr h=\"NaN\""); },
         {K::InvalidValue},
         kSlide2},
        {"a p:sldId naming the master's relationship",
         [](PartMap& p) {
             Replace(p, "ppt/presentation.xml", "<p:sldId id=\"256\" r:id=\"rId2\"",
                     "<p:sldId id=\"256\" r:id=\"rId1\"");
         },
         {K::UnresolvedReference},
         "ppt/presentation.xml"},
        {"a run appended after the paragraph's end properties",
         [](PartMap& p) {
             Replace(p, kSlide2, "<a:endParaRPr lang=\"en-US\" dirty=\"0\"/></a:p>",
                     "<a:endParaRPr lang=\"en-US\" dirty=\"0\"/><a:r><a:t>late</a:t></a:r></a:p>");
         },
         {K::SchemaViolation},
         kSlide2},
        {"a colour written after the run's font",
         [](PartMap& p) {
             Replace(p, kSlide2, "<a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill></a:rPr>",
                     "<a:latin typeface=\"Arial\"/><a:solidFill><a:srgbClr val=\"FF0000\"/>"
                     "</a:solidFill></a:rPr>");
         },
         {K::SchemaViolation},
         kSlide2},
        {"cell properties before the cell's text",
         [](PartMap& p) { Replace(p, kSlide2, "<a:tc><a:txBody>", "<a:tc><a:tcPr/><a:txBody>"); },
         {K::SchemaViolation},
         kSlide2},
        {"a cell anchored \"mid\"",
         [](PartMap& p) { Replace(p, kSlide2, "<a:tcPr/>", "<a:tcPr anchor=\"mid\"/>"); },
         {K::SchemaViolation},
         kSlide2},
        {"two fills in one run",
         [](PartMap& p) {
             Replace(p, kSlide2, "<a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill>",
                     "<a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill><a:noFill/>");
         },
         {K::SchemaViolation},
         kSlide2},
        {"two entries differing only in case",
         [](PartMap& p) { p["ppt/media/IMAGE1.png"] = p.at("ppt/media/image1.png"); },
         {K::CaseCollision, K::UnreferencedPart},
         "ppt/media/IMAGE1.png"},
    };
}

TEST(PackageChecker, ReportsExactlyTheFaultPutIntoAGoodPackage) {
    const PartMap good = BuildTemplateParts(SampleReportTemplate());
    for (const Breakage& breakage : Breakages()) {
        SCOPED_TRACE(breakage.what);
        PartMap parts = good;
        breakage.breakPackage(parts);
        const auto findings = CheckParts(parts);
        EXPECT_EQ(Kinds(findings), breakage.expected) << Describe(findings);
        bool named = false;
        for (const Finding& finding : findings) {
            named = named || (finding.part == breakage.partNamed &&
                              finding.message.find(breakage.partNamed) != std::string::npos);
        }
        EXPECT_TRUE(named) << "no finding names " << breakage.partNamed << "\n"
                           << Describe(findings);
    }
}

TEST(PackageChecker, TableFrameMismatchIsOnlyAWarningAndATallerFrameIsFine) {
    PartMap parts = BuildTemplateParts(SingleTableTemplate(2, 2));
    EditXml(parts, "ppt/slides/slide1.xml", [](pugi::xml_document& d) {
        FirstNamed(d, "p:graphicFrame").child("p:xfrm").child("a:ext").attribute("cy") = 5000000;
    });
    EXPECT_TRUE(CheckParts(parts).empty()) << "rows grown by their text make a taller frame";
    EditXml(parts, "ppt/slides/slide1.xml", [](pugi::xml_document& d) {
        FirstNamed(d, "p:graphicFrame").child("p:xfrm").child("a:ext").attribute("cx") = 100;
    });
    const auto findings = CheckParts(parts);
    ASSERT_EQ(findings.size(), 1U) << Describe(findings);
    EXPECT_EQ(findings[0].level, FindingLevel::Warning);
    EXPECT_FALSE(HasErrors(findings));
}

TEST(PackageChecker, CountsOneBranchOfAlternateContentAndIgnoresEmptyAndExternalReferences) {
    PartMap parts = BuildTemplateParts(SingleTableTemplate(1, 1));
    Replace(parts, "ppt/slides/slide1.xml", "</p:spTree>",
            "<mc:AlternateContent "
            "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
            "<mc:Choice Requires=\"p14\"><p:sp><p:nvSpPr><p:cNvPr id=\"7\" name=\"Ink\">"
            "<a:hlinkClick r:id=\"\" action=\"ppaction://hlinkshowjump?jump=nextslide\"/>"
            "</p:cNvPr><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr/></p:sp></mc:Choice><mc:Fallback>"
            "<p:sp><p:nvSpPr><p:cNvPr id=\"7\" name=\"Ink\"><a:hlinkClick r:id=\"rId2\"/></p:cNvPr>"
            "<p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr/></p:sp></mc:Fallback></mc:AlternateContent>"
            "</p:spTree>");
    Replace(parts, "ppt/slides/_rels/slide1.xml.rels", "</Relationships>",
            "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
            "2006/relationships/hyperlink\" Target=\"https://example.com/a%20b\" "
            "TargetMode=\"External\"/></Relationships>");
    const auto findings = CheckParts(parts);
    EXPECT_TRUE(findings.empty()) << Describe(findings);
}

TEST(PackageChecker, ReportsAFileThatIsNoZipInsteadOfThrowing) {
    const auto path = std::filesystem::temp_directory_path() / "slidesmith-not-a-zip.pptx";
    std::ofstream(path) << "plain text";
    const auto findings = CheckPackage(path);
    std::filesystem::remove(path);
    ASSERT_EQ(findings.size(), 1U);
    EXPECT_EQ(findings[0].kind, FindingKind::UnreadablePackage);
    EXPECT_NE(findings[0].message.find("slidesmith-not-a-zip.pptx"), std::string::npos);
}

} // namespace
} // namespace slidesmith::testtools
