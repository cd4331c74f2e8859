// The checker against presentations saved by PowerPoint, LibreOffice, Google Slides and WPS:
// every finding must be a verified fault of that file, listed here with the reason.
#include "PackageChecker.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <tuple>

namespace slidesmith::testtools {
namespace {

using Key = std::tuple<std::string, FindingKind, std::string>; // file, kind, part

struct KnownFinding {
    Key key;
    const char* reason;
};

const std::vector<KnownFinding>& KnownFindings() {
    static const std::vector<KnownFinding> known = {
        {{"charts-combo-sections-2masters-ppt2016.pptx", FindingKind::ChartCacheMismatch,
          "ppt/charts/chart3.xml"},
         "the caches hold 787 points for ranges of 836 rows: the workbook grew after the chart "
         "was last refreshed"},
        {{"google-slides-table.pptx", FindingKind::TableFrameMismatch, "ppt/slides/slide1.xml"},
         "Google Slides writes a 3000000 EMU frame width whatever the columns add up to"},
        {{"google-slides-table-notes.pptx", FindingKind::TableFrameMismatch,
          "ppt/slides/slide4.xml"},
         "the same Google Slides frame width"},
        {{"libreoffice53-table-merged.pptx", FindingKind::DuplicateShapeId,
          "ppt/slideMasters/slideMaster1.xml"},
         "LibreOffice numbers master placeholders from 0, so one reuses the shape tree's id 1"},
        {{"libreoffice53-table-merged.pptx", FindingKind::SchemaViolation, "ppt/slides/slide1.xml"},
         "LibreOffice 5.3 writes merged-away cells without a text body, which PowerPoint never "
         "does (a warning)"},
        {{"libreoffice74-resaved-charts-cache-only.pptx", FindingKind::DuplicateShapeId,
          "ppt/slideMasters/slideMaster1.xml"},
         "the same LibreOffice master numbering"},
        {{"libreoffice75-11-masters.pptx", FindingKind::DuplicateShapeId,
          "ppt/slideMasters/slideMaster1.xml"},
         "the same LibreOffice master numbering"},
        {{"ole-msgraph-charts-table-ppt2007.pptx", FindingKind::DanglingRelationship,
          "ppt/slides/_rels/slide3.xml.rels"},
         "picture \"Picture 6\" has an image relationship whose target is the literal \"NULL\""},
        {{"tables-large-merged-linked-chart-ppt2016.pptx", FindingKind::UnreferencedPart,
          "docProps/custom.xml"},
         "docProps/custom.xml is stored but _rels/.rels has no custom-properties relationship"},
    };
    return known;
}

TEST(PackageCheckerOnRealFiles, FindsOnlyTheKnownFaultsOfEachFile) {
    const std::filesystem::path folder = std::filesystem::path(SLIDESMITH_SHARED_FIXTURES) / "real";
    if (!std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no real presentations in " << folder;
    }
    std::set<Key> expected;
    for (const KnownFinding& known : KnownFindings()) {
        expected.insert(known.key);
    }
    std::set<Key> found;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".pptx" && extension != ".potx") {
            continue;
        }
        ++files;
        const std::string file = entry.path().filename().string();
        for (const Finding& finding : CheckPackage(entry.path())) {
            found.insert({file, finding.kind, finding.part});
            EXPECT_TRUE(expected.count({file, finding.kind, finding.part}) != 0)
                << file << ": unexpected " << Describe(finding);
        }
    }
    EXPECT_GE(files, 29);
    for (const KnownFinding& known : KnownFindings()) {
        EXPECT_TRUE(found.count(known.key) != 0) << std::get<0>(known.key) << ": the known fault ("
                                                 << known.reason << ") was not reported";
    }
}

} // namespace
} // namespace slidesmith::testtools
