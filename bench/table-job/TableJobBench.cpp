// The table job: N records from an SQLite database into a growing four-column table, 20 records
// per slide, by a batch run of a definition, timed from loading the definition to the saved
// report. Each size runs in its own process, so its peak memory is the run's own; the database
// is built beforehand and not timed.
#include "BenchProcess.h"
#include "BenchRun.h"
#include "BenchTemplate.h"
#include "platform/files/FileIo.h"
#include "platform/odbc/Connection.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace slidesmith;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kRecordsPerPage = 20;
constexpr std::size_t kRowsPerInsert = 500;

// sales(id, region, product, amount): texts of a realistic length and amounts with cents, some
// negative, so every value goes through the cell formatting.
void CreateDatabase(const fs::path& file, std::size_t records) {
    const char* regions[] = {"North", "South", "East", "West", "Central"};
    odbc::Connection connection;
    connection.Open("Driver=SQLite3;Database=" + file.string());
    connection.Execute("create table sales (id integer, region varchar(40), "
                       "product varchar(80), amount double)");
    for (std::size_t first = 0; first < records; first += kRowsPerInsert) {
        std::string insert = "insert into sales values ";
        for (std::size_t id = first; id < std::min(records, first + kRowsPerInsert); ++id) {
            const long long cents = static_cast<long long>((id * 7919) % 200000) - 40000;
            insert += (id > first ? ", (" : "(") + std::to_string(id + 1) + ", '" +
                      regions[id % 5] + "', 'Product number " + std::to_string(id % 977) + "', " +
                      std::to_string(static_cast<double>(cents) / 100.0) + ")";
        }
        connection.Execute(insert);
    }
}

void WriteJob(const fs::path& folder) {
    files::WriteFileAtomically(folder / "template.pptx", bench::MakeTableTemplate(4));
    files::WriteFileAtomically(folder / "job.slm",
                               "Slidemill Version 2.0\r\n[Data Source]\r\nName1=Bench\r\n"
                               "ConnectionString1=Driver=SQLite3;Database=bench.db\r\n\r\n"
                               "[File]\r\nReportTemplateFileName=template.pptx\r\n"
                               "ReportFileName=report.pptx\r\nLogFileName=run.log\r\n[SQL]\r\n"
                               "@1 = REPORT(SLIDE=1 CELL=A2,B2,C2,D2 PAGEBREAK=" +
                                   std::to_string(kRecordsPerPage) +
                                   ")\r\nselect id, region, product, amount from sales "
                                   "order by id\r\n");
}

void RunJob(const fs::path& folder, std::size_t records) {
    const Clock::time_point start = Clock::now();
    const int errors = bench::RunDefinitionInBatch(folder / "job.slm");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const std::uintmax_t bytes = fs::file_size(folder / "report.pptx");
    std::printf("records %zu (%zu slides): %.3f s, %.1f us/record, peak %.0f MB, report %.1f MB, "
                "%d errors\n",
                records, (records + kRecordsPerPage - 1) / kRecordsPerPage, seconds,
                seconds * 1e6 / static_cast<double>(records), bench::PeakMegabytes(),
                static_cast<double>(bytes) / 1e6, errors);
    if (errors > 0)
        std::printf("  see %s\n", (folder / "run.log").c_str());
}

} // namespace

// Usage: slidesmith_bench_table_job [records [folder]]: one size only; with a folder the job,
// its report and log are kept there.
int main(int argc, char** argv) {
    std::vector<std::size_t> sizes{10000, 100000};
    if (argc > 1)
        sizes = {static_cast<std::size_t>(std::stoul(argv[1]))};
    const bool keep = argc > 2;
    const fs::path root =
        keep ? fs::path(argv[2])
             : fs::temp_directory_path() / ("slidesmith-table-job-" + std::to_string(getpid()));
    for (std::size_t records : sizes) {
        const fs::path folder = root / std::to_string(records);
        fs::remove_all(folder);
        fs::create_directories(folder);
        CreateDatabase(folder / "bench.db", records);
        WriteJob(folder);
        bench::RunInChild([&] { RunJob(folder, records); });
    }
    if (!keep)
        fs::remove_all(root);
    return 0;
}
