#include "platform/pptx/TextBody.h"

#include "DomTestSupport.h"

#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

constexpr const char* kStyledCell =
    "<a:txBody><a:bodyPr/><a:lstStyle/>"
    "<a:p><a:pPr algn=\"ctr\"/><a:r><a:rPr lang=\"de-DE\" sz=\"1400\" dirty=\"0\"><a:ln/>"
    "<a:solidFill><a:srgbClr val=\"123456\"/></a:solidFill><a:latin typeface=\"Arial\"/>"
    "<a:hlinkClick r:id=\"rId9\"/></a:rPr><a:t>Old</a:t></a:r><a:br><a:rPr/></a:br>"
    "<a:r><a:rPr i=\"1\"/><a:t>line</a:t></a:r></a:p>"
    "<a:p><a:fld id=\"{1}\" type=\"slidenum\"><a:t>3</a:t></a:fld><a:endParaRPr/></a:p>"
    "</a:txBody>";

TEST(TextBody, ReadsParagraphsLineBreaksAndFieldsAsTheObjectModelShowsThem) {
    auto document = test::Parse(kStyledCell);
    test::CountingSink sink;
    const TextBody body(test::Find(*document, "a:txBody"), sink);
    EXPECT_EQ(body.Text(), "Old\vline\r3");
    EXPECT_EQ(body.Characters(4, 4), "line");
    EXPECT_EQ(body.Characters(8, 10), "\r3");
    EXPECT_EQ(body.Characters(20, 1), "");
    // Breaks and ends belong to the run before them; the text's end to the last run.
    EXPECT_STREQ(body.LocationAt(3).run.name(), "a:br");
    EXPECT_STREQ(body.LocationAt(8).run.child("a:t").child_value(), "line");
    EXPECT_STREQ(body.LocationAt(50).run.name(), "a:fld");
    EXPECT_EQ(sink.changes, 0);
}

struct WriteCase {
    const char* name;
    const char* written;
    const char* read;
    int paragraphs;
    int lineBreaks;
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << c.name;
}

class TextWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(TextWrite, KeepsFirstRunAndParagraphPropertiesEverywhere) {
    auto document = test::Parse(kStyledCell);
    test::CountingSink sink;
    TextBody body(test::Find(*document, "a:txBody"), sink);
    body.SetText(GetParam().written);
    EXPECT_EQ(body.Text(), GetParam().read);
    int paragraphs = 0;
    int lineBreaks = 0;
    for (pugi::xml_node paragraph : body.Node().children("a:p")) {
        ++paragraphs;
        EXPECT_STREQ(paragraph.first_child().attribute("algn").value(), "ctr");
        EXPECT_STREQ(paragraph.last_child().name(), "a:endParaRPr");
        for (pugi::xml_node child = paragraph.first_child().next_sibling(); child;
             child = child.next_sibling()) {
            lineBreaks += std::string_view(child.name()) == "a:br" ? 1 : 0;
            const pugi::xml_node properties = child.child("a:rPr") ? child.child("a:rPr") : child;
            EXPECT_STREQ(properties.attribute("sz").value(), "1400") << child.name();
            EXPECT_STREQ(
                properties.select_node("a:solidFill/a:srgbClr").node().attribute("val").value(),
                "123456");
            EXPECT_FALSE(properties.attribute("dirty"));
            EXPECT_FALSE(properties.child("a:hlinkClick")) << "the link belonged to the old text";
        }
    }
    EXPECT_EQ(paragraphs, GetParam().paragraphs);
    EXPECT_EQ(lineBreaks, GetParam().lineBreaks);
    EXPECT_GT(sink.changes, 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextWrite,
                         testing::Values(WriteCase{"plain", "1,234.50", "1,234.50", 1, 0},
                                         WriteCase{"empty", "", "", 1, 0},
                                         WriteCase{"lineFeeds", "a\nb\n\nc", "a\rb\r\rc", 4, 0},
                                         WriteCase{"windowsLineEnds", "a\r\nb", "a\rb", 2, 0},
                                         WriteCase{"verticalTab", "a\vb\v", "a\vb\v", 1, 2},
                                         WriteCase{"forbiddenControls",
                                                   "a\x01\x1f"
                                                   "b\tc\xef\xbf\xbe",
                                                   "ab\tc", 1, 0},
                                         WriteCase{"utf8",
                                                   "Gr\xc3\xbc\xc3\x9f"
                                                   "e",
                                                   "Gr\xc3\xbc\xc3\x9f"
                                                   "e",
                                                   1, 0}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(TextBody, EmptyTextKeepsTheFontForTheNextWrite) {
    auto document = test::Parse("<a:txBody><a:bodyPr/><a:p><a:endParaRPr sz=\"900\"/></a:p>"
                                "<a:p><a:r><a:rPr sz=\"2000\"/><a:t>x</a:t></a:r></a:p>"
                                "</a:txBody><a:txBody><a:bodyPr/></a:txBody>");
    test::CountingSink sink;
    TextBody body(test::Find(*document, "a:txBody"), sink);
    body.SetText("");
    body.SetText("8");
    EXPECT_EQ(body.Text(), "8");
    EXPECT_STREQ(body.Node().select_node("a:p/a:r/a:rPr").node().attribute("sz").value(), "2000")
        << "the first run, even in a later paragraph, sets the look";
    TextBody bare(body.Node().next_sibling(), sink);
    bare.SetText("z");
    EXPECT_EQ(bare.Text(), "z");
}

TEST(TextBody, ColouringASectionSplitsTheRunAndColoursOnlyThatSection) {
    auto document = test::Parse("<a:txBody><a:bodyPr/><a:p><a:r><a:rPr sz=\"1000\"><a:ln/>"
                                "<a:latin typeface=\"Arial\"/></a:rPr><a:t>0;(0);-</a:t></a:r>"
                                "<a:endParaRPr/></a:p></a:txBody>");
    test::CountingSink sink;
    TextBody body(test::Find(*document, "a:txBody"), sink);
    body.SetColour(2, 3, 0xFF0000);
    EXPECT_EQ(body.Text(), "0;(0);-");
    std::string pieces;
    for (pugi::xml_node run : body.Node().child("a:p").children("a:r")) {
        EXPECT_STREQ(run.child("a:rPr").attribute("sz").value(), "1000");
        pieces += std::string(run.child("a:t").child_value()) + "=" +
                  run.select_node("a:rPr/a:solidFill/a:srgbClr").node().attribute("val").value() +
                  " ";
    }
    EXPECT_EQ(pieces, "0;= (0)=FF0000 ;-= ");
    // CT_TextCharacterProperties wants the fill after a:ln and before the fonts.
    EXPECT_STREQ(body.LocationAt(3).run.child("a:rPr").child("a:ln").next_sibling().name(),
                 "a:solidFill");
    EXPECT_FALSE(body.Node().select_node(".//a:endParaRPr/a:solidFill"));
    body.SetColour(0, 7, 0x00FF00);
    EXPECT_TRUE(body.Node().select_node(".//a:endParaRPr/a:solidFill"))
        << "text typed later into a wholly coloured cell keeps the colour";
    EXPECT_EQ(body.Node().select_nodes(".//a:solidFill").size(), 4u);
}

} // namespace
} // namespace slidesmith::pptx
