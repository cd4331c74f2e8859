#include "FormatCases.h"

namespace slidesmith::fill {
namespace {

using namespace testing;

TEST(FormatText, PlaceholdersFillFromTheRightUnlessTold) {
    ExpectFormats({
        {Text("12345"), "@@@-@@", "123-45"},
        {Text("1234"), "@@@-@@", " 12-34"},
        {Text("1234"), "!@@@-@@", "123-4 "},
        {Text("1234"), "&&&-&&", "12-34"},
        {Text("ab"), "(@@@@)", "(  ab)"},
        {Text("ab"), "!(&&&&)", "(ab)"},
        {Text("abcdef"), "@@@", "abcdef"},
        {Text("abcdef"), "!@-@", "a-bcdef"},
        {Text("abcdef"), "@-@", "abcde-f"},
        {Text("größe"), "@@@-@@", "grö-ße"},
        {Int(5), "@@@", "  5"},
        {Real(1.5), "\"[\"@\"]\"", "[1.5]"},
    });
}

TEST(FormatText, CaseFlagsAndEmptyText) {
    ExpectFormats({
        {Text("Hello"), ">", "HELLO"},
        {Text("Hello"), "<", "hello"},
        {Text("ÄrGER"), "<@", "ärger"},
        {Text("straße"), ">", "STRAßE"}, // no one-to-two mappings: lengths stay as written
        {Text("abc"), ">@@@@ \\x", " ABC x"},
        {Text(""), "@;\\E\\m\\p\\t\\y", "Empty"},
        {odbc::FieldValue(), "@;\"none\"", "none"},
        {odbc::FieldValue(), "@@@", ""},
        {Text(""), "@@", "  "},
    });
}

TEST(CellText, LongTextIsWrittenInFullWithoutItsFormat) {
    const LocaleConventions en = LocaleConventions::EnUs();
    const std::string memo(300, 'x');
    EXPECT_EQ(CellText(Text(memo), "@@@-@@", en), memo);
    const std::string exactly255 = std::string(250, 'x') + "12345";
    EXPECT_EQ(CellText(Text(exactly255), ">", en), std::string(250, 'X') + "12345");
    // The limit counts characters, not bytes.
    std::string umlauts;
    for (int i = 0; i < 200; ++i) {
        umlauts += "ä";
    }
    EXPECT_EQ(CellText(Text(umlauts), ">", en).size(), umlauts.size());
    EXPECT_NE(CellText(Text(umlauts), ">", en), umlauts);

    EXPECT_EQ(CellText(odbc::FieldValue(), "0.00", en), "");
    EXPECT_EQ(CellText(Real(1234.5), "", en), "1234.5");
    EXPECT_EQ(CellText(Real(1234.5), "#,##0.00", en), "1,234.50");
}

} // namespace
} // namespace slidesmith::fill
