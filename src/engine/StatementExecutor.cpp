#include "engine/StatementExecutor.h"

#include "engine/CountFormat.h"
#include "engine/RunFillReporter.h"
#include "fill/ChartObjectFinder.h"
#include "fill/ExcelChartFill.h"
#include "fill/FixedTableFill.h"
#include "fill/FormFill.h"
#include "fill/GraphChartFill.h"
#include "fill/GroupedTableFill.h"
#include "fill/GrowingTableFill.h"
#include "fill/RecordsetSource.h"
#include "platform/files/PathNames.h"
#include "script/PageBreak.h"
#include "script/TextScan.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <memory>

namespace slidesmith::engine {
namespace {

using script::FunctionKind;
using script::StatementRecord;
using script::TableType;

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

std::string Trimmed(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    std::size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::int16_t ToOrdinal(std::int64_t value) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int16_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(value < kMin ? kMin : (value > kMax ? kMax : value));
}

// The table or chart ordinal a TABLE or CHART value gives: a whole number is the ordinal, an
// empty value the first one, and a name `notFound` (no object has that ordinal).
std::int16_t TargetOrdinal(std::string_view target, std::int16_t notFound) {
    if (target.empty())
        return 1;
    if (std::optional<std::int64_t> number = script::ParseWholeNumber(target))
        return ToOrdinal(*number);
    return notFound;
}

// TYPE chooses the fill; a growing table with GROUP levels is a grouped table.
fill::TableFillResult RunTableFill(const StatementRecord& record, fill::TableFillContext& context) {
    switch (record.TableType) {
    case TableType::Fix:
        return fill::FillFixedTable(context);
    case TableType::Form:
        return fill::FillForm(context);
    case TableType::Var:
        break;
    }
    return record.Groups.empty() ? fill::FillGrowingTable(context)
                                 : fill::FillGroupedTable(context);
}

} // namespace

std::int32_t SlideIndexFromText(std::string_view slideText, std::int32_t lastSlideIndex) {
    std::int64_t index = 0;
    if (!slideText.empty() && (slideText[0] == 'N' || slideText[0] == 'n')) {
        std::string rest = Trimmed(slideText.substr(1));
        if (rest.empty()) {
            index = std::int64_t{lastSlideIndex} + 1;
        } else if (std::optional<std::int64_t> offset = script::ParseWholeNumber(rest)) {
            // Huge offsets stay far outside any slide count without overflowing here.
            constexpr std::int64_t kFar = std::int64_t{1} << 40;
            index = std::clamp(*offset, -kFar, kFar) + lastSlideIndex + 1;
        }
    } else if (std::optional<std::int64_t> number = script::ParseWholeNumber(slideText)) {
        index = *number;
    }
    if (index < 1 || index > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(index);
}

pptx::SlidePart* GetSlide(pptx::Presentation& presentation, std::int32_t index) {
    if (index < 1 || static_cast<std::size_t>(index) > presentation.SlideCount())
        return nullptr;
    return &presentation.Slide(static_cast<std::size_t>(index) - 1);
}

pptx::Shape FindTable(pptx::SlidePart& slide, std::int32_t ordinal) {
    // One rule for the executor and the fills, which look their tables up again on page slides.
    return fill::FindTableShape(slide, ordinal);
}

pptx::Shape FindChartObject(pptx::SlidePart& slide, std::int32_t ordinal) {
    return fill::FindChartObject(slide, ordinal);
}

StatementExecutor::StatementExecutor(RunState& state, const RunOptions& options,
                                     RunObserver& observer, RunLog& log, DataSources& dataSources,
                                     pptx::Presentation& presentation)
    : m_state(state), m_options(options), m_observer(observer), m_log(log),
      m_dataSources(dataSources), m_presentation(presentation) {}

bool StatementExecutor::ExecuteStatement(StatementRecord& record) {
    const std::string prefix = "[" + record.Label + "]    ";
    m_log.WriteLogLine(record.LogPrefix);
    m_log.WriteLogLine(prefix + record.SqlText);
    ++m_state.StatementCount;
    m_observer.ShowStatementCount(FormatCount(m_state.StatementCount, CountStyle::ZeroAsEmpty));
    m_observer.ShowFunctionLabel(record.Label);
    m_observer.ShowRecordProgress("0");

    std::optional<bool> ok;
    if (record.Function == FunctionKind::ExecSql) {
        ok = m_dataSources.ExecSql(static_cast<std::size_t>(record.ConnectIndex), record.SqlText);
    } else {
        ok = RunSlideStatement(record);
    }
    m_chart = {};
    if (!ok)
        return false;
    m_log.WriteLogLine(prefix + (*ok ? "Success." : "Failure."));
    return *ok;
}

std::optional<bool> StatementExecutor::RunSlideStatement(StatementRecord& record) {
    m_slide = nullptr;
    m_table = {};
    std::string lookupFailure;
    try {
        m_slide =
            GetSlide(m_presentation, SlideIndexFromText(record.Slide, m_state.LastSlideIndex));
    } catch (const std::exception& error) {
        // A slide that cannot be read counts as missing; its description tells why.
        lookupFailure = error.what();
    }
    if (m_slide == nullptr) {
        m_log.LogError("Syntax error. The silde " + Quoted(record.Slide) + " does not exist.",
                       lookupFailure);
        return std::nullopt;
    }
    if (!FindTarget(record, *m_slide)) {
        m_state.LastSlideIndex = SlidePosition(*m_slide);
        return std::nullopt;
    }
    try {
        return CheckAndFill(record);
    } catch (const std::exception& error) {
        m_log.LogError("Failed to excute function.", error.what());
        return std::nullopt;
    }
}

bool StatementExecutor::FindTarget(StatementRecord& record, pptx::SlidePart& slide) {
    const bool isChart = record.Function == FunctionKind::Chart;
    if (!isChart && record.TableType == TableType::Form)
        return true; // a form writes into named shapes and needs no table
    record.TargetOrdinal = TargetOrdinal(record.Target, isChart ? -1 : 0);
    std::string lookupFailure;
    pptx::Shape found;
    try {
        found = isChart ? FindChartObject(slide, record.TargetOrdinal)
                        : FindTable(slide, record.TargetOrdinal);
    } catch (const std::exception& error) {
        lookupFailure = error.what();
    }
    if (found) {
        (isChart ? m_chart : m_table) = found;
        return true;
    }
    m_log.LogError("Syntax error. The " + std::string(isChart ? "chart " : "table ") +
                       Quoted(record.Target) + " in slide " + Quoted(record.Slide) +
                       " does not exist.",
                   lookupFailure);
    return false;
}

std::optional<bool> StatementExecutor::CheckAndFill(StatementRecord& record) {
    const std::int32_t slideIndex = SlidePosition(*m_slide);
    if (record.Cells.empty()) {
        m_log.LogError("Syntax error. There is a lack of the parameter \"CELL\".", "");
        m_state.LastSlideIndex = slideIndex;
        return std::nullopt;
    }
    if (record.Cells.front().empty()) {
        m_log.LogError("Syntax error. It is not a valid cell \"\" for the parameter \"CELL\".", "");
        m_state.LastSlideIndex = slideIndex;
        return std::nullopt;
    }
    const bool isChart = record.Function == FunctionKind::Chart;
    if (!isChart && !script::ParsePageBreak(record.PageBreakText, record)) {
        m_log.LogError("Syntax error. Error in pagebreak " + Quoted(record.PageBreakText) + ".",
                       "");
    }
    if (isChart) {
        m_state.LastSlideIndex = slideIndex;
        return FillChart(record);
    }
    return FillTable(record, slideIndex);
}

bool StatementExecutor::FillChart(StatementRecord& record) {
    const std::string progId = m_slide->ProgId(m_chart);
    if (m_chart.Kind() == pptx::ShapeKind::OleObject) {
        // Graph and spreadsheet objects are redrawn by their own programs, which do not run
        // here; writing into their stored data would leave the old picture on the slide.
        m_log.LogError("Failed to execute function CHART.",
                       "Chart " + std::to_string(record.TargetOrdinal) + " of slide " +
                           std::to_string(m_state.LastSlideIndex) + ", \"" +
                           std::string(m_chart.Name()) + "\", is an embedded OLE object (" +
                           progId +
                           ") that only its own program can redraw; Slidesmith fills native "
                           "charts only. Replace the object by a chart inserted in the "
                           "presentation program.");
        return false;
    }
    odbc::Recordset recordset;
    const auto connection = static_cast<std::size_t>(record.ConnectIndex);
    RunFillReporter reporter(m_state, m_observer, m_log);
    const fill::FillOptions options = FillOptionsOfRun();
    fill::ChartFillContext context{
        .statement = record,
        .presentation = m_presentation,
        .slide = *m_slide,
        .chartShape = m_chart,
        .openRecords = [&]() -> std::unique_ptr<fill::RecordSource> {
            recordset = m_dataSources.Slot(connection).OpenRecordset(record.SqlText);
            return std::make_unique<fill::RecordsetSource>(recordset);
        },
        .reporter = reporter,
        .options = options};
    return fill::IsGraphProgId(progId) ? fill::FillGraphChart(context)
                                       : fill::FillExcelChart(context);
}

bool StatementExecutor::FillTable(StatementRecord& record, std::int32_t slideIndex) {
    const auto connection = static_cast<std::size_t>(record.ConnectIndex);
    odbc::Recordset recordset;
    try {
        recordset = m_dataSources.Slot(connection).OpenRecordset(record.SqlText);
    } catch (const std::exception& error) {
        m_log.LogError("Failed to execute function REPORT.", error.what());
        m_state.LastSlideIndex = slideIndex;
        return false;
    }
    fill::RecordsetSource records(recordset);
    RunFillReporter reporter(m_state, m_observer, m_log);
    const fill::FillOptions options = FillOptionsOfRun();
    fill::TableFillContext context{.statement = record,
                                   .presentation = m_presentation,
                                   .slideIndex = static_cast<std::size_t>(slideIndex - 1),
                                   .tableShape = m_table,
                                   .records = records,
                                   .reporter = reporter,
                                   .options = options};
    // Page slides are released as a growing fill moves on, so the handles held before the call
    // may be stale: the current slide and table are taken from where the fill ended.
    m_slide = nullptr;
    m_table = {};
    const fill::TableFillResult result = RunTableFill(record, context);
    if (result.slideDeleted) {
        m_state.LastSlideIndex = slideIndex - 1;
        return result.success;
    }
    const auto endIndex = static_cast<std::int32_t>(result.slideIndex) + 1;
    m_state.LastSlideIndex = endIndex;
    m_slide = GetSlide(m_presentation, endIndex);
    if (m_slide != nullptr && !result.tableDeleted && record.TableType != TableType::Form)
        m_table = FindTable(*m_slide, record.TargetOrdinal);
    return result.success;
}

fill::FillOptions StatementExecutor::FillOptionsOfRun() const {
    // The presentation still carries the template's name: it is saved only after the script.
    return {.interactive = m_options.Interactive,
            .progressInterval = m_options.ProgressInterval,
            .templateFolder = files::ParentFolder(m_presentation.FullName().string()),
            .connectTimeoutSeconds = m_options.ConnectionTimeout};
}

std::int32_t StatementExecutor::SlidePosition(const pptx::SlidePart& slide) const {
    return static_cast<std::int32_t>(m_presentation.IndexOf(slide)) + 1;
}

void StatementExecutor::ReleaseCurrentObjects() {
    m_slide = nullptr;
    m_table = {};
    m_chart = {};
}

bool StatementExecutor::IsDataSourceConnected(std::size_t index) const {
    return index < m_state.Connected.size() && m_state.Connected[index];
}

void StatementExecutor::LogStatementError(std::string_view header, std::string_view message,
                                          std::string_view information) {
    m_log.LogStatementError(header, message, information);
}

void StatementExecutor::LogError(std::string_view message, std::string_view information) {
    m_log.LogError(message, information);
}

void StatementExecutor::ProcessPendingEvents() {
    m_observer.LetPendingEventsRun();
}

bool StatementExecutor::IsInterrupted() const {
    return m_state.Interrupted;
}

} // namespace slidesmith::engine
