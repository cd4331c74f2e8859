#include "fill/GroupPage.h"

#include <stdexcept>

namespace slidesmith::fill {

GroupPage::GroupPage(pptx::TableEditor& table, const GroupedTemplate& layout,
                     const LocaleConventions& conventions, TablePictures& pictures)
    : m_lines(table, layout.byRow), m_layout(layout), m_conventions(conventions),
      m_pictures(pictures), m_detailFirst(layout.detailFirst),
      m_availableLines(layout.preparedBlocks * layout.detailLength) {}

void GroupPage::WriteField(std::size_t field, std::size_t line, const odbc::FieldValue& value) {
    const FieldSlot& slot = m_layout.fields[field];
    if (slot.image) {
        m_pending.push_back({field, line, value});
        return;
    }
    WriteCellValue(m_lines.Text(line, CrossOf(slot.cell, m_layout.byRow)), value, slot.templateText,
                   slot, slot.colours, FillKind::Growing, m_conventions);
}

void GroupPage::Begin(std::size_t firstLevel, const std::vector<odbc::FieldValue>& values) {
    // The page is still the template here, so template lines are page lines until the first
    // deletion; headers are written first and the unused blocks removed from the bottom up.
    std::vector<bool> keep;
    std::vector<bool> drop;
    for (const GroupedTemplate::Header& header : m_layout.headers) {
        if (keep.size() <= header.last) {
            keep.resize(header.last + 1, false);
            drop.resize(header.last + 1, false);
        }
        for (std::size_t line = header.first; line <= header.last; ++line) {
            (header.level >= firstLevel ? keep : drop)[line] = true;
        }
    }
    for (std::size_t field = 0; field < m_layout.fields.size(); ++field) {
        const int level = m_layout.header[field];
        if (level >= 0 && static_cast<std::size_t>(level) >= firstLevel) {
            WriteField(field, LineOf(m_layout.fields[field].cell, m_layout.byRow), values[field]);
        }
    }
    const std::size_t detailEnd = m_layout.detailFirst + m_availableLines;
    for (std::size_t line = drop.size(); line-- > 1;) {
        const bool inDetail = line >= m_layout.detailFirst && line < detailEnd;
        if (drop[line] && !keep[line] && !inDetail) {
            m_lines.Delete(line);
            if (line < m_layout.detailFirst) {
                --m_detailFirst;
            }
            // Header pictures wait for the page's end; their lines move up with the deletion.
            for (PendingPicture& picture : m_pending) {
                picture.line -= picture.line > line ? 1 : 0;
            }
        }
    }
}

void GroupPage::AddDetailLine(std::size_t before) {
    m_lines.Add(before);
    for (const auto& [cross, text] : m_layout.staticTexts) {
        m_lines.Text(before, cross).SetText(text);
    }
    ++m_availableLines;
}

void GroupPage::WriteDetail(std::size_t changed, const std::vector<odbc::FieldValue>& values) {
    const std::size_t length = m_layout.detailLength;
    const std::size_t start = m_detailFirst + m_records * length;
    const std::size_t used = (m_records + 1) * length;
    if (used > m_availableLines) {
        // The consistency rules keep several-line blocks within the prepared ones.
        throw std::logic_error("no prepared detail block is left for record " +
                               std::to_string(m_records + 1) + " of the page");
    }
    // A prepared line still shows the template's format texts; an added one is empty.
    bool prepared = true;
    if (length == 1 && used == m_availableLines) {
        // Keep the last unfilled line as the pattern the following lines are copied from.
        AddDetailLine(start);
        prepared = false;
    }
    for (std::size_t field = 0; field < m_layout.fields.size(); ++field) {
        if (m_layout.header[field] >= 0) {
            continue;
        }
        const std::size_t line =
            start + LineOf(m_layout.fields[field].cell, m_layout.byRow) - m_layout.detailFirst;
        if (changed <= m_layout.writeLevel[field]) {
            WriteField(field, line, values[field]);
        } else if (prepared) {
            m_lines.Text(line, CrossOf(m_layout.fields[field].cell, m_layout.byRow)).SetText("");
        }
    }
    ++m_records;
}

void GroupPage::Finish(bool lastPage) {
    const std::size_t filledEnd = m_detailFirst + m_records * m_layout.detailLength;
    for (std::size_t i = m_records * m_layout.detailLength; i < m_availableLines; ++i) {
        m_lines.Delete(filledEnd);
    }
    m_availableLines = m_records * m_layout.detailLength;
    if (!lastPage) {
        while (m_lines.Count() >= filledEnd && m_lines.Count() > 1) {
            m_lines.Delete(m_lines.Count());
        }
    }
    // Lines are added and removed above and between blocks while a page is written, so a
    // picture placed earlier would lose its cell.
    for (const PendingPicture& picture : m_pending) {
        const FieldSlot& slot = m_layout.fields[picture.field];
        const std::size_t cross = CrossOf(slot.cell, m_layout.byRow);
        m_pictures.Place(m_layout.byRow ? picture.line : cross,
                         m_layout.byRow ? cross : picture.line, picture.value, slot.imageSettings);
    }
    m_pending.clear();
}

} // namespace slidesmith::fill
