#include "ui/RecentFileList.h"

#include "platform/settings/SettingNames.h"
#include "platform/settings/SettingsStore.h"

namespace slidesmith::ui {

RecentFileList::RecentFileList() {
    m_slots[0] = {"(Empty)", true, false};
}

void RecentFileList::Add(const std::string& path) {
    // A disabled slot only holds the "(Empty)" placeholder, so it counts as free: taking the
    // next hidden slot instead would push the placeholder down the list as if it were a file.
    std::size_t target = kSlotCount - 1;
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        if (!IsInUse(slot) || m_slots[slot].Caption == path) {
            target = slot;
            break;
        }
    }
    m_slots[target].Visible = true;
    m_slots[target].Enabled = true;
    for (std::size_t slot = target; slot > 0; --slot) {
        m_slots[slot].Caption = m_slots[slot - 1].Caption;
    }
    m_slots[0].Caption = path;
}

std::vector<std::string> RecentFileList::Files() const {
    std::vector<std::string> files;
    for (std::size_t slot = 0; slot < kSlotCount && IsInUse(slot); ++slot) {
        files.push_back(m_slots[slot].Caption);
    }
    return files;
}

void RecentFileList::Load(const settings::SettingsStore& store) {
    std::size_t slot = 0;
    for (const auto name : settings::kRecentFileNames) {
        std::string path =
            store.GetSettingText(settings::kRecentFilesKey, name, settings::kDefaultRecentFile);
        if (path.empty()) {
            continue;
        }
        m_slots[slot++] = {std::move(path), true, true};
    }
}

void RecentFileList::Save(settings::SettingsStore& store) const {
    for (std::size_t slot = 0; slot < kSlotCount && IsInUse(slot); ++slot) {
        store.SaveSettingText(settings::kRecentFilesKey, settings::kRecentFileNames[slot],
                              m_slots[slot].Caption);
    }
}

} // namespace slidesmith::ui
