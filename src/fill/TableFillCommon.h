#pragma once

#include "fill/CellList.h"
#include "fill/FieldKind.h"
#include "fill/FillReporter.h"
#include "fill/ImageSettings.h"
#include "fill/PicturePlacer.h"
#include "fill/RecordSource.h"
#include "fill/TemplateColours.h"
#include "platform/pptx/ColourResolver.h"
#include "platform/pptx/Presentation.h"
#include "platform/pptx/Shape.h"
#include "platform/pptx/SlidePart.h"
#include "platform/pptx/TableEditor.h"
#include "platform/pptx/TextBody.h"
#include "script/StatementRecord.h"

#include <cstddef>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the fixed and the growing table fills share: the start of a fill (record count line,
// progress interval, the fields' cells, template texts and colours), per-record progress and
// interruption, and writing one value into a cell.
namespace slidesmith::fill {

// What the executor resolved for a REPORT statement that fills a table.
struct TableFillContext {
    // The statement; the fill may replace CELL entries by the names of cells outside the table.
    script::StatementRecord& statement;
    pptx::Presentation& presentation;
    std::size_t slideIndex = 0; // 0-based position of the statement's slide
    pptx::Shape tableShape;     // the table shape on that slide
    RecordSource& records;      // at its first record
    FillReporter& reporter;
    const FillOptions& options;
};

struct TableFillResult {
    bool success = false;
    // The slide the statement ended on: the last page's slide of a growing table. The
    // executor takes its current slide and table from here, since page slides are released
    // (their shape handles become invalid) as the fill moves on.
    std::size_t slideIndex = 0;
    bool slideDeleted = false; // NODATA DELSLIDE removed the slide
    bool tableDeleted = false; // NODATA DELTABLE (or DELRANGE over the whole table) removed it
};

// One field of the recordset and the cell it goes to.
struct FieldSlot {
    CellCoordinate cell;
    std::string templateText; // the format text found in the cell before any record
    ValueKind kind = ValueKind::Other;
    TemplateColours colours;
    bool image = false; // an IMAGE field: its value names a picture
    ImageSettings imageSettings;
};

struct TableFillPlan {
    std::vector<FieldSlot> fields;
    BlockBounds block;
    FillOrder order = FillOrder::Row; // never Unset
    int blockLength = 1;
    std::size_t recordCount = 0;
    std::size_t progressInterval = 0;        // records between progress lines, 0 for none
    std::shared_ptr<PicturePlacer> pictures; // set when image fields have records to show
};

// Reads the colours of format texts in the cells of one table.
class TemplateColourReader {
public:
    TemplateColourReader(pptx::SlidePart& slide, const pptx::Shape& tableShape);
    TemplateColourReader(const TemplateColourReader&) = delete;
    TemplateColourReader& operator=(const TemplateColourReader&) = delete;
    // The three colours of the cell's text (which is the format text). An empty cell gives
    // its own colour three times, so a number written there keeps the cell's look.
    TemplateColours Read(const pptx::TextBody& cell, std::string_view text) const;

private:
    pptx::ColourContext m_context;
    pptx::ColourResolver m_resolver;
};

// Where a failure happened, which chooses the message it is logged with.
enum class FillPhase { CellList, Groups, GroupRanges, Range, Image, Records };

// "[<label>]    Returns <n> record(s) from the data source."
std::string RecordCountLine(std::string_view label, std::size_t recordCount);

// Records between progress lines for the -I value: a count above 1, a fraction of the records
// from above 0 up to 1, none otherwise. Halves round to even.
std::size_t ProgressInterval(double setting, std::size_t recordCount);

// Logs the record count, then resolves each field's cell, template text, kind and colours, and
// the RANGE block. Failures are logged; the result is then empty. Platform exceptions pass
// through; phase says how far it got.
std::optional<TableFillPlan> StartTableFill(TableFillContext& context, pptx::TableEditor& table,
                                            const TemplateColourReader& colours, FillPhase& phase);

// Shows or logs the progress of record `number` (1-based) of recordCount and lets window events
// run: on screen in interactive runs, otherwise a log line every progressInterval records.
// Returns false when the run has been interrupted. Shared by the table and chart fills.
bool ReportRecordProgress(FillReporter& reporter, const FillOptions& options,
                          std::size_t recordCount, std::size_t progressInterval,
                          std::size_t number);

// The part of StartTableFill before RANGE: logs the record count and resolves the fields'
// cells, template texts, kinds and colours. plan.block holds the bounds of all cells. The
// grouped fill resolves its groups between this and its own RANGE test.
std::optional<TableFillPlan> StartTableFillCells(TableFillContext& context,
                                                 pptx::TableEditor& table,
                                                 const TemplateColourReader& colours,
                                                 FillPhase& phase);

// Marks the IMAGE list's fields (their cell texts become size settings and are cleared) and
// makes the plan's picture placer. The grouped fill calls it after its own RANGE test. A
// wrong entry is logged and the result is false.
bool ResolveTableImages(TableFillContext& context, pptx::TableEditor& table, TableFillPlan& plan,
                        FillPhase& phase);

// ReportRecordProgress for a table fill, with its plan's record count and progress interval.
bool ReportRecordProgress(TableFillContext& context, const TableFillPlan& plan, std::size_t number);

// Writes a value as the cell's text, formatted by formatText, and gives numbers their colour.
void WriteCellValue(pptx::TextBody cell, const odbc::FieldValue& value, std::string_view formatText,
                    const FieldSlot& field, const TemplateColours& colours, FillKind fill,
                    const LocaleConventions& conventions);

// The ordinal-th table shape (1-based, in shape order) of a slide; no shape when there is none.
pptx::Shape FindTableShape(pptx::SlidePart& slide, int ordinal);

// The message a failure in `phase` is logged with.
std::string PhaseMessage(const script::StatementRecord& statement, FillPhase phase);

// Logs a failure that escaped the fill as the phase's message with what failed and where, and
// closes the records. Never throws.
void LogFillFailure(TableFillContext& context, FillPhase phase, std::size_t slideIndex,
                    std::string_view description);

// Closes the records, ignoring failures: a fill's way out must not throw.
void CloseRecords(RecordSource& records) noexcept;

// Runs a paged fill object made from (context, result): its Run(phase) gives the success, a
// platform fault is logged with the phase it had reached, and the recordset is closed after a
// run that did not throw.
template <typename Fill>
TableFillResult RunPagedFill(TableFillContext& context) {
    TableFillResult result;
    result.slideIndex = context.slideIndex;
    FillPhase phase = FillPhase::CellList;
    try {
        Fill fill(context, result);
        result.success = fill.Run(phase);
    } catch (const std::exception& error) {
        LogFillFailure(context, phase, result.slideIndex, error.what());
        result.success = false;
        return result;
    }
    CloseRecords(context.records);
    return result;
}

} // namespace slidesmith::fill
