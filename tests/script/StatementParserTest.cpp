#include "script/StatementParser.h"

#include "RecordingHost.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidesmith::script {
namespace {

using Strings = std::vector<std::string>;

const ScriptContext kContext{{"Sales", "2", "Stock"}, {{"&Y", "2009"}, {"&YM", "200903"}}};

Strings Events(const std::string& script) {
    RecordingHost host;
    ParseScript(script, kContext, host);
    return host.events;
}

struct Case {
    const char* name;
    std::string script;
    Strings events;
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases)
        EXPECT_EQ(Events(c.script), c.events) << c.name;
}

TEST(ParseScript, CutsStatementsAndBuildsBodiesAndHeaders) {
    RunCases({
        {"body on the next line",
         "@1 = EXECSQL(CONNECT=Sales)\nUPDATE t SET x = 1",
         {"run [1]    EXECSQL(CONNECT=Sales) | UPDATE t SET x = 1"}},
        {"body after the parenthesis",
         "@2=REPORT(SLIDE=1 TABLE=1)SELECT a FROM b\n",
         {"run [2]    REPORT(SLIDE=1 TABLE=1) | SELECT a FROM b"}},
        {"header over lines, quotes and commas as written",
         "notes before\n  @3 = report (slide=2\r\n TABLE='1'\n CELL=B2,C2)\n  SELECT a  \n\n"
         "  FROM b\n",
         {"run [3]    REPORT(SLIDE=2 TABLE='1' CELL=B2,C2) | SELECT a  FROM b"}},
        {"empty body line adds its joining space",
         "@1=EXECSQL()\nx\n\n@2=EXECSQL() y",
         {"run [1]    EXECSQL() | x ", "run [2]    EXECSQL() | y"}},
        {"no body: dropped silently",
         "@1=EXECSQL()\n@2=EXECSQL(\n@3=EXECSQL()\n   \nx",
         {"run [3]    EXECSQL() | x"}},
        {"only a line-initial @ begins a statement",
         "@1=EXECSQL()a\nx @2=EXECSQL()b\n/**/@3=EXECSQL()c\n\t@4=EXECSQL()d",
         {"run [1]    EXECSQL() | a x @2=EXECSQL()b @3=EXECSQL()c", "run [4]    EXECSQL() | d"}},
        {"parameters expand in bodies only",
         "@&Y=EXECSQL()&YM &Y 'Years&Y'",
         {"run [&Y]    EXECSQL() | 2009M 2009 'Years2009'"}},
        {"label keeps case and blanks around the body go",
         "@Ab=EXECSQL()  \n  x  \n",
         {"run [Ab]    EXECSQL() | x"}},
    });
}

TEST(ParseScript, SkipsCommentsInHeadersAndBodiesAcrossLines) {
    RunCases({
        {"inline comments",
         "@1=REPORT(/* c */SLIDE=1 /*x*/ TABLE=1)/* a */ SELECT /* b */1",
         {"run [1]    REPORT(SLIDE=1 TABLE=1) | SELECT 1"}},
        {"header comment hides lines and an @",
         "@1=REPORT(SLIDE=1 /* open\n@2=EXECSQL() x\n"
         "still */ TABLE=2) y",
         {"run [1]    REPORT(SLIDE=1 TABLE=2) | y"}},
        {"body comment hides lines",
         "@1=EXECSQL() a /* open\n@2=EXECSQL() x\n*/b\n c",
         {"run [1]    EXECSQL() | a b c"}},
        {"comment before the first statement",
         "notes /* open\n@1=EXECSQL() x\n*/\n@2=EXECSQL() y",
         {"run [2]    EXECSQL() | y"}},
        {"quoted comment opener is text",
         "@1=EXECSQL() 'a/*b'\nc",
         {"run [1]    EXECSQL() | 'a/*b' c"}},
        {"NUL cuts the body line",
         std::string("@1=EXECSQL() a\0b\nc", 19),
         {"run [1]    EXECSQL() | a c"}},
    });
}

TEST(ParseScript, LogsEveryMessageWithTheHeaderSoFar) {
    const std::string groups11 = "@1=REPORT(GROUP=a GROUP=b GROUP=c GROUP=d GROUP=e GROUP=f "
                                 "GROUP=g GROUP=h GROUP=i GROUP=j GROUP=k) x";
    RunCases({
        {"equals after label",
         "@1 EXECSQL() x",
         {"error [1]     | Syntax error. Expected \"=\" after \"@1\"."}},
        {"function name",
         "@1=SELECT() x",
         {"error [1]     | Syntax error. Unknown function name \"SELECT\"."}},
        {"open parenthesis",
         "@1=EXECSQL CONNECT=1 x",
         {"error [1]    EXECSQL | Syntax error. Expected \"(\" after a function name."}},
        {"parameter of another function",
         "@1=EXECSQL(slide=1) x",
         {"error [1]    EXECSQL(SLIDE | Syntax error. Unknown parameter name \"slide\"."}},
        {"unknown parameter after a value",
         "@1=CHART(SLIDE=1 Table=1) x",
         {"error [1]    CHART(SLIDE=1 TABLE | Syntax error. Unknown parameter name \"Table\"."}},
        {"eleventh GROUP",
         groups11,
         {"error [1]    REPORT(GROUP=a GROUP=b GROUP=c GROUP=d GROUP=e GROUP=f GROUP=g GROUP=h "
          "GROUP=i GROUP=j GROUP | Too much parameter name \"GROUP\". The number of parameter "
          "\"GROUP\" can not be more than 10."}},
        {"equals after parameter",
         "@1=REPORT(slide 1) x",
         {"error [1]    REPORT(SLIDE | Syntax error. Expected \"=\" after the parameter name "
          "\"SLIDE\"."}},
        {"unknown data source",
         "@1=EXECSQL(CONNECT=sales) x",
         {"error [1]    EXECSQL(CONNECT=sales | Connection error in [1]. Can not find data "
          "source \"sales\"."}},
        {"data source not connected",
         "@1=EXECSQL(CONNECT='Stock') x",
         {"error [1]    EXECSQL(CONNECT='Stock' | Connection error in [1]. Can not connect to "
          "the data source \"Stock\"."}},
        {"TYPE keyword",
         "@1=REPORT(TYPE=grid) x",
         {"error [1]    REPORT(TYPE=grid | Syntax error. Unknown value \"grid\" for the "
          "parameter \"TYPE\"."}},
        {"FILLORDER keyword",
         "@1=CHART(fillorder=diag) x",
         {"error [1]    CHART(FILLORDER=diag | Syntax error. Unknown value \"diag\" for the "
          "parameter \"FILLORDER\"."}},
        {"RESERVE not numeric",
         "@1=REPORT(RESERVE=x) x",
         {"error [1]    REPORT(RESERVE=x | Syntax error. Unknown value \"x\" for the parameter "
          "\"RESERVE\"."}},
        {"RESERVE zero, negative, too large",
         "@1=REPORT(RESERVE=0) x\n@2=REPORT(RESERVE=-3) x\n@3=REPORT(RESERVE=40000) x",
         {"error [1]    REPORT(RESERVE=0 | Syntax error. Invalid value \"0\" for the parameter "
          "\"RESERVE\".",
          "error [2]    REPORT(RESERVE=-3 | Syntax error. Invalid value \"-3\" for the parameter "
          "\"RESERVE\".",
          "error [3]    REPORT(RESERVE=40000 | Syntax error. Invalid value \"40000\" for the "
          "parameter \"RESERVE\"."}},
        {"GROUPRANGE first",
         "@1=REPORT(GROUPRANGE=A1:B2 GROUP=x) x",
         {"error [1]    REPORT(GROUPRANGE=A1:B2 | Syntax error. Parameter \"GROUPRANGE\" must "
          "follow parameter \"GROUP\"."}},
    });
}

TEST(ParseScript, AnErrorSkipsToTheNextStatementLine) {
    RunCases({
        {"rest of the statement is ignored",
         "@1=REPORT(SLIDE=1, TABLE=1)\nSELECT 1\n  more\n@2=EXECSQL() ok",
         {"error [1]    REPORT(SLIDE=1 | Syntax error. Unexpected character \",\" for the "
          "parameter \"SLIDE\".",
          "run [2]    EXECSQL() | ok"}},
        {"a bad value is found when the next token arrives",
         "@1=REPORT(TYPE=bad\n)x\n@2=EXECSQL() ok",
         {"error [1]    REPORT(TYPE=bad | Syntax error. Unknown value \"bad\" for the parameter "
          "\"TYPE\".",
          "run [2]    EXECSQL() | ok"}},
    });
}

TEST(ParseScript, AppliesTypeAndGroupInTheOrderWritten) {
    struct TypeCase {
        std::string header;
        TableType type;
        std::size_t groups;
    };
    const std::vector<TypeCase> cases{
        {"TYPE=FIX GROUP=a", TableType::Var, 1},
        {"GROUP=a TYPE=fix", TableType::Fix, 1},
        {"type=Form GROUP=a group=b", TableType::Form, 2},
        {"TYPE=fix", TableType::Fix, 0},
        {"", TableType::Var, 0},
    };
    for (const TypeCase& c : cases) {
        RecordingHost host;
        ParseScript("@1=REPORT(" + c.header + ") x", kContext, host);
        ASSERT_EQ(host.executed.size(), 1u) << c.header;
        EXPECT_EQ(host.executed[0].TableType, c.type) << c.header;
        EXPECT_EQ(host.executed[0].Groups.size(), c.groups) << c.header;
    }
    EXPECT_EQ(Events("@5=CHART(TYPE=fix GROUP=a) x"),
              Strings{"error [5]    CHART(TYPE=fix GROUP | Syntax error. Unknown parameter name "
                      "\"GROUP\"."});
}

TEST(ParseScript, ReadsOtherValuesInAnyCaseAndKeepsTheLastOne) {
    RecordingHost host;
    ParseScript("@1=REPORT(slide=1 SLIDE=N1 table=2 nodata=keep connect=1 reserve=' 4 ' "
                "fillorder=Col RANGE=A1 range=B2)x\n@2=CHART(CHART=c NODATA=x) y",
                kContext, host);
    ASSERT_EQ(host.executed.size(), 1u);
    const StatementRecord& r = host.executed[0];
    EXPECT_EQ(r.Slide, "N1");
    EXPECT_EQ(r.Target, "2");
    EXPECT_EQ(r.NoData, NoDataAction::None);
    EXPECT_EQ(r.ConnectIndex, 0);
    EXPECT_EQ(r.Reserve, 4);
    EXPECT_EQ(r.FillOrder, FillOrder::Col);
    EXPECT_EQ(r.RangeText, "B2");
    EXPECT_FALSE(r.IsCopyRange);
    EXPECT_EQ(host.events.back(),
              "error [2]    CHART(CHART=c NODATA | Syntax error. Unknown parameter name "
              "\"NODATA\".");
}

TEST(ParseScript, RecordsCollectedValuesOfAGoodHeader) {
    RecordingHost host;
    ParseScript("@1=REPORT(CONNECT=2 CELL=A1,,B2 CELL=C3 IMAGE=a,'b c' PAGEBREAK=10 "
                "PAGEBREAK='G1' RANGE=A1:B2 COPYRANGE=C1:D2 NODATA=delslide TYPE=FIX GROUP=a,b "
                "GROUPRANGE=X1 GROUP=c)x",
                kContext, host);
    ASSERT_EQ(host.executed.size(), 1u);
    const StatementRecord& r = host.executed[0];
    EXPECT_EQ(r.ConnectIndex, 1); // the data source named "2" is the second one
    EXPECT_EQ(r.Cells, (Strings{"A1", "B2", "C3"}));
    EXPECT_EQ(r.Images, (Strings{"a", "b c"}));
    EXPECT_EQ(r.PageBreakText, "10,G1");
    EXPECT_EQ(r.RangeText, "C1:D2");
    EXPECT_TRUE(r.IsCopyRange);
    EXPECT_EQ(r.NoData, NoDataAction::DelSlide);
    EXPECT_EQ(r.TableType, TableType::Var);
    ASSERT_EQ(r.Groups.size(), 2u);
    EXPECT_EQ(r.Groups[0].Fields, (Strings{"a", "b"}));
    EXPECT_EQ(r.Groups[0].Range, "X1");
    EXPECT_EQ(r.Groups[1].Fields, Strings{"c"});
    EXPECT_EQ(r.Groups[1].Range, "");
}

TEST(ParseScript, ALimitOverrunEndsTheParseWithAParseError) {
    for (const char* parameter : {"CELL", "IMAGE", "GROUP"}) {
        std::string script = "@1=EXECSQL() done\n@big=REPORT(" + std::string(parameter) + "=";
        for (int i = 0; i < 1025; ++i)
            script += "A1,";
        script += "A1) x\n@3=EXECSQL() never";
        RecordingHost host;
        ParseScript(script, kContext, host);
        EXPECT_EQ(host.events,
                  (Strings{"run [1]    EXECSQL() | done",
                           "fault Parse error in [big]. | The parameter \"" +
                               std::string(parameter) + "\" has more than 1024 values."}));
    }
}

TEST(ParseScript, RunsEachStatementBeforeReadingPastTheNextStatementLine) {
    struct LoggingSource final : ScriptLineSource {
        explicit LoggingSource(RecordingHost& h) : host(h) {}
        bool ReadLine(std::string_view& line) override {
            if (next == lines.size())
                return false;
            host.events.push_back("read " + lines[next]);
            line = lines[next++];
            return true;
        }
        RecordingHost& host;
        Strings lines{"@1=EXECSQL()", "a", "@2=EXECSQL()", "b", "@3=EXECSQL() c"};
        std::size_t next = 0;
    };
    RecordingHost host;
    LoggingSource source(host);
    ParseScript(source, kContext, host);
    EXPECT_EQ(host.events, (Strings{"read @1=EXECSQL()", "read a", "read @2=EXECSQL()",
                                    "run [1]    EXECSQL() | a", "read b", "read @3=EXECSQL() c",
                                    "run [2]    EXECSQL() | b", "run [3]    EXECSQL() | c"}));
    EXPECT_GE(host.eventPumps, 5);
}

TEST(ParseScript, StopsAtTheNextLineOnceInterrupted) {
    RecordingHost host;
    host.interruptAfterRuns = 1;
    ParseScript("@1=EXECSQL() a\n@2=EXECSQL() b\n@3=EXECSQL() c", kContext, host);
    EXPECT_EQ(host.events, Strings{"run [1]    EXECSQL() | a"});

    RecordingHost lastOne;
    lastOne.interruptAfterRuns = 1;
    ParseScript("@1=EXECSQL() a\n@2=EXECSQL() b", kContext, lastOne);
    EXPECT_EQ(lastOne.events, Strings{"run [1]    EXECSQL() | a"});
}

} // namespace
} // namespace slidesmith::script
