#pragma once

#include "engine/DataSources.h"
#include "engine/RunLog.h"
#include "engine/RunObserver.h"
#include "engine/RunOptions.h"
#include "engine/RunState.h"
#include "fill/FillReporter.h"
#include "platform/pptx/Presentation.h"
#include "platform/pptx/Shape.h"
#include "platform/pptx/SlidePart.h"
#include "script/StatementHost.h"
#include "script/StatementRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace slidesmith::engine {

// The slide a SLIDE value addresses: a whole number is that slide; "N" is the slide after the
// one the previous statement used, "N<k>" k slides after that (k may be negative). 0 when the
// value is neither, so no slide is found.
std::int32_t SlideIndexFromText(std::string_view slideText, std::int32_t lastSlideIndex);

// The slide at a 1-based index, or null when the index is 0 or beyond the last slide.
pptx::SlidePart* GetSlide(pptx::Presentation& presentation, std::int32_t index);

// The shape holding the ordinal-th table of the slide, counting table shapes from 1 in the
// slide's shape order; no shape when the ordinal is below 1 or the slide has fewer tables.
pptx::Shape FindTable(pptx::SlidePart& slide, std::int32_t ordinal);

// The ordinal-th chart object of the slide (see fill::FindChartObject); no shape when there is
// none.
pptx::Shape FindChartObject(pptx::SlidePart& slide, std::int32_t ordinal);

// Runs the statements the parser hands over: logs each statement's header and SQL text, finds
// its slide and table or chart in the report, checks what every fill needs, runs it, and logs
// "Success." or "Failure.". A failing statement never stops the run; nothing here throws.
class StatementExecutor final : public script::StatementHost {
public:
    StatementExecutor(RunState& state, const RunOptions& options, RunObserver& observer,
                      RunLog& log, DataSources& dataSources, pptx::Presentation& presentation);

    bool ExecuteStatement(script::StatementRecord& record) override;
    bool IsDataSourceConnected(std::size_t index) const override;
    void LogStatementError(std::string_view header, std::string_view message,
                           std::string_view information) override;
    void LogError(std::string_view message, std::string_view information) override;
    void ProcessPendingEvents() override;
    bool IsInterrupted() const override;

    // The slide, table and chart of the statement run last (the fills work on them); released
    // before the report is saved.
    pptx::SlidePart* CurrentSlide() const { return m_slide; }
    void ReleaseCurrentObjects();

private:
    // Finds the slide and the target and runs the fill; the result is the statement's success,
    // or nothing when the statement ended without a Success or Failure line.
    std::optional<bool> RunSlideStatement(script::StatementRecord& record);
    bool FindTarget(script::StatementRecord& record, pptx::SlidePart& slide);
    std::optional<bool> CheckAndFill(script::StatementRecord& record);
    // Runs the query and the fixed or growing table fill, then takes the current slide and table
    // from where the fill ended.
    bool FillTable(script::StatementRecord& record, std::int32_t slideIndex);
    // Runs the datasheet or the workbook chart fill by the chart's kind; an OLE chart object
    // fails, as it cannot be redrawn here.
    bool FillChart(script::StatementRecord& record);
    // What the fills need of the run's options.
    fill::FillOptions FillOptionsOfRun() const;
    std::int32_t SlidePosition(const pptx::SlidePart& slide) const;

    RunState& m_state;
    const RunOptions& m_options;
    RunObserver& m_observer;
    RunLog& m_log;
    DataSources& m_dataSources;
    pptx::Presentation& m_presentation;
    pptx::SlidePart* m_slide = nullptr;
    pptx::Shape m_table;
    pptx::Shape m_chart;
};

} // namespace slidesmith::engine
