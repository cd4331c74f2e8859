#include "platform/settings/SettingsStore.h"

#include "platform/convert/TempFolder.h"
#include "platform/files/FileIo.h"
#include "platform/settings/SettingNames.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace slidesmith::settings {
namespace {

namespace fs = std::filesystem;

class SettingsStoreTest : public ::testing::Test {
protected:
    // Writes the store's file by hand, as a user or an older version might have left it.
    void WriteStore(const std::string& body) {
        fs::create_directories(m_path.parent_path());
        files::WriteFileAtomically(m_path, "Slidesmith Settings 1\n[" + std::string(kOptionsKey) +
                                               "]\n" + body);
    }

    convert::TempFolder m_scratch{"settings"};
    const fs::path m_folder = m_scratch.Path();
    const fs::path m_path = m_folder / "config" / "slidesmith" / "settings.reg";
};

TEST_F(SettingsStoreTest, AFreshMachineGivesEveryDefaultAndTheFirstSaveCreatesTheFolder) {
    SettingsStore store(m_path);
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kConnectionTimeout, kDefaultConnectionTimeout),
              15);
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kCommandTimeout, kDefaultCommandTimeout), 0);
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kShowTips, kDefaultShowTips), 1);
    EXPECT_EQ(store.GetSettingText(kRecentFilesKey, kRecentFileNames[0], kDefaultRecentFile), "");
    EXPECT_FALSE(fs::exists(m_path)) << "reading must not create anything";

    store.SaveSettingNumber(kOptionsKey, kShowTips, 0);
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kShowTips, kDefaultShowTips), 0);
}

TEST_F(SettingsStoreTest, NumbersAreReadFromTextsNumbersAndFourByteBinariesOnly) {
    WriteStore("\"Thirty\"=\"30\"\n"
               "\"Padded\"=\"  42 seconds\"\n"
               "\"Word\"=\"abc\"\n"
               "\"Half\"=\"2.5\"\n"
               "\"Exponent\"=\"1e3\"\n"
               "\"Huge\"=\"99999999999\"\n"
               "\"Negative\"=dword:ffffffff\n"
               "\"Binary4\"=hex:2c,01,00,00\n"
               "\"Binary8\"=hex:01,00,00,00,00,00,00,00\n"
               "\"Expandable\"=hex(2):33,00\n");
    SettingsStore store(m_path);
    struct Case {
        const char* name;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"Thirty", 30},     {"Padded", 42},     {"Word", 0},      {"Half", 2},
        {"Exponent", 1000}, {"Huge", -7},       {"Negative", -1}, {"Binary4", 300},
        {"Binary8", -7},    {"Expandable", -7}, {"Missing", -7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(store.GetSettingNumber(kOptionsKey, c.name, -7), c.expected) << c.name;
}

TEST_F(SettingsStoreTest, TextsAreReadFromTextValuesOnly) {
    SettingsStore store(m_path);
    store.SaveSettingNumber(kOptionsKey, kFontName, 12);
    EXPECT_EQ(store.GetSettingText(kOptionsKey, kFontName, "Editor Font"), "Editor Font");
    store.SaveSettingText(kOptionsKey, kConnectionTimeout, "30");
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kConnectionTimeout, 15), 30);
    store.SaveSettingText(kOptionsKey, kLogEditor, std::string("gedit\0junk", 10));
    EXPECT_EQ(store.GetSettingText(kOptionsKey, kLogEditor, "x"), "gedit");
}

TEST_F(SettingsStoreTest, AnyTextSurvivesTheFileAndTheFileStaysReadable) {
    SettingsStore store(m_path);
    const std::string odd = "C:\\Reports\\\"Q1\"\r\n\tGröße \x01 \xff end";
    store.SaveSettingText(kRecentFilesKey, "File1", odd);
    store.SaveSettingText(kOptionsKey, kFontName, "DejaVu Sans Mono");
    store.SaveSettingNumber(kOptionsKey, kWidth, 12000);
    EXPECT_EQ(store.GetSettingText(kRecentFilesKey, "File1", ""), odd);

    std::string text = files::ReadWholeFile(m_path);
    EXPECT_NE(text.find("[SOFTWARE\\Qorvanta\\Slidesmith\\Options]\n"
                        "\"FontName\"=\"DejaVu Sans Mono\"\n"
                        "\"Width\"=dword:00002ee0\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(R"("File1"="C:\\Reports\\\"Q1\"\r\n\tGröße \x01 \xff end")"),
              std::string::npos)
        << text;
}

TEST_F(SettingsStoreTest, KeyPathsAndValueNamesIgnoreCaseAndRedundantBackslashes) {
    SettingsStore store(m_path);
    store.SaveSettingNumber("software\\qorvanta\\slidesmith\\options", "fontsize", 11);
    store.SaveSettingNumber("\\SOFTWARE\\\\Qorvanta\\Slidesmith\\Options\\", "FONTSIZE", 12);
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kFontSize, 0), 12);
    EXPECT_EQ(store.GetSettingNumber(kRecentFilesKey, kFontSize, 0), 0);
}

TEST_F(SettingsStoreTest, DamagedLinesCostOnlyThemselvesAndUnknownTypesAreKept) {
    WriteStore("; written by hand\n"
               "\"Left\"=dword:zz\n"
               "garbage without a name\n"
               "\"Top\"=dword:00000064\n"
               "\"Kept\"=hex(7):41,00,00\n"
               "[broken section\n"
               "\"Orphan\"=dword:00000001\n");
    SettingsStore store(m_path);
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kLeft, kDefaultLeft), 105);
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kTop, kDefaultTop), 100);
    store.SaveSettingNumber(kOptionsKey, kHeight, 8000);
    EXPECT_NE(files::ReadWholeFile(m_path).find("\"Kept\"=hex(7):41,00,00\n"), std::string::npos);
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kTop, kDefaultTop), 100);
}

TEST_F(SettingsStoreTest, FailuresAreSilent) {
    // A regular file where the folder should be: nothing can be created below it.
    fs::path blocker = m_folder / "blocker";
    files::WriteFileAtomically(blocker, "not a folder");
    SettingsStore store(blocker / "slidesmith" / "settings.reg");
    store.SaveSettingNumber(kOptionsKey, kShowTips, 0);
    EXPECT_EQ(store.GetSettingNumber(kOptionsKey, kShowTips, kDefaultShowTips), 1);

    SettingsStore nowhere{fs::path()};
    nowhere.SaveSettingText(kOptionsKey, kFontName, "x");
    EXPECT_EQ(nowhere.GetSettingText(kOptionsKey, kFontName, "default"), "default");
}

TEST_F(SettingsStoreTest, ConcurrentSavesFromTwoProcessesLoseNothing) {
    constexpr int kValuesPerProcess = 150;
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            SettingsStore store(m_path);
            for (int i = 0; i < kValuesPerProcess; ++i) {
                std::string name = "P" + std::to_string(p) + "V" + std::to_string(i);
                if (i % 2 == 0)
                    store.SaveSettingNumber(kOptionsKey, name, i);
                else
                    store.SaveSettingText(kRecentFilesKey, name, std::to_string(i));
            }
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    SettingsStore store(m_path);
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < kValuesPerProcess; ++i) {
            std::string name = "P" + std::to_string(p) + "V" + std::to_string(i);
            std::string_view key = i % 2 == 0 ? kOptionsKey : kRecentFilesKey;
            EXPECT_EQ(store.GetSettingNumber(key, name, -1), i) << name;
        }
    }
    // No temporary file is left behind next to the settings.
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(m_path.parent_path()))
        entries += entry.path().filename().string().starts_with("settings.reg.") ? 1 : 0;
    EXPECT_EQ(entries, 1) << "only the lock file";
}

TEST(SettingsStorePath, OverrideThenXdgConfigHomeThenHome) {
    struct Saved {
        const char* name;
        std::string value;
        bool wasSet;
    } saved[] = {
        {"SLIDESMITH_SETTINGS", "", false}, {"XDG_CONFIG_HOME", "", false}, {"HOME", "", false}};
    for (Saved& s : saved) {
        const char* value = std::getenv(s.name);
        s.wasSet = value != nullptr;
        s.value = value ? value : "";
    }

    setenv("HOME", "/home/ann", 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("SLIDESMITH_SETTINGS");
    EXPECT_EQ(SettingsStore::DefaultPath(), "/home/ann/.config/slidesmith/settings.reg");
    setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/home/ann/.config/slidesmith/settings.reg");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/cfg/slidesmith/settings.reg");
    setenv("SLIDESMITH_SETTINGS", "/tmp/test.reg", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/test.reg");

    for (const Saved& s : saved) {
        if (s.wasSet)
            setenv(s.name, s.value.c_str(), 1);
        else
            unsetenv(s.name);
    }
}

} // namespace
} // namespace slidesmith::settings
