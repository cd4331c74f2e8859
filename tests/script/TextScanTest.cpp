#include "script/TextScan.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidesmith::script {
namespace {

std::vector<std::string> Tokens(std::string_view text, bool keepQuotes = true) {
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    for (std::string t = GetToken(text, pos, keepQuotes); !t.empty();
         t = GetToken(text, pos, keepQuotes))
        tokens.push_back(t);
    return tokens;
}

TEST(GetToken, SplitsAStatementHeaderAtDelimitersAndOperators) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Tokens("@1=REPORT(SLIDE=2 TABLE=1)"),
              (V{"@1", "=", "REPORT", "(", "SLIDE", "=", "2", "TABLE", "=", "1", ")"}));
    EXPECT_EQ(Tokens("a<>b >= c =< d == e"), (V{"a", "<>", "b", ">=", "c", "=<", "d", "==", "e"}));
    EXPECT_EQ(Tokens("CELL=B2,C2"), (V{"CELL", "=", "B2", ",", "C2"}));
    EXPECT_EQ(Tokens("x/*y*/ a/b"), (V{"x", "/*", "y*/", "a/b"}));
}

TEST(GetToken, KeepsQuotedRunsTogetherWithDoubledQuotes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Tokens("'A B' c"), (V{"'A B'", "c"}));
    EXPECT_EQ(Tokens("'A B' c", false), (V{"A B", "c"}));
    EXPECT_EQ(Tokens("'It''s'"), (V{"'It''s'"}));
    EXPECT_EQ(Tokens("ab\"c d\"e f"), (V{"ab\"c d\"e", "f"}));
    EXPECT_EQ(Tokens("'open to the end"), (V{"'open to the end"}));
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
    EXPECT_EQ(StripQuotes("'"), "'");
}

} // namespace
} // namespace slidesmith::script
