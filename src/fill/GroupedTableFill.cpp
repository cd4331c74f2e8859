#include "fill/GroupedTableFill.h"

#include "fill/GroupConsistency.h"
#include "fill/GroupPage.h"
#include "fill/GroupResolution.h"
#include "fill/GroupedTemplate.h"
#include "fill/TableLines.h"
#include "fill/TablePictures.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

namespace slidesmith::fill {

namespace {

class GroupedFill {
public:
    GroupedFill(TableFillContext& context, TableFillResult& result)
        : m_context(context), m_result(result), m_slideIndex(context.slideIndex) {}

    bool Run(FillPhase& phase);

private:
    bool Resolve(FillPhase& phase);
    bool FillRecords();
    bool NextPage();
    void OpenPage();
    void DeleteSpare();
    void ApplyNoData();

    TableFillContext& m_context;
    TableFillResult& m_result;
    TableFillPlan m_plan;
    std::vector<GroupLevelPlan> m_levels;
    GroupLayout m_layout;
    GroupedTemplate m_template;
    std::size_t m_slideIndex;
    pptx::SlidePart* m_slide = nullptr;
    pptx::Shape m_shape;
    std::unique_ptr<pptx::TableEditor> m_table;
    std::unique_ptr<TablePictures> m_pictures;
    std::unique_ptr<GroupPage> m_page;
    bool m_byRow = true;
    bool m_spare = false; // an unfilled copy of the current slide follows it
    int m_ordinal = 0;
};

bool GroupedFill::Run(FillPhase& phase) {
    m_slide = &m_context.presentation.Slide(m_slideIndex);
    m_shape = m_context.tableShape;
    m_table = std::make_unique<pptx::TableEditor>(m_slide->Table(m_shape));
    if (!Resolve(phase)) {
        return false;
    }
    m_ordinal = TableOrdinal(*m_slide, m_shape);
    if (m_plan.recordCount == 0) {
        ApplyNoData();
    } else if (!FillRecords()) {
        return false;
    }
    if (m_plan.progressInterval > 0) {
        m_context.reporter.WriteLine("Process complete.");
    }
    return true;
}

// Cells, groups, group ranges, RANGE and the consistency rules, in that order; nothing in
// the table has changed when this refuses.
bool GroupedFill::Resolve(FillPhase& phase) {
    {
        const TemplateColourReader colourReader(*m_slide, m_shape);
        std::optional<TableFillPlan> plan =
            StartTableFillCells(m_context, *m_table, colourReader, phase);
        if (!plan) {
            return false;
        }
        m_plan = std::move(*plan);
    }
    script::StatementRecord& statement = m_context.statement;
    m_byRow = m_plan.order != FillOrder::Col;
    std::vector<std::string> names;
    std::vector<CellCoordinate> cells;
    for (std::size_t i = 0; i < m_plan.fields.size(); ++i) {
        names.push_back(m_context.records.FieldName(i));
        cells.push_back(m_plan.fields[i].cell);
    }
    phase = FillPhase::Groups;
    std::optional<FillMessage> failure = ResolveGroups(statement.Groups, names, cells, m_levels);
    if (!failure) {
        phase = FillPhase::GroupRanges;
        failure = ApplyGroupRanges(statement.Groups, m_plan.order, m_levels);
    }
    if (!failure) {
        phase = FillPhase::Range;
        m_plan.block = DetailBounds(m_levels, cells);
        failure = ApplyRange(statement.RangeText, m_plan.order, m_plan.block);
    }
    if (!failure) {
        m_plan.blockLength = BlockLength(m_plan.block, m_plan.order);
        const script::PageBreakSpec& pageBreak = statement.PageBreak;
        m_layout = DecideGroupLayout(m_levels, {.detail = m_plan.block,
                                                .order = m_plan.order,
                                                .recordCount = m_plan.recordCount,
                                                .reserve = statement.Reserve,
                                                .recordsPerPage = std::max<long>(pageBreak.Rows, 0),
                                                .breakByGroup = pageBreak.Group != 0,
                                                .breakLevel = pageBreak.GroupLevel});
        failure = m_layout.refusal;
    }
    if (failure) {
        m_context.reporter.LogError(failure->message, failure->detail);
        return false;
    }
    if (m_layout.warning) {
        m_context.reporter.WriteLine(*m_layout.warning);
    }
    // Image cells are cleared on the template before any page copy is made of it.
    if (!ResolveTableImages(m_context, *m_table, m_plan, phase)) {
        return false;
    }
    phase = FillPhase::Records;
    m_template = BuildGroupedTemplate(m_plan, m_levels, statement.Reserve, *m_table);
    return true;
}

bool GroupedFill::FillRecords() {
    const script::StatementRecord& statement = m_context.statement;
    const std::size_t records = m_plan.recordCount;
    const auto perPage = static_cast<std::size_t>(std::max<int>(statement.PageBreak.Rows, 0));
    const auto breakLevel = static_cast<std::size_t>(m_layout.breakLevel);
    if (records > 1 && (breakLevel > 0 || (perPage > 0 && perPage < records))) {
        m_context.presentation.Duplicate(m_slideIndex);
        m_spare = true;
    }
    OpenPage();
    std::vector<odbc::FieldValue> previous;
    std::size_t onPage = 0;
    for (std::size_t k = 0; k < records; ++k) {
        if (!ReportRecordProgress(m_context, m_plan, k + 1)) {
            // What was written stays, as a page that ends here would look.
            m_page->Finish(true);
            DeleteSpare();
            return false;
        }
        std::vector<odbc::FieldValue> values;
        values.reserve(m_plan.fields.size());
        for (std::size_t i = 0; i < m_plan.fields.size(); ++i) {
            values.push_back(m_context.records.ReadValue(i));
        }
        // No page break comes before the first group: the first record opens the first page.
        std::size_t changed = k == 0 ? 0 : ChangedLevel(m_levels, previous, values);
        const bool byGroup = k > 0 && breakLevel > 0 && changed < breakLevel;
        const bool byRecord = k > 0 && perPage > 0 && onPage == perPage;
        if (byGroup || byRecord) {
            m_page->Finish(false);
            if (!NextPage()) {
                return false;
            }
            onPage = 0;
            if ((byGroup && statement.PageBreak.GroupS) ||
                (byRecord && statement.PageBreak.RowsS)) {
                changed = 0; // headers of every level again at the top of the page
            }
        }
        if (onPage == 0) {
            m_page->Begin(changed, values);
        }
        m_page->WriteDetail(changed, values);
        ++onPage;
        previous = std::move(values);
        m_context.records.MoveNext();
    }
    m_page->Finish(true);
    DeleteSpare();
    return true;
}

// Moves to the unfilled copy after the current slide and copies it again before writing, so
// the next page also starts from the template.
bool GroupedFill::NextPage() {
    m_page.reset();
    m_pictures.reset();
    m_table.reset();
    m_slide->Release();
    ++m_slideIndex;
    m_result.slideIndex = m_slideIndex;
    m_context.presentation.Duplicate(m_slideIndex);
    m_slide = &m_context.presentation.Slide(m_slideIndex);
    m_shape = FindTableShape(*m_slide, m_ordinal);
    if (!m_shape) {
        m_context.reporter.LogError("Syntax error. The table \"" + m_context.statement.Target +
                                        "\" in slide \"" + std::to_string(m_slideIndex + 1) +
                                        "\" does not exist.",
                                    "");
        return false;
    }
    m_table = std::make_unique<pptx::TableEditor>(m_slide->Table(m_shape));
    OpenPage();
    return true;
}

void GroupedFill::OpenPage() {
    m_pictures = std::make_unique<TablePictures>(m_plan, *m_slide, *m_table, m_shape);
    m_page = std::make_unique<GroupPage>(*m_table, m_template, m_context.options.conventions,
                                         *m_pictures);
}

void GroupedFill::DeleteSpare() {
    if (m_spare) {
        m_context.presentation.Delete(m_slideIndex + 1);
        m_spare = false;
    }
}

void GroupedFill::ApplyNoData() {
    const GroupedTemplate& layout = m_template;
    const std::size_t length = layout.detailLength;
    TableLines lines(*m_table, m_byRow);
    for (std::size_t i = length; i < layout.preparedBlocks * length; ++i) {
        lines.Delete(layout.detailFirst);
    }
    switch (m_context.statement.NoData) {
    case script::NoDataAction::DelRange: {
        // Every block of the statement goes: headers without records say nothing.
        std::vector<bool> remove(lines.Count() + 1, false);
        for (const GroupedTemplate::Header& header : layout.headers) {
            std::fill(remove.begin() + static_cast<std::ptrdiff_t>(header.first),
                      remove.begin() + static_cast<std::ptrdiff_t>(header.last + 1), true);
        }
        std::fill(remove.begin() + static_cast<std::ptrdiff_t>(layout.detailFirst),
                  remove.begin() + static_cast<std::ptrdiff_t>(layout.detailFirst + length), true);
        if (std::count(remove.begin() + 1, remove.end(), true) ==
            static_cast<std::ptrdiff_t>(lines.Count())) {
            // A table without rows is not valid; an emptied table is no table.
            DropTable(m_table, *m_slide, m_shape, m_result);
            return;
        }
        for (std::size_t line = lines.Count(); line >= 1; --line) {
            if (remove[line]) {
                lines.Delete(line);
            }
        }
        return;
    }
    case script::NoDataAction::DelTable:
        DropTable(m_table, *m_slide, m_shape, m_result);
        return;
    case script::NoDataAction::DelSlide:
        m_table.reset();
        m_slide = nullptr;
        m_context.presentation.Delete(m_slideIndex);
        m_result.slideDeleted = true;
        return;
    case script::NoDataAction::None:
        ClearFieldCells(lines, layout.fields, m_byRow);
        return;
    }
}

} // namespace

TableFillResult FillGroupedTable(TableFillContext& context) {
    return RunPagedFill<GroupedFill>(context);
}

} // namespace slidesmith::fill
