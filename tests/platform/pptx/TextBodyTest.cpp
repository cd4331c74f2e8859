#include "platform/pptx/TextBody.h"

#include "DomTestSupport.h"

#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

using test::CountingSink;

constexpr const char* kStyledCell =
    "<a:txBody><a:bodyPr/><a:lstStyle/>"
    "<a:p><a:pPr algn=\"ctr\"/><a:r><a:rPr lang=\"de-DE\" sz=\"1400\" b=\"1\" dirty=\"0\">"
    "<a:solidFill><a:srgbClr val=\"123456\"/></a:solidFill>"
    "<a:hlinkClick r:id=\"rId9\"/></a:rPr><a:t>Old</a:t></a:r>"
    "<a:br><a:rPr lang=\"de-DE\"/></a:br><a:r><a:rPr lang=\"de-DE\" i=\"1\"/><a:t>line</a:t></a:r>"
    "</a:p><a:p><a:fld id=\"{1}\" type=\"slidenum\"><a:t>3</a:t></a:fld>"
    "<a:endParaRPr lang=\"de-DE\"/></a:p></a:txBody>";

class TextBodyTest : public testing::Test {
protected:
    TextBody Load(const char* xml) {
        m_document = test::ParseWithNamespaces(xml);
        return TextBody(test::Find(*m_document, "a:txBody"), m_sink);
    }
    std::unique_ptr<pugi::xml_document> m_document;
    CountingSink m_sink;
};

TEST_F(TextBodyTest, ReadsParagraphsLineBreaksAndFieldsAsTheObjectModelShowsThem) {
    const TextBody body = Load(kStyledCell);
    EXPECT_EQ(body.Text(), "Old\vline\r3");
    EXPECT_EQ(body.Characters(4, 4), "line");
    EXPECT_EQ(body.Characters(8, 10), "\r3");
    EXPECT_EQ(body.Characters(20, 1), "");
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

class TextWrite : public TextBodyTest, public testing::WithParamInterface<WriteCase> {};

TEST_P(TextWrite, KeepsFirstRunAndParagraphPropertiesEverywhere) {
    TextBody body = Load(kStyledCell);
    body.SetText(GetParam().written);
    EXPECT_EQ(body.Text(), GetParam().read);
    const pugi::xml_node node = body.Node();
    int paragraphs = 0;
    int lineBreaks = 0;
    for (pugi::xml_node paragraph : node.children("a:p")) {
        ++paragraphs;
        EXPECT_STREQ(paragraph.child("a:pPr").attribute("algn").value(), "ctr");
        for (pugi::xml_node child : paragraph.children()) {
            const std::string name = child.name();
            if (name == "a:pPr") {
                EXPECT_EQ(child, paragraph.first_child());
                continue;
            }
            lineBreaks += name == "a:br" ? 1 : 0;
            const pugi::xml_node properties = name == "a:endParaRPr" ? child : child.child("a:rPr");
            EXPECT_STREQ(properties.attribute("sz").value(), "1400") << name;
            EXPECT_STREQ(
                properties.child("a:solidFill").child("a:srgbClr").attribute("val").value(),
                "123456");
            EXPECT_FALSE(properties.attribute("dirty"));
            EXPECT_FALSE(properties.child("a:hlinkClick")) << "the link belonged to the old text";
        }
        EXPECT_STREQ(paragraph.last_child().name(), "a:endParaRPr");
    }
    EXPECT_EQ(paragraphs, GetParam().paragraphs);
    EXPECT_EQ(lineBreaks, GetParam().lineBreaks);
    EXPECT_GT(m_sink.changes, 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextWrite,
                         testing::Values(WriteCase{"plain", "1,234.50", "1,234.50", 1, 0},
                                         WriteCase{"empty", "", "", 1, 0},
                                         WriteCase{"lineFeeds", "a\nb\n\nc", "a\rb\r\rc", 4, 0},
                                         WriteCase{"windowsLineEnds", "a\r\nb", "a\rb", 2, 0},
                                         WriteCase{"verticalTab", "a\vb\v", "a\vb\v", 1, 2},
                                         WriteCase{"forbiddenControls",
                                                   "a\x01\x1f"
                                                   "b\tc",
                                                   "ab\tc", 1, 0},
                                         WriteCase{"utf8",
                                                   "Gr\xc3\xbc\xc3\x9f"
                                                   "e",
                                                   "Gr\xc3\xbc\xc3\x9f"
                                                   "e",
                                                   1, 0}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(TextBodyTest, EmptyCellKeepsItsFontThroughAWriteAndALaterOne) {
    TextBody body = Load("<a:txBody><a:bodyPr/><a:p><a:endParaRPr lang=\"en-US\" sz=\"900\"/>"
                         "</a:p></a:txBody>");
    body.SetText("7");
    EXPECT_STREQ(body.Node().child("a:p").child("a:r").child("a:rPr").attribute("sz").value(),
                 "900");
    body.SetText("");
    body.SetText("8");
    EXPECT_EQ(body.Text(), "8");
    EXPECT_STREQ(body.Node().child("a:p").child("a:r").child("a:rPr").attribute("sz").value(),
                 "900");
}

TEST_F(TextBodyTest, TemplateRunMayComeFromALaterParagraph) {
    TextBody body = Load("<a:txBody><a:bodyPr/><a:p><a:pPr lvl=\"1\"/></a:p><a:p><a:r>"
                         "<a:rPr sz=\"2000\"/><a:t>x</a:t></a:r></a:p></a:txBody>");
    body.SetText("y");
    const pugi::xml_node paragraph = body.Node().child("a:p");
    EXPECT_FALSE(paragraph.next_sibling("a:p"));
    EXPECT_STREQ(paragraph.child("a:pPr").attribute("lvl").value(), "1");
    EXPECT_STREQ(paragraph.child("a:r").child("a:rPr").attribute("sz").value(), "2000");
}

TEST_F(TextBodyTest, BodyWithoutParagraphsGetsOne) {
    TextBody body = Load("<a:txBody><a:bodyPr/></a:txBody>");
    body.SetText("z");
    EXPECT_EQ(body.Text(), "z");
}

TEST_F(TextBodyTest, ColouringASectionSplitsTheRunAndKeepsTheRest) {
    TextBody body = Load("<a:txBody><a:bodyPr/><a:p><a:r><a:rPr sz=\"1000\"><a:ln w=\"1\"/>"
                         "<a:latin typeface=\"Arial\"/></a:rPr><a:t>0;(0);-</a:t></a:r></a:p>"
                         "</a:txBody>");
    body.SetColour(2, 3, 0xFF0000);
    EXPECT_EQ(body.Text(), "0;(0);-");
    std::vector<std::string> pieces;
    for (pugi::xml_node run : body.Node().child("a:p").children("a:r")) {
        const pugi::xml_node properties = run.child("a:rPr");
        EXPECT_STREQ(properties.attribute("sz").value(), "1000");
        const std::string colour =
            properties.child("a:solidFill").child("a:srgbClr").attribute("val").value();
        pieces.push_back(std::string(run.child("a:t").child_value()) + "=" + colour);
        if (!colour.empty()) {
            // CT_TextCharacterProperties: ln, then the fill, then the fonts.
            EXPECT_STREQ(properties.first_child().name(), "a:ln");
            EXPECT_STREQ(properties.first_child().next_sibling().name(), "a:solidFill");
        }
    }
    EXPECT_EQ(pieces, (std::vector<std::string>{"0;=", "(0)=FF0000", ";-="}));
    EXPECT_EQ(body.LocationAt(3).run.child("a:t").child_value(), std::string("(0)"));
}

TEST_F(TextBodyTest, ColouringEverythingColoursTheParagraphEndsToo) {
    TextBody body = Load(kStyledCell);
    body.SetColour(0, 100, 0x00FF00);
    for (pugi::xml_node paragraph : body.Node().children("a:p")) {
        EXPECT_STREQ(paragraph.child("a:endParaRPr")
                         .child("a:solidFill")
                         .child("a:srgbClr")
                         .attribute("val")
                         .value(),
                     "00FF00");
    }
    const pugi::xml_node first = body.Node().child("a:p").child("a:r").child("a:rPr");
    EXPECT_EQ(
        std::distance(first.children("a:solidFill").begin(), first.children("a:solidFill").end()),
        1);
}

TEST_F(TextBodyTest, LocationOfBreaksAndEndsFallsBackToTheRunBefore) {
    const TextBody body = Load(kStyledCell);
    EXPECT_STREQ(body.LocationAt(0).run.name(), "a:r");
    EXPECT_STREQ(body.LocationAt(3).run.name(), "a:br");
    EXPECT_STREQ(body.LocationAt(8).run.child("a:t").child_value(), "line");
    EXPECT_STREQ(body.LocationAt(9).run.name(), "a:fld");
    EXPECT_STREQ(body.LocationAt(50).run.name(), "a:fld");
}

} // namespace
} // namespace slidesmith::pptx
