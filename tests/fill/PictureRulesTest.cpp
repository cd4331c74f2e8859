// The rules behind image fields and named-shape reports that a whole run exercises only in
// part: size settings, sizing, IMAGE and GROUP entries, group levels, picture names and the
// limits on what a picture file may be.
#include "PngImage.h"
#include "TableFillHarness.h"
#include "fill/FormGroups.h"
#include "fill/ImageSettings.h"
#include "fill/PictureLoader.h"
#include "platform/files/FileIo.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace slidesmith::fill {
namespace {

namespace fs = std::filesystem;

TEST(ImageSettingsTest, WordsOfTheTemplateTextGiveStretchWidthAndHeight) {
    struct Case {
        const char* text;
        ImageSettings expected;
    };
    const Case cases[] = {
        {"", {}},
        {"W120 H80", {false, 120, 80}},
        {"stretch", {true, -1, -1}},
        {"h50", {false, -1, 50}},
        {"W Wabc H", {}},                        // no number: not given
        {"w1.5  photo\rH2e1", {false, 1.5, 20}}, // other words ignored, any blank separates
        {"W-5 STRETCH W7", {true, 7, -1}},       // the last word wins
        {"WW10 HH10 W10x", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadImageSettings(c.text), c.expected) << c.text;
}

TEST(FormGroupsTest, AFieldInSeveralLevelsBelongsToTheOutermostAndChangesAreFoundOutsideIn) {
    testing::MemoryRecords records({200, 200, 200}, {});
    records.names = {"Region", "Town", "Name"};
    testing::RecordingReporter reporter;
    FormGroups groups;
    ASSERT_TRUE(groups.Resolve({{{"Region"}, ""}, {{"Region", "Town"}, ""}}, records, reporter));
    EXPECT_EQ(groups.LevelOf(0), 0u);
    EXPECT_EQ(groups.LevelOf(1), 1u);
    EXPECT_EQ(groups.LevelOf(2), FormGroups::kNoLevel);
    const auto row = [](const char* region, const char* town, const char* name) {
        return std::vector<odbc::FieldValue>{odbc::FieldValue::FromText(region),
                                             odbc::FieldValue::FromText(town),
                                             odbc::FieldValue::FromText(name)};
    };
    EXPECT_EQ(groups.ChangedLevel(row("N", "A", "x")), 0u); // the first record shows all
    EXPECT_EQ(groups.ChangedLevel(row("N", "A", "y")), 2u); // no level changed
    EXPECT_EQ(groups.ChangedLevel(row("N", "B", "y")), 1u);
    EXPECT_EQ(groups.ChangedLevel(row("S", "B", "y")), 0u);

    FormGroups wrong;
    EXPECT_FALSE(wrong.Resolve({{{"Region"}, ""}, {{"2", "9"}, ""}}, records, reporter));
    ASSERT_EQ(reporter.errors.size(), 1u);
    EXPECT_EQ(reporter.errors[0].first, "Syntax error. Failed to parse group 2.");
    EXPECT_EQ(reporter.errors[0].second, "Can not find field \"9\".");
}

TEST(PictureLoaderTest, NamesResolveAgainstTheTemplateFolderOrItsShare) {
    const PictureLoader local({.templateFolder = "/data/templates"});
    EXPECT_EQ(local.PicturePath("pics\\a.png"), "/data/templates/pics/a.png");
    EXPECT_EQ(local.PicturePath("../a.png"), "/data/a.png");
    EXPECT_EQ(local.PicturePath("/srv/a.png"), "/srv/a.png");
    EXPECT_EQ(local.PicturePath("C:\\pics\\a.png"), "C:\\pics\\a.png");
    EXPECT_EQ(local.PicturePath("http://host/a b.png"), "http://host/a b.png");
    const PictureLoader share({.templateFolder = "//server/share/templates"});
    EXPECT_EQ(share.PicturePath("..\\pics\\a.png"), "//server/share/pics/a.png");
}

class PictureFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/slidesmith-pictures-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Failure(PictureLoader& loader, const std::string& path) {
        try {
            loader.Load(path);
        } catch (const std::exception& error) {
            return error.what();
        }
        return "";
    }

    fs::path folder;
};

TEST_F(PictureFilesTest, HostilePictureFilesAreRefusedWithoutReadingThemWhole) {
    // A 2 GB file costs no disk (sparse) and must cost no memory either.
    { std::ofstream(folder / "huge.png"); }
    fs::resize_file(folder / "huge.png", 2'000'000'000);
    // A PNG header claiming 200,000 x 1 pixels, and one cut short.
    std::string lying = testtools::MakePng(4, 4, 0xFF0000);
    lying[16] = 0;
    lying[17] = 3;
    lying[18] = 0x0D;
    lying[19] = 0x40;
    files::WriteFileAtomically(folder / "lying.png", lying);
    files::WriteFileAtomically(folder / "short.png", lying.substr(0, 20));
    files::WriteFileAtomically(folder / "text.png", "just text");
    fs::create_directory(folder / "folder.png");

    PictureLoader loader({.templateFolder = folder.string()});
    EXPECT_NE(Failure(loader, loader.PicturePath("huge.png")).find("larger than 50 MB"),
              std::string::npos);
    for (const char* name : {"lying.png", "short.png", "text.png", "folder.png", "none.png"})
        EXPECT_NE(Failure(loader, loader.PicturePath(name)), "") << name;
    EXPECT_NE(Failure(loader, loader.PicturePath(std::string(10000, 'x'))), "");
    EXPECT_NE(Failure(loader, "ftp://host/a.png"), "");
}

} // namespace
} // namespace slidesmith::fill
