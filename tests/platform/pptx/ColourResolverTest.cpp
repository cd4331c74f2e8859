#include "platform/pptx/ColourResolver.h"

#include "DomTestSupport.h"
#include "platform/pptx/TableEditor.h"
#include "platform/pptx/TextBody.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace slidesmith::pptx {
namespace {

// PowerPoint's default "Office" scheme, with a dark master that maps text to lt1.
ColourContext OfficeContext() {
    ColourContext context;
    pugi::xml_document theme;
    theme.load_string(
        "<a:clrScheme name=\"Office\"><a:dk1><a:sysClr val=\"windowText\" lastClr=\"000000\"/>"
        "</a:dk1><a:lt1><a:sysClr val=\"window\" lastClr=\"FFFFFF\"/></a:lt1><a:dk2><a:srgbClr "
        "val=\"44546A\"/></a:dk2><a:lt2><a:srgbClr val=\"E7E6E6\"/></a:lt2><a:accent1><a:srgbClr "
        "val=\"4472C4\"/></a:accent1></a:clrScheme>");
    context.LoadScheme(theme.first_child());
    return context;
}

// Channels within 1 of each other: PowerPoint's own rounding of HSL results differs by one.
::testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected) {
    for (int shift : {16, 8, 0}) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > 1) {
            return ::testing::AssertionFailure()
                   << std::hex << actual << " is not near " << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

constexpr std::uint32_t kNothing = 0xFFFFFFFF;

struct ColourCase {
    const char* name;
    const char* colour;
    std::uint32_t expected;
};

void PrintTo(const ColourCase& c, std::ostream* out) {
    *out << c.name;
}

class ColourElement : public testing::TestWithParam<ColourCase> {};

TEST_P(ColourElement, ResolvesToTheRgbPowerPointShows) {
    const ColourContext context = OfficeContext();
    auto document = test::Parse(GetParam().colour);
    const ColourResolver resolver(context);
    const auto rgb = resolver.ColourOf(document->first_child().first_child());
    if (GetParam().expected == kNothing) {
        EXPECT_FALSE(rgb.has_value());
    } else {
        ASSERT_TRUE(rgb.has_value());
        EXPECT_TRUE(Near(*rgb, GetParam().expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ColourElement,
    testing::Values(
        ColourCase{"srgb", "<a:srgbClr val=\"1F2e3D\"/>", 0x1F2E3D},
        ColourCase{"scheme", "<a:schemeClr val=\"accent1\"/>", 0x4472C4},
        ColourCase{"textMapsToDark1", "<a:schemeClr val=\"tx1\"/>", 0x000000},
        ColourCase{"darker25",
                   "<a:schemeClr val=\"accent1\"><a:lumMod val=\"75000\"/></a:schemeClr>",
                   0x2F5597},
        ColourCase{"lighter40",
                   "<a:schemeClr val=\"accent1\"><a:lumMod val=\"60000\"/><a:lumOff "
                   "val=\"40000\"/></a:schemeClr>",
                   0x8FAADC},
        ColourCase{"shadeOnLinearLight",
                   "<a:srgbClr val=\"FF0000\"><a:shade val=\"50000\"/></a:srgbClr>", 0xBC0000},
        ColourCase{"tintOnLinearLight",
                   "<a:srgbClr val=\"000000\"><a:tint val=\"50000\"/></a:srgbClr>", 0xBCBCBC},
        ColourCase{"alphaIgnored", "<a:srgbClr val=\"102030\"><a:alpha val=\"50000\"/></a:srgbClr>",
                   0x102030},
        ColourCase{"systemLast", "<a:sysClr val=\"windowText\" lastClr=\"123456\"/>", 0x123456},
        ColourCase{"preset", "<a:prstClr val=\"red\"/>", 0xFF0000},
        ColourCase{"unknownScheme", "<a:schemeClr val=\"accent6\"/>", kNothing},
        ColourCase{"shortHex", "<a:srgbClr val=\"12345\"/>", kNothing},
        ColourCase{"badHex", "<a:srgbClr val=\"GG0000\"/>", kNothing}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(TextColour, FirstLevelThatStatesAFillWins) {
    ColourContext context = OfficeContext();
    auto inherited = test::Parse(
        "<p:bodyStyle><a:lvl1pPr><a:defRPr><a:solidFill><a:srgbClr val=\"0000AA\"/></a:solidFill>"
        "</a:defRPr></a:lvl1pPr></p:bodyStyle>");
    context.listStyles.push_back(test::Find(*inherited, "p:bodyStyle"));
    auto document = test::Parse(
        "<p:sp><p:txBody><a:bodyPr/><a:lstStyle><a:lvl2pPr><a:defRPr><a:solidFill><a:srgbClr "
        "val=\"00BB00\"/></a:solidFill></a:defRPr></a:lvl2pPr></a:lstStyle>"
        "<a:p><a:r><a:rPr><a:solidFill><a:srgbClr val=\"CC0000\"/></a:solidFill></a:rPr>"
        "<a:t>ab</a:t></a:r><a:r><a:t>cd</a:t></a:r></a:p>"
        "<a:p><a:pPr lvl=\"1\"/><a:r><a:t>ef</a:t></a:r></a:p>"
        "<a:p><a:endParaRPr><a:solidFill><a:schemeClr val=\"accent1\"/></a:solidFill>"
        "</a:endParaRPr></a:p></p:txBody><p:style><a:fontRef idx=\"minor\"><a:schemeClr "
        "val=\"dk2\"/></a:fontRef></p:style></p:sp>");
    test::CountingSink sink;
    const TextBody body(test::Find(*document, "p:txBody"), sink);
    const ColourResolver resolver(context);
    EXPECT_EQ(resolver.TextColour(body, 1), 0xCC0000u) << "run";
    EXPECT_EQ(resolver.TextColour(body, 5), 0x00BB00u) << "own list style at level 2";
    EXPECT_EQ(resolver.TextColour(body, 8), 0x4472C4u) << "empty paragraph's end mark";
    EXPECT_EQ(resolver.TextColour(body, 2), 0x44546Au) << "shape style's font reference";
    test::Find(*document, "p:style").parent().remove_child("p:style");
    EXPECT_EQ(resolver.TextColour(body, 2), 0x0000AAu) << "inherited list style";
    context.listStyles.clear();
    EXPECT_EQ(resolver.TextColour(body, 2), 0x000000u) << "theme text colour";
    pugi::xml_document master;
    master.load_string("<p:clrMap bg1=\"dk1\" tx1=\"lt1\" bg2=\"dk2\" tx2=\"lt2\"/>");
    context.LoadColourMap(master.first_child());
    EXPECT_EQ(resolver.TextColour(body, 2), 0xFFFFFFu) << "text on a dark master";
}

// Medium Style 2 as PowerPoint stores it, reduced to its text colours, with a distinct
// colour per part so the layering shows.
constexpr const char* kTableStyle =
    "<a:tblStyle styleId=\"{5C22544A-7EE6-4342-B048-85BDC9FD1C3A}\">"
    "<a:wholeTbl><a:tcTxStyle><a:fontRef idx=\"minor\"><a:prstClr val=\"black\"/></a:fontRef>"
    "<a:schemeClr val=\"dk1\"/></a:tcTxStyle></a:wholeTbl>"
    "<a:band2H><a:tcTxStyle><a:srgbClr val=\"222222\"/></a:tcTxStyle></a:band2H>"
    "<a:lastRow><a:tcTxStyle><a:srgbClr val=\"333333\"/></a:tcTxStyle></a:lastRow>"
    "<a:firstCol><a:tcTxStyle><a:srgbClr val=\"444444\"/></a:tcTxStyle></a:firstCol>"
    "<a:firstRow><a:tcTxStyle b=\"on\"><a:fontRef idx=\"minor\"><a:schemeClr val=\"lt1\"/>"
    "</a:fontRef></a:tcTxStyle></a:firstRow></a:tblStyle>";

struct TableColourCase {
    const char* name;
    const char* flags;
    std::size_t row, column;
    std::uint32_t expected;
};

void PrintTo(const TableColourCase& c, std::ostream* out) {
    *out << c.name;
}

class TableStyleColour : public testing::TestWithParam<TableColourCase> {};

TEST_P(TableStyleColour, AppliesThePartsTheTableFlagsSelect) {
    ColourContext context = OfficeContext();
    auto style = test::Parse(kTableStyle);
    context.tableStyle = test::Find(*style, "a:tblStyle");
    const TableColourCase& c = GetParam();
    auto document = test::Parse(test::TableFrameXml("AB|CD|EF|GH"));
    std::stringstream flags(c.flags);
    for (std::string flag; flags >> flag;) {
        test::Find(*document, "a:tblPr").append_attribute(flag.c_str()) = "1";
    }
    test::CountingSink sink;
    TableEditor table(test::Find(*document, "p:graphicFrame"), sink);
    EXPECT_EQ(ColourResolver(context).TextColour(table.CellText(c.row, c.column), 0), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, TableStyleColour,
    testing::Values(TableColourCase{"headerRow", "firstRow bandRow", 1, 2, 0xFFFFFF},
                    TableColourCase{"firstBandAfterHeader", "firstRow bandRow", 2, 2, 0x000000},
                    TableColourCase{"secondBand", "firstRow bandRow", 3, 2, 0x222222},
                    TableColourCase{"bandsCountFromTopWithoutHeader", "bandRow", 1, 2, 0x000000},
                    TableColourCase{"noFlagsWholeTable", "", 1, 1, 0x000000},
                    TableColourCase{"firstColumnOverBands", "firstCol bandRow", 2, 1, 0x444444},
                    TableColourCase{"lastRowOverFirstColumn", "firstCol lastRow", 4, 1, 0x333333},
                    TableColourCase{"firstRowOverFirstColumn", "firstCol firstRow", 1, 1,
                                    0xFFFFFF}),
    [](const auto& param) { return std::string(param.param.name); });

// A real table with its theme, colour map and style: the header row is white, the body black.
TEST(RealTableColours, HeaderAndBodyColoursComeFromTheStyleAndTheme) {
    if (!test::HaveRealFixtures()) {
        GTEST_SKIP() << "real fixtures not installed";
    }
    pugi::xml_document theme, master, styles, slide;
    const char* file = "mixed-table-ole-chart-ppt2016.pptx";
    theme.load_string(test::RealPart(file, "ppt/theme/theme1.xml").c_str());
    master.load_string(test::RealPart(file, "ppt/slideMasters/slideMaster1.xml").c_str());
    styles.load_string(test::RealPart(file, "ppt/tableStyles.xml").c_str());
    slide.load_string(test::RealPart(file, "ppt/slides/slide2.xml").c_str());
    ColourContext context;
    context.LoadScheme(test::Find(theme, "a:clrScheme"));
    context.LoadColourMap(test::Find(master, "p:clrMap"));
    pugi::xml_document builtIn;
    builtIn.load_string(std::string(DefaultTableStyleXml()).c_str());
    for (pugi::xml_node style : {test::Find(styles, "a:tblStyle"), builtIn.first_child()}) {
        context.tableStyle = style;
        test::CountingSink sink;
        TableEditor table(slide.select_node("//p:graphicFrame[.//a:tbl]").node(), sink);
        const ColourResolver resolver(context);
        EXPECT_EQ(resolver.TextColour(table.CellText(1, 1), 0), 0xFFFFFFu);
        EXPECT_EQ(resolver.TextColour(table.CellText(2, 1), 0), 0x000000u);
        EXPECT_EQ(table.CellText(2, 1).Text(), "r2c1");
    }
}

} // namespace
} // namespace slidesmith::pptx
