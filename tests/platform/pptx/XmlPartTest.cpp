#include "platform/pptx/XmlPart.h"

#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

TEST(XmlPart, KeepsASpaceRunButNotIndentationAndWritesOfficesDeclaration) {
    const std::string pretty = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                               "<a:p xmlns:a=\"urn:a\">\n  <a:r>\n    <a:t> </a:t>\n  </a:r>\n"
                               "  <a:r><a:t>x</a:t></a:r>\n</a:p>\n";
    XmlPart part("ppt/slides/slide1.xml", pretty, "t.pptx");
    EXPECT_STREQ(part.Root().first_child().name(), "a:r") << "indentation is not a node";
    part.MarkChanged();
    EXPECT_EQ(part.Serialize(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
              "<a:p xmlns:a=\"urn:a\"><a:r><a:t> </a:t></a:r><a:r><a:t>x</a:t></a:r></a:p>");

    pugi::xml_document fresh;
    fresh.append_child("Types");
    XmlPart added("[Content_Types].xml", fresh);
    EXPECT_EQ(
        added.Serialize().rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>", 0),
        0u);
}

} // namespace
} // namespace slidesmith::pptx
