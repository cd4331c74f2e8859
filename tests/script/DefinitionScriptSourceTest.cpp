#include "script/DefinitionScriptSource.h"

#include "RecordingHost.h"
#include "script/StatementParser.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidesmith::script {
namespace {

using Strings = std::vector<std::string>;

class DefinitionScriptSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("slidesmith-script-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path Write(const std::string& bytes) {
        const std::filesystem::path path = m_dir / "report.slm";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static Strings ReadAll(ScriptLineSource& source) {
        Strings lines;
        std::string_view line;
        while (source.ReadLine(line))
            lines.emplace_back(line);
        return lines;
    }

    std::filesystem::path m_dir;
};

TEST_F(DefinitionScriptSourceTest, ReadsTheLinesAfterTheSqlSectionLine) {
    struct Case {
        const char* name;
        std::string file;
        Strings lines;
    };
    const std::vector<Case> cases{
        {"CR LF and LF",
         "Slidemill Version 2.0\r\n[File]\r\n  [SQL] \t\r\n@1=x\r\na\nb\r\n",
         {"@1=x", "a", "b"}},
        {"lone CR stays, final CR goes", "[SQL]\r\na\rb\r\n\r\nc\r", {"a\rb", "", "c"}},
        {"no line end at the end", "[SQL]\nlast", {"last"}},
        {"empty script", "[SQL]\r\n", {}},
        {"no section", "[File]\r\n@1=x\r\n", {}},
        {"only the first section line counts", "[SQL]\n[SQL]\n", {"[SQL]"}},
        {"case matters", "[sql]\nx\n", {}},
    };
    for (const Case& c : cases) {
        DefinitionScriptSource source(Write(c.file));
        EXPECT_EQ(ReadAll(source), c.lines) << c.name;
    }
}

TEST_F(DefinitionScriptSourceTest, HandsLinesLongerThanABlockAndDecodesEach) {
    const std::string longLine(200'000, 'x');
    DefinitionScriptSource source(
        Write("[SQL]\r\n" + longLine + "\r\n\xE9t\xE9\r\n"),
        [](std::string_view raw) { return "<" + std::string(raw) + ">"; });
    EXPECT_EQ(ReadAll(source), (Strings{"<" + longLine + ">", "<\xE9t\xE9>"}));
}

TEST_F(DefinitionScriptSourceTest, ParsesABatchScriptAndReportsAMissingFileAsAParseError) {
    const ScriptContext context{{"Sales"}, {{"&Y", "2009"}}};
    RecordingHost host;
    // The decoder sees each line as the parser asks for it: statement 1 runs between the
    // "@2" line and the next one, long before the end of the file.
    const LineDecoder decoder = [&host](std::string_view raw) {
        host.events.push_back("decode " + std::string(raw));
        return std::string(raw);
    };
    ParseScriptFile(Write("[SQL]\r\n@1 = EXECSQL(CONNECT=Sales)\r\nUPDATE t SET y = &Y\r\n"
                          "@2=EXECSQL() a\r\nb\r\n"),
                    decoder, context, host);
    EXPECT_EQ(host.events, (Strings{"decode @1 = EXECSQL(CONNECT=Sales)",
                                    "decode UPDATE t SET y = &Y", "decode @2=EXECSQL() a",
                                    "run [1]    EXECSQL(CONNECT=Sales) | UPDATE t SET y = 2009",
                                    "decode b", "run [2]    EXECSQL() | a b"}));

    RecordingHost missing;
    ParseScriptFile(m_dir / "absent.slm", {}, context, missing);
    ASSERT_EQ(missing.events.size(), 1u);
    EXPECT_TRUE(missing.events[0].starts_with("fault Parse error in []. | Can not open the "
                                              "definition file"))
        << missing.events[0];
}

} // namespace
} // namespace slidesmith::script
