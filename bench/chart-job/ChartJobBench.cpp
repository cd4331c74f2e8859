// Chart job: one CHART statement refills a bar chart (two sample categories, two series) with N
// categories from an SQLite table, through the whole run: definition read, connection, query,
// workbook rows inserted (or datasheet extended), cells written, caches rebuilt, report saved. Each
// size runs three times; the best time and the time per category are shown, so growth can be judged
// as linear or not.
#include "BenchRun.h"
#include "TemplateBuilder.h"
#include "TemplateText.h"
#include "platform/files/FileIo.h"
#include "platform/odbc/Connection.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <stdlib.h>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace slidesmith;
using Clock = std::chrono::steady_clock;

// The same chart with its embedded workbook (rows inserted between the sample records) and
// without one (its datasheet extended category by category).
// A datasheet ends at 4000 rows, so its largest job is the 3,999 categories it can hold.
struct Job {
    const char* name;
    const char* chartOptions;
    const char* statement;
    int sizes[3];
};
constexpr Job kJobs[] = {
    {"workbook", "", "@1 = CHART(SLIDE=1 CELL=A2)", {12, 1000, 10000}},
    {"datasheet", " cache-only", "@1 = CHART(SLIDE=1 CELL=01,A1 FILLORDER=ROW)", {12, 1000, 3999}},
};

std::string TemplateText(const Job& job) {
    return std::string("slide title-only\nplaceholder title \"Sales by month\"\n"
                       "chart Sales bar 0.5in 1.5in 9in 5in") +
           job.chartOptions +
           "\ncategories \"Sample 1\" \"Sample 2\"\nseries \"North\" 1 2\n"
           "series \"South\" 3 4\n";
}

void MakeDatabase(const fs::path& folder, int categories) {
    odbc::Connection connection;
    connection.Open("Driver=SQLite3;Database=" + (folder / "sales.db").string());
    connection.Execute("create table sales(i integer, label text, north real, south real)");
    connection.Execute("insert into sales with recursive n(i) as (select 1 union all select i + 1 "
                       "from n where i < " +
                       std::to_string(categories) +
                       ") select i, 'Month ' || i, i * 1.5, 1000 - i from n");
}

void WriteDefinition(const fs::path& folder, const Job& job) {
    const std::string text = "Slidemill Version 2.0\r\n[Data Source]\r\nName1=Sales\r\n"
                             "ConnectionString1=Driver=SQLite3;Database=sales.db\r\n[File]\r\n"
                             "ReportTemplateFileName=template.pptx\r\nReportFileName=Report.pptx"
                             "\r\nLogFileName=run.log\r\n[SQL]\r\n" +
                             std::string(job.statement) +
                             "\r\nselect label, north, south from sales order by i\r\n";
    files::WriteFileAtomically(folder / "chart.slm", text);
}

// One run, definition to saved report; returns seconds.
double RunOnce(const fs::path& folder) {
    const Clock::time_point start = Clock::now();
    const int errors = bench::RunDefinitionInBatch(folder / "chart.slm");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (errors != 0)
        throw std::runtime_error("the run logged errors; see " + (folder / "run.log").string());
    return seconds;
}

} // namespace

int main() {
    try {
        std::string pattern = (fs::temp_directory_path() / "slidesmith-chart-job-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("no temporary folder");
        const fs::path root = pattern;
        for (const Job& job : kJobs) {
            for (int categories : job.sizes) {
                const fs::path folder = root / job.name / std::to_string(categories);
                fs::create_directories(folder);
                testtools::WriteTemplate(testtools::ParseTemplateText(TemplateText(job)),
                                         folder / "template.pptx");
                MakeDatabase(folder, categories);
                WriteDefinition(folder, job);
                double best = 1e9;
                for (int round = 0; round < 3; ++round)
                    best = std::min(best, RunOnce(folder));
                const std::string log = files::ReadWholeFile(folder / "run.log");
                if (log.find("Returns " + std::to_string(categories) + " records") ==
                    std::string::npos)
                    throw std::runtime_error("the run did not fill the chart; see the log:\n" +
                                             log);
                std::printf("%-9s categories %5d: best of 3 %.3f s, %.1f us per category, "
                            "report %.1f kB\n",
                            job.name, categories, best, best * 1e6 / categories,
                            static_cast<double>(fs::file_size(folder / "Report.pptx")) / 1e3);
            }
        }
        fs::remove_all(root);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "chart job failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
