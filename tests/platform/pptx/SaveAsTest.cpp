#include "PackageFiles.h"
#include "PackageTestSupport.h"
#include "platform/pptx/PptxError.h"
#include "platform/pptx/Presentation.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

namespace fs = std::filesystem;
using testing::ReadEntry;
using testing::ScratchFolder;

const char* kVbaRel =
    R"(<Relationship Id="rId99" Type="http://schemas.microsoft.com/office/2006/relationships/vbaProject" Target="vbaProject.bin"/>)";
const char* kVbaOverride =
    R"(<Override PartName="/ppt/vbaProject.bin" ContentType="application/vnd.ms-office.vbaProject"/>)";

fs::path Template() {
    return testing::RealFixtures() / "template-financial-performance-ppt2007.potx";
}

std::string MainContentType(const fs::path& file) {
    std::string types = ReadEntry(file, "[Content_Types].xml");
    std::size_t part = types.find("PartName=\"/ppt/presentation.xml\"");
    std::size_t start = types.rfind('<', part);
    std::size_t end = types.find('>', part);
    std::string element = types.substr(start, end - start);
    std::size_t type = element.find("ContentType=\"") + 13;
    return element.substr(type, element.find('"', type) - type);
}

// The template with a macro project added, as a .pptm would carry it.
std::string MacroPresentation() {
    testtools::PartMap parts = testtools::ReadPackage(Template());
    std::string& types = parts.at("[Content_Types].xml");
    types.insert(types.find("</Types>"), kVbaOverride);
    const std::string templateType =
        "application/vnd.openxmlformats-officedocument.presentationml.template.main+xml";
    types.replace(types.find(templateType), templateType.size(),
                  "application/vnd.ms-powerpoint.presentation.macroEnabled.main+xml");
    std::string& rels = parts.at("ppt/_rels/presentation.xml.rels");
    rels.insert(rels.find("</Relationships>"), kVbaRel);
    parts["ppt/vbaProject.bin"] = std::string("\xD0\xCF\x11\xE0 macro bytes", 16);
    return testtools::WritePackageToMemory(parts);
}

class SaveAs : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(Template()))
            GTEST_SKIP() << "shared fixtures are absent";
    }
    ScratchFolder m_scratch;
};

TEST_F(SaveAs, FormatCodeDecidesKindAndFullName) {
    struct Case {
        int code;
        const char* requested;
        const char* written;
        const char* contentType;
    };
    const Case cases[] = {
        {1, "report.pptx", "report.pptx", "presentationml.presentation.main+xml"},
        {1, "report.PPSX", "report.PPSX", "presentationml.slideshow.main+xml"},
        {1, "report.dat", "report.dat.pptx", "presentationml.presentation.main+xml"},
        {11, "report.potx", "report.potx", "presentationml.template.main+xml"},
        {24, "report", "report.pptx", "presentationml.presentation.main+xml"},
        {26, "report.pptx", "report.pptx.potx", "presentationml.template.main+xml"},
        {28, "show.ppsx", "show.ppsx", "presentationml.slideshow.main+xml"},
        {25, "macro.pptm", "macro.pptm", "powerpoint.presentation.macroEnabled.main+xml"},
    };
    for (const Case& item : cases) {
        auto presentation = Presentation::Open(Template());
        fs::path written = presentation->SaveAs(m_scratch / item.requested, item.code);
        EXPECT_EQ(written, m_scratch / item.written) << item.code << " " << item.requested;
        EXPECT_EQ(presentation->FullName(), written);
        ASSERT_TRUE(fs::exists(written)) << written;
        EXPECT_NE(MainContentType(written).find(item.contentType), std::string::npos)
            << item.code << " " << item.requested << ": " << MainContentType(written);
        EXPECT_EQ(Presentation::Open(written)->SlideCount(), 7u);
    }
    EXPECT_FALSE(fs::exists(m_scratch / "report.dat"));
}

TEST_F(SaveAs, MacrosSurviveOnlyInMacroEnabledKinds) {
    Presentation withMacros(MacroPresentation(), m_scratch / "macro.pptm");
    ASSERT_EQ(withMacros.Kind(), PackageKind::PresentationMacro);
    fs::path kept = withMacros.SaveAs(m_scratch / "kept.pptm", 25);
    EXPECT_NO_THROW(ReadEntry(kept, "ppt/vbaProject.bin"));

    fs::path dropped = withMacros.SaveAs(m_scratch / "dropped.pptx", 24);
    EXPECT_THROW(ReadEntry(dropped, "ppt/vbaProject.bin"), std::runtime_error);
    EXPECT_EQ(ReadEntry(dropped, "ppt/_rels/presentation.xml.rels").find("vbaProject"),
              std::string::npos);
    EXPECT_EQ(ReadEntry(dropped, "[Content_Types].xml").find("vbaProject"), std::string::npos);
    EXPECT_TRUE(testing::CheckPackage(dropped).empty());
}

TEST_F(SaveAs, UnwritableTargetsFailWithTheirNameAndLeaveNothing) {
    auto presentation = Presentation::Open(Template());
    try {
        presentation->SaveAs(m_scratch / "report.pptx", 6);
        FAIL() << "expected PptxError";
    } catch (const PptxError& error) {
        EXPECT_NE(std::string(error.what()).find("file format code 6 is not supported"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_THROW(presentation->SaveAs(m_scratch / "missing" / "report.pptx", 1), PptxError);
    EXPECT_TRUE(fs::is_empty(m_scratch.Path()));
    EXPECT_EQ(presentation->FullName(), Template());
}

TEST_F(SaveAs, OtherFormatsGoThroughTheConverter) {
    auto presentation = Presentation::Open(Template());
    bool hasConverter = std::system("command -v soffice >/dev/null 2>&1") == 0;
    try {
        fs::path written = presentation->SaveAs(m_scratch / "report", 32);
        EXPECT_TRUE(hasConverter);
        EXPECT_EQ(written, m_scratch / "report.pdf");
        std::ifstream pdf(written, std::ios::binary);
        std::string head(4, '\0');
        pdf.read(head.data(), 4);
        EXPECT_EQ(head, "%PDF");
    } catch (const PptxError& error) {
        EXPECT_FALSE(hasConverter) << error.what();
        EXPECT_FALSE(fs::exists(m_scratch / "report.pdf"));
    }
}

} // namespace
} // namespace slidesmith::pptx
