#include "PackageTestSupport.h"
#include "platform/pptx/PptxError.h"
#include "platform/pptx/Presentation.h"

#include <gtest/gtest.h>
#include <set>

namespace slidesmith::pptx {
namespace {

namespace fs = std::filesystem;
using testing::CheckPackage;
using testing::ReadRawEntries;
using testing::RealPackages;
using testing::ScratchFolder;

std::string TestName(const ::testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.stem().string();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

std::map<std::string, int> CountByFolder(const fs::path& path) {
    std::map<std::string, int> counts;
    for (const auto& [name, entry] : ReadRawEntries(path)) {
        if (name.back() == '/')
            continue;
        std::string folder = name.substr(0, name.rfind('/') + 1);
        if (folder == "ppt/slides/" || folder == "ppt/notesSlides/" || folder == "ppt/charts/" ||
            folder == "ppt/embeddings/" || folder == "ppt/media/")
            ++counts[folder];
    }
    return counts;
}

// Problems with part numbers masked, so a copy's inherited defect matches its original's.
std::multiset<std::string> Masked(const std::vector<std::string>& problems) {
    std::multiset<std::string> masked;
    for (const std::string& problem : problems) {
        std::string text;
        for (char c : problem) {
            if (!std::isdigit(static_cast<unsigned char>(c)))
                text.push_back(c);
            else if (text.empty() || text.back() != '#')
                text.push_back('#');
        }
        masked.insert(text);
    }
    return masked;
}

// Every defect of the output was already in the template (producers leave some behind).
void ExpectNoNewDefects(const fs::path& out, const fs::path& original) {
    std::multiset<std::string> before = Masked(CheckPackage(original));
    for (const std::string& problem : Masked(CheckPackage(out))) {
        auto found = before.find(problem);
        EXPECT_NE(found, before.end()) << problem;
        if (found != before.end())
            before.erase(found);
    }
}

class RealTemplate : public ::testing::TestWithParam<fs::path> {
protected:
    ScratchFolder m_scratch;
};

TEST_P(RealTemplate, SavesUntouchedPartsAsTheirOriginalCompressedBytes) {
    auto presentation = Presentation::Open(GetParam());
    fs::path out = m_scratch / ("copy" + GetParam().extension().string());
    presentation->SaveAs(out, 1);

    auto before = ReadRawEntries(GetParam());
    auto after = ReadRawEntries(out);
    for (const auto& [name, entry] : before) {
        if (name.back() == '/')
            continue;
        ASSERT_EQ(after.count(name), 1u) << name;
        // The slide count in app.xml is refreshed when a producer left it wrong.
        if (name == "docProps/app.xml")
            continue;
        EXPECT_EQ(after[name].method, entry.method) << name;
        EXPECT_EQ(after[name].crc, entry.crc) << name;
        EXPECT_TRUE(after[name].bytes == entry.bytes) << name;
    }
    auto reopened = Presentation::Open(out);
    EXPECT_EQ(reopened->SlideCount(), presentation->SlideCount());
    ExpectNoNewDefects(out, GetParam());
}

TEST_P(RealTemplate, CopiesOfEverySlideReplaceTheOriginalsCleanly) {
    auto presentation = Presentation::Open(GetParam());
    std::size_t count = presentation->SlideCount();
    std::vector<std::string> originals;
    for (std::size_t i = 0; i < count; ++i)
        originals.push_back(presentation->Slide(i).PartName());
    for (std::size_t i = count; i-- > 0;) {
        SlidePart& copy = presentation->Duplicate(i);
        ASSERT_EQ(presentation->IndexOf(copy), i + 1);
    }
    ASSERT_EQ(presentation->SlideCount(), 2 * count);
    for (std::size_t i = 0; i < count; ++i)
        presentation->Delete(i);
    fs::path out = m_scratch / "copies.pptx";
    presentation->SaveAs(out, 24);

    ExpectNoNewDefects(out, GetParam());
    auto entries = ReadRawEntries(out);
    for (const std::string& original : originals)
        EXPECT_EQ(entries.count(original), 0u) << original << " should be gone";
    // Each copy took its own notes, charts and workbooks and the originals left with theirs;
    // shared media stayed exactly once.
    EXPECT_EQ(CountByFolder(out), CountByFolder(GetParam()));
    EXPECT_EQ(Presentation::Open(out)->SlideCount(), count);
}

INSTANTIATE_TEST_SUITE_P(SharedFixtures, RealTemplate, ::testing::ValuesIn(RealPackages()),
                         TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RealTemplate);

TEST(LegacyTemplate, IsConvertedBeforeItOpens) {
    fs::path legacy = testing::RealFixtures() / "legacy-table.ppt";
    if (!fs::exists(legacy) || std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs the shared fixtures and LibreOffice";
    auto presentation = Presentation::Open(legacy);
    EXPECT_EQ(presentation->SlideCount(), 1u);
    EXPECT_EQ(presentation->FullName(), legacy);
    ScratchFolder scratch;
    fs::path out = presentation->SaveAs(scratch / "from-legacy", 1);
    EXPECT_EQ(out.filename(), "from-legacy.pptx");
    // LibreOffice writes layouts and masters with repeated shape ids; those parts are copied
    // untouched, so only findings elsewhere are ours.
    for (const std::string& finding : CheckPackage(out)) {
        EXPECT_TRUE(finding.find("ppt/slideLayouts/") != std::string::npos ||
                    finding.find("ppt/slideMasters/") != std::string::npos)
            << finding;
    }
}

} // namespace
} // namespace slidesmith::pptx
