#include "fill/FormGroups.h"

#include "fill/FieldEntries.h"
#include "fill/GroupResolution.h"

#include <algorithm>
#include <string>

namespace slidesmith::fill {

bool FormGroups::Resolve(const std::vector<script::GroupLevel>& groups, const RecordSource& records,
                         FillReporter& reporter) {
    const std::vector<std::string> names = FieldNames(records);
    m_levelOf.assign(names.size(), kNoLevel);
    for (std::size_t level = 0; level < groups.size(); ++level) {
        std::vector<std::size_t> fields;
        if (auto failure = ResolveGroupFields(groups[level].Fields, level + 1, names, fields)) {
            reporter.LogError(failure->message, failure->detail);
            return false;
        }
        for (const std::size_t field : fields)
            m_levelOf[field] = std::min(m_levelOf[field], level);
        m_levels.push_back(std::move(fields));
    }
    return true;
}

std::size_t FormGroups::LevelOf(std::size_t field) const {
    return field < m_levelOf.size() ? m_levelOf[field] : kNoLevel;
}

std::size_t FormGroups::ChangedLevel(const std::vector<odbc::FieldValue>& values) {
    std::size_t changed = 0;
    if (!m_first) {
        changed = m_levels.size();
        for (std::size_t level = 0; level < m_levels.size() && changed == m_levels.size();
             ++level) {
            const auto& fields = m_levels[level];
            if (std::any_of(fields.begin(), fields.end(),
                            [&](std::size_t f) { return !(values[f] == m_previous[f]); }))
                changed = level;
        }
    }
    m_first = false;
    m_previous = values;
    return changed;
}

} // namespace slidesmith::fill
