#include "platform/convert/ChildProcess.h"

#include "platform/convert/ConvertError.h"
#include "platform/convert/TempFolder.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace slidesmith::convert {
namespace {

using namespace std::chrono_literals;

// A process is gone once it is neither running nor a zombie waiting for its parent.
bool ProcessGone(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string text;
    std::getline(stat, text);
    const std::size_t close = text.rfind(')');
    return !stat || close == std::string::npos || text.substr(close + 2, 1) == "Z";
}

TEST(ChildProcess, PassesArgumentsUnchangedAndCapturesOutputAndStatus) {
    const auto printf = FindProgram("printf");
    ASSERT_TRUE(printf);
    const ProcessResult printed =
        RunChildProcess(*printf, {"[%s]\n", "two words", "it's", "say \"hi\"", "$HOME;*"}, 10s);
    EXPECT_FALSE(printed.timedOut);
    EXPECT_EQ(printed.exitStatus, 0);
    EXPECT_EQ(printed.output, "[two words]\n[it's]\n[say \"hi\"]\n[$HOME;*]\n");

    const ProcessResult failed =
        RunChildProcess("/bin/sh", {"-c", "echo to-out; echo to-err >&2; exit 3"}, 10s);
    EXPECT_EQ(failed.exitStatus, 3);
    EXPECT_NE(failed.output.find("to-out"), std::string::npos);
    EXPECT_NE(failed.output.find("to-err"), std::string::npos);

    // A host that ignores SIGCHLD has its children reaped by the system: no waiting for the limit.
    const auto oldHandler = std::signal(SIGCHLD, SIG_IGN);
    const ProcessResult unreaped = RunChildProcess("/bin/sh", {"-c", "echo done"}, 20s);
    std::signal(SIGCHLD, oldHandler);
    EXPECT_FALSE(unreaped.timedOut);
    EXPECT_EQ(unreaped.output, "done\n");
}

TEST(ChildProcess, TimeLimitKillsTheProgramAndEveryHelperItStarted) {
    const TempFolder folder("slidesmith-test");
    const std::string pidFile = (folder.Path() / "helper.pid").string();
    const ProcessResult result =
        RunChildProcess("/bin/sh", {"-c", "sleep 60 & echo $! > \"$0\"; wait", pidFile}, 300ms);
    EXPECT_TRUE(result.timedOut);

    std::string helper;
    std::ifstream(pidFile) >> helper;
    ASSERT_FALSE(helper.empty());
    // The orphaned helper is reaped by init shortly after the kill.
    for (int i = 0; i < 100 && !ProcessGone(helper); ++i) {
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_TRUE(ProcessGone(helper)) << "helper " << helper << " survived the time limit";
}

TEST(ChildProcess, FindsProgramsOnlyThroughPathAndReportsOnesThatCannotStart) {
    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", "", 1);
    const auto withEmptyPath = FindProgram("sh");
    ::setenv("PATH", "/nonexistent::/bin", 1);
    const auto sh = FindProgram("sh");
    const auto unknown = FindProgram("no-such-program-anywhere");
    ::setenv("PATH", path.c_str(), 1);

    EXPECT_FALSE(withEmptyPath);
    EXPECT_EQ(sh, std::filesystem::path("/bin/sh"));
    EXPECT_FALSE(unknown);
    EXPECT_THROW(RunChildProcess("/nonexistent/soffice", {}, 1s), ConvertError);
}

} // namespace
} // namespace slidesmith::convert
