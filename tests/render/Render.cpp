#include "render/Render.h"

#include "platform/convert/ChildProcess.h"
#include "platform/convert/Converter.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace slidesmith::render {
namespace {

constexpr std::chrono::milliseconds kToolTimeLimit{std::chrono::seconds(60)};

std::filesystem::path Tool(const char* name) {
    auto program = convert::FindProgram(name);
    if (!program) {
        throw std::runtime_error(std::string(name) + " is not on PATH (poppler-utils)");
    }
    return *program;
}

std::string RunTool(const char* name, const std::vector<std::string>& arguments) {
    const convert::ProcessResult result =
        convert::RunChildProcess(Tool(name), arguments, kToolTimeLimit);
    if (result.timedOut || result.exitStatus != 0) {
        std::string call = name;
        for (const std::string& argument : arguments) {
            call += " " + argument;
        }
        throw std::runtime_error(call + (result.timedOut ? " timed out" : " failed") + ": " +
                                 result.output);
    }
    return result.output;
}

} // namespace

bool LibreOfficeAvailable() {
    return convert::FindLibreOffice() && convert::FindProgram("pdftotext") &&
           convert::FindProgram("pdfinfo") && convert::FindProgram("pdftoppm");
}

void RenderToPdf(const std::filesystem::path& presentation, const std::filesystem::path& pdf) {
    convert::ConvertPresentation(presentation, pdf, "pdf");
}

std::filesystem::path RenderToPdf(const std::filesystem::path& presentation) {
    std::filesystem::path pdf = presentation;
    pdf.replace_extension(".pdf");
    RenderToPdf(presentation, pdf);
    return pdf;
}

std::string PdfText(const std::filesystem::path& pdf) {
    return RunTool("pdftotext", {"-layout", "-enc", "UTF-8", pdf.string(), "-"});
}

int PdfPageCount(const std::filesystem::path& pdf) {
    const std::string info = RunTool("pdfinfo", {pdf.string()});
    const std::size_t line = info.find("\nPages:");
    if (line == std::string::npos) {
        throw std::runtime_error("pdfinfo gives no page count for " + pdf.string());
    }
    return std::stoi(info.substr(line + 7));
}

std::vector<std::filesystem::path> RenderPngPages(const std::filesystem::path& pdf, int dpi) {
    const std::string prefix = pdf.stem().string() + "-page";
    const std::filesystem::path folder = pdf.parent_path();
    const auto ownPages = [&] {
        std::vector<std::filesystem::path> pages;
        for (const auto& entry :
             std::filesystem::directory_iterator(folder.empty() ? "." : folder)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix + "-", 0) == 0 && entry.path().extension() == ".png") {
                pages.push_back(entry.path());
            }
        }
        std::sort(pages.begin(), pages.end());
        return pages;
    };
    // Pages of an earlier, longer rendering would otherwise be taken for this one's.
    for (const auto& old : ownPages()) {
        std::filesystem::remove(old);
    }
    RunTool("pdftoppm",
            {"-png", "-r", std::to_string(dpi), pdf.string(), (folder / prefix).string()});
    // pdftoppm numbers pages with as many digits as the last page needs, so names of one
    // rendering sort in page order.
    return ownPages();
}

} // namespace slidesmith::render
