#include "TemplateText.h"

#include "SampleTemplates.h"
#include "TemplateBuilder.h"
#include "TestToolError.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace slidesmith::testtools {
namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(TemplateText, TheExampleDescribesTheSampleReportTemplateExactly) {
    const std::string text =
        ReadText(std::string(SLIDESMITH_SOURCE_DIR) + "/tools/examples/report-template.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(BuildTemplateParts(ParseTemplateText(text)),
              BuildTemplateParts(SampleReportTemplate()));
}

TEST(TemplateText, ReadsQuotingEscapesUnitsAndSpans) {
    const TemplateDescription description = ParseTemplateText(
        "template potx   # a comment\n"
        "slide blank\n"
        "text \"Two words\" 1in 2cm 72pt 100 \"say \\\"hi\\\"\\nnext\" size=10.5 colour=00FF00\n"
        "table T 2 2 0 0 widths=1in,2in style=none first-row=0\n"
        "cell 2 1 \"x=1\" span=2x1 bold\n");
    EXPECT_TRUE(description.asTemplate);
    const auto& text = std::get<TextShape>(description.slides[0].shapes[0]);
    EXPECT_EQ(text.name, "Two words");
    EXPECT_EQ(text.box.x, 914400);
    EXPECT_EQ(text.box.y, 720000);
    EXPECT_EQ(text.box.cx, 914400);
    EXPECT_EQ(text.box.cy, 100);
    EXPECT_EQ(text.text, "say \"hi\"\nnext");
    EXPECT_EQ(text.format.sizeHundredths, 1050);
    EXPECT_EQ(text.format.colour, "00FF00");
    const auto& table = std::get<TableShape>(description.slides[0].shapes[1]);
    EXPECT_EQ(table.columnWidths, (std::vector<std::int64_t>{914400, 1828800}));
    EXPECT_TRUE(table.styleId.empty());
    EXPECT_FALSE(table.firstRow);
    EXPECT_TRUE(table.bandRow);
    EXPECT_EQ(table.cells[1][0].text, "x=1");
    EXPECT_EQ(table.cells[1][0].gridSpan, 2);
    EXPECT_TRUE(table.cells[1][0].format.bold);
}

TEST(TemplateText, NamesTheLineOfEveryMistake) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"slide blank\nfrobnicate\n", "line 2: unknown statement"},
        {"text A 0 0 0 0 \"x\"\n", "line 1: \"text\" needs a \"slide\" line"},
        {"slide sideways\n", "line 1: unknown layout"},
        {"slide blank\ntext A 1furlong 0 0 0 \"x\"\n", "line 2: \"1furlong\" is not a length"},
        {"slide blank\ntable T 2 2 0 0\ncell 3 1 \"x\"\n", "line 3: cell 3 1 is outside"},
        {"slide blank\ncell 1 1 \"x\"\n", "line 2: \"cell\" must follow a \"table\" line"},
        {"slide blank\ntext A 0 0 0 0 \"open\n", "line 2: unterminated quoted text"},
        {"slide blank\ntable T 2 2 0 0 widths=1in\n", "line 2: widths/heights"},
        {"slide blank\nchart C bar 0 0 0 0\nseries \"s\" 1 two\n",
         "line 3: \"two\" is not a number"},
        {"slide blank\npicture P 0 0 0 0 pixels=10\n", "line 2:"},
        {"slide blank\ntext A 0 0 0 0 \"x\" italic=1\n", "line 2: unknown option \"italic\""},
        {"slide blank\ntext A 0 0 0\n", "line 2: expected more words"},
    };
    for (const auto& [text, message] : cases) {
        try {
            ParseTemplateText(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const TestToolError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos)
                << error.what() << "\nexpected: " << message;
        }
    }
}

} // namespace
} // namespace slidesmith::testtools
