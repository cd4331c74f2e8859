#pragma once

#include <QDialog>
#include <QFont>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace slidesmith::engine {
struct RunOptions;
}
namespace slidesmith::settings {
class SettingsStore;
}

namespace slidesmith::ui {

// "Options" (frmOptions): editor font, default folder, log editor and the two timeouts.
// Opened with the editor's font, the font page starts from it and OK hands the chosen font
// back through ChosenFont for the editor to apply at once; opened from the frame, the font
// page starts from the stored font and only the store changes. A timeout that is not a
// number leaves that timeout as it was, in memory and in the store.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(settings::SettingsStore& settings, engine::RunOptions& options,
                  std::optional<QFont> editorFont, const QFont& fallbackFont,
                  QWidget* parent = nullptr);

    // The font chosen on OK, when the dialog was opened from the editor.
    std::optional<QFont> ChosenFont() const { return m_chosenFont; }

    void accept() override;

private:
    QWidget* BuildFontPage();
    QWidget* BuildEnvironmentPage();
    QWidget* BuildConnectionPage();
    void UpdateSample();
    void ChooseLogEditor();
    void ChooseDefaultDirectory();
    QFont SelectedFont() const;

    settings::SettingsStore& m_settings;
    engine::RunOptions& m_options;
    bool m_fromEditor = false;
    QFont m_initialFont;
    std::optional<QFont> m_chosenFont;
    QComboBox* m_fontName = nullptr;
    QComboBox* m_fontSize = nullptr;
    QLabel* m_sample = nullptr;
    QLineEdit* m_defaultDirectory = nullptr;
    QLineEdit* m_logEditor = nullptr;
    QLineEdit* m_connectionTimeout = nullptr;
    QLineEdit* m_commandTimeout = nullptr;
};

} // namespace slidesmith::ui
