#include "app/CommandLine.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidesmith::app {
namespace {

using Arguments = std::vector<std::string>;

Arguments SplitAll(std::string_view text, bool keepQuotes) {
    Arguments arguments;
    std::size_t position = 0;
    while (position < text.size())
        arguments.push_back(NextArgument(text, position, keepQuotes));
    return arguments;
}

TEST(NextArgument, SplitsAtBlanksAndHandlesQuotesAndEscapes) {
    struct Case {
        const char* text;
        bool keepQuotes;
        Arguments expected;
    };
    const Case cases[] = {
        {"a  b\t c\r\nd", false, {"a", "b", "c", "d"}},
        {R"("C:\My Reports\q1.slm" -C)", false, {R"(C:\My Reports\q1.slm)", "-C"}},
        {R"("C:\My Reports\q1.slm" -C)", true, {R"("C:\My Reports\q1.slm")", "-C"}},
        {R"("-C")", true, {R"("-C")"}},
        {R"(say\"hi\" x)", false, {R"(say"hi")", "x"}},
        {R"("a \"b\" c")", false, {R"(a "b" c)"}},
        {R"(a"b c"d)", false, {"ab cd"}},
        {R"(a"b c"d)", true, {"ab cd"}},
        {R"("a b"x)", true, {R"("a bx)"}},
        {R"(back\slash C:\dir\)", false, {R"(back\slash)", R"(C:\dir\)"}},
        {R"("" x)", false, {"", "x"}},
        {R"("" x)", true, {R"("")", "x"}},
        {R"("open to the end)", false, {"open to the end"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitAll(c.text, c.keepQuotes), c.expected) << c.text;
}

TEST(BuildCommandLineText, EveryArgumentComesBackUnchanged) {
    const Arguments lists[] = {
        {},
        {"report.slm", "-C"},
        {"/home/ann/My Reports/q1.slm", "-C", "-I", "50"},
        {"", "two  blanks", "tab\there", "line\r\nbreak"},
        {R"(say "hi")", R"("quoted")", R"(")", R"(\")", R"(\\")"},
        {R"(C:\dir\)", R"(C:\My dir\)", R"(C:\My dir\\)", R"(a b"\)", R"(\\server\share)"},
        {"-C", "-Ux", "Ü ünïcode", "x\"y z"},
    };
    for (const Arguments& arguments : lists) {
        std::string text = BuildCommandLineText(arguments);
        EXPECT_EQ(SplitAll(text, false), arguments) << text;
    }
    EXPECT_EQ(BuildCommandLineText({"a b", "c", ""}), R"("a b" c "")");
}

engine::RunOptions Read(const Arguments& arguments) {
    engine::RunOptions options;
    ReadCommandLine(BuildCommandLineText(arguments), "/work/cur", options);
    return options;
}

TEST(ReadCommandLine, TheFirstArgumentIsAlwaysTheDefinitionAndOnlyMinusCMeansBatch) {
    engine::RunOptions empty = Read({});
    EXPECT_TRUE(empty.Interactive);
    EXPECT_EQ(empty.DefinitionPath, "");

    engine::RunOptions batch = Read({"report.slm", "-C"});
    EXPECT_FALSE(batch.Interactive);
    EXPECT_EQ(batch.DefinitionPath, "/work/cur/report.slm");

    engine::RunOptions editor = Read({"report.slm"});
    EXPECT_TRUE(editor.Interactive);
    EXPECT_EQ(editor.DefinitionPath, "/work/cur/report.slm");

    // -C first is the file name; report.slm is no option, so parsing ends with Interactive set.
    engine::RunOptions swapped = Read({"-C", "report.slm"});
    EXPECT_TRUE(swapped.Interactive);
    EXPECT_EQ(swapped.DefinitionPath, "/work/cur/-C");
    EXPECT_TRUE(swapped.CommandLineValues.empty());

    EXPECT_EQ(Read({"/srv/jobs/../q1.slm", "-c"}).DefinitionPath, "/srv/q1.slm");
    engine::RunOptions lower = Read({"r.slm", "-c", "-d"});
    EXPECT_FALSE(lower.Interactive);
    EXPECT_TRUE(lower.DisplayReport);
    EXPECT_TRUE(Read({"r.slm", R"("-C")"}).Interactive) << "an option in quotes is no option";
}

TEST(ReadCommandLine, ProgressIntervalTakesANumberOrGivesTheArgumentBack) {
    engine::RunOptions numeric = Read({"r.slm", "-C", "-I", "50", "2009", "Q1"});
    EXPECT_DOUBLE_EQ(numeric.ProgressInterval, 50);
    EXPECT_EQ(numeric.CommandLineValues, (Arguments{"2009", "Q1"}));
    EXPECT_EQ(numeric.CommandLineValueCount(), 2);

    engine::RunOptions year = Read({"r.slm", "-C", "-I", "2009"});
    EXPECT_DOUBLE_EQ(year.ProgressInterval, 2009);
    EXPECT_TRUE(year.CommandLineValues.empty());

    engine::RunOptions word = Read({"r.slm", "-C", "-I", "Q1"});
    EXPECT_DOUBLE_EQ(word.ProgressInterval, 0.1);
    EXPECT_EQ(word.CommandLineValues, (Arguments{"Q1"}));

    EXPECT_DOUBLE_EQ(Read({"r.slm", "-C", "-i"}).ProgressInterval, 0.1);
}

TEST(ReadCommandLine, CredentialsFillTheSlotOfTheNamedDataSource) {
    engine::RunOptions both = Read({"r.slm", "-C", "-u2", "sa", "-P2", "s3cret word"});
    EXPECT_TRUE(both.CredentialGiven[1]);
    EXPECT_EQ(both.CredentialUser[1], "sa");
    EXPECT_EQ(both.CredentialPassword[1], "s3cret word");
    EXPECT_FALSE(both.CredentialGiven[0]);

    engine::RunOptions first = Read({"r.slm", "-C", "-U", "sa"});
    EXPECT_TRUE(first.CredentialGiven[0]);
    EXPECT_EQ(first.CredentialUser[0], "sa");

    engine::RunOptions last = Read({"r.slm", "-C", "-P11", "pw"});
    EXPECT_TRUE(last.CredentialGiven[10]);
    EXPECT_EQ(last.CredentialPassword[10], "pw");
    EXPECT_EQ(last.CredentialUser[10], "");

    engine::RunOptions outside = Read({"r.slm", "-C", "-U0", "sa", "-U12", "sa"});
    for (bool given : outside.CredentialGiven)
        EXPECT_FALSE(given);
    EXPECT_TRUE(outside.CommandLineValues.empty()) << "the user names are consumed";

    engine::RunOptions notAnOption = Read({"r.slm", "-C", "-Ux", "sa"});
    EXPECT_EQ(notAnOption.CommandLineValues, (Arguments{"-Ux", "sa"}));
}

TEST(ReadCommandLine, ValuesAreTakenInBatchModeOnlyAndAtMostTen) {
    Arguments arguments = {"r.slm", "-C"};
    for (int i = 1; i <= 12; ++i)
        arguments.push_back("v" + std::to_string(i));
    arguments.push_back(R"(say "hi")");
    engine::RunOptions many = Read(arguments);
    ASSERT_EQ(many.CommandLineValueCount(), 10);
    EXPECT_EQ(many.CommandLineValues.front(), "v1");
    EXPECT_EQ(many.CommandLineValues.back(), "v10");

    EXPECT_EQ(Read({"r.slm", "-C", R"(say "hi")", ""}).CommandLineValues,
              (Arguments{R"(say "hi")", ""}));
    EXPECT_TRUE(Read({"r.slm", "-D", "2009"}).CommandLineValues.empty());
}

} // namespace
} // namespace slidesmith::app
