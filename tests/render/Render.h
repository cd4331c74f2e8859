#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Shows what a viewer makes of a presentation: LibreOffice renders it to PDF, poppler turns the
// PDF into text and PNG pages. For tests that check output beyond its XML. Every function throws
// (ConvertError or std::runtime_error) with the tool's message when a tool fails.
namespace slidesmith::render {

// True when soffice (or libreoffice), pdftotext, pdfinfo and pdftoppm are all on PATH. Tests
// that render check it first: SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE().
bool LibreOfficeAvailable();

// Renders a presentation to PDF at `pdf`, or beside the presentation with the extension .pdf
// (returned). Each rendering starts LibreOffice, a second or two: render once per test.
void RenderToPdf(const std::filesystem::path& presentation, const std::filesystem::path& pdf);
std::filesystem::path RenderToPdf(const std::filesystem::path& presentation);

// The PDF's text in reading layout (pdftotext -layout), pages separated by form feeds.
std::string PdfText(const std::filesystem::path& pdf);

int PdfPageCount(const std::filesystem::path& pdf);

// Renders every page to a PNG beside the PDF (<stem>-page-<n>.png) at `dpi` dots per inch and
// returns the files in page order.
std::vector<std::filesystem::path> RenderPngPages(const std::filesystem::path& pdf, int dpi);

} // namespace slidesmith::render

#define SLIDESMITH_SKIP_WITHOUT_LIBREOFFICE()                                                      \
    if (!::slidesmith::render::LibreOfficeAvailable())                                             \
    GTEST_SKIP() << "LibreOffice or poppler-utils (pdftotext, pdfinfo, pdftoppm) not on PATH"
