// Grouped table job: a definition fills a two-level grouped table from SQLite (regions and
// products with header rows of their own, a page per product, 20 records a page) and saves
// the report, run through the engine as batch mode runs it. Each size runs in its own process
// so its peak memory is its own; the database is made before the clock starts.
#include "BenchProcess.h"
#include "BenchRun.h"
#include "BenchTemplate.h"
#include "platform/files/FileIo.h"
#include "platform/odbc/Connection.h"
#include "platform/pptx/Presentation.h"
#include "platform/pptx/TableEditor.h"

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

void MakeDatabase(const fs::path& file, std::size_t records) {
    odbc::Connection connection;
    connection.Open("Driver=SQLite3;Database=" + file.string());
    connection.Execute("create table sales(i integer, region text, product text, month text, "
                       "amount integer)");
    // 25 products of 20 records per region.
    connection.Execute("insert into sales with recursive n(i) as (select 0 union all select i + "
                       "1 from n where i < " +
                       std::to_string(records - 1) +
                       ") select i, printf('Region %04d', i / 500), printf('Product %05d', i / "
                       "20), 'M' || (i % 20), (i * 37) % 2000 - 500 from n");
}

// The template's table: column titles, a region header row, a product header row, a detail
// row with a number format and a totals row.
void WriteTemplate(const fs::path& file) {
    pptx::Presentation presentation(bench::MakeTableTemplate(3), file);
    pptx::SlidePart& slide = presentation.Slide(0);
    pptx::TableEditor table = slide.Table(slide.Shapes().Find("Table 3"));
    const std::vector<std::vector<std::string>> texts = {{"Month", "Amount", "Note"},
                                                         {"@", "region", ""},
                                                         {"@", "", ""},
                                                         {"", "#,##0;-#,##0", ""},
                                                         {"Total", "", ""}};
    while (table.RowCount() < texts.size())
        table.AddRow(table.RowCount() + 1);
    for (std::size_t row = 0; row < texts.size(); ++row)
        for (std::size_t column = 0; column < texts[row].size(); ++column)
            table.CellText(row + 1, column + 1).SetText(texts[row][column]);
    presentation.SaveAs(file, 1);
}

void WriteDefinition(const fs::path& file) {
    const std::string text =
        "Slidemill Version 2.0\r\n[Data Source]\r\nName1=Sales\r\n"
        "ConnectionString1=Driver=SQLite3;Database=sales.db\r\n[File]\r\n"
        "ReportTemplateFileName=template.pptx\r\nReportFileName=report.pptx\r\n"
        "LogFileName=run.log\r\n[SQL]\r\n"
        "@1 = REPORT(SLIDE=1 CELL=A2,A3,A4,B4 GROUP=region GROUPRANGE=A2:C2 GROUP=product "
        "PAGEBREAK=G2)\r\nselect region, product, month, amount from sales order by i\r\n";
    files::WriteFileAtomically(file, text);
}

void RunJob(std::size_t records, const fs::path& folder) {
    fs::create_directories(folder);
    MakeDatabase(folder / "sales.db", records);
    WriteTemplate(folder / "template.pptx");
    WriteDefinition(folder / "job.slm");
    const Clock::time_point start = Clock::now();
    const int errors = bench::RunDefinitionInBatch(folder / "job.slm");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("records %zu: %.3f s, peak %.0f MB, errors %d, report %.1f MB\n", records, seconds,
                bench::PeakMegabytes(), errors,
                static_cast<double>(fs::file_size(folder / "report.pptx")) / 1e6);
}

} // namespace

// Usage: slidesmith_bench_grouped_table_job [records [folder]]: one size only; with a folder
// the job's files are kept there (to look at the report).
int main(int argc, char** argv) {
    std::vector<std::size_t> sizes{10000, 100000};
    if (argc > 1)
        sizes = {static_cast<std::size_t>(std::stoul(argv[1]))};
    const bool keep = argc > 2;
    const fs::path folder =
        keep ? fs::path(argv[2])
             : fs::temp_directory_path() / ("slidesmith-bench-" + std::to_string(getpid()));
    for (std::size_t records : sizes)
        bench::RunInChild([&] { RunJob(records, folder / std::to_string(records)); });
    if (!keep)
        fs::remove_all(folder);
    return 0;
}
