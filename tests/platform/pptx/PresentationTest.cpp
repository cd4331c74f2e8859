#include "platform/pptx/Presentation.h"

#include "PackageTestSupport.h"
#include "platform/pptx/PptxError.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace slidesmith::pptx {
namespace {

namespace fs = std::filesystem;
using testing::ReadEntry;
using testing::ReadRawEntries;
using testing::ScratchFolder;

fs::path Fixture(const std::string& name) {
    return testing::RealFixtures() / name;
}

#define REQUIRE_FIXTURE(name)                                                                      \
    if (!fs::exists(Fixture(name)))                                                                \
    GTEST_SKIP() << "shared fixture " << (name) << " is absent"

pugi::xml_document ParseEntry(const fs::path& file, const std::string& name) {
    pugi::xml_document document;
    std::string bytes = ReadEntry(file, name);
    EXPECT_TRUE(document.load_buffer(bytes.data(), bytes.size())) << name;
    return document;
}

// Relationship targets of one part in the saved file, by type name ("chart", "package").
std::multimap<std::string, std::string> Targets(const fs::path& file, const std::string& rels) {
    std::multimap<std::string, std::string> targets;
    pugi::xml_document document = ParseEntry(file, rels);
    for (pugi::xml_node node : document.document_element().children("Relationship")) {
        std::string type = node.attribute("Type").value();
        targets.emplace(type.substr(type.rfind('/') + 1), node.attribute("Target").value());
    }
    return targets;
}

std::vector<unsigned> SectionIds(const fs::path& file, const std::string& section) {
    pugi::xml_document document = ParseEntry(file, "ppt/presentation.xml");
    std::string path = "//p14:section[@name='" + section + "']/p14:sldIdLst/p14:sldId";
    std::vector<unsigned> ids;
    for (const pugi::xpath_node& node : document.select_nodes(path.c_str()))
        ids.push_back(node.node().attribute("id").as_uint());
    return ids;
}

class PresentationTest : public ::testing::Test {
protected:
    ScratchFolder m_scratch;
};

TEST_F(PresentationTest, DuplicateSitsDirectlyAfterItsSourceInTheListAndInTheSection) {
    REQUIRE_FIXTURE("charts-combo-sections-2masters-ppt2016.pptx");
    auto presentation = Presentation::Open(Fixture("charts-combo-sections-2masters-ppt2016.pptx"));
    std::size_t count = presentation->SlideCount();
    std::uint32_t sourceId = presentation->Slide(1).SlideId();
    SlidePart& copy = presentation->Duplicate(1);
    EXPECT_EQ(presentation->IndexOf(copy), 2u);
    EXPECT_EQ(presentation->SlideCount(), count + 1);
    EXPECT_GE(copy.SlideId(), 256u);
    EXPECT_NE(copy.SlideId(), sourceId);

    fs::path out = m_scratch / "out.pptx";
    presentation->SaveAs(out, 1);
    std::vector<unsigned> arrows = SectionIds(out, "Arrows");
    auto source = std::find(arrows.begin(), arrows.end(), sourceId);
    ASSERT_NE(source, arrows.end());
    ASSERT_NE(source + 1, arrows.end());
    EXPECT_EQ(*(source + 1), copy.SlideId());
    EXPECT_EQ(arrows.size(), 5u);

    auto reopened = Presentation::Open(out);
    EXPECT_EQ(reopened->Slide(2).SlideId(), copy.SlideId());
    EXPECT_EQ(reopened->Slide(2).PartName(), copy.PartName());
}

TEST_F(PresentationTest, ReleasedCopiesComeOutAsRepeatedDuplicatesWouldLeaveThem) {
    REQUIRE_FIXTURE("charts-combo-sections-2masters-ppt2016.pptx");
    auto one = Presentation::Open(Fixture("charts-combo-sections-2masters-ppt2016.pptx"));
    auto batch = Presentation::Open(Fixture("charts-combo-sections-2masters-ppt2016.pptx"));
    for (int i = 0; i < 3; ++i)
        one->Duplicate(1);
    batch->AddReleasedCopies(1, 3);
    batch->AddReleasedCopies(1, 0);
    ASSERT_EQ(batch->SlideCount(), one->SlideCount());
    for (std::size_t i = 0; i < one->SlideCount(); ++i) {
        EXPECT_EQ(batch->Slide(i).SlideId(), one->Slide(i).SlideId()) << i;
        EXPECT_EQ(batch->Slide(i).PartName(), one->Slide(i).PartName()) << i;
    }
    const fs::path oneFile = m_scratch / "one.pptx";
    const fs::path batchFile = m_scratch / "batch.pptx";
    one->SaveAs(oneFile, 1);
    batch->SaveAs(batchFile, 1);
    EXPECT_EQ(SectionIds(batchFile, "Arrows"), SectionIds(oneFile, "Arrows"));
    // A released copy is saved whole: its shapes are the source's (the charts renamed).
    auto reopened = Presentation::Open(batchFile);
    EXPECT_EQ(reopened->Slide(2).Shapes().Shapes().size(),
              reopened->Slide(1).Shapes().Shapes().size());
}

TEST_F(PresentationTest, DeletedSlideLeavesItsSectionAndDocumentProperties) {
    REQUIRE_FIXTURE("charts-combo-sections-2masters-ppt2016.pptx");
    auto presentation = Presentation::Open(Fixture("charts-combo-sections-2masters-ppt2016.pptx"));
    std::uint32_t id = presentation->Slide(0).SlideId();
    std::size_t count = presentation->SlideCount();
    presentation->Delete(0);
    fs::path out = m_scratch / "out.pptx";
    presentation->SaveAs(out, 1);
    std::vector<unsigned> arrows = SectionIds(out, "Arrows");
    EXPECT_EQ(std::count(arrows.begin(), arrows.end(), id), 0);
    pugi::xml_document app = ParseEntry(out, "docProps/app.xml");
    EXPECT_EQ(app.document_element().child("Slides").text().as_uint(), count - 1);
}

TEST_F(PresentationTest, DuplicatedChartGetsItsOwnPartWorkbookAndStyles) {
    REQUIRE_FIXTURE("chart-bar-embedded-xlsx-ppt2013.pptx");
    fs::path input = Fixture("chart-bar-embedded-xlsx-ppt2013.pptx");
    auto presentation = Presentation::Open(input);
    SlidePart& copy = presentation->Duplicate(0);
    fs::path out = m_scratch / "out.pptx";
    presentation->SaveAs(out, 1);

    std::string copyRels = "ppt/slides/_rels/" + copy.PartName().substr(11) + ".rels";
    auto targets = Targets(out, copyRels);
    ASSERT_EQ(targets.count("chart"), 1u);
    std::string chart = targets.find("chart")->second;
    EXPECT_NE(chart, "../charts/chart1.xml");
    EXPECT_EQ(targets.find("slideLayout")->second, "../slideLayouts/slideLayout1.xml");

    std::string chartFile = chart.substr(std::string("../charts/").size());
    auto chartTargets = Targets(out, "ppt/charts/_rels/" + chartFile + ".rels");
    ASSERT_EQ(chartTargets.count("package"), 1u);
    std::string workbook = "ppt/" + chartTargets.find("package")->second.substr(3);
    EXPECT_NE(workbook, "ppt/embeddings/Microsoft_Excel_Worksheet1.xlsx");
    EXPECT_EQ(ReadEntry(out, workbook),
              ReadEntry(input, "ppt/embeddings/Microsoft_Excel_Worksheet1.xlsx"));
    EXPECT_NE(chartTargets.find("chartStyle")->second, "style1.xml");
    EXPECT_NE(chartTargets.find("chartColorStyle")->second, "colors1.xml");
    EXPECT_EQ(ReadEntry(out, "ppt/charts/" + chartFile), ReadEntry(input, "ppt/charts/chart1.xml"));
    EXPECT_TRUE(testing::CheckPackage(out).empty());
}

TEST_F(PresentationTest, DeletingTheTargetOfAHyperlinkRemovesTheLink) {
    REQUIRE_FIXTURE("named-textboxes-groups-ppt2016.pptx");
    auto presentation = Presentation::Open(Fixture("named-textboxes-groups-ppt2016.pptx"));
    presentation->Delete(1);
    fs::path out = m_scratch / "out.pptx";
    presentation->SaveAs(out, 1);
    EXPECT_EQ(Targets(out, "ppt/slides/_rels/slide1.xml.rels").count("slide"), 0u);
    EXPECT_EQ(ReadEntry(out, "ppt/slides/slide1.xml").find("hlinkClick"), std::string::npos);
    EXPECT_TRUE(testing::CheckPackage(out).empty());
}

TEST_F(PresentationTest, DeletingEverySlideTakesItsChartsAndNotesButKeepsTheDesign) {
    REQUIRE_FIXTURE("charts-mixed-table-picture-ppt2016.pptx");
    auto presentation = Presentation::Open(Fixture("charts-mixed-table-picture-ppt2016.pptx"));
    while (presentation->SlideCount() > 0)
        presentation->Delete(presentation->SlideCount() - 1);
    fs::path out = m_scratch / "out.pptx";
    presentation->SaveAs(out, 1);
    for (const auto& [name, entry] : ReadRawEntries(out)) {
        EXPECT_NE(name.rfind("ppt/charts/", 0), 0u) << name;
        EXPECT_NE(name.rfind("ppt/notesSlides/", 0), 0u) << name;
        EXPECT_NE(name.rfind("ppt/slides/", 0), 0u) << name;
    }
    EXPECT_TRUE(ReadRawEntries(out).count("ppt/slideLayouts/slideLayout1.xml"));
    EXPECT_TRUE(testing::CheckPackage(out).empty());
    EXPECT_EQ(Presentation::Open(out)->SlideCount(), 0u);
}

TEST_F(PresentationTest, OutOfRangeSlideNamesThePositionAndTheCount) {
    REQUIRE_FIXTURE("table-merged-7x6-ppt2016.pptx");
    auto presentation = Presentation::Open(Fixture("table-merged-7x6-ppt2016.pptx"));
    try {
        presentation->Duplicate(presentation->SlideCount());
        FAIL() << "expected PptxError";
    } catch (const PptxError& error) {
        EXPECT_NE(std::string(error.what()).find("does not exist (the presentation has"),
                  std::string::npos)
            << error.what();
    }
}

} // namespace
} // namespace slidesmith::pptx
