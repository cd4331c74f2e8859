#include "script/TextScan.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidesmith::script {
namespace {

using Strings = std::vector<std::string>;

Strings Tokens(std::string_view text, bool keepQuotes = true) {
    Strings tokens;
    std::size_t pos = 0;
    for (std::string t = GetToken(text, pos, keepQuotes); !t.empty();
         t = GetToken(text, pos, keepQuotes))
        tokens.push_back(t);
    return tokens;
}

TEST(GetToken, SplitsAStatementHeaderAtDelimitersAndOperators) {
    EXPECT_EQ(Tokens("@1=REPORT(SLIDE=2 TABLE=1)"),
              (Strings{"@1", "=", "REPORT", "(", "SLIDE", "=", "2", "TABLE", "=", "1", ")"}));
    EXPECT_EQ(Tokens("a<>b >= c =< d == e=>=f"),
              (Strings{"a", "<>", "b", ">=", "c", "=<", "d", "==", "e", "=>", "=", "f"}));
    EXPECT_EQ(Tokens("CELL=B2,,C2"), (Strings{"CELL", "=", "B2", ",", ",", "C2"}));
    EXPECT_EQ(Tokens("x/*y*/ a/b /"), (Strings{"x", "/*", "y*/", "a/b", "/"}));
    EXPECT_EQ(Tokens("\t a\r\nb  "), (Strings{"a", "b"}));
}

TEST(GetToken, KeepsQuotedRunsTogetherWithDoubledQuotes) {
    EXPECT_EQ(Tokens("'A B' c"), (Strings{"'A B'", "c"}));
    EXPECT_EQ(Tokens("'A B' c", false), (Strings{"A B", "c"}));
    EXPECT_EQ(Tokens("'It''s'"), (Strings{"'It''s'"}));
    EXPECT_EQ(Tokens("'It''s'", false), (Strings{"It''s"}));
    EXPECT_EQ(Tokens("ab\"c d\"e f"), (Strings{"ab\"c d\"e", "f"}));
    EXPECT_EQ(Tokens("'a,(=)/*' b"), (Strings{"'a,(=)/*'", "b"}));
    EXPECT_EQ(Tokens("\"it's\""), (Strings{"\"it's\""}));
    EXPECT_EQ(Tokens("'open to the end"), (Strings{"'open to the end"}));
}

TEST(NextLine, CutsAtLfAndDropsTheCrBeforeIt) {
    const std::string text = "\none\r\ntwo\rthree\r";
    std::size_t pos = 0;
    EXPECT_EQ(NextLine(text, pos), "");
    EXPECT_EQ(NextLine(text, pos), "one");
    EXPECT_EQ(NextLine(text, pos), "two\rthree");
    EXPECT_EQ(pos, text.size());
}

TEST(StripQuotes, RemovesOneMatchingPairOnly) {
    EXPECT_EQ(StripQuotes("'A B'"), "A B");
    EXPECT_EQ(StripQuotes("\"\"x\"\""), "\"x\"");
    EXPECT_EQ(StripQuotes("'x\""), "'x\"");
    EXPECT_EQ(StripQuotes("''"), "");
    EXPECT_EQ(StripQuotes("'"), "'");
}

TEST(SkipComment, StopsAfterTheCloseOrReportsAnOpenComment) {
    bool open = false;
    std::size_t pos = 2;
    SkipComment("/*/ x */y", pos, open);
    EXPECT_FALSE(open);
    EXPECT_EQ(pos, 8u); // "/*/" does not close itself
    pos = 0;
    SkipComment("no end", pos, open);
    EXPECT_TRUE(open);
    EXPECT_EQ(pos, 6u);
}

TEST(StripComments, RemovesCommentsOutsideQuotesThenCutsAndExpands) {
    const std::vector<ScriptParameter> parameters{{"&Y", "2009"}};
    const ParameterExpander expander(parameters);
    struct Case {
        std::string text, expected;
        bool open;
    };
    const std::vector<Case> cases{
        {"a/* x */b", "ab", false},
        {"'a/*b'", "'a/*b'", false},
        {"\"a/*b\" /*c*/d", "\"a/*b\" d", false},
        {"'It''s /* no */' /* yes */", "'It''s /* no */'", false},
        {"select 1 /* open", "select 1", true},
        {"x /*/ still */ y", "x  y", false},
        {"where y = &Y   ", "where y = 2009", false},
        {"'&Y' /* &Y */", "'2009'", false},
        {std::string("abc\0def", 7), "abc", false},
        {std::string("ab  \0&Y", 7), "ab", false},
        {"  \t", "", false},
    };
    for (const Case& c : cases) {
        bool open = false;
        EXPECT_EQ(StripComments(c.text, open, expander), c.expected) << c.text;
        EXPECT_EQ(open, c.open) << c.text;
    }
}

TEST(ExpandParameters, ReplacesInListOrderInOnePassAndCaseSensitively) {
    const std::vector<ScriptParameter> yFirst{{"&Y", "7"}, {"&YM", "8"}};
    const std::vector<ScriptParameter> ymFirst{{"&YM", "8"}, {"&Y", "7"}};
    const std::vector<ScriptParameter> selfRef{{"", "never"}, {"A", "AB"}, {"B", "A"}};
    const std::vector<ScriptParameter> word{{"Year", "2009"}};
    EXPECT_EQ(ExpandParameters("&YM", yFirst), "7M");
    EXPECT_EQ(ExpandParameters("&YM &Y", ymFirst), "8 7");
    EXPECT_EQ(ExpandParameters("AB", selfRef), "ABA");
    EXPECT_EQ(ExpandParameters("Years year 'Year'", word), "2009s year '2009'");
    EXPECT_EQ(ExpandParameters("x  ", word), "x");
    EXPECT_EQ(ExpandParameters("", word), "");
}

TEST(ParseWholeNumber, AcceptsSignedDigitsOnly) {
    EXPECT_EQ(ParseWholeNumber(" -3 "), -3);
    EXPECT_EQ(ParseWholeNumber("+12"), 12);
    EXPECT_GT(*ParseWholeNumber("99999999999999999999999"), 1'000'000'000'000); // no wrap
    for (const char* text : {"", "-", "1.5", "1e3", "&H10", "x", "1 2"})
        EXPECT_FALSE(ParseWholeNumber(text).has_value()) << text;
}

} // namespace
} // namespace slidesmith::script
