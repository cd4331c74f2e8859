#include "TableFillHarness.h"

#include "PackageChecker.h"
#include "fill/TableFillCommon.h"
#include "platform/pptx/ColourResolver.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

namespace slidesmith::fill::testing {

namespace {

const std::filesystem::path kFixture = std::filesystem::path(SLIDESMITH_SHARED_FIXTURES) / "real" /
                                       "tables-merged-styled-mac2011.pptx";

} // namespace

MemoryRecords NumberedRecords(int count, int first) {
    std::vector<std::vector<odbc::FieldValue>> rows;
    for (int k = first; k < first + count; ++k) {
        rows.push_back({odbc::FieldValue::FromInteger(k),
                        odbc::FieldValue::FromText("name " + std::to_string(k))});
    }
    return MemoryRecords({3, 200}, std::move(rows));
}

bool FillHarness::Open() {
    if (!std::filesystem::exists(kFixture)) {
        return false;
    }
    m_presentation = pptx::Presentation::Open(kFixture);
    statement.Label = "t";
    statement.Target = "1";
    statement.TargetOrdinal = 1;
    statement.FillOrder = script::FillOrder::Row;
    return true;
}

void FillHarness::ShapeTable(std::size_t slide, const TableTexts& rows) {
    pptx::SlidePart& part = m_presentation->Slide(slide);
    pptx::TableEditor table = part.Table(FindTableShape(part, 1));
    while (table.RowCount() < rows.size()) {
        table.AddRow(table.RowCount() + 1);
    }
    while (table.RowCount() > rows.size()) {
        table.DeleteRow(table.RowCount());
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < table.ColumnCount(); ++c) {
            table.CellText(r + 1, c + 1).SetText(c < rows[r].size() ? rows[r][c] : "");
        }
    }
}

void FillHarness::ColourCell(std::size_t slide, std::size_t row, std::size_t column,
                             std::size_t start, std::size_t length, std::uint32_t rgb) {
    pptx::SlidePart& part = m_presentation->Slide(slide);
    part.Table(FindTableShape(part, 1)).CellText(row, column).SetColour(start, length, rgb);
}

TableFillResult FillHarness::Run(std::size_t slide, TableFillResult (*fill)(TableFillContext&)) {
    pptx::SlidePart& part = m_presentation->Slide(slide);
    TableFillContext context{
        statement, *m_presentation, slide,  FindTableShape(part, statement.TargetOrdinal),
        records,   reporter,        options};
    return fill(context);
}

TableFillResult FillHarness::RunFixed(std::size_t slide) {
    return Run(slide, FillFixedTable);
}
TableFillResult FillHarness::RunGrowing(std::size_t slide) {
    return Run(slide, FillGrowingTable);
}

FillHarness::~FillHarness() {
    if (!savedPath.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(savedPath.parent_path(), ignored);
    }
}

pptx::Presentation& FillHarness::SaveAndReopen() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("slidesmith-fill-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "-" + test->name();
    std::replace(name.begin(), name.end(), '/', '-'); // parameterised tests
    savedPath = m_presentation->SaveAs(folder / (name + ".pptx"), 24);
    // Whatever the fill did to rows, slides and shapes must leave a file PowerPoint opens.
    const std::vector<testtools::Finding> findings = testtools::CheckPackage(savedPath);
    EXPECT_FALSE(testtools::HasErrors(findings)) << testtools::Describe(findings);
    m_presentation = pptx::Presentation::Open(savedPath);
    return *m_presentation;
}

TableTexts FillHarness::Texts(std::size_t slide) {
    pptx::SlidePart& part = m_presentation->Slide(slide);
    pptx::TableEditor table = part.Table(FindTableShape(part, 1));
    TableTexts texts(table.RowCount());
    for (std::size_t r = 1; r <= table.RowCount(); ++r) {
        for (std::size_t c = 1; c <= table.ColumnCount(); ++c) {
            texts[r - 1].push_back(table.CellText(r, c).Text());
        }
    }
    return texts;
}

std::uint32_t FillHarness::TextColour(std::size_t slide, std::size_t row, std::size_t column) {
    pptx::SlidePart& part = m_presentation->Slide(slide);
    const pptx::Shape shape = FindTableShape(part, 1);
    const pptx::ColourContext colours = part.ColourContextFor(shape);
    return pptx::ColourResolver(colours).TextColour(part.Table(shape).CellText(row, column), 0);
}

} // namespace slidesmith::fill::testing
