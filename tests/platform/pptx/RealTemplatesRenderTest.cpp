#include "PackageTestSupport.h"
#include "platform/pptx/Presentation.h"
#include "render/Render.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace slidesmith::pptx {
namespace {

namespace fs = std::filesystem;
using testing::RealPackages;
using testing::ScratchFolder;

std::string Words(const std::string& text) {
    std::istringstream in(text);
    std::string word, words;
    while (in >> word)
        words += word + ' ';
    return words;
}

// The characters of a text without blanks, sorted: a hyperlink whose target slide was deleted
// is removed, and its text then wraps differently, so after duplicating and deleting only the
// characters are compared, not their line breaks.
std::string Characters(const std::string& text) {
    std::string characters;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            characters += c;
    std::sort(characters.begin(), characters.end());
    return characters;
}

// Saved as they are, and with every slide duplicated and the originals deleted, the real
// presentations render in LibreOffice with the same pages and the same text as the originals.
// One LibreOffice start converts all of them, which keeps the test to about half a minute.
TEST(RealTemplatesRendering, SavedAndDuplicatedCopiesShowThePagesAndTextsOfTheOriginal) {
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    const auto packages = RealPackages();
    if (packages.empty())
        GTEST_SKIP() << "needs the shared fixtures";
    ScratchFolder scratch;
    for (const fs::path& package : packages) {
        const std::string stem = package.stem().string(), ext = package.extension().string();
        fs::copy_file(package, scratch / (stem + "-in" + ext));
        Presentation::Open(package)->SaveAs(scratch / (stem + "-same" + ext), 1);
        auto copy = Presentation::Open(package);
        const std::size_t count = copy->SlideCount();
        for (std::size_t i = 0; i < count; ++i)
            copy->Duplicate(2 * i);
        for (std::size_t i = 0; i < count; ++i)
            copy->Delete(i);
        copy->SaveAs(scratch / (stem + "-dup" + ext), 1);
    }
    const std::string command = "cd '" + scratch.Path().string() +
                                "' && soffice -env:UserInstallation=file://" +
                                scratch.Path().string() +
                                "/profile --headless --norestore --convert-to pdf *.pptx *.potx"
                                " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const fs::path& package : packages) {
        const std::string stem = package.stem().string();
        const fs::path original = scratch / (stem + "-in.pdf");
        const std::string text = render::PdfText(original);
        const fs::path same = scratch / (stem + "-same.pdf"), dup = scratch / (stem + "-dup.pdf");
        ASSERT_TRUE(fs::exists(same) && fs::exists(dup)) << stem;
        EXPECT_EQ(render::PdfPageCount(same), render::PdfPageCount(original)) << stem;
        EXPECT_EQ(Words(render::PdfText(same)), Words(text)) << stem;
        EXPECT_EQ(render::PdfPageCount(dup), render::PdfPageCount(original)) << stem;
        EXPECT_EQ(Characters(render::PdfText(dup)), Characters(text)) << stem;
    }
}

} // namespace
} // namespace slidesmith::pptx
