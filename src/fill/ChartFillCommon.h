#pragma once

#include "fill/CellList.h"
#include "fill/FillReporter.h"
#include "fill/RecordSource.h"
#include "platform/odbc/FieldValue.h"
#include "platform/pptx/Presentation.h"
#include "platform/pptx/Shape.h"
#include "platform/pptx/SlidePart.h"
#include "script/StatementRecord.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the datasheet and the workbook chart fills share: the statement's context, the plan of
// the fields' cells and the block one record occupies, the record loop with its progress and
// End checks, and the values as a chart cell takes them.
namespace slidesmith::fill {

// Runs the statement's query when the fill is ready for it. Throws (the data layer's
// exception) when the query fails.
using RecordOpener = std::function<std::unique_ptr<RecordSource>()>;

// What the executor resolved for a CHART statement.
struct ChartFillContext {
    const script::StatementRecord& statement;
    pptx::Presentation& presentation;
    pptx::SlidePart& slide;
    pptx::Shape chartShape; // a native chart found by FindChartObject
    RecordOpener openRecords;
    FillReporter& reporter;
    const FillOptions& options;
};

// Where every field of a record goes, and how far each record moves on.
struct ChartCellPlan {
    std::vector<CellCoordinate> cells; // one per field, in field order
    BlockBounds block;                 // the bounding box of the cells, or the RANGE
    FillOrder order = FillOrder::Col;  // Row: records downwards; Col: records to the right

    int Height() const { return block.maxRow - block.minRow + 1; }
    int Width() const { return block.maxColumn - block.minColumn + 1; }
    // Rows (Row) or columns (Col) between one record's cells and the next one's.
    int Step() const { return order == FillOrder::Row ? Height() : Width(); }
};

// Locates a written CELL entry; nothing when the entry is refused. May throw for entries it
// cannot read at all.
using ChartCellLocator = std::function<std::optional<CellCoordinate>(const std::string& entry)>;

// The statement's FILLORDER, or the chart kind's own default when none is given.
FillOrder ChartFillOrder(const script::StatementRecord& statement, FillOrder defaultOrder);

// Plans the cells of fieldCount fields: a written entry is located, a missing or empty one
// follows the previous field's cell (next row for Col, next column for Row). The block starts
// as the bounding box. A refused entry gives "Syntax error. Failed to parse cell '<entry>'.".
std::optional<FillMessage> PlanChartCells(const std::vector<std::string>& cellList,
                                          std::size_t fieldCount, FillOrder order,
                                          const ChartCellLocator& locate, ChartCellPlan& plan);

// True when the range encloses the plan's block on all four sides; it then becomes the block.
bool EncloseBlock(const RangeReference& range, ChartCellPlan& plan);

// Writes one field value into the cell at (row, column) of the chart's data.
using ChartCellWriter = std::function<void(int row, int column, const odbc::FieldValue& value)>;

// Writes every record at the plan's cells, moving one block per record, with progress lines
// (or the run window's counter) and the End check before each record; logs "Process
// complete." after the last one when progress lines are on. Returns false when the run was
// interrupted. Faults of the data layer or the writer pass through.
bool WriteChartRecords(ChartFillContext& context, RecordSource& records, const ChartCellPlan& plan,
                       const ChartCellWriter& write);

// The number a text spells in plain decimal notation ("12", "-0.5", "1.5E3"), as a typed entry
// becomes one; nothing for any other text.
std::optional<double> NumberFromText(std::string_view text);

// A value as a chart reads it: a number for numeric fields and for text that spells one (a
// query's computed columns may come as text), a date or time as its serial (days since
// 1899-12-30, the time of day as the fraction), nothing for anything else.
std::optional<double> ChartNumber(const odbc::FieldValue& value);

// Logs a fault that ended the fill, never throwing: the log is the only place left to report.
void LogChartFailure(FillReporter& reporter, std::string_view message,
                     std::string_view description) noexcept;

} // namespace slidesmith::fill
