// Form job workload: a slide with six named shapes (five texts, one picture box asking for
// 60 pt wide pictures); every record gets a copy of the slide, its texts and one of 50
// distinct pictures from files; then the report is saved. Each size runs in its own process so
// its peak memory is its own. Prints times, peak memory, the media parts stored and the ratio
// of the larger run's time to the smaller's.
#include "BenchProcess.h"
#include "BenchTemplate.h"
#include "fill/FormFill.h"
#include "platform/files/FileIo.h"
#include "platform/pptx/Presentation.h"
#include "platform/pptx/ZipArchive.h"

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

constexpr int kPictures = 50;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string TextShape(int id, const std::string& name, int y, const std::string& text) {
    return "<p:sp><p:nvSpPr><p:cNvPr id=\"" + std::to_string(id) + "\" name=\"" + name +
           "\"/><p:cNvSpPr txBox=\"1\"/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm><a:off x=\"457200\" "
           "y=\"" +
           std::to_string(y) +
           "\"/><a:ext cx=\"4572000\" cy=\"457200\"/></a:xfrm><a:prstGeom prst=\"rect\">"
           "<a:avLst/></a:prstGeom></p:spPr><p:txBody><a:bodyPr/><a:lstStyle/><a:p><a:r>"
           "<a:rPr lang=\"en-US\" sz=\"1800\"/><a:t>" +
           text + "</a:t></a:r></a:p></p:txBody></p:sp>";
}

// The six named shapes of the form, in a document of their own to copy from.
std::string FormShapes() {
    return R"(<p:spTree xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
           R"(xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main">)" +
           TextShape(2, "Name", 457200, "") + TextShape(3, "Customer", 1005840, "") +
           TextShape(4, "Amount", 1554480, "#,##0.00;(#,##0.00)") +
           TextShape(5, "Region", 2103120, "") + TextShape(6, "Note", 2651760, "") +
           TextShape(7, "Photo", 3200400, "W60") + "</p:spTree>";
}

// The benchmarks' table template with its table replaced by the form's shapes.
void MakeForm(pptx::Presentation& presentation) {
    pptx::ShapeTree& shapes = presentation.Slide(0).Shapes();
    while (shapes.Count() > 0)
        shapes.Remove(1);
    pugi::xml_document form;
    form.load_string(FormShapes().c_str());
    for (pugi::xml_node shape : form.document_element().children())
        shapes.InsertShape(shape);
}

// A 64 x 48 pixel 24-bit BMP of one colour: distinct bytes per picture, no encoder needed.
std::string Bitmap(int index) {
    constexpr int kWidth = 64;
    constexpr int kHeight = 48;
    const std::size_t pixels = static_cast<std::size_t>(kWidth) * kHeight * 3;
    std::string bmp(54 + pixels, '\0');
    const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(bmp.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, kWidth, 4);
    put(22, kHeight, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, static_cast<std::uint32_t>(pixels), 4);
    for (std::size_t p = 0; p < pixels; p += 3) {
        bmp[54 + p] = static_cast<char>(index * 5);
        bmp[54 + p + 1] = static_cast<char>(255 - index * 5);
        bmp[54 + p + 2] = static_cast<char>(p % 251);
    }
    return bmp;
}

// The records of the job, made as they are read: four texts, an amount and a picture name.
class JobRecords final : public fill::RecordSource {
public:
    explicit JobRecords(std::size_t count) : m_count(count) {}
    std::size_t RecordCount() const override { return m_count; }
    std::size_t FieldCount() const override { return 6; }
    int FieldTypeCode(std::size_t field) const override { return field == 2 ? 5 : 200; }
    std::string FieldName(std::size_t field) const override {
        return "F" + std::to_string(field + 1);
    }
    odbc::FieldValue ReadValue(std::size_t field) override {
        const std::string n = std::to_string(m_position + 1);
        switch (field) {
        case 0:
            return odbc::FieldValue::FromText("Record " + n);
        case 1:
            return odbc::FieldValue::FromText("Customer " + n);
        case 2:
            return odbc::FieldValue::FromDouble(static_cast<double>(m_position) * 12.5 - 4000);
        case 3:
            return odbc::FieldValue::FromText(m_position % 2 == 0 ? "North" : "South");
        case 4:
            return odbc::FieldValue::FromText("A note for record " + n);
        default:
            return odbc::FieldValue::FromText("pics/p" + std::to_string(m_position % kPictures) +
                                              ".bmp");
        }
    }
    void MoveNext() override { ++m_position; }
    void Close() override {}

private:
    std::size_t m_count;
    std::size_t m_position = 0;
};

class QuietReporter final : public fill::FillReporter {
public:
    void WriteLine(std::string_view) override {}
    void LogError(std::string_view message, std::string_view information) override {
        std::fprintf(stderr, "error: %.*s %.*s\n", static_cast<int>(message.size()), message.data(),
                     static_cast<int>(information.size()), information.data());
    }
    void ShowRecordProgress(std::string_view) override {}
    void LetPendingEventsRun() override {}
    bool Interrupted() const override { return false; }
};

void RunJob(std::size_t records, const fs::path& folder) {
    const Clock::time_point start = Clock::now();
    pptx::Presentation presentation(bench::MakeTableTemplate(1), folder / "template.pptx");
    MakeForm(presentation);
    script::StatementRecord statement;
    statement.Label = "form";
    statement.TableType = script::TableType::Form;
    statement.Cells = {"Name", "Customer", "Amount", "Region", "Note", "Photo"};
    statement.Images = {"6"};
    JobRecords source(records);
    QuietReporter reporter;
    fill::FillOptions options;
    options.templateFolder = folder.string();
    fill::TableFillContext context{statement, presentation, 0, {}, source, reporter, options};
    const bool ok = fill::FillForm(context).success;
    const double filled = Seconds(start);
    const fs::path out = folder / ("form-" + std::to_string(records) + ".pptx");
    presentation.SaveAs(out, 24);
    const double total = Seconds(start);
    std::size_t media = 0;
    const pptx::ZipArchive saved(files::ReadWholeFile(out), out.string());
    for (std::size_t i = 0; i < saved.EntryCount(); ++i)
        media += saved.Entry(i).name.starts_with("ppt/media/") ? 1 : 0;
    std::printf("records %zu: %s, fill %.3f s, save %.3f s, total %.3f s, peak %.0f MB, "
                "slides %zu, media parts %zu, output %.1f MB\n",
                records, ok ? "ok" : "FAILED", filled, total - filled, total,
                bench::PeakMegabytes(), presentation.SlideCount(), media,
                static_cast<double>(fs::file_size(out)) / 1e6);
}

} // namespace

// Usage: slidesmith_bench_form_job [records [folder]]: one size only; with a folder the
// pictures and reports are written there and kept (to check them with the package checker).
int main(int argc, char** argv) {
    std::vector<std::size_t> sizes{1000, 10000};
    if (argc > 1)
        sizes = {static_cast<std::size_t>(std::stoul(argv[1]))};
    const bool keep = argc > 2;
    const fs::path folder =
        keep ? fs::path(argv[2])
             : fs::temp_directory_path() / ("slidesmith-form-job-" + std::to_string(getpid()));
    fs::create_directories(folder / "pics");
    for (int i = 0; i < kPictures; ++i)
        files::WriteFileAtomically(folder / "pics" / ("p" + std::to_string(i) + ".bmp"), Bitmap(i));
    for (std::size_t records : sizes)
        bench::RunInChild([&] { RunJob(records, folder); });
    if (!keep)
        fs::remove_all(folder);
    return 0;
}
