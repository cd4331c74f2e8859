#include "fill/FormFill.h"

#include "fill/FormGroups.h"
#include "fill/NamedShape.h"
#include "fill/TablePictures.h"

#include <exception>

namespace slidesmith::fill {
namespace {

struct FormField {
    std::string shapeName; // empty: the field is not shown
    FieldSlot slot;
};

class FormFill {
public:
    FormFill(TableFillContext& context, TableFillResult& result)
        : m_context(context), m_result(result), m_first(context.slideIndex) {}

    bool Run(FillPhase& phase);

private:
    bool FindShapes();
    void WriteRecord(std::size_t slideIndex, const std::vector<odbc::FieldValue>& values,
                     std::size_t changedLevel);
    void ApplyNoData();

    TableFillContext& m_context;
    TableFillResult& m_result;
    std::size_t m_first; // the template slide
    TableFillPlan m_plan;
    std::vector<FormField> m_fields;
    FormGroups m_groups;
};

bool FormFill::Run(FillPhase& phase) {
    m_plan.recordCount = m_context.records.RecordCount();
    m_context.reporter.WriteLine(RecordCountLine(m_context.statement.Label, m_plan.recordCount));
    m_plan.progressInterval =
        ProgressInterval(m_context.options.progressInterval, m_plan.recordCount);
    phase = FillPhase::CellList;
    if (!FindShapes())
        return false;
    phase = FillPhase::Image;
    m_plan.fields.clear();
    for (const FormField& field : m_fields)
        m_plan.fields.push_back(field.slot);
    pptx::SlidePart& slide = m_context.presentation.Slide(m_first);
    const auto textOf = [&](std::size_t i) {
        pptx::Shape shape = FindNamedShape(slide, m_fields.at(i).shapeName);
        if (!shape)
            throw std::runtime_error("IMAGE names field " + std::to_string(i + 1) +
                                     ", which has no shape in CELL");
        return slide.Text(shape);
    };
    if (!ResolveImageList(m_context.statement.Images, m_context.records, m_plan.fields, textOf,
                          m_context.reporter))
        return false;
    m_plan.pictures = MakePicturePlacer(m_context, m_plan.fields, m_plan.recordCount);
    phase = FillPhase::Records;
    if (!m_groups.Resolve(m_context.statement.Groups, m_context.records, m_context.reporter))
        return false;

    const std::size_t records = m_plan.recordCount;
    // Copies wait as bytes until their record is written, so memory follows one slide.
    if (records > 1)
        m_context.presentation.AddReleasedCopies(m_first, records - 1);
    std::vector<odbc::FieldValue> values(m_plan.fields.size());
    for (std::size_t k = 0; k < records; ++k) {
        if (!ReportRecordProgress(m_context, m_plan, k + 1))
            return false;
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = m_context.records.ReadValue(i);
        m_result.slideIndex = m_first + k;
        WriteRecord(m_first + k, values, m_groups.ChangedLevel(values));
        // Finished slides give their parsed XML back, so memory stays flat over many records.
        m_context.presentation.Slide(m_first + k).Release();
        m_context.records.MoveNext();
    }
    if (m_plan.progressInterval > 0)
        m_context.reporter.WriteLine("Process complete.");
    if (records == 0)
        ApplyNoData();
    return true;
}

// Every shape is looked up and checked before anything is copied, so a wrong name costs no
// slide.
bool FormFill::FindShapes() {
    pptx::SlidePart& slide = m_context.presentation.Slide(m_first);
    const std::vector<std::string>& cells = m_context.statement.Cells;
    m_fields.resize(m_context.records.FieldCount());
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        FormField& field = m_fields[i];
        field.slot.kind = ClassifyField(m_context.records.FieldTypeCode(i));
        if (i >= cells.size() || cells[i].empty())
            continue;
        field.shapeName = cells[i];
        const pptx::Shape shape = FindNamedShape(slide, field.shapeName);
        if (!shape) {
            m_context.reporter.LogError(
                "Can not find the shape \"" + field.shapeName + "\" in the slide.", "");
            return false;
        }
        if (!shape.HasTextFrame()) {
            m_context.reporter.LogError(
                "Can not add text in the shape \"" + field.shapeName + "\".", "");
            return false;
        }
        const pptx::TextBody text = slide.Text(shape);
        field.slot.templateText = text.Text();
        if (field.slot.kind == ValueKind::Number)
            field.slot.colours =
                TemplateColourReader(slide, shape).Read(text, field.slot.templateText);
    }
    return true;
}

void FormFill::WriteRecord(std::size_t slideIndex, const std::vector<odbc::FieldValue>& values,
                           std::size_t changedLevel) {
    pptx::SlidePart& slide = m_context.presentation.Slide(slideIndex);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].shapeName.empty())
            continue;
        const FieldSlot& field = m_plan.fields[i];
        const pptx::Shape shape = FindNamedShape(slide, m_fields[i].shapeName);
        if (!shape)
            throw std::runtime_error("the shape \"" + m_fields[i].shapeName +
                                     "\" is missing on the copied slide");
        pptx::TextBody text = slide.Text(shape);
        const std::size_t level = m_groups.LevelOf(i);
        if (level != FormGroups::kNoLevel && level < changedLevel) {
            text.SetText(""); // shown on the group's first slide only
        } else if (field.image) {
            if (m_plan.pictures)
                m_plan.pictures->PlaceImage(slide, slide.Bounds(shape).value_or(pptx::Rect{}), text,
                                            values[i], field.imageSettings);
        } else {
            WriteCellValue(text, values[i], field.templateText, field, field.colours,
                           FillKind::Growing, m_context.options.conventions);
        }
    }
}

void FormFill::ApplyNoData() {
    const script::NoDataAction action = m_context.statement.NoData;
    if (action == script::NoDataAction::DelRange || action == script::NoDataAction::DelSlide) {
        m_context.presentation.Delete(m_first);
        m_result.slideDeleted = true;
        return;
    }
    pptx::SlidePart& slide = m_context.presentation.Slide(m_first);
    for (const FormField& field : m_fields) {
        if (!field.shapeName.empty())
            slide.Text(FindNamedShape(slide, field.shapeName)).SetText("");
    }
}

} // namespace

TableFillResult FillForm(TableFillContext& context) {
    TableFillResult result;
    result.slideIndex = context.slideIndex;
    FillPhase phase = FillPhase::CellList;
    try {
        FormFill fill(context, result);
        result.success = fill.Run(phase);
    } catch (const std::exception& error) {
        try {
            context.reporter.LogError(PhaseMessage(context.statement, phase),
                                      "Slide " + std::to_string(result.slideIndex + 1) + ": " +
                                          error.what());
        } catch (...) {
            // The log is the only place to report to; a failing log must not end the run.
        }
        result.success = false;
    }
    CloseRecords(context.records);
    return result;
}

} // namespace slidesmith::fill
