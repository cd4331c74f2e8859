#include "engine/RunLog.h"

#include "engine/CountFormat.h"
#include "platform/files/FileIo.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidesmith::engine {
namespace {

namespace fs = std::filesystem;

class RecordingObserver final : public RunObserver {
public:
    std::vector<std::string> echoed;
    std::vector<std::string> errorCounts;

    void EchoLogLine(std::string_view text) override { echoed.emplace_back(text); }
    void ShowStatus(std::string_view) override {}
    void ShowStatementCount(std::string_view) override {}
    void ShowErrorCount(std::string_view text) override { errorCounts.emplace_back(text); }
    void ShowFunctionLabel(std::string_view) override {}
    void ShowRecordProgress(std::string_view) override {}
    void LetPendingEventsRun() override {}
};

class RunLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "runlog-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path m_folder;
    FixedClock m_clock{LocalTime{2009, 3, 15, 10, 2, 11}};
    RunState m_state;
    RecordingObserver m_observer;
};

TEST_F(RunLogTest, LinesCarryTheTimestampPrefixAndEndInCrLf) {
    RunLog log(m_state, m_observer, m_clock);
    std::string error;
    ASSERT_TRUE(log.Open(m_folder / "run.log", error)) << error;
    log.WriteLogLine("Slidesmith 2.9.1");
    m_clock.Set(LocalTime{2026, 1, 5, 3, 4, 9});
    log.WriteLogLine("Open log file successfully.");
    log.Close();

    EXPECT_EQ(files::ReadWholeFile(m_folder / "run.log"),
              "[20090315 10:02:11]    Slidesmith 2.9.1\r\n"
              "[20260105 03:04:09]    Open log file successfully.\r\n");
    // The run window sees the same lines without the prefix.
    EXPECT_EQ(m_observer.echoed,
              (std::vector<std::string>{"Slidesmith 2.9.1", "Open log file successfully."}));
}

TEST_F(RunLogTest, ErrorEntriesAreOneOrTwoLinesAndEachCountsOnce) {
    RunLog log(m_state, m_observer, m_clock);
    std::string error;
    ASSERT_TRUE(log.Open(m_folder / "run.log", error));
    m_state.ErrorCount = 998; // the label groups thousands
    log.LogError("The report file is not named correctly.", "");
    log.LogError("Failed to open the template file \"t.pptx\".", "t.pptx: no such file");
    log.LogStatementError("[rpt1]    REPORT(SLIDE=1)", "Syntax error.", "");
    log.Close();

    EXPECT_EQ(files::ReadWholeFile(m_folder / "run.log"),
              "[20090315 10:02:11]    Error: The report file is not named correctly.\r\n"
              "[20090315 10:02:11]    Error: Failed to open the template file \"t.pptx\".\r\n"
              "[20090315 10:02:11]    Error Info: t.pptx: no such file\r\n"
              "[20090315 10:02:11]    [rpt1]    REPORT(SLIDE=1)\r\n"
              "[20090315 10:02:11]    Error: Syntax error.\r\n");
    EXPECT_EQ(m_state.ErrorCount, 1001);
    EXPECT_EQ(m_observer.errorCounts, (std::vector<std::string>{"999", "1,000", "1,001"}));
}

TEST_F(RunLogTest, OpeningReplacesThePreviousRunsLog) {
    fs::path path = m_folder / "run.log";
    for (const char* text : {"first run", "second run"}) {
        RunLog log(m_state, m_observer, m_clock);
        std::string error;
        ASSERT_TRUE(log.Open(path, error));
        log.WriteLogLine(text);
    }
    EXPECT_EQ(files::ReadWholeFile(path), "[20090315 10:02:11]    second run\r\n");
}

TEST_F(RunLogTest, FailedOpenDescribesTheFaultAndLaterWritesOnlyEcho) {
    RunLog log(m_state, m_observer, m_clock);
    std::string error;
    fs::path path = m_folder / "missing" / "run.log";
    EXPECT_FALSE(log.Open(path, error));
    EXPECT_NE(error.find(path.string()), std::string::npos);
    EXPECT_NE(error.find("No such file"), std::string::npos);
    EXPECT_FALSE(log.IsOpen());
    log.LogError("still counted", "");
    EXPECT_EQ(m_state.ErrorCount, 1);
    EXPECT_EQ(m_observer.echoed.back(), "Error: still counted");
}

TEST_F(RunLogTest, StartupErrorsAreAppendedAndUnwritablePlacesReportFalse) {
    fs::path path = m_folder / "slidesmith.log";
    EXPECT_TRUE(WriteStartupError(path, "The file \"/a.slm\" does not exist.", m_clock));
    EXPECT_TRUE(WriteStartupError(path, "The file \"/b.slm\" is not a Slidemill file.", m_clock));
    EXPECT_EQ(files::ReadWholeFile(path),
              "[20090315 10:02:11]    Error: The file \"/a.slm\" does not exist.\r\n"
              "[20090315 10:02:11]    Error: The file \"/b.slm\" is not a Slidemill file.\r\n");
    EXPECT_FALSE(WriteStartupError(m_folder / "missing" / "x.log", "lost", m_clock));
}

TEST(FormatCount, GroupsDigitsInThreesAndShowsZeroByStyle) {
    EXPECT_EQ(FormatCount(0, CountStyle::ZeroAsDigit), "0");
    EXPECT_EQ(FormatCount(0, CountStyle::ZeroAsEmpty), "");
    EXPECT_EQ(FormatCount(999, CountStyle::ZeroAsEmpty), "999");
    EXPECT_EQ(FormatCount(-1234567, CountStyle::ZeroAsDigit), "-1,234,567");
}

} // namespace
} // namespace slidesmith::engine
