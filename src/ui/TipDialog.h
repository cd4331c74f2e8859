#pragma once

#include <QDialog>
#include <QStringList>
#include <filesystem>

class QCheckBox;
class QLabel;

namespace slidesmith::settings {
class SettingsStore;
}

namespace slidesmith::ui {

// Reads a tips file: one tip per line, lines trimmed, empty lines skipped, the two characters
// \n inside a tip standing for a line break. A missing file gives no tips.
QStringList LoadTips(const std::filesystem::path& file);

// The text shown when there are no tips.
QString MissingTipsText();

// "Tip of the Day" (frmTip): one tip at a time, starting at a random one; Next Tip cycles. The
// "Show Tips at Startup" box is stored as ShowTips when the dialog closes, however it closes.
class TipDialog : public QDialog {
    Q_OBJECT
public:
    TipDialog(const std::filesystem::path& tipsFile, settings::SettingsStore& settings,
              QWidget* parent = nullptr);

    // 1-based index of the tip shown; 0 when there are none.
    int CurrentIndex() const { return m_current; }

    void done(int result) override;

private:
    void ShowNextTip();
    void ShowCurrentTip();

    settings::SettingsStore& m_settings;
    QStringList m_tips;
    int m_current = 0;
    QLabel* m_tipText = nullptr;
    QCheckBox* m_showAtStartup = nullptr;
};

} // namespace slidesmith::ui
