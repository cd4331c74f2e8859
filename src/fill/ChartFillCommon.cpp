#include "fill/ChartFillCommon.h"

#include "fill/CalendarTime.h"
#include "fill/TableFillCommon.h"

#include <charconv>

namespace slidesmith::fill {

std::optional<double> NumberFromText(std::string_view text) {
    // Digits with sign, point and exponent only: from_chars alone would also take "inf" and
    // "nan", which no one types as a number.
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos ||
        text.find_first_of("0123456789") == std::string_view::npos) {
        return std::nullopt;
    }
    double number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return number;
}

FillOrder ChartFillOrder(const script::StatementRecord& statement, FillOrder defaultOrder) {
    return statement.FillOrder == FillOrder::Unset ? defaultOrder : statement.FillOrder;
}

std::optional<FillMessage> PlanChartCells(const std::vector<std::string>& cellList,
                                          std::size_t fieldCount, FillOrder order,
                                          const ChartCellLocator& locate, ChartCellPlan& plan) {
    plan.order = order;
    plan.cells.clear();
    plan.block = {};
    for (std::size_t i = 0; i < fieldCount; ++i) {
        CellCoordinate cell;
        if (i < cellList.size() && !cellList[i].empty()) {
            std::optional<CellCoordinate> located = locate(cellList[i]);
            if (!located) {
                return FillMessage{"Syntax error. Failed to parse cell '" + cellList[i] + "'.", ""};
            }
            cell = *located;
        } else if (plan.cells.empty()) {
            // Only a direct caller can get here: the executor refuses an empty first entry.
            return FillMessage{"Syntax error. Failed to parse cell list.", ""};
        } else {
            cell = plan.cells.back();
            (order == FillOrder::Row ? cell.column : cell.row) += 1;
        }
        plan.cells.push_back(cell);
        ExtendBounds(plan.block, cell);
    }
    return std::nullopt;
}

bool EncloseBlock(const RangeReference& range, ChartCellPlan& plan) {
    const BlockBounds& box = plan.block;
    if (range.first.row > box.minRow || range.first.column > box.minColumn ||
        range.last.row < box.maxRow || range.last.column < box.maxColumn) {
        return false;
    }
    plan.block = {range.first.row, range.last.row, range.first.column, range.last.column};
    return true;
}

bool WriteChartRecords(ChartFillContext& context, RecordSource& records, const ChartCellPlan& plan,
                       const ChartCellWriter& write) {
    const std::size_t count = records.RecordCount();
    const std::size_t interval = ProgressInterval(context.options.progressInterval, count);
    const bool byRow = plan.order == FillOrder::Row;
    int offset = 0;
    for (std::size_t r = 0; r < count; ++r) {
        if (!ReportRecordProgress(context.reporter, context.options, count, interval, r + 1)) {
            return false;
        }
        for (std::size_t f = 0; f < plan.cells.size(); ++f) {
            const CellCoordinate& cell = plan.cells[f];
            write(cell.row + (byRow ? offset : 0), cell.column + (byRow ? 0 : offset),
                  records.ReadValue(f));
        }
        offset += plan.Step();
        records.MoveNext();
    }
    if (count > 0 && interval > 0) {
        context.reporter.WriteLine("Process complete.");
    }
    return true;
}

std::optional<double> ChartNumber(const odbc::FieldValue& value) {
    switch (value.Kind()) {
    case odbc::FieldValueKind::Integer:
        return static_cast<double>(value.AsInteger());
    case odbc::FieldValueKind::Double:
        return value.AsDouble();
    case odbc::FieldValueKind::Decimal:
        return NumberFromText(value.AsDecimal().text);
    case odbc::FieldValueKind::Text:
        return NumberFromText(value.AsText());
    case odbc::FieldValueKind::Date:
        return CalendarTime::FromDate(value.AsDate()).Serial();
    case odbc::FieldValueKind::Time:
        return CalendarTime::FromTime(value.AsTime()).Serial();
    case odbc::FieldValueKind::Timestamp:
        return CalendarTime::FromTimestamp(value.AsTimestamp()).Serial();
    default:
        return std::nullopt;
    }
}

void LogChartFailure(FillReporter& reporter, std::string_view message,
                     std::string_view description) noexcept {
    try {
        reporter.LogError(message, description);
    } catch (...) {
        // A failing log must not end the run; nothing else can be told.
    }
}

} // namespace slidesmith::fill
