#include "platform/files/PathNames.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace slidesmith::files {
namespace {

namespace fs = std::filesystem;

struct Resolution {
    const char* base;
    const char* name;
    const char* expected;
};

TEST(PathNames, WindowsNamesResolveAgainstTheDefinitionFolder) {
    const Resolution cases[] = {
        {"/srv/reports", "Log\\Sales.log", "/srv/reports/Log/Sales.log"},
        {"/srv/reports", "..\\Templates\\Q1.pptx", "/srv/Templates/Q1.pptx"},
        {"/srv/reports/", "./out/../Q1.pptx", "/srv/reports/Q1.pptx"},
        {"/srv/reports", "/var/tmp/a.pptx", "/var/tmp/a.pptx"},
        {"/srv/reports", "\\var\\tmp\\a.pptx", "/var/tmp/a.pptx"},
        {"/", "../../a.log", "/a.log"},
        // A drive letter cannot be resolved here: kept as written, so the message shows it.
        {"/srv/reports", "C:\\Reports\\Template.ppt", "C:\\Reports\\Template.ppt"},
        {"/srv/reports", "d:rel.ppt", "d:rel.ppt"},
    };
    for (const Resolution& c : cases)
        EXPECT_EQ(MakeAbsolute(c.base, c.name), c.expected) << c.base << " + " << c.name;
}

TEST(PathNames, NetworkResolutionWalksFolderPartsAndFailsAboveTheShare) {
    const Resolution cases[] = {
        {"\\\\server\\share\\defs", "Log\\Sales.log", "//server/share/defs/Log/Sales.log"},
        {"//server/share/defs/", "..\\t\\Q1.pptx", "//server/share/t/Q1.pptx"},
        {"//server/share/defs", ".\\a.log", "//server/share/defs/a.log"},
        {"//server/share/defs", "a.log", "//server/share/defs/a.log"},
        {"//server/share", "..\\..\\..\\a.log", ""},
        {"//server/share", "\\\\other\\x.ppt", "//other/x.ppt"},
        {"//server/share", "C:\\x.ppt", "C:\\x.ppt"},
        {"//server/share", "/abs/x.ppt", "/abs/x.ppt"},
    };
    for (const Resolution& c : cases)
        EXPECT_EQ(ResolveRelativePath(c.base, c.name), c.expected) << c.base << " + " << c.name;
}

TEST(PathNames, NetworkPathsStartWithAnyTwoSeparators) {
    EXPECT_TRUE(IsNetworkPath("\\\\server\\share"));
    EXPECT_TRUE(IsNetworkPath("//server/share"));
    EXPECT_TRUE(IsNetworkPath("\\/x"));
    EXPECT_FALSE(IsNetworkPath("/"));
    EXPECT_FALSE(IsNetworkPath("/srv//x"));
    EXPECT_FALSE(IsNetworkPath("C:\\x"));
}

TEST(PathNames, NamePartsSplitAtEitherSeparator) {
    EXPECT_EQ(BaseName("C:\\a\\Sales.v2.slm"), "Sales.v2");
    EXPECT_EQ(BaseName("/srv/reports/Sales"), "Sales");
    EXPECT_EQ(BaseName("Sales.slm"), "Sales");
    EXPECT_EQ(ParentFolder("/srv/reports/Sales.slm"), "/srv/reports");
    EXPECT_EQ(ParentFolder("/Sales.slm"), "/");
    EXPECT_EQ(ParentFolder("Sales.slm"), "");
    EXPECT_EQ(Extension("/srv/r.d/Q1.PPTX"), ".PPTX");
    EXPECT_EQ(Extension("/srv/r.d/Q1"), "");
}

TEST(PathNames, EnsureFolderCreatesAbsoluteFoldersOnly) {
    fs::path root = fs::temp_directory_path() / ("slidesmith-paths-" + std::to_string(getpid()));
    fs::remove_all(root);
    EXPECT_TRUE(EnsureFolder((root / "a" / "b").string()));
    EXPECT_TRUE(fs::is_directory(root / "a" / "b"));
    // A drive-letter or relative folder would land below the current folder: never created.
    fs::path current = fs::current_path();
    fs::current_path(root);
    EXPECT_TRUE(EnsureFolder("C:\\Reports\\Out"));
    EXPECT_TRUE(EnsureFolder("relative/out"));
    EXPECT_FALSE(fs::exists(root / "C:\\Reports\\Out"));
    EXPECT_FALSE(fs::exists(root / "C:"));
    EXPECT_FALSE(fs::exists(root / "relative"));
    fs::current_path(current);
    fs::remove_all(root);
}

} // namespace
} // namespace slidesmith::files
