#include "PackageTestSupport.h"
#include "platform/pptx/PptxError.h"
#include "platform/pptx/Presentation.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <set>

namespace slidesmith::pptx {
namespace {

namespace fs = std::filesystem;
using testing::ReadEntry;
using testing::ScratchFolder;

// The bytes need not decode: the package layer stores them as given.
const std::string kRedPixel = std::string("\x89PNG\r\n\x1a\n", 8) + "red pixel";
const std::string kBluePixel = std::string("\x89PNG\r\n\x1a\n", 8) + "blue pixel";

fs::path Fixture() {
    return testing::RealFixtures() / "pictures-cropped-named-ppt2016.pptx";
}

std::size_t MediaCount(const fs::path& file) {
    std::size_t count = 0;
    for (const auto& [name, entry] : testing::ReadRawEntries(file))
        count += name.rfind("ppt/media/", 0) == 0 ? 1 : 0;
    return count;
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(Fixture()))
            GTEST_SKIP() << "shared fixtures are absent";
    }
    ScratchFolder m_scratch;
};

TEST_F(PictureTest, EqualImagesShareOneMediaPartAndEveryShapeGetsItsOwnId) {
    auto presentation = Presentation::Open(Fixture());
    presentation->Duplicate(0);
    SlidePart& first = presentation->Slide(0);
    SlidePart& second = presentation->Slide(1);
    std::uint32_t largest = 0;
    first.Xml().Root().find_node([&](pugi::xml_node node) {
        if (std::string_view(node.name()) == "p:cNvPr")
            largest = std::max(largest, node.attribute("id").as_uint());
        return false;
    });
    std::set<std::uint32_t> ids{
        first.AddPicture(kRedPixel, "png", "image/png", {914400, 914400, 1828800, 914400}, "Logo"),
        first.AddPicture(kRedPixel, "png", "image/png", {0, 0, 9525, 9525}),
        first.AddPicture(kBluePixel, "png", "image/png", {0, 0, 9525, 9525}),
        second.AddPicture(kRedPixel, "png", "image/png", {0, 0, 9525, 9525})};
    EXPECT_EQ(ids.size(), 4u - 1u); // the second slide numbers its own shapes
    EXPECT_GT(*ids.begin(), largest);
    // An image the template already holds is reused, not stored again.
    first.AddPicture(ReadEntry(Fixture(), "ppt/media/image1.png"), "png", "image/png",
                     {0, 0, 100, 100});
    EXPECT_THROW(first.AddPicture(kRedPixel, "png", "image/png", {0, 0, -1, 5}), PptxError);

    fs::path out = m_scratch / "out.pptx";
    presentation->SaveAs(out, 1);
    EXPECT_EQ(MediaCount(out), MediaCount(Fixture()) + 2);
    EXPECT_TRUE(testing::CheckPackage(out).empty());

    pugi::xml_document slide;
    std::string bytes = ReadEntry(out, "ppt/slides/slide1.xml");
    ASSERT_TRUE(slide.load_buffer(bytes.data(), bytes.size()));
    pugi::xpath_node logo = slide.select_node("//p:pic[p:nvPicPr/p:cNvPr/@name='Logo']");
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo.node().select_node("p:spPr/a:xfrm/a:ext/@cx").attribute().as_llong(), 1828800);
    EXPECT_FALSE(slide.select_node("//p:spTree/p:extLst/following-sibling::*")) << "after extLst";
    // Two pictures of the same image on one slide use one relationship.
    std::string red = logo.node().select_node("p:blipFill/a:blip/@r:embed").attribute().value();
    EXPECT_EQ(slide.select_nodes(("//a:blip[@r:embed='" + red + "']").c_str()).size(), 2u);
}

} // namespace
} // namespace slidesmith::pptx
