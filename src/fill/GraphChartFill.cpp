#include "fill/GraphChartFill.h"

#include "fill/ChartReference.h"
#include "fill/TableFillCommon.h"
#include "fill/ValueFormat.h"
#include "platform/chart/ChartObject.h"

#include <exception>

namespace slidesmith::fill {
namespace {

constexpr const char* kFailed = "Failed to execute function CHART.";

bool IsDateKind(odbc::FieldValueKind kind) {
    return kind == odbc::FieldValueKind::Date || kind == odbc::FieldValueKind::Time ||
           kind == odbc::FieldValueKind::Timestamp;
}

// A datasheet cell holds numbers and texts. Texts go in as they are: the datasheet itself reads
// a figure typed into a data cell as a number and keeps header cells as labels ("001"). Dates go
// in as the text the program shows for them, since they are mostly categories and a serial
// number would label the axis.
chart::CellValue DatasheetValue(const odbc::FieldValue& value,
                                const LocaleConventions& conventions) {
    chart::CellValue cell;
    if (value.IsNull()) {
        return cell;
    }
    const odbc::FieldValueKind kind = value.Kind();
    if (kind != odbc::FieldValueKind::Text && !IsDateKind(kind)) {
        if (std::optional<double> number = ChartNumber(value)) {
            cell.type = chart::CellValue::Type::Number;
            cell.number = *number;
            return cell;
        }
    }
    cell.type = chart::CellValue::Type::Text;
    cell.text = DefaultText(value, conventions);
    return cell;
}

std::optional<CellCoordinate> LocateDatasheetCell(const std::string& entry) {
    CellCoordinate cell;
    // A bare column or row, or a part beyond the datasheet, names no cell.
    if (!ParseDatasheetRef(entry, cell) || cell.row < 1 || cell.column < 1) {
        return std::nullopt;
    }
    return cell;
}

// Plans the cells and checks RANGE; logs the message and gives nothing when either fails.
std::optional<ChartCellPlan> PlanDatasheetCells(ChartFillContext& context, std::size_t fieldCount,
                                                FillPhase& phase) {
    const script::StatementRecord& statement = context.statement;
    phase = FillPhase::CellList;
    ChartCellPlan plan;
    if (auto failure =
            PlanChartCells(statement.Cells, fieldCount, ChartFillOrder(statement, FillOrder::Col),
                           LocateDatasheetCell, plan)) {
        context.reporter.LogError(failure->message, failure->detail);
        return std::nullopt;
    }
    phase = FillPhase::Range;
    if (!statement.RangeText.empty()) {
        RangeReference range;
        if (!ParseDatasheetRange(statement.RangeText, range)) {
            context.reporter.LogError(
                "Syntax error. Failed to parse range '" + statement.RangeText + "'.", "");
            return std::nullopt;
        }
        if (!EncloseBlock(range, plan)) {
            const BlockBounds& box = plan.block;
            context.reporter.LogError("The range or copyrange should be " +
                                          DatasheetRefName(box.minRow, box.minColumn) + ":" +
                                          DatasheetRefName(box.maxRow, box.maxColumn) + ".",
                                      "");
            return std::nullopt;
        }
    }
    phase = FillPhase::Records;
    return plan;
}

std::string PhaseMessage(FillPhase phase, const script::StatementRecord& statement) {
    switch (phase) {
    case FillPhase::CellList:
        return "Syntax error. Failed to parse cell list.";
    case FillPhase::Range:
        return "Syntax error. Failed to parse range '" + statement.RangeText + "'.";
    case FillPhase::Groups: // table phases a chart never reaches
    case FillPhase::GroupRanges:
    case FillPhase::Image:
    case FillPhase::Records:
        break;
    }
    return kFailed;
}

} // namespace

bool FillGraphChart(ChartFillContext& context) {
    std::unique_ptr<RecordSource> records;
    std::unique_ptr<chart::ChartObject> chart;
    FillPhase phase = FillPhase::Records;
    bool success = false;
    try {
        records = context.openRecords();
        const std::size_t count = records->RecordCount();
        context.reporter.WriteLine(RecordCountLine(context.statement.Label, count));
        std::optional<ChartCellPlan> plan =
            PlanDatasheetCells(context, records->FieldCount(), phase);
        if (plan && count > 0) {
            chart =
                chart::ChartObject::Open(context.presentation, context.slide, context.chartShape);
            chart::Datasheet& datasheet = chart->Datasheet();
            const LocaleConventions& conventions = context.options.conventions;
            success = WriteChartRecords(
                context, *records, *plan, [&](int row, int column, const odbc::FieldValue& value) {
                    datasheet.SetCell(row, column, DatasheetValue(value, conventions));
                });
            // Saving updates the chart from the datasheet; a second rebuild here would only
            // double the work on long series.
        } else {
            success = plan.has_value();
        }
        if (chart) {
            chart->Save();
        }
    } catch (const std::exception& error) {
        LogChartFailure(context.reporter, PhaseMessage(phase, context.statement), error.what());
        success = false;
        // What was written stays written, as in the datasheet of the graph program.
        try {
            if (chart) {
                chart->Save();
            }
        } catch (...) {
            // The statement has failed already; its entry says why.
        }
    }
    if (records) {
        CloseRecords(*records);
    }
    return success;
}

} // namespace slidesmith::fill
