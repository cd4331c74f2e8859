// Pagination workload: a template with one 4-column table slide; the slide is duplicated once
// per page, every copy's table grows to 20 data rows and every cell gets a text, then the report
// is saved. Each size runs in its own process so its peak memory is its own. The floor is the
// time to write the same parts into a zip with the same compressor, the least any save costs.
#include "BenchProcess.h"
#include "BenchTemplate.h"
#include "platform/pptx/ParallelDeflate.h"
#include "platform/pptx/Presentation.h"
#include "platform/pptx/TableEditor.h"
#include "platform/pptx/ZipArchive.h"
#include "platform/pptx/ZipWriter.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace slidesmith::pptx;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kRowsPerPage = 20;
constexpr std::size_t kColumns = 4;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Fills one page: the table grows from one data row to 20 and every cell gets a text.
void FillPage(SlidePart& slide, std::size_t page) {
    TableEditor table = slide.Table(slide.Shapes().Find("Table 3"));
    for (std::size_t added = 1; added < kRowsPerPage; ++added)
        table.AddRow(table.RowCount() + 1);
    for (std::size_t row = 0; row < kRowsPerPage; ++row) {
        std::size_t record = page * kRowsPerPage + row + 1;
        for (std::size_t column = 1; column <= kColumns; ++column)
            table.CellText(row + 2, column)
                .SetText("Record " + std::to_string(record) + " field " + std::to_string(column));
    }
}

void RunReport(std::size_t pages, bool release, const fs::path& out) {
    Clock::time_point start = Clock::now();
    Presentation presentation(slidesmith::bench::MakeTableTemplate(kColumns),
                              "bench-template.pptx");
    for (std::size_t page = 1; page < pages; ++page)
        presentation.Duplicate(page - 1);
    double duplicated = Seconds(start);
    for (std::size_t page = 0; page < pages; ++page) {
        FillPage(presentation.Slide(page), page);
        if (release)
            presentation.Slide(page).Release();
    }
    double filled = Seconds(start);
    double filledPeak = slidesmith::bench::PeakMegabytes();
    presentation.SaveAs(out, 1);
    double total = Seconds(start);
    std::printf("pages %zu%s: duplicate %.3f s, fill %.3f s, save %.3f s, total %.3f s, "
                "peak %.0f MB (%.0f MB before saving), output %.1f MB\n",
                pages, release ? " (pages released when filled)" : "", duplicated,
                filled - duplicated, total - filled, total, slidesmith::bench::PeakMegabytes(),
                filledPeak, static_cast<double>(fs::file_size(out)) / 1e6);
}

// The least a save of this output costs: deflate every part with the same compressor on all
// cores and write the archive.
void RunFloor(const fs::path& report, const fs::path& out) {
    std::ifstream in(report, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ZipArchive archive(std::move(bytes), report.string());
    std::vector<std::string> contents;
    for (std::size_t i = 0; i < archive.EntryCount(); ++i)
        contents.push_back(archive.ReadInflated(i));
    Clock::time_point start = Clock::now();
    std::vector<DeflateJob> jobs;
    for (const std::string& content : contents)
        jobs.emplace_back().input = content;
    DeflateAll(jobs);
    ZipWriter writer(out.string());
    for (std::size_t i = 0; i < jobs.size(); ++i)
        writer.AddEntry(archive.Entry(i).name, jobs[i].method, jobs[i].crc, contents[i].size(),
                        jobs[i].output);
    std::string zip = writer.Finish();
    std::ofstream(out, std::ios::binary)
        .write(zip.data(), static_cast<std::streamsize>(zip.size()));
    std::printf("floor for %s: %.3f s (%zu parts)\n", report.filename().c_str(), Seconds(start),
                jobs.size());
}

} // namespace

// Usage: slidesmith_bench_pagination [pages [folder]]: one size only; with a folder the reports
// are written there and kept (to check them with the package checker).
int main(int argc, char** argv) {
    std::vector<std::size_t> sizes{500, 5000};
    if (argc > 1)
        sizes = {static_cast<std::size_t>(std::stoul(argv[1]))};
    bool keep = argc > 2;
    fs::path folder =
        keep ? fs::path(argv[2])
             : fs::temp_directory_path() / ("slidesmith-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    for (std::size_t pages : sizes) {
        fs::path report = folder / ("report-" + std::to_string(pages) + ".pptx");
        slidesmith::bench::RunInChild([&] { RunReport(pages, false, report); });
        slidesmith::bench::RunInChild([&] { RunReport(pages, true, report); });
        slidesmith::bench::RunInChild([&] { RunFloor(report, folder / "floor.pptx"); });
    }
    if (!keep)
        fs::remove_all(folder);
    return 0;
}
