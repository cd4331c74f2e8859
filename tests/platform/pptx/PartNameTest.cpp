#include "platform/pptx/PartName.h"

#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

TEST(PartName, TargetsResolveAgainstTheSourceFolderAndBack) {
    struct Case {
        const char* source;
        const char* target;
        const char* resolved;
    };
    const Case cases[] = {
        {"ppt/slides/slide1.xml", "../media/image1.png", "ppt/media/image1.png"},
        {"ppt/slides/slide1.xml", "slide2.xml", "ppt/slides/slide2.xml"},
        {"ppt/slides/slide1.xml", "/ppt/charts/chart1.xml", "ppt/charts/chart1.xml"},
        {"ppt/presentation.xml", "slides/slide1.xml", "ppt/slides/slide1.xml"},
        {"", "ppt/presentation.xml", "ppt/presentation.xml"},
        {"", "../customXml/item1.xml", "customXml/item1.xml"},
        {"ppt/slides/slide1.xml", "../media/my%20image.png", "ppt/media/my image.png"},
        {"ppt/slides/slide1.xml", "slide2.xml#frag", "ppt/slides/slide2.xml"},
        {"ppt/charts/chart1.xml", "../embeddings/./Book1.xlsx", "ppt/embeddings/Book1.xlsx"},
    };
    for (const Case& item : cases) {
        EXPECT_EQ(ResolveTarget(item.source, item.target), item.resolved)
            << item.source << " + " << item.target;
        EXPECT_EQ(ResolveTarget(item.source, RelativeTarget(item.source, item.resolved)),
                  item.resolved)
            << item.source << " -> " << item.resolved;
    }
}

TEST(PartName, RelationshipPartsSitInTheSourceFolder) {
    EXPECT_EQ(RelsPartName("ppt/slides/slide1.xml"), "ppt/slides/_rels/slide1.xml.rels");
    EXPECT_EQ(RelsPartName(""), "_rels/.rels");
    EXPECT_EQ(RelsPartName("ppt/presentation.xml"), "ppt/_rels/presentation.xml.rels");
    EXPECT_EQ(PartExtension("ppt/media/Image1.PNG"), "png");
    EXPECT_EQ(PartExtension("ppt/v.1/noext"), "");
}

} // namespace
} // namespace slidesmith::pptx
