#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace slidesmith::settings {
class SettingsStore;
}

namespace slidesmith::ui {

// One entry of the File menu's recent-files list as the menu shows it.
struct RecentFileSlot {
    std::string Caption;
    bool Visible = false;
    bool Enabled = false;
};

// The five most recently opened or saved definitions, newest first. A fresh list shows one
// disabled "(Empty)" entry. Opening a file already listed moves it to the top; a sixth file
// pushes out the oldest. The main window and the editor both show this one list.
class RecentFileList {
public:
    static constexpr std::size_t kSlotCount = 5;

    RecentFileList();

    // Puts path at the top of the list.
    void Add(const std::string& path);
    const std::array<RecentFileSlot, kSlotCount>& Slots() const { return m_slots; }
    // The paths in use, newest first.
    std::vector<std::string> Files() const;

    // Reads File1 to File5 of the Recent Files key; empty values are skipped.
    void Load(const settings::SettingsStore& store);
    // Writes the entries in use as File1, File2, ... in order.
    void Save(settings::SettingsStore& store) const;

private:
    bool IsInUse(std::size_t slot) const { return m_slots[slot].Visible && m_slots[slot].Enabled; }

    std::array<RecentFileSlot, kSlotCount> m_slots;
};

} // namespace slidesmith::ui
