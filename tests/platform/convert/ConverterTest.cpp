#include "platform/convert/Converter.h"

#include "platform/convert/ConvertError.h"
#include "platform/convert/TempFolder.h"
#include "platform/pptx/ImageInfo.h"
#include "render/Render.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <zip.h>

namespace slidesmith::convert {
namespace {

using namespace std::chrono_literals;

const std::filesystem::path kFixtures = std::filesystem::path(SLIDESMITH_SHARED_FIXTURES) / "real";

#define SKIP_WITHOUT_FIXTURES()                                                                    \
    if (!std::filesystem::is_directory(kFixtures))                                                 \
    GTEST_SKIP() << "shared fixtures not found at " << kFixtures

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ConvertErrorText(const std::filesystem::path& input,
                             const std::filesystem::path& output, std::string_view extension,
                             std::chrono::milliseconds limit = kDefaultConvertTimeLimit) {
    try {
        ConvertPresentation(input, output, extension, limit);
    } catch (const ConvertError& error) {
        return error.what();
    }
    return "no error";
}

bool ZipHasEntry(const std::filesystem::path& file, const char* entry) {
    int error = 0;
    const std::unique_ptr<zip_t, decltype(&zip_discard)> archive(
        zip_open(file.c_str(), ZIP_RDONLY, &error), &zip_discard);
    return archive && zip_name_locate(archive.get(), entry, 0) >= 0;
}

TEST(ConvertPresentation, RendersARealPresentationThroughPathsWithBlanksAndQuotes) {
    SKIP_WITHOUT_FIXTURES();
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    const TempFolder work("slidesmith-test");
    const auto inFolder = work.Path() / "in 'odd' \"folder\"";
    const auto outFolder = work.Path() / "out $folder; *";
    std::filesystem::create_directories(inFolder);
    std::filesystem::create_directories(outFolder);
    const auto input = inFolder / "-my \"table\" 's.pptx";
    std::filesystem::copy_file(kFixtures / "table-merged-7x6-ppt2016.pptx", input);
    const auto pdf = outFolder / "re port.pdf";
    WriteText(pdf, "an older report");

    ConvertPresentation(input, pdf, ".PDF");

    const std::string text = render::PdfText(pdf);
    EXPECT_NE(text.find("Header1"), std::string::npos) << text;
    EXPECT_NE(text.find("Lorem"), std::string::npos) << text;
    EXPECT_EQ(render::PdfPageCount(pdf), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outFolder), {}), 1)
        << "only the report is left in its folder";

    // A 13.33 x 7.5 inch slide at 36 dpi; read back with our own header reader.
    const auto pages = render::RenderPngPages(pdf, 36);
    ASSERT_EQ(pages.size(), 1u);
    const pptx::ImageInfo page = pptx::ReadImageInfoFromFile(pages[0]);
    EXPECT_EQ(page.format, pptx::ImageFormat::Png);
    EXPECT_NEAR(page.widthPx, 480u, 1u); // the page is 960.009 points wide
    EXPECT_NEAR(page.heightPx, 270u, 1u);
}

TEST(ConvertPresentation, TurnsLegacyBinaryTemplatesIntoOpenXml) {
    SKIP_WITHOUT_FIXTURES();
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    const TempFolder work("slidesmith-test");
    for (const char* name : {"legacy-table.ppt", "legacy-msgraph-chart-govdocs.ppt"}) {
        SCOPED_TRACE(name);
        const auto output = work.Path() / (std::string(name) + ".pptx");
        ConvertPresentation(kFixtures / name, output, "pptx");
        EXPECT_TRUE(ZipHasEntry(output, "ppt/presentation.xml"));
        EXPECT_TRUE(ZipHasEntry(output, "[Content_Types].xml"));
    }
}

TEST(ConvertPresentation, QuotesLibreOfficeWhenItCannotLoadTheFile) {
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    const TempFolder work("slidesmith-test");
    const auto input = work.Path() / "broken.pptx";
    WriteText(input, "not a presentation");
    const auto output = work.Path() / "broken.pdf";

    const std::string message = ConvertErrorText(input, output, "pdf");
    EXPECT_NE(message.find("LibreOffice failed to convert \"" + input.string() + "\" to pdf: "),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("could not be loaded"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(ConvertPresentation, StopsLibreOfficeAtTheTimeLimit) {
    SKIP_WITHOUT_FIXTURES();
    SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE();
    const TempFolder work("slidesmith-test");
    const auto output = work.Path() / "late.pdf";
    const std::string message =
        ConvertErrorText(kFixtures / "table-merged-7x6-ppt2016.pptx", output, "pdf", 20ms);
    EXPECT_NE(message.find("did not finish converting"), std::string::npos) << message;
    EXPECT_NE(message.find("within 20 ms"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(ConvertPresentation, RefusesBeforeStartingLibreOffice) {
    const TempFolder work("slidesmith-test");
    const auto input = work.Path() / "report.pptx";
    WriteText(input, "whatever");
    const auto output = work.Path() / "out.pdf";

    EXPECT_EQ(ConvertErrorText(input, output, "docx"),
              "LibreOffice cannot convert a presentation to \"docx\"");

    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", "", 1);
    const std::string missing = ConvertErrorText(input, output, "pdf");
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(missing, "LibreOffice (soffice) is not installed; conversion to pdf is not possible");
    EXPECT_FALSE(std::filesystem::exists(output));
}

} // namespace
} // namespace slidesmith::convert
