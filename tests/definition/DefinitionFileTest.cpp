#include "definition/DefinitionFile.h"

#include "ReferenceCipher.h"
#include "definition/PasswordCipher.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace slidesmith::definition {
namespace {

namespace fs = std::filesystem;
using testing::ReferenceRc4;

class DefinitionFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("slidesmith-definition-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Write(const std::string& name, const std::string& bytes) const {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Loads through the checked load, saves to a second file, returns what was saved.
    std::string LoadAndSave(const std::string& bytes, ReportDefinition& definition,
                            std::string& script) const {
        const DefinitionOutcome opened = OpenDefinition(Write("in.slm", bytes), definition, script);
        EXPECT_TRUE(opened.succeeded) << opened.message;
        const fs::path out = m_dir / "out.slm";
        const DefinitionOutcome saved = SaveDefinitionFile(out, definition, script);
        EXPECT_TRUE(saved.succeeded) << saved.message;
        return Read(out);
    }

    fs::path m_dir;
};

// A definition as the desktop program writes it: CP1252 bytes, CR LF, backslash paths, a
// network path, an enciphered password with accented characters, a connection-string source.
std::string WindowsDefinition() {
    const std::string stored = Base64Encode(ReferenceRc4("d\xE9j\xE0vu", "Jos\xE9", 5));
    return "Slidemill Version 2.0\r\n"
           "[Data Source]\r\n"
           "EncryptPassword=Y\r\n"
           "Name1=Ventes\r\n"
           "User1=Jos\xE9\r\n"
           "Password1=" +
           stored +
           "\r\n"
           "Name2=Warehouse\r\n"
           "ConnectionString2=Driver=SQLite3;Database=C:\\Data\\wh.db\r\n"
           "\r\n"
           "[File]\r\n"
           "ReportTemplateFileName=C:\\Reports\\Mod\xE8le.ppt\r\n"
           "ReportFileName=\\\\server\\share\\Ventes &Ann\xE9"
           "e.ppt\r\n"
           "ReportFileType=ppt\r\n"
           "LogFileName=Log\\Ventes.log\r\n"
           "\r\n"
           "[Parameter]\r\n"
           "Name1=&Ann\xE9"
           "e\r\n"
           "Title1=Ann\xE9"
           "e fiscale \x80\r\n"
           "Default1=2009\r\n"
           "\r\n"
           "[SQL]\r\n"
           "@1 = EXECSQL()\r\n"
           "select '\x80' from dual\r\n"
           "\r\n";
}

TEST_F(DefinitionFileTest, LoadsAFileWrittenOnWindows) {
    ReportDefinition definition;
    std::string script;
    const DefinitionOutcome outcome =
        OpenDefinition(Write("ventes.slm", WindowsDefinition()), definition, script);
    ASSERT_TRUE(outcome.succeeded) << outcome.message;

    EXPECT_EQ(definition.FileEncoding, "CP1252");
    EXPECT_TRUE(definition.EncryptPassword);
    ASSERT_EQ(definition.DataSources.size(), 2u);
    EXPECT_EQ(definition.DataSources[0].User, "Jos\u00E9");
    EXPECT_EQ(definition.DataSources[0].Password, "d\u00E9j\u00E0vu");
    EXPECT_EQ(definition.DataSources[1].ConnectionString,
              "Driver=SQLite3;Database=C:\\Data\\wh.db");
    EXPECT_EQ(definition.TemplateFileName, "C:\\Reports\\Mod\u00E8le.ppt");
    EXPECT_EQ(definition.ReportFileName, "\\\\server\\share\\Ventes &Ann\u00E9e.ppt");
    EXPECT_EQ(definition.ReportFileType, "ppt");
    ASSERT_EQ(definition.Parameters.size(), 1u);
    EXPECT_EQ(definition.Parameters[0].Name, "&Ann\u00E9e");
    EXPECT_EQ(definition.Parameters[0].Title, "Ann\u00E9e fiscale \u20AC");
    EXPECT_EQ(script, "@1 = EXECSQL()\r\nselect '\u20AC' from dual\r\n\r\n");
    EXPECT_EQ(definition.CurrentPath, (m_dir / "ventes.slm").string());
    EXPECT_FALSE(definition.Modified);
}

TEST_F(DefinitionFileTest, LoadThenSaveGivesBackTheSameBytes) {
    const std::string asciiHeader = "Slidemill Version 2.0\r\n[Data Source]\r\n";
    const std::pair<const char*, std::string> files[] = {
        {"Windows code page, enciphered", WindowsDefinition()},
        {"script without a final line break",
         asciiHeader + "Name1=db\r\nUser1=u\r\nPassword1=plain pw\r\n\r\n[File]\r\n\r\n"
                       "[SQL]\r\n@1 = EXECSQL()\r\nselect 1"},
        {"blank lines, LF-only lines and several trailing line breaks in the script",
         asciiHeader + "\r\n[File]\r\nLogFileName=x.log\r\n\r\n[SQL]\r\n\r\n@1=EXECSQL()\n\n"
                       "select 1\r\n\r\n\r\n"},
        {"empty script", asciiHeader + "\r\n[File]\r\n\r\n[SQL]\r\n"},
        {"UTF-8 with a byte order mark, enciphered",
         "\xEF\xBB\xBF" + asciiHeader +
             "EncryptPassword=Y\r\nName1=\xE6\x9D\xB1\r\nUser1=\xC3\xBC\r\n"
             "Password1=" +
             Base64Encode(ReferenceRc4("\xE2\x82\xAC", "\xC3\xBC", 3)) +
             "\r\n\r\n[File]\r\n\r\n[SQL]\r\n-- \xE2\x82\xAC\r\n"},
        {"plain ASCII whose enciphered password is in the code page",
         asciiHeader + "EncryptPassword=Y\r\nName1=db\r\nUser1=sa\r\nPassword1=" +
             Base64Encode(ReferenceRc4("p\xE4ss", "sa", 3)) + "\r\n\r\n[File]\r\n\r\n[SQL]\r\n"},
        {"a byte the code page leaves undefined",
         asciiHeader + "\r\n[File]\r\n\r\n[SQL]\r\nselect '\x81\x8D\xE9'\r\n"},
        {"another version and parameters",
         "Slidemill Version 3.1\r\n[Data Source]\r\n\r\n[File]\r\nReportFileType=24\r\n\r\n"
         "[Parameter]\r\nName1=&Y\r\nTitle1=\r\nDefault1=\r\nName2=&M\r\nTitle2=Month\r\n"
         "Default2=1\r\n\r\n[SQL]\r\n"},
    };
    for (const auto& [what, bytes] : files) {
        ReportDefinition definition;
        std::string script;
        EXPECT_EQ(LoadAndSave(bytes, definition, script), bytes) << what;
    }
}

TEST_F(DefinitionFileTest, ReadsAPlainAsciiFileWithACodePagePasswordAsCodePage) {
    const std::string bytes = "Slidemill Version 2.0\r\n[Data Source]\r\nEncryptPassword=Y\r\n"
                              "Name1=db\r\nUser1=sa\r\nPassword1=" +
                              Base64Encode(ReferenceRc4("p\xE4ss", "sa", 3)) +
                              "\r\n\r\n[File]\r\n\r\n[SQL]\r\n";
    ReportDefinition definition;
    ASSERT_TRUE(ReadDefinitionSettings(Write("a.slm", bytes), definition));
    EXPECT_EQ(definition.DataSources[0].Password, "p\u00E4ss");
    EXPECT_EQ(definition.FileEncoding, "CP1252");
}

TEST_F(DefinitionFileTest, WritesTheLayoutLineByLine) {
    ReportDefinition definition;
    definition.DataSources = {{"Sales", "reporter", "pw", ""},
                              {"Local", "ignored user", "ignored", "Driver=SQLite3;Database=s.db"}};
    definition.TemplateFileName = "C:\\Reports\\Template.ppt";
    definition.LogFileName = "Log\\Sales.log";
    const fs::path path = m_dir / "layout.slm";
    ASSERT_TRUE(WriteDefinitionFile(path, definition, "@1 = EXECSQL()\r\nselect 1").succeeded);
    EXPECT_EQ(Read(path), "Slidemill Version 2.0\r\n"
                          "[Data Source]\r\n"
                          "Name1=Sales\r\n"
                          "User1=reporter\r\n"
                          "Password1=pw\r\n"
                          "Name2=Local\r\n"
                          "ConnectionString2=Driver=SQLite3;Database=s.db\r\n"
                          "\r\n"
                          "[File]\r\n"
                          "ReportTemplateFileName=C:\\Reports\\Template.ppt\r\n"
                          "LogFileName=Log\\Sales.log\r\n"
                          "\r\n"
                          "[SQL]\r\n"
                          "@1 = EXECSQL()\r\nselect 1");

    // More entries than a list may hold are not written.
    definition.DataSources.assign(12, {"n", "u", "p", ""});
    definition.Parameters.assign(11, {"&P", "t", "d"});
    ASSERT_TRUE(WriteDefinitionFile(path, definition, "").succeeded);
    ReportDefinition reread;
    ASSERT_TRUE(ReadDefinitionSettings(path, reread));
    EXPECT_EQ(reread.DataSources.size(), 10u);
    EXPECT_EQ(reread.Parameters.size(), 10u);
}

TEST_F(DefinitionFileTest, SwitchingEncryptionRewritesOnlyDsnPasswords) {
    ReportDefinition definition;
    definition.DataSources = {{"Sales", "reporter", "s3cret", ""},
                              {"Nobody", "", "open", ""},
                              {"Empty", "u", "", ""},
                              {"Conn", "", "", "DSN=x;PWD=visible"}};
    const fs::path path = m_dir / "switch.slm";
    definition.EncryptPassword = true;
    ASSERT_TRUE(SaveDefinitionFile(path, definition, "").succeeded);
    const std::string enciphered = Read(path);
    EXPECT_NE(enciphered.find("EncryptPassword=Y\r\n"), std::string::npos);
    EXPECT_NE(enciphered.find("Password1=" + Base64Encode(ReferenceRc4("s3cret", "reporter", 9)) +
                              "\r\n"),
              std::string::npos);
    EXPECT_NE(enciphered.find("Password2=" + Base64Encode(ReferenceRc4("open", "", 1)) + "\r\n"),
              std::string::npos);
    EXPECT_NE(enciphered.find("Password3=\r\n"), std::string::npos);
    EXPECT_NE(enciphered.find("ConnectionString4=DSN=x;PWD=visible\r\n"), std::string::npos);

    ReportDefinition reread;
    ASSERT_TRUE(ReadDefinitionSettings(path, reread));
    EXPECT_EQ(reread.DataSources[0].Password, "s3cret");
    EXPECT_EQ(reread.DataSources[1].Password, "open");
    EXPECT_EQ(reread.DataSources[2].Password, "");

    reread.EncryptPassword = false;
    ASSERT_TRUE(SaveDefinitionFile(path, reread, "").succeeded);
    const std::string plain = Read(path);
    EXPECT_EQ(plain.find("EncryptPassword"), std::string::npos);
    EXPECT_NE(plain.find("Password1=s3cret\r\n"), std::string::npos);
    EXPECT_NE(plain.find("Password2=open\r\n"), std::string::npos);
}

TEST_F(DefinitionFileTest, ReadsListsAndFlagsAsTheFileHasThem) {
    const fs::path path =
        Write("lists.slm", "Slidemill\r\n[Data Source]\r\nencryptpassword =  y \r\n"
                           "Name1=A\r\nUser1=  ua  \r\nPassword1=" +
                               EncipherPassword("pa", "ua") +
                               "\r\nName2=B\r\nConnectionString2=  DSN=b  \r\nUser2=ub\r\n"
                               "Name4=D\r\n[File]\r\n[Parameter]\r\nName1=&X\r\n");
    ReportDefinition definition;
    definition.TemplatePath = "left over from a run";
    ASSERT_TRUE(ReadDefinitionSettings(path, definition));
    EXPECT_TRUE(definition.EncryptPassword);
    ASSERT_EQ(definition.DataSources.size(), 2u) << "Name3 is missing, so Name4 is not read";
    EXPECT_EQ(definition.DataSources[0].User, "ua");
    EXPECT_EQ(definition.DataSources[0].Password, "pa");
    EXPECT_EQ(definition.DataSources[1].ConnectionString, "DSN=b");
    EXPECT_EQ(definition.DataSources[1].User, "") << "a connection-string entry has no user";
    ASSERT_EQ(definition.Parameters.size(), 1u);
    EXPECT_EQ(definition.Parameters[0].Title, "");
    EXPECT_TRUE(definition.TemplatePath.empty());

    // The file's own flag decides how passwords are read, not the model's.
    const fs::path plain = Write(
        "plain.slm", "Slidemill\r\n[Data Source]\r\nName1=A\r\nUser1=u\r\nPassword1=Zm9v\r\n");
    definition.EncryptPassword = true;
    ASSERT_TRUE(ReadDefinitionSettings(plain, definition));
    EXPECT_FALSE(definition.EncryptPassword);
    EXPECT_EQ(definition.DataSources[0].Password, "Zm9v");
}

TEST_F(DefinitionFileTest, RecognisesDefinitionsByTheirFirstLine) {
    const std::pair<std::string, const char*> cases[] = {
        {"Slidemill\r\n[Data Source]\r\n", "2.0"},
        {"Slidemill Version 3.1\r\n", "3.1"},
        {"  Slidemill   Version   \"2.5 beta\"", "2.5 beta"},
        {"Slidemill Edition 7\r\n", "2.0"},
        {"slidemill Version 2.0\r\n", nullptr},
        {"\r\nSlidemill Version 2.0\r\n", nullptr},
        {"", nullptr},
        {std::string("\x00\xFF\xFE\x01Slidemill", 9), nullptr},
    };
    for (const auto& [bytes, version] : cases) {
        ReportDefinition definition;
        definition.Version = "untouched";
        EXPECT_EQ(IsDefinitionFile(Write("first.slm", bytes), definition), version != nullptr)
            << bytes;
        EXPECT_EQ(definition.Version, version ? version : "untouched") << bytes;
    }
    ReportDefinition definition;
    EXPECT_FALSE(IsDefinitionFile(m_dir / "missing.slm", definition));
    EXPECT_FALSE(IsDefinitionFile(m_dir, definition));
}

TEST_F(DefinitionFileTest, TakesTheScriptFromAfterTheSqlLineOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"Slidemill\r\n[File]\r\n  [SQL]\t\r\nselect 1", "select 1"},
        {"Slidemill\n[SQL]\nline\n[SQL]\nmore\n", "line\n[SQL]\nmore\n"},
        {"Slidemill\r\n[sql]\r\nselect 1\r\n", ""},
        {"Slidemill\r\n[File]\r\nLogFileName=a.log\r\n", ""},
        {"Slidemill\r\n[SQL]", ""},
    };
    for (const auto& [bytes, script] : cases)
        EXPECT_EQ(ReadDefinitionScript(Write("s.slm", bytes)), script) << bytes;
    EXPECT_EQ(ReadDefinitionScript(m_dir / "missing.slm"), "");

    // Script lines never count as settings, even when they look like a section.
    ReportDefinition definition;
    ASSERT_TRUE(ReadDefinitionSettings(
        Write("p.slm", "Slidemill\r\n[File]\r\n\r\n[SQL]\r\n[Parameter]\r\nName1=&X\r\n"),
        definition));
    EXPECT_TRUE(definition.Parameters.empty());
}

TEST_F(DefinitionFileTest, GivesTheDocumentedResultForBrokenFiles) {
    ReportDefinition definition;
    definition.ReportFileName = "kept";
    std::string script = "kept";
    const fs::path missing = m_dir / "missing.slm";
    EXPECT_EQ(OpenDefinition(missing, definition, script).message,
              "The file \"" + missing.string() + "\" does not exist.");
    for (const std::string& bytes : {std::string(),
                                     std::string("\x7F"
                                                 "ELF\x02\x01\x01\0\0",
                                                 9),
                                     std::string("[Data Source]\r\nName1=x\r\n")}) {
        const fs::path path = Write("broken.slm", bytes);
        EXPECT_EQ(OpenDefinition(path, definition, script).message,
                  "The file \"" + path.string() + "\" is not a Slidemill file.");
    }
    EXPECT_EQ(definition.ReportFileName, "kept");
    EXPECT_EQ(script, "kept");

    // A value longer than the reader's buffer is cut; a truncated UTF-8 sequence makes the file
    // a code-page file; lines without "=" and a missing [SQL] line are passed over.
    const fs::path odd = Write("odd.slm", "Slidemill\r\n[Data Source]\r\nName1=Caf\xC3\r\n"
                                          "just words\r\n[File]\r\nLogFileName=" +
                                              std::string(20000, 'L') + "\r\n");
    ASSERT_TRUE(OpenDefinition(odd, definition, script).succeeded);
    EXPECT_EQ(definition.DataSources.at(0).Name, "Caf\u00C3");
    EXPECT_EQ(definition.LogFileName.size(), 10239u);
    EXPECT_EQ(script, "");
    EXPECT_EQ(definition.ReportFileName, "");
}

TEST_F(DefinitionFileTest, LoadsFiftyMegabyteDefinitions) {
    std::string settingsOnly = "Slidemill\r\n[File]\r\nLogFileName=big.log\r\n";
    const std::string line = "Key=a line that is not a setting the program reads, repeated\r\n";
    while (settingsOnly.size() < 50'000'000)
        settingsOnly += line;
    ReportDefinition definition;
    std::string script;
    ASSERT_TRUE(OpenDefinition(Write("big1.slm", settingsOnly), definition, script).succeeded);
    EXPECT_EQ(definition.LogFileName, "big.log");

    const std::string bigScript = settingsOnly.substr(settingsOnly.find("Key="));
    ASSERT_TRUE(
        OpenDefinition(Write("big2.slm", "Slidemill\r\n[SQL]\r\n" + bigScript), definition, script)
            .succeeded);
    EXPECT_EQ(script.size(), bigScript.size());
}

TEST_F(DefinitionFileTest, SavingKeepsOneBackupAndReportsFailures) {
    const fs::path path = Write("a.slm", "previous");
    Write("a.slm.bak", "older");
    ReportDefinition definition;
    definition.Modified = true;
    ASSERT_TRUE(SaveDefinitionFile(path, definition, "select 1").succeeded);
    EXPECT_EQ(Read(m_dir / "a.slm.bak"), "previous");
    EXPECT_EQ(Read(path).substr(0, 21), "Slidemill Version 2.0");
    EXPECT_FALSE(definition.Modified);

    definition.Modified = true;
    const DefinitionOutcome failed =
        SaveDefinitionFile(m_dir / "no such folder" / "b.slm", definition, "");
    EXPECT_FALSE(failed.succeeded);
    EXPECT_NE(failed.message.find("no such folder"), std::string::npos) << failed.message;
    EXPECT_TRUE(definition.Modified);
}

TEST_F(DefinitionFileTest, SwitchesToUtf8WhenTheCodePageCannotHoldATextAndKeepsIt) {
    ReportDefinition definition;
    std::string script;
    ASSERT_TRUE(OpenDefinition(Write("cp.slm", WindowsDefinition()), definition, script).succeeded);
    definition.DataSources[0].Password = "\u6771\u4EAC";
    const fs::path path = m_dir / "saved.slm";
    ASSERT_TRUE(SaveDefinitionFile(path, definition, script + "-- \u00E9").succeeded);
    EXPECT_EQ(definition.FileEncoding, "UTF-8");

    ReportDefinition reread;
    std::string rereadScript;
    ASSERT_TRUE(OpenDefinition(path, reread, rereadScript).succeeded);
    EXPECT_EQ(reread.DataSources[0].Password, "\u6771\u4EAC");
    EXPECT_EQ(reread.DataSources[0].User, "Jos\u00E9");
    EXPECT_EQ(rereadScript, script + "-- \u00E9");
}

TEST_F(DefinitionFileTest, NewDefinitionKeepsOnlyTheEncryptionChoice) {
    ReportDefinition definition;
    std::string script;
    ASSERT_TRUE(OpenDefinition(Write("cp.slm", WindowsDefinition()), definition, script).succeeded);
    definition.Modified = true;
    definition.LogPath = "/tmp/run.log";
    NewDefinition(definition);
    EXPECT_TRUE(definition.EncryptPassword);
    EXPECT_TRUE(definition.DataSources.empty());
    EXPECT_TRUE(definition.Parameters.empty());
    EXPECT_EQ(definition.Version, "2.0");
    EXPECT_EQ(definition.ReportFileType, "");
    EXPECT_EQ(definition.CurrentPath, "");
    EXPECT_EQ(definition.LogPath, "");
    EXPECT_FALSE(definition.Modified);
    EXPECT_EQ(definition.FileEncoding, "UTF-8");
}

} // namespace
} // namespace slidesmith::definition
