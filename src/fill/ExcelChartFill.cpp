#include "fill/ExcelChartFill.h"

#include "fill/ChartReference.h"
#include "fill/TableFillCommon.h"
#include "fill/ValueFormat.h"

#include <exception>
#include <stdexcept>

namespace slidesmith::fill {
namespace {

constexpr const char* kFailed = "Failed to execute function CHART.";
// The template's data area holds two sample records; the area grows or shrinks between them.
constexpr int kReserve = 2;
// Serial of 1904-01-01 in the 1900 date system.
constexpr double k1904Offset = 1462.0;

struct FailureEntry {
    std::string message;
    std::string detail;
};

// The chart and the worksheet its first series reads from; the entry to log when either is
// missing. Faults only mean "not found" here; their description goes along as information.
struct ChartSource {
    std::unique_ptr<chart::ChartObject> chart;
    xlsx::Worksheet* sheet = nullptr;
};

std::optional<FailureEntry> FindChartSource(ChartFillContext& context, ChartSource& source) {
    try {
        source.chart =
            chart::ChartObject::Open(context.presentation, context.slide, context.chartShape);
    } catch (const std::exception& error) {
        return FailureEntry{"Unable to find the Excel chart.", error.what()};
    }
    if (!source.chart->HasEmbeddedWorkbook()) {
        return FailureEntry{"Unable to find the Excel chart.", ""};
    }
    try {
        xlsx::Workbook& workbook = source.chart->Workbook();
        const std::string name = SeriesSourceSheet(*source.chart);
        if (!name.empty()) {
            source.sheet = workbook.FindSheet(name);
        }
        if (source.sheet == nullptr && workbook.SheetCount() > 0) {
            source.sheet = &workbook.Sheet(1);
        }
    } catch (const std::exception& error) {
        return FailureEntry{"Unable to find the source data worksheet.", error.what()};
    }
    if (source.sheet == nullptr) {
        return FailureEntry{"Unable to find the source data worksheet.", ""};
    }
    return std::nullopt;
}

// Plans the cells with the worksheet's own references and checks RANGE.
std::optional<FailureEntry> PlanWorksheetCells(ChartFillContext& context, xlsx::Worksheet& sheet,
                                               std::size_t fieldCount, ChartCellPlan& plan) {
    const script::StatementRecord& statement = context.statement;
    try {
        const auto locate = [&](const std::string& entry) -> std::optional<CellCoordinate> {
            const xlsx::Range cell = sheet.Locate(entry);
            return CellCoordinate{static_cast<int>(cell.Row()), static_cast<int>(cell.Column())};
        };
        if (auto failure =
                PlanChartCells(statement.Cells, fieldCount,
                               ChartFillOrder(statement, FillOrder::Row), locate, plan)) {
            return FailureEntry{failure->message, failure->detail};
        }
    } catch (const std::exception& error) {
        return FailureEntry{"Syntax error. Failed to parse cell list.", error.what()};
    }
    if (statement.RangeText.empty()) {
        return std::nullopt;
    }
    xlsx::Range range;
    try {
        range = sheet.Locate(statement.RangeText);
    } catch (const std::exception& error) {
        return FailureEntry{"Syntax error. Failed to parse range '" + statement.RangeText + "'.",
                            error.what()};
    }
    const RangeReference area{
        {static_cast<int>(range.Row()), static_cast<int>(range.Column())},
        {static_cast<int>(range.LastRow()), static_cast<int>(range.LastColumn())}};
    if (!EncloseBlock(area, plan)) {
        const BlockBounds& box = plan.block;
        const xlsx::Range wanted = xlsx::Range::Cells(
            static_cast<std::uint32_t>(box.minRow), static_cast<std::uint32_t>(box.minColumn),
            static_cast<std::uint32_t>(box.maxRow), static_cast<std::uint32_t>(box.maxColumn));
        return FailureEntry{
            "The range or copyrange should be " + wanted.Address(false, false) + ".", ""};
    }
    return std::nullopt;
}

// Grows or shrinks the sample area to `count` records: the cells between the first and the
// second sample record are where the spreadsheet stretches every reference over the area.
void AdjustSampleArea(xlsx::Worksheet& sheet, const ChartCellPlan& plan, std::size_t count) {
    const auto n = static_cast<long long>(count);
    if (n == kReserve) {
        return;
    }
    const BlockBounds& box = plan.block;
    const auto u = [](long long value) { return static_cast<std::uint32_t>(value); };
    const bool byColumn = plan.order == FillOrder::Col;
    if (n < kReserve) {
        const xlsx::Range first =
            xlsx::Range::Cells(u(box.minRow), u(box.minColumn), u(box.maxRow), u(box.maxColumn));
        for (int i = 0; i < kReserve - 1; ++i) {
            sheet.Delete(first, byColumn ? xlsx::Shift::Left : xlsx::Shift::Up);
        }
        return;
    }
    const long long added = static_cast<long long>(plan.Step()) * (n - kReserve);
    const long long last = (byColumn ? box.maxColumn : box.maxRow) + added;
    if (last > (byColumn ? xlsx::kMaxColumns : xlsx::kMaxRows)) {
        throw std::out_of_range("worksheet '" + sheet.Name() + "': " + std::to_string(count) +
                                " records do not fit on the sheet");
    }
    if (byColumn) {
        sheet.Insert(xlsx::Range::WholeColumns(u(box.maxColumn + 1), u(last)), xlsx::Shift::Right);
    } else {
        sheet.Insert(xlsx::Range::WholeRows(u(box.maxRow + 1), u(last)), xlsx::Shift::Down);
    }
}

void WriteWorksheetValue(xlsx::Worksheet& sheet, bool date1904, int row, int column,
                         const odbc::FieldValue& value, const LocaleConventions& conventions) {
    if (row < 1 || column < 1 || static_cast<std::uint32_t>(row) > xlsx::kMaxRows ||
        static_cast<std::uint32_t>(column) > xlsx::kMaxColumns) {
        throw std::out_of_range("worksheet '" + sheet.Name() + "': row " + std::to_string(row) +
                                ", column " + std::to_string(column) + " lies beyond the sheet");
    }
    const auto r = static_cast<std::uint32_t>(row);
    const auto c = static_cast<std::uint32_t>(column);
    switch (value.Kind()) {
    case odbc::FieldValueKind::Null:
        sheet.Clear(r, c);
        return;
    case odbc::FieldValueKind::Date:
    case odbc::FieldValueKind::Time:
    case odbc::FieldValueKind::Timestamp:
        sheet.SetDate(r, c, *ChartNumber(value) - (date1904 ? k1904Offset : 0.0));
        return;
    default:
        break;
    }
    if (std::optional<double> number = ChartNumber(value)) {
        sheet.SetNumber(r, c, *number);
    } else {
        sheet.SetText(r, c, DefaultText(value, conventions));
    }
}

} // namespace

std::string SeriesSourceSheet(const chart::ChartObject& chart) {
    const std::vector<std::string> formulas = chart.SeriesFormulas();
    return formulas.empty() ? std::string() : SeriesSourceSheet(formulas.front());
}

bool FillExcelChart(ChartFillContext& context) {
    ChartSource source;
    if (std::optional<FailureEntry> missing = FindChartSource(context, source)) {
        LogChartFailure(context.reporter, missing->message, missing->detail);
        return false;
    }
    xlsx::Worksheet& sheet = *source.sheet;
    std::unique_ptr<RecordSource> records;
    bool success = false;
    try {
        records = context.openRecords();
        const std::size_t count = records->RecordCount();
        context.reporter.WriteLine(RecordCountLine(context.statement.Label, count));
        ChartCellPlan plan;
        if (auto failure = PlanWorksheetCells(context, sheet, records->FieldCount(), plan)) {
            LogChartFailure(context.reporter, failure->message, failure->detail);
        } else {
            if (count > 0) {
                if (context.statement.TableType == script::TableType::Var) {
                    AdjustSampleArea(sheet, plan, count);
                }
                const bool date1904 = source.chart->Workbook().Uses1904Dates();
                const LocaleConventions& conventions = context.options.conventions;
                success = WriteChartRecords(
                    context, *records, plan,
                    [&](int row, int column, const odbc::FieldValue& value) {
                        WriteWorksheetValue(sheet, date1904, row, column, value, conventions);
                    });
            } else {
                success = true;
            }
            // A cancelled fill leaves the package as the template had it.
            if (success) {
                source.chart->Save();
            }
        }
    } catch (const std::exception& error) {
        LogChartFailure(context.reporter, kFailed, error.what());
        success = false;
    }
    if (records) {
        CloseRecords(*records);
    }
    return success;
}

} // namespace slidesmith::fill
