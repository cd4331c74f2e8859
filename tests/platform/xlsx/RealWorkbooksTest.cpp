#include "../pptx/PackageTestSupport.h"
#include "PackageFiles.h"
#include "WorkbookTestSupport.h"
#include "platform/xlsx/Workbook.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace slidesmith::xlsx {
namespace {

namespace fs = std::filesystem;

struct Embedded {
    std::string label; // presentation file and part
    std::string bytes;
};

std::vector<Embedded> EmbeddedWorkbooks() {
    std::vector<Embedded> found;
    for (const fs::path& path : pptx::testing::RealPackages()) {
        for (auto& [name, bytes] : testtools::ReadPackage(path)) {
            if (name.rfind("ppt/embeddings/", 0) == 0 && name.size() > 5 &&
                name.substr(name.size() - 5) == ".xlsx")
                found.push_back({path.filename().string() + ": " + name, std::move(bytes)});
        }
    }
    return found;
}

// Every cell of every sheet as text, so two workbooks can be compared whole.
std::vector<std::string> Snapshot(Workbook& book) {
    std::vector<std::string> cells;
    for (std::size_t index = 1; index <= book.SheetCount(); ++index) {
        Worksheet& sheet = book.Sheet(index);
        Range used = sheet.UsedArea();
        for (std::uint32_t row = used.Row(); row <= used.LastRow(); ++row) {
            for (std::uint32_t column = used.Column(); column <= used.LastColumn(); ++column) {
                CellValue value = sheet.Value(row, column);
                if (value.type == CellValue::Type::Empty)
                    continue;
                cells.push_back(sheet.Name() + "!" + CellName(row, column) + "=" +
                                (value.type == CellValue::Type::Number
                                     ? std::to_string(value.number)
                                     : value.text + (value.boolean ? "true" : "")) +
                                " f:" + sheet.Formula(row, column));
            }
        }
    }
    return cells;
}

TEST(RealWorkbooksTest, EmbeddedWorkbooksSurviveOpenAndSave) {
    std::vector<Embedded> workbooks = EmbeddedWorkbooks();
    if (workbooks.empty())
        GTEST_SKIP() << "no real fixtures with embedded workbooks";
    for (const Embedded& embedded : workbooks) {
        SCOPED_TRACE(embedded.label);
        Workbook book(embedded.bytes, embedded.label);
        std::vector<std::string> before = Snapshot(book);
        EXPECT_FALSE(before.empty());
        std::string untouched = book.Save();
        // Nothing changed, so every part is copied as it was.
        for (const char* part : {"xl/workbook.xml", "xl/worksheets/sheet1.xml"}) {
            EXPECT_EQ(testing::PartText(untouched, part), testing::PartText(embedded.bytes, part));
        }
        Workbook reopened(untouched, embedded.label);
        EXPECT_EQ(Snapshot(reopened), before);
    }
}

TEST(RealWorkbooksTest, ChartDataAreaGrowsAndShrinksInARealWorkbook) {
    std::vector<Embedded> workbooks = EmbeddedWorkbooks();
    auto found = std::find_if(workbooks.begin(), workbooks.end(), [](const Embedded& e) {
        return e.label.find("chart-bar-embedded-xlsx-ppt2013") != std::string::npos;
    });
    if (found == workbooks.end())
        GTEST_SKIP() << "the PowerPoint 2013 bar chart fixture is absent";
    Workbook book(found->bytes, "chart");
    Worksheet& sheet = book.Sheet(1);
    // Four categories in rows 2 to 5; three more go in after the first.
    sheet.Insert(Range::WholeRows(3, 5), Shift::Down);
    for (std::uint32_t row = 3; row <= 5; ++row) {
        sheet.SetText(row, 1, "New " + std::to_string(row));
        sheet.SetNumber(row, 2, row * 1.5);
    }
    std::string saved = book.Save();
    std::string table = testing::PartText(saved, "xl/tables/table1.xml");
    EXPECT_NE(table.find("ref=\"A1:D8\""), std::string::npos);
    Workbook reopened(saved, "chart");
    Worksheet& again = reopened.Sheet(1);
    EXPECT_EQ(again.Value(4, 1).text, "New 4");
    EXPECT_EQ(again.Value(5, 2).number, 7.5);
    EXPECT_EQ(again.Value(8, 2).number, 4.5); // the last category moved down three rows
    // One record shorter: its row block goes, the rest moves up.
    again.Delete(*Range::Parse("A2:D2"), Shift::Up);
    EXPECT_EQ(again.Value(2, 1).text, "New 3");
    EXPECT_NE(testing::PartText(reopened.Save(), "xl/tables/table1.xml").find("ref=\"A1:D7\""),
              std::string::npos);
}

// Reads cells with openpyxl, a reader that shares nothing with this engine.
std::string ReadWithOpenpyxl(const fs::path& path, const std::string& cells) {
    std::string python = fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    std::string command = python + " -W ignore" +
                          " -c \"import sys\ntry:\n import openpyxl\nexcept ImportError:\n "
                          "print('NO-OPENPYXL'); sys.exit(0)\nws = "
                          "openpyxl.load_workbook(sys.argv[1]).worksheets[0]\nprint('|'.join("
                          "repr(ws[c].value) for c in sys.argv[2].split()))\" '" +
                          path.string() + "' '" + cells + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return "NO-OPENPYXL";
    std::string out;
    std::array<char, 256> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr)
        out += buffer.data();
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

TEST(RealWorkbooksTest, AnIndependentReaderSeesTheWrittenValues) {
    testing::WorkbookSource source;
    source.sheets.push_back({"Data", "<sheetData/>", {}});
    Workbook book(testing::BuildWorkbook(source), "independent.xlsx");
    Worksheet& sheet = book.Sheet(1);
    sheet.SetText(1, 1, "Region");
    sheet.SetNumber(2, 1, 12.25);
    sheet.SetBoolean(3, 1, true);
    sheet.Insert(Range::WholeRows(1, 1), Shift::Down);
    sheet.SetText(1, 2, "Ümlaut & <tag>");
    pptx::testing::ScratchFolder folder;
    fs::path path = folder / "independent.xlsx";
    std::ofstream(path, std::ios::binary) << book.Save();
    std::string seen = ReadWithOpenpyxl(path, "A2 A3 A4 B1 A1");
    if (seen == "NO-OPENPYXL")
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    EXPECT_EQ(seen, "'Region'|12.25|True|'Ümlaut & <tag>'|None");
}

} // namespace
} // namespace slidesmith::xlsx
