#include "fill/GrowingTableFill.h"

#include "fill/TableLines.h"
#include "fill/TablePictures.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

namespace slidesmith::fill {

namespace {

// Several-line blocks are never added, so the template must hold every block a page needs.
bool CheckReserve(TableFillContext& context, const TableFillPlan& plan, long pageRecords) {
    if (plan.blockLength <= 1) {
        return true;
    }
    const long reserve = context.statement.Reserve;
    const std::string unit = plan.order == FillOrder::Col ? "column." : "row.";
    if (pageRecords == 0 && reserve < static_cast<long>(plan.recordCount)) {
        context.reporter.LogError("You should add parameter PAGEBREAK or change the value for "
                                  "RESERVE when the length of the range is more then 1 " +
                                      unit,
                                  "");
        return false;
    }
    if (pageRecords != 0 && reserve != pageRecords) {
        context.reporter.LogError(
            "The value \"" + std::to_string(reserve) +
                "\" for parameter RESERVE must be equal to the value \"" +
                std::to_string(pageRecords) +
                "\" for PAGEBREAK when the length of the range is more then 1 " + unit,
            "");
        return false;
    }
    return true;
}

class GrowingFill {
public:
    GrowingFill(TableFillContext& context, TableFillResult& result)
        : m_context(context), m_result(result), m_slideIndex(context.slideIndex) {}

    bool Run(FillPhase& phase);

private:
    bool PrepareBlocks();
    bool FillPages();
    bool OpenPage(std::size_t page);
    void WritePage(std::size_t page, std::size_t pageRecords, bool& interrupted);
    void ApplyNoData();

    TableFillContext& m_context;
    TableFillResult& m_result;
    TableFillPlan m_plan;
    std::size_t m_slideIndex;
    pptx::SlidePart* m_slide = nullptr;
    pptx::Shape m_shape;
    std::unique_ptr<pptx::TableEditor> m_table;
    bool m_byRow = true;
    std::size_t m_blockStart = 0;  // B: the block's first row (column)
    std::size_t m_pageRecords = 0; // P: records per page, 0 for one page
    std::size_t m_pages = 1;       // G
    int m_ordinal = 0;
};

bool GrowingFill::Run(FillPhase& phase) {
    m_slide = &m_context.presentation.Slide(m_slideIndex);
    m_shape = m_context.tableShape;
    m_table = std::make_unique<pptx::TableEditor>(m_slide->Table(m_shape));
    {
        const TemplateColourReader colourReader(*m_slide, m_shape);
        std::optional<TableFillPlan> plan =
            StartTableFill(m_context, *m_table, colourReader, phase);
        if (!plan) {
            return false;
        }
        m_plan = std::move(*plan);
    }
    m_byRow = m_plan.order != FillOrder::Col;
    m_blockStart = static_cast<std::size_t>(m_byRow ? m_plan.block.minRow : m_plan.block.minColumn);
    m_pageRecords = static_cast<std::size_t>(std::max<int>(m_context.statement.PageBreak.Rows, 0));
    if (!CheckReserve(m_context, m_plan, static_cast<long>(m_pageRecords))) {
        return false;
    }
    m_ordinal = TableOrdinal(*m_slide, m_shape);
    if (!PrepareBlocks() || !FillPages()) {
        return false;
    }
    if (m_plan.recordCount == 0) {
        ApplyNoData();
    }
    if (m_plan.progressInterval > 0) {
        m_context.reporter.WriteLine("Process complete.");
    }
    return true;
}

// Grows the first page to its record count and makes the page copies.
bool GrowingFill::PrepareBlocks() {
    const std::size_t records = m_plan.recordCount;
    const auto length = static_cast<std::size_t>(m_plan.blockLength);
    TableLines lines(*m_table, m_byRow);
    // Texts of the block's first line outside the field cells (labels, units) go into every
    // added line too.
    std::vector<std::pair<std::size_t, std::string>> staticTexts;
    if (records >= 1) {
        std::vector<bool> carriesField(lines.CrossCount() + 1, false);
        for (const FieldSlot& field : m_plan.fields) {
            carriesField[CrossOf(field.cell, m_byRow)] = true;
        }
        for (std::size_t cross = 1; cross <= lines.CrossCount(); ++cross) {
            if (!carriesField[cross]) {
                std::string text = lines.Text(m_blockStart, cross).Text();
                if (!text.empty()) {
                    staticTexts.emplace_back(cross, std::move(text));
                }
            }
        }
    }
    const std::size_t firstPage =
        m_pageRecords == 0 || m_pageRecords > records ? records : m_pageRecords;
    const auto reserve = static_cast<std::size_t>(m_context.statement.Reserve);
    const std::size_t added = firstPage > reserve ? (firstPage - reserve) * length : 0;
    for (std::size_t i = 0; i < added; ++i) {
        lines.Add(m_blockStart);
        for (const auto& [cross, text] : staticTexts) {
            lines.Text(m_blockStart, cross).SetText(text);
        }
    }
    if (m_pageRecords > 0 && m_pageRecords < records) {
        m_pages = records / m_pageRecords + (records % m_pageRecords != 0 ? 1 : 0);
        // The last page is copied before the trimming, so it alone keeps the rows below the
        // block (a totals row); the copies of the trimmed slide go between it and the template.
        // Copies wait as bytes until their page is filled: thousands of them held as documents
        // would be most of a big report's memory.
        m_context.presentation.Duplicate(m_slideIndex).Release();
        const std::size_t firstBelow = m_blockStart + m_pageRecords * length;
        while (lines.Count() >= firstBelow) {
            lines.Delete(firstBelow);
        }
        m_context.presentation.AddReleasedCopies(m_slideIndex, m_pages - 2);
    }
    return true;
}

bool GrowingFill::OpenPage(std::size_t page) {
    m_table.reset();
    m_slide->Release();
    m_slideIndex = m_context.slideIndex + page - 1;
    m_result.slideIndex = m_slideIndex;
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
    return true;
}

bool GrowingFill::FillPages() {
    const std::size_t records = m_plan.recordCount;
    const auto length = static_cast<std::size_t>(m_plan.blockLength);
    const auto reserve = static_cast<std::size_t>(m_context.statement.Reserve);
    for (std::size_t page = 1; page <= m_pages; ++page) {
        if (page > 1 && !OpenPage(page)) {
            return false;
        }
        std::size_t pageRecords = m_pageRecords;
        if (m_pageRecords == 0) {
            pageRecords = records;
        } else if (page == m_pages && records % m_pageRecords != 0) {
            pageRecords = records % m_pageRecords;
        }
        pageRecords = std::min(pageRecords, records);
        if (page == m_pages) {
            // Surplus blocks go from the top of the block, so at least one block stays.
            const std::size_t kept =
                m_pages == 1 ? std::max<std::size_t>(pageRecords, 1) : pageRecords;
            const std::size_t prepared = m_pages == 1 ? reserve : m_pageRecords;
            const std::size_t surplus = prepared > kept ? (prepared - kept) * length : 0;
            TableLines lines(*m_table, m_byRow);
            for (std::size_t i = 0; i < surplus; ++i) {
                lines.Delete(m_blockStart);
            }
        }
        bool interrupted = false;
        WritePage(page, pageRecords, interrupted);
        if (interrupted) {
            return false;
        }
    }
    return true;
}

void GrowingFill::WritePage(std::size_t page, std::size_t pageRecords, bool& interrupted) {
    const auto length = static_cast<std::size_t>(m_plan.blockLength);
    TableLines lines(*m_table, m_byRow);
    TablePictures pictures(m_plan, *m_slide, *m_table, m_shape);
    for (std::size_t k = 0; k < pageRecords; ++k) {
        if (!ReportRecordProgress(m_context, m_plan, k + 1 + (page - 1) * m_pageRecords)) {
            interrupted = true;
            return;
        }
        for (std::size_t i = 0; i < m_plan.fields.size(); ++i) {
            const FieldSlot& field = m_plan.fields[i];
            const odbc::FieldValue value = m_context.records.ReadValue(i);
            if (field.image) {
                const std::size_t line = LineOf(field.cell, m_byRow) + k * length;
                const std::size_t cross = CrossOf(field.cell, m_byRow);
                pictures.Place(m_byRow ? line : cross, m_byRow ? cross : line, value,
                               field.imageSettings);
                continue;
            }
            // Added blocks hold no format texts of their own: the template's serve every record.
            WriteCellValue(
                lines.Text(LineOf(field.cell, m_byRow) + k * length, CrossOf(field.cell, m_byRow)),
                value, field.templateText, field, field.colours, FillKind::Growing,
                m_context.options.conventions);
        }
        m_context.records.MoveNext();
    }
}

void GrowingFill::ApplyNoData() {
    const auto length = static_cast<std::size_t>(m_plan.blockLength);
    TableLines lines(*m_table, m_byRow);
    switch (m_context.statement.NoData) {
    case script::NoDataAction::DelRange:
        if (m_blockStart == 1 && lines.Count() <= length) {
            // A table without rows is not valid; an emptied table is no table.
            DropTable(m_table, *m_slide, m_shape, m_result);
            return;
        }
        for (std::size_t i = 0; i < length; ++i) {
            lines.Delete(m_blockStart);
        }
        return;
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
        ClearFieldCells(lines, m_plan.fields, m_byRow);
        return;
    }
}

} // namespace

TableFillResult FillGrowingTable(TableFillContext& context) {
    return RunPagedFill<GrowingFill>(context);
}

} // namespace slidesmith::fill
