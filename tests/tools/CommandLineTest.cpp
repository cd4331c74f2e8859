// The two command-line tools, and LibreOffice as an independent reader of what the builder
// writes.
#include "SampleTemplates.h"
#include "TemplateBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace slidesmith::testtools {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder()
        : m_path(fs::temp_directory_path() /
                 ("slidesmith-tools-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempFolder() { fs::remove_all(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(CommandLineTools, MakeTemplateWritesAPackageCheckPackageAccepts) {
    TempFolder folder;
    const fs::path example =
        fs::path(SLIDESMITH_SOURCE_DIR) / "tools/examples/report-template.txt";
    const fs::path output = folder.Path() / "report.potx";
    ASSERT_EQ(Shell(std::string(MAKE_TEMPLATE_EXE) + " " + Quote(example) + " " + Quote(output)),
              0);
    EXPECT_EQ(Shell(std::string(CHECK_PACKAGE_EXE) + " " + Quote(output) + " >/dev/null"), 0);

    const fs::path bad = folder.Path() / "bad.txt";
    std::ofstream(bad) << "slide blank\ntable T 1 1 0 0\ncell 1 2 \"x\"\n";
    EXPECT_EQ(Shell(std::string(MAKE_TEMPLATE_EXE) + " " + Quote(bad) + " " +
                    Quote(folder.Path() / "bad.pptx") + " 2>/dev/null"),
              1);
    const fs::path report = folder.Path() / "findings.txt";
    EXPECT_EQ(Shell(std::string(CHECK_PACKAGE_EXE) + " " + Quote(bad) + " >" + Quote(report)), 1);
    EXPECT_NE(ReadText(report).find("unreadable-package"), std::string::npos);
}

TEST(LibreOfficeRendering, ShowsTheTextsOfABuiltTemplate) {
    if (Shell("command -v soffice >/dev/null 2>&1") != 0 ||
        Shell("command -v pdftotext >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "soffice or pdftotext is not installed";
    }
    TempFolder folder;
    const fs::path pptx = folder.Path() / "sample.pptx";
    WriteTemplate(SampleReportTemplate(), pptx);
    const std::string profile = "file://" + (folder.Path() / "profile").string();
    ASSERT_EQ(Shell("timeout 300 soffice -env:UserInstallation=" + profile +
                    " --headless --convert-to pdf --outdir " + Quote(folder.Path()) + " " +
                    Quote(pptx) + " >/dev/null 2>&1"),
              0);
    const fs::path pdf = folder.Path() / "sample.pdf";
    ASSERT_TRUE(fs::exists(pdf)) << "LibreOffice could not convert the template";
    ASSERT_EQ(Shell("pdftotext " + Quote(pdf) + " " + Quote(folder.Path() / "sample.txt")), 0);
    const std::string text = ReadText(folder.Path() / "sample.txt");
    for (const char* expected :
         {"Quarterly Report", "Prepared by Slidesmith", "Sales by Region", "Region", "Revenue",
          "North", "1,234", "#,##0;[Red]", "Total", "2,221", "Source: ERP export", "Q3", "2026",
          "Visitors", "Confidential", "Second line"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " not in:\n" << text;
    }
}

} // namespace
} // namespace slidesmith::testtools
