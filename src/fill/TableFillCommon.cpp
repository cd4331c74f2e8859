#include "fill/TableFillCommon.h"

#include "fill/TablePictures.h"
#include "fill/ValueFormat.h"

#include <cmath>
#include <limits>

namespace slidesmith::fill {

TemplateColourReader::TemplateColourReader(pptx::SlidePart& slide, const pptx::Shape& tableShape)
    : m_context(slide.ColourContextFor(tableShape)), m_resolver(m_context) {}

TemplateColours TemplateColourReader::Read(const pptx::TextBody& cell,
                                           std::string_view text) const {
    // A part's colour is the colour of its first character, as one colour stands for the part.
    return ReadTemplateColors(text, [&](std::size_t start, std::size_t /*length*/) {
        return m_resolver.TextColour(cell, start);
    });
}

std::string RecordCountLine(std::string_view label, std::size_t recordCount) {
    std::string line = "[";
    line += label;
    line += "]    Returns ";
    line += std::to_string(recordCount);
    line += recordCount > 1 ? " records" : " record";
    line += " from the data source.";
    return line;
}

std::size_t ProgressInterval(double setting, std::size_t recordCount) {
    double interval = 0.0;
    if (setting > 1.0) {
        interval = setting;
    } else if (setting > 0.0) {
        interval = static_cast<double>(recordCount) * setting;
    }
    // nearbyint rounds halves to even in the default rounding mode, as the classic conversion.
    interval = std::nearbyint(interval);
    if (!(interval >= 1.0)) {
        return 0;
    }
    constexpr auto kLargest = static_cast<double>(std::numeric_limits<std::size_t>::max() / 2);
    return interval >= kLargest ? std::numeric_limits<std::size_t>::max() / 2
                                : static_cast<std::size_t>(interval);
}

std::optional<TableFillPlan> StartTableFillCells(TableFillContext& context,
                                                 pptx::TableEditor& table,
                                                 const TemplateColourReader& colours,
                                                 FillPhase& phase) {
    script::StatementRecord& statement = context.statement;
    TableFillPlan plan;
    plan.recordCount = context.records.RecordCount();
    context.reporter.WriteLine(RecordCountLine(statement.Label, plan.recordCount));
    plan.progressInterval = ProgressInterval(context.options.progressInterval, plan.recordCount);
    plan.order = statement.FillOrder == FillOrder::Col ? FillOrder::Col : FillOrder::Row;

    phase = FillPhase::CellList;
    const std::size_t fieldCount = context.records.FieldCount();
    ResolvedCells resolved;
    if (auto failure = ResolveCellList(statement.Cells, static_cast<int>(fieldCount), plan.order,
                                       static_cast<int>(table.RowCount()),
                                       static_cast<int>(table.ColumnCount()), resolved)) {
        context.reporter.LogError(failure->message, failure->detail);
        return std::nullopt;
    }
    plan.fields.resize(fieldCount);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        FieldSlot& field = plan.fields[i];
        field.cell = resolved.cells[i];
        pptx::TextBody cell = table.CellText(static_cast<std::size_t>(field.cell.row),
                                             static_cast<std::size_t>(field.cell.column));
        field.templateText = cell.Text();
        field.kind = ClassifyField(context.records.FieldTypeCode(i));
        if (field.kind == ValueKind::Number) {
            field.colours = colours.Read(cell, field.templateText);
        }
    }

    plan.block = resolved.bounds;
    return plan;
}

bool ResolveTableImages(TableFillContext& context, pptx::TableEditor& table, TableFillPlan& plan,
                        FillPhase& phase) {
    phase = FillPhase::Image;
    const auto textOf = [&](std::size_t i) {
        return table.CellText(static_cast<std::size_t>(plan.fields[i].cell.row),
                              static_cast<std::size_t>(plan.fields[i].cell.column));
    };
    if (!ResolveImageList(context.statement.Images, context.records, plan.fields, textOf,
                          context.reporter)) {
        return false;
    }
    plan.pictures = MakePicturePlacer(context, plan.fields, plan.recordCount);
    return true;
}

std::optional<TableFillPlan> StartTableFill(TableFillContext& context, pptx::TableEditor& table,
                                            const TemplateColourReader& colours, FillPhase& phase) {
    std::optional<TableFillPlan> plan = StartTableFillCells(context, table, colours, phase);
    if (!plan) {
        return plan;
    }
    phase = FillPhase::Range;
    if (auto failure = ApplyRange(context.statement.RangeText, plan->order, plan->block)) {
        context.reporter.LogError(failure->message, failure->detail);
        return std::nullopt;
    }
    plan->blockLength = BlockLength(plan->block, plan->order);
    if (!ResolveTableImages(context, table, *plan, phase)) {
        return std::nullopt;
    }
    phase = FillPhase::Records;
    return plan;
}

bool ReportRecordProgress(FillReporter& reporter, const FillOptions& options,
                          std::size_t recordCount, std::size_t progressInterval,
                          std::size_t number) {
    const auto count = [&](std::size_t value, std::string_view format) {
        return Format(odbc::FieldValue::FromInteger(static_cast<std::int64_t>(value)), format,
                      options.conventions);
    };
    if (options.interactive) {
        reporter.ShowRecordProgress(count(number, "#,###") + " / " + count(recordCount, "#,####"));
        reporter.LetPendingEventsRun();
    } else if (progressInterval > 0 && number % progressInterval == 0) {
        reporter.WriteLine("Processing record number " + count(number, "#,###") + " of " +
                           count(recordCount, "#,####") + "...");
    }
    return !reporter.Interrupted();
}

bool ReportRecordProgress(TableFillContext& context, const TableFillPlan& plan,
                          std::size_t number) {
    return ReportRecordProgress(context.reporter, context.options, plan.recordCount,
                                plan.progressInterval, number);
}

void WriteCellValue(pptx::TextBody cell, const odbc::FieldValue& value, std::string_view formatText,
                    const FieldSlot& field, const TemplateColours& colours, FillKind fill,
                    const LocaleConventions& conventions) {
    const std::string text = CellText(value, formatText, conventions);
    cell.SetText(text);
    if (auto colour = ChooseCellColour(value, field.kind, colours, fill)) {
        cell.SetColour(0, text.size(), *colour);
    }
}

pptx::Shape FindTableShape(pptx::SlidePart& slide, int ordinal) {
    if (ordinal < 1) {
        return {};
    }
    int seen = 0;
    for (const pptx::Shape& shape : slide.Shapes().Shapes()) {
        if (shape.HasTable() && ++seen == ordinal) {
            return shape;
        }
    }
    return {};
}

std::string PhaseMessage(const script::StatementRecord& statement, FillPhase phase) {
    switch (phase) {
    case FillPhase::CellList:
        return "Syntax error. Failed to parse cell list.";
    case FillPhase::Groups:
        return "Syntax error. Failed to parse group.";
    case FillPhase::GroupRanges:
        return "Syntax error. Failed to parse grouprange.";
    case FillPhase::Range:
        return "Syntax error. Failed to parse range '" + statement.RangeText + "'.";
    case FillPhase::Image:
        return "Syntax error. Failed to parse image.";
    case FillPhase::Records:
        break;
    }
    return "Failed to execute function REPORT.";
}

void LogFillFailure(TableFillContext& context, FillPhase phase, std::size_t slideIndex,
                    std::string_view description) {
    const std::string message = PhaseMessage(context.statement, phase);
    std::string information = "Slide " + std::to_string(slideIndex + 1) + ", table \"" +
                              context.statement.Target + "\": ";
    information += description;
    try {
        context.reporter.LogError(message, information);
    } catch (...) {
        // The log is the only place to report to; a failing log must not end the run.
    }
    CloseRecords(context.records);
}

void CloseRecords(RecordSource& records) noexcept {
    try {
        records.Close();
    } catch (...) {
        // Nothing more can be done with rows that will not close; the fill is ending anyway.
    }
}

} // namespace slidesmith::fill
