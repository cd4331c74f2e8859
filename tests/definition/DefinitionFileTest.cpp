#include "definition/DefinitionFile.h"

#include "ReferenceCipher.h"
#include "definition/PasswordCipher.h"
#include "platform/convert/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace slidesmith::definition {
namespace {

namespace fs = std::filesystem;
using testing::ReferenceRc4;

class DefinitionFileTest : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return m_dir / name;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Opens bytes as a file and saves them under another name; returns what was saved.
    std::string OpenAndSave(const std::string& bytes, ReportDefinition& definition) const {
        std::string script;
        EXPECT_TRUE(OpenDefinition(Write("in.slm", bytes), definition, script).succeeded);
        EXPECT_TRUE(SaveDefinitionFile(m_dir / "out.slm", definition, script).succeeded);
        return Read(m_dir / "out.slm");
    }

    convert::TempFolder m_folder{"slidesmith-definition"};
    const fs::path m_dir = m_folder.Path();
};

// As the desktop program writes it: CP1252 bytes, CR LF, backslash and network paths, an
// enciphered password with accents, a connection-string source.
const std::string kWindowsFile =
    "Slidemill Version 2.0\r\n[Data Source]\r\nEncryptPassword=Y\r\nName1=Ventes\r\n"
    "User1=Jos\xE9\r\nPassword1=" +
    Base64Encode(ReferenceRc4("d\xE9j\xE0vu", "Jos\xE9", 5)) +
    "\r\nName2=Warehouse\r\nConnectionString2=Driver=SQLite3;Database=C:\\Data\\wh.db\r\n\r\n"
    "[File]\r\nReportTemplateFileName=C:\\Reports\\Mod\xE8le.ppt\r\n"
    "ReportFileName=\\\\server\\share\\Ventes.ppt\r\nReportFileType=ppt\r\n"
    "LogFileName=Log\\Ventes.log\r\n\r\n[Parameter]\r\nName1=&Ann\xE9"
    "e\r\n"
    "Title1=Ann\xE9"
    "e fiscale \x80\r\nDefault1=2009\r\n\r\n[SQL]\r\n@1 = EXECSQL()\r\n"
    "select '\x80' from dual\r\n\r\n";

TEST_F(DefinitionFileTest, OpenThenSaveGivesBackTheSameBytes) {
    const std::string head = "Slidemill Version 2.0\r\n[Data Source]\r\n";
    const std::pair<const char*, std::string> files[] = {
        {"Windows code page, enciphered", kWindowsFile},
        {"no final line break", head + "Name1=db\r\nUser1=u\r\nPassword1=plain pw\r\n\r\n"
                                       "[File]\r\n\r\n[SQL]\r\n@1 = EXECSQL()\r\nselect 1"},
        {"blank, LF-only and trailing lines",
         head +
             "\r\n[File]\r\nLogFileName=x.log\r\n\r\n[SQL]\r\n\r\n@1=EXECSQL()\n\nx\r\n\r\n\r\n"},
        {"empty script", head + "\r\n[File]\r\n\r\n[SQL]\r\n"},
        {"UTF-8 with byte order mark, enciphered",
         "\xEF\xBB\xBF" + head +
             "EncryptPassword=Y\r\nName1=\xE6\x9D\xB1\r\nUser1=\xC3\xBC\r\n"
             "Password1=" +
             Base64Encode(ReferenceRc4("\xE2\x82\xAC", "\xC3\xBC", 3)) +
             "\r\n\r\n[File]\r\n\r\n[SQL]\r\n-- \xE2\x82\xAC\r\n"},
        {"ASCII file, code-page password",
         head + "EncryptPassword=Y\r\nName1=db\r\nUser1=sa\r\nPassword1=" +
             Base64Encode(ReferenceRc4("p\xE4ss", "sa", 3)) + "\r\n\r\n[File]\r\n\r\n[SQL]\r\n"},
        {"undefined code-page bytes", head + "\r\n[File]\r\n\r\n[SQL]\r\n'\x81\x8D\xE9'\r\n"},
        {"other version, parameters",
         "Slidemill Version 3.1\r\n[Data Source]\r\n\r\n[File]\r\nReportFileType=24\r\n\r\n"
         "[Parameter]\r\nName1=&Y\r\nTitle1=\r\nDefault1=\r\nName2=&M\r\nTitle2=Month\r\n"
         "Default2=1\r\n\r\n[SQL]\r\n"},
    };
    for (const auto& [what, bytes] : files) {
        ReportDefinition definition;
        EXPECT_EQ(OpenAndSave(bytes, definition), bytes) << what;
    }
}

TEST_F(DefinitionFileTest, SwitchingEncryptionRewritesOnlyDsnPasswords) {
    ReportDefinition definition;
    definition.DataSources = {{"Sales", "reporter", "s3cret", ""},
                              {"Nobody", "", "open", ""},
                              {"Conn", "not written", "", "DSN=x;PWD=visible"}};
    definition.EncryptPassword = true;
    const fs::path path = m_dir / "switch.slm";
    ASSERT_TRUE(SaveDefinitionFile(path, definition, "").succeeded);
    const std::string enciphered = Read(path);
    const std::string lines[] = {
        "EncryptPassword=Y\r\n", "ConnectionString3=DSN=x;PWD=visible\r\n",
        "Password1=" + Base64Encode(ReferenceRc4("s3cret", "reporter", 9)) + "\r\n",
        "Password2=" + Base64Encode(ReferenceRc4("open", "", 1)) + "\r\n"};
    for (const std::string& line : lines)
        EXPECT_NE(enciphered.find(line), std::string::npos) << line;
    EXPECT_EQ(enciphered.find("User3"), std::string::npos) << "a connection string has no user";

    ReportDefinition reread;
    ASSERT_TRUE(ReadDefinitionSettings(path, reread));
    EXPECT_EQ(reread.DataSources[0].Password, "s3cret");
    reread.EncryptPassword = false;
    ASSERT_TRUE(SaveDefinitionFile(path, reread, "").succeeded);
    const std::string plain = Read(path);
    EXPECT_EQ(plain.find("EncryptPassword"), std::string::npos);
    EXPECT_NE(plain.find("Password1=s3cret\r\nName2=Nobody\r\nUser2=\r\nPassword2=open\r\n"),
              std::string::npos);
}

TEST_F(DefinitionFileTest, ReadsListsAndFlagsAsTheFileHasThem) {
    ReportDefinition definition;
    definition.TemplatePath = "left over from a run";
    ASSERT_TRUE(ReadDefinitionSettings(
        Write("l.slm", "Slidemill\r\n[Data Source]\r\nencryptpassword =  y \r\nName1=A\r\n"
                       "User1=ua\r\nPassword1=" +
                           EncipherPassword("pa", "ua") +
                           "\r\nName2=B\r\nConnectionString2=DSN=b\r\nUser2=ub\r\nName4=D\r\n"),
        definition));
    EXPECT_TRUE(definition.EncryptPassword);
    ASSERT_EQ(definition.DataSources.size(), 2u) << "Name3 is missing, so Name4 is not read";
    EXPECT_EQ(definition.DataSources[0].Password, "pa");
    EXPECT_EQ(definition.DataSources[1].User, "") << "a connection-string entry has no user";
    EXPECT_TRUE(definition.TemplatePath.empty());

    // The file's own flag decides how passwords are read, not the model's.
    ASSERT_TRUE(ReadDefinitionSettings(
        Write("p.slm", "Slidemill\r\n[Data Source]\r\nName1=A\r\nPassword1=Zm9v\r\n"), definition));
    EXPECT_FALSE(definition.EncryptPassword);
    EXPECT_EQ(definition.DataSources[0].Password, "Zm9v");
}

TEST_F(DefinitionFileTest, RecognisesDefinitionsByTheirFirstLine) {
    const std::pair<std::string, const char*> cases[] = {
        {"Slidemill\r\n[Data Source]\r\n", "2.0"},
        {"Slidemill Version 3.1\r\n", "3.1"},
        {"  Slidemill   Version   \"2.5 beta\"", "2.5 beta"},
        {"slidemill Version 2.0\r\n", nullptr},
        {"", nullptr},
        {std::string("\x7F\x45\x4C\x46\x02\x01\0\0Slidemill", 17), nullptr},
    };
    for (const auto& [bytes, version] : cases) {
        ReportDefinition definition;
        definition.Version = "untouched";
        EXPECT_EQ(IsDefinitionFile(Write("f.slm", bytes), definition), version != nullptr);
        EXPECT_EQ(definition.Version, version ? version : "untouched") << bytes;
    }
    ReportDefinition definition;
    EXPECT_FALSE(IsDefinitionFile(m_dir, definition));
}

TEST_F(DefinitionFileTest, TakesTheScriptFromAfterTheSqlLineOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"Slidemill\r\n[File]\r\n  [SQL]\t\r\nselect 1", "select 1"},
        {"Slidemill\n[SQL]\nline\n[SQL]\nmore\n", "line\n[SQL]\nmore\n"},
        {"Slidemill\r\n[sql]\r\nselect 1\r\n", ""},
        {"Slidemill\r\n[SQL]", ""},
    };
    for (const auto& [bytes, script] : cases)
        EXPECT_EQ(ReadDefinitionScript(Write("s.slm", bytes)), script) << bytes;

    // Script lines never count as settings, even when they look like a section.
    ReportDefinition definition;
    ASSERT_TRUE(ReadDefinitionSettings(
        Write("p.slm", "Slidemill\r\n[SQL]\r\n[Parameter]\r\nName1=&X\r\n"), definition));
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
                                                 "ELF\x02\x01\0",
                                                 7),
                                     std::string("[Data Source]\r\nName1=x\r\n")}) {
        const fs::path path = Write("broken.slm", bytes);
        EXPECT_EQ(OpenDefinition(path, definition, script).message,
                  "The file \"" + path.string() + "\" is not a Slidemill file.");
    }
    EXPECT_EQ(definition.ReportFileName, "kept");
    EXPECT_EQ(script, "kept");

    // A value longer than the reader's buffer is cut; a truncated UTF-8 sequence makes it a
    // code-page file; a line without "=" and a missing [SQL] line are passed over.
    const fs::path odd = Write("odd.slm", "Slidemill\r\n[Data Source]\r\nName1=Caf\xC3\r\n"
                                          "just words\r\n[File]\r\nLogFileName=" +
                                              std::string(20000, 'L') + "\r\n");
    ASSERT_TRUE(OpenDefinition(odd, definition, script).succeeded);
    EXPECT_EQ(definition.DataSources.at(0).Name, "Caf\u00C3");
    EXPECT_EQ(definition.LogFileName.size(), 10239u);
    EXPECT_EQ(definition.ReportFileName, "");
    EXPECT_EQ(script, "");
}

TEST_F(DefinitionFileTest, LoadsAFiftyMegabyteDefinition) {
    std::string bytes = "Slidemill\r\n[File]\r\nLogFileName=big.log\r\n";
    while (bytes.size() < 50'000'000)
        bytes += "Key=a line that is not a setting the program reads\r\n";
    ReportDefinition definition;
    std::string script;
    ASSERT_TRUE(OpenDefinition(Write("big.slm", bytes + "[SQL]\r\n" + bytes), definition, script)
                    .succeeded);
    EXPECT_EQ(definition.LogFileName, "big.log");
    EXPECT_EQ(script, bytes);
}

TEST_F(DefinitionFileTest, SavingKeepsOneBackupAndReportsFailures) {
    const fs::path path = Write("a.slm", "previous");
    Write("a.slm.bak", "older");
    ReportDefinition definition;
    definition.Modified = true;
    ASSERT_TRUE(SaveDefinitionFile(path, definition, "select 1").succeeded);
    EXPECT_EQ(Read(m_dir / "a.slm.bak"), "previous");
    EXPECT_FALSE(definition.Modified);

    definition.Modified = true;
    const DefinitionOutcome failed =
        SaveDefinitionFile(m_dir / "no folder" / "b.slm", definition, "");
    EXPECT_FALSE(failed.succeeded);
    EXPECT_NE(failed.message.find("no folder"), std::string::npos) << failed.message;
    EXPECT_TRUE(definition.Modified);
}

TEST_F(DefinitionFileTest, DecodesTheCodePageAndSwitchesToUtf8WhenItCannotHoldAText) {
    ReportDefinition definition;
    OpenAndSave(kWindowsFile, definition);
    EXPECT_EQ(definition.FileEncoding, "CP1252");
    EXPECT_EQ(definition.DataSources.at(0).Password, "d\u00E9j\u00E0vu");
    EXPECT_EQ(definition.Parameters.at(0).Title, "Ann\u00E9e fiscale \u20AC");
    EXPECT_EQ(definition.CurrentPath, (m_dir / "in.slm").string());
    definition.DataSources[0].Password = "\u6771\u4EAC";
    ASSERT_TRUE(SaveDefinitionFile(m_dir / "saved.slm", definition, "-- \u00E9").succeeded);
    EXPECT_EQ(definition.FileEncoding, "UTF-8");

    ReportDefinition reread;
    std::string script;
    ASSERT_TRUE(OpenDefinition(m_dir / "saved.slm", reread, script).succeeded);
    EXPECT_EQ(reread.DataSources[0].Password, "\u6771\u4EAC");
    EXPECT_EQ(reread.DataSources[0].User, "Jos\u00E9");
    EXPECT_EQ(script, "-- \u00E9");
}

} // namespace
} // namespace slidesmith::definition
