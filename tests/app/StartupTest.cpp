// Runs the built program the way a scheduler would and checks what it leaves behind: the exit
// status, stderr and the start-up log.
#include "platform/convert/TempFolder.h"
#include "platform/files/FileIo.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using slidesmith::files::ReadWholeFile;
using slidesmith::files::WriteFileAtomically;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_folder / "home"); }

    // A copy of the program under folder/name; with a conversion table beside it, that folder
    // is the application folder.
    fs::path InstallProgram(const fs::path& folder, const std::string& name, bool withTable) {
        fs::create_directories(folder);
        fs::copy_file(SLIDESMITH_PROGRAM, folder / name);
        if (withTable)
            WriteFileAtomically(folder / "sconv.cfg", "pptx\t24\tPowerPoint Presentation\tpptx\n");
        return folder / name;
    }

    Outcome Run(const fs::path& program, const std::vector<std::string>& arguments) {
        fs::path outFile = m_folder / "stdout.txt";
        fs::path errFile = m_folder / "stderr.txt";
        pid_t child = fork();
        if (child == 0) {
            // Keep the child away from the real user's settings and state.
            setenv("HOME", (m_folder / "home").c_str(), 1);
            setenv("XDG_STATE_HOME", (m_folder / "state").c_str(), 1);
            setenv("SLIDESMITH_SETTINGS", (m_folder / "settings.reg").c_str(), 1);
            // Nor may it reach a real screen: interactive runs must find no display.
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("QT_QPA_PLATFORM");
            if (chdir(m_folder.c_str()) != 0)
                _exit(126);
            int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(err, 2);
            std::vector<std::string> all = {program.string()};
            all.insert(all.end(), arguments.begin(), arguments.end());
            std::vector<char*> argv;
            for (std::string& argument : all)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        Outcome outcome;
        int status = 0;
        if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
            outcome.status = WEXITSTATUS(status);
        outcome.out = ReadWholeFile(outFile);
        outcome.err = ReadWholeFile(errFile);
        return outcome;
    }

    slidesmith::convert::TempFolder m_scratch{"startup"};
    const fs::path m_folder = m_scratch.Path();
};

// The whole log must be exactly these lines, each with a timestamp prefix and CR LF.
void ExpectStartupLog(const fs::path& log, const std::vector<std::string>& messages) {
    ASSERT_TRUE(fs::exists(log)) << log;
    std::string pattern;
    for (const std::string& message : messages)
        pattern += R"(\[\d{8} \d\d:\d\d:\d\d\]    Error: )" +
                   std::regex_replace(message, std::regex(R"([.\\"()^$|?*+{}\[\]])"), R"(\$&)") +
                   "\r\n";
    std::string text = ReadWholeFile(log);
    EXPECT_TRUE(std::regex_match(text, std::regex(pattern))) << text;
}

TEST_F(StartupTest, AMissingDefinitionIsLoggedBesideTheProgramAndEndsWithStatusTwo) {
    fs::path program = InstallProgram(m_folder / "app", "slidesmith", true);
    const std::string message = R"(The file "/no/such/dir/x.slm" does not exist.)";

    for (int run = 0; run < 2; ++run) {
        Outcome outcome = Run(program, {"/no/such/dir/x.slm", "-C"});
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.err, "Error: " + message + "\n");
        EXPECT_EQ(outcome.out, "");
    }
    // The start-up log is appended to, never replaced.
    ExpectStartupLog(m_folder / "app" / "slidesmith.log", {message, message});
}

TEST_F(StartupTest, AFileThatIsNoDefinitionIsRefused) {
    fs::path program = InstallProgram(m_folder / "app", "slidesmith", true);
    fs::path lowercase = m_folder / "lowercase.slm";
    fs::path empty = m_folder / "empty.slm";
    WriteFileAtomically(lowercase, "slidemill Version 2.0\r\n[SQL]\r\n");
    WriteFileAtomically(empty, "");

    std::vector<std::string> messages;
    for (const fs::path& path : {lowercase, empty}) {
        Outcome outcome = Run(program, {path.string(), "-C"});
        messages.push_back("The file \"" + path.string() + "\" is not a Slidemill file.");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.err, "Error: " + messages.back() + "\n");
    }
    ExpectStartupLog(m_folder / "app" / "slidesmith.log", messages);
}

TEST_F(StartupTest, WithoutAnApplicationFolderTheLogGoesToTheStateFolderUnderTheProgramsName) {
    // No conversion table beside the program: the application folder is <prefix>/share/slidesmith,
    // which does not exist here.
    fs::path program = InstallProgram(m_folder / "prefix" / "bin", "nightly", false);
    Outcome outcome = Run(program, {"missing.slm", "-C"});
    EXPECT_EQ(outcome.status, 2);
    const std::string message =
        "The file \"" + (m_folder / "missing.slm").string() + "\" does not exist.";
    ExpectStartupLog(m_folder / "state" / "slidesmith" / "nightly.log", {message});
}

TEST_F(StartupTest, BatchModeRunsTheDefinitionAndTheStatusTellsHowItWent) {
    fs::path program = InstallProgram(m_folder / "app", "slidesmith", true);
    fs::path definition = m_folder / "sales.slm";
    const std::string head = "Slidemill Version 2.0\r\n[Data Source]\r\n\r\n[File]\r\n";
    const std::string script = "[SQL]\r\n@1 = EXECSQL()\r\nselect 1\r\n";

    // No template named: the run logs the fault beside the definition and ends with status 1.
    WriteFileAtomically(definition, head + script);
    Outcome failed = Run(program, {definition.string(), "-C", "2012"});
    EXPECT_EQ(failed.status, 1) << failed.err;
    EXPECT_NE(ReadWholeFile(m_folder / "sales.log")
                  .find("]    Error: The template file is not named correctly.\r\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(m_folder / "app" / "slidesmith.log"));

    // A log that cannot be created: no run at all, told in the start-up log.
    WriteFileAtomically(m_folder / "file", "not a folder");
    WriteFileAtomically(definition, head + "LogFileName=file/run.log\r\n" + script);
    Outcome noLog = Run(program, {definition.string(), "-C"});
    EXPECT_EQ(noLog.status, 2);
    ExpectStartupLog(m_folder / "app" / "slidesmith.log",
                     {(m_folder / "file" / "run.log").string() + ": Not a directory"});

    Outcome interactive = Run(program, {definition.string()});
    EXPECT_EQ(interactive.status, 2);
#ifdef SLIDESMITH_TEST_DESKTOP
    EXPECT_NE(interactive.err.find("no display found"), std::string::npos) << interactive.err;
#else
    EXPECT_NE(interactive.err.find("this build has no desktop program"), std::string::npos)
        << interactive.err;
#endif

    // A run without errors: the template copied to the report, status 0.
    fs::path fixture =
        fs::path(SLIDESMITH_SHARED_FIXTURES) / "real" / "chart-bar-cache-only-ppt2013.pptx";
    if (!fs::exists(fixture))
        GTEST_SKIP() << "no shared fixtures at " << fixture;
    WriteFileAtomically(definition, head + "ReportTemplateFileName=" + fixture.string() +
                                        "\r\nReportFileName=out.pptx\r\n" + script);
    Outcome succeeded = Run(program, {definition.string(), "-C"});
    EXPECT_EQ(succeeded.status, 0) << ReadWholeFile(m_folder / "sales.log");
    EXPECT_GT(fs::file_size(m_folder / "out.pptx"), 0u);
}

TEST_F(StartupTest, VersionAndHelpAnswerAndSucceed) {
    Outcome version = Run(SLIDESMITH_PROGRAM, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("Slidesmith ") + SLIDESMITH_VERSION + "\n");

    Outcome help = Run(SLIDESMITH_PROGRAM, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: slidesmith <definition.slm>")) << help.out;
}

} // namespace
