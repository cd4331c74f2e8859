#include "ui/OptionsDialog.h"

#include "engine/RunOptions.h"
#include "platform/settings/SettingNames.h"
#include "platform/settings/SettingsStore.h"
#include "ui/FileDialogService.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

namespace slidesmith::ui {

namespace {

constexpr const char* kFontSizes[] = {"8", "9", "10", "11", "12", "14", "16", "18", "24"};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The classic numeric test: blanks around a decimal number are fine, anything else is not.
std::optional<std::int32_t> ParseTimeout(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < -2147483648.0 || value > 2147483647.0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(std::lround(value));
}

QLabel* BuddyLabel(const char* name, const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace

OptionsDialog::OptionsDialog(settings::SettingsStore& settings, engine::RunOptions& options,
                             std::optional<QFont> editorFont, const QFont& fallbackFont,
                             QWidget* parent)
    : QDialog(parent), m_settings(settings), m_options(options),
      m_fromEditor(editorFont.has_value()) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    if (editorFont) {
        m_initialFont = *editorFont;
    } else {
        m_initialFont = fallbackFont;
        m_initialFont.setFamily(Text(m_settings.GetSettingText(
            settings::kOptionsKey, settings::kFontName, fallbackFont.family().toStdString())));
        m_initialFont.setPointSize(m_settings.GetSettingNumber(
            settings::kOptionsKey, settings::kFontSize, fallbackFont.pointSize()));
    }

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabOptions"));
    tabs->addTab(BuildFontPage(), QStringLiteral("&Font"));
    tabs->addTab(BuildEnvironmentPage(), QStringLiteral("&Environment"));
    tabs->addTab(BuildConnectionPage(), QStringLiteral("Co&nnection"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);
    UpdateSample();
}

QWidget* OptionsDialog::BuildFontPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("fraOptions0"));
    m_fontName = new QComboBox(page);
    m_fontName->setObjectName(QStringLiteral("cboFont"));
    m_fontName->setEditable(true);
    m_fontName->addItems(QFontDatabase::families());
    m_fontName->setCurrentText(m_initialFont.family());
    m_fontSize = new QComboBox(page);
    m_fontSize->setObjectName(QStringLiteral("cboFontSize"));
    m_fontSize->setEditable(true);
    for (const char* size : kFontSizes) {
        m_fontSize->addItem(QString::fromLatin1(size));
    }
    m_fontSize->setCurrentText(QString::number(m_initialFont.pointSize()));
    auto* sampleFrame = new QGroupBox(QStringLiteral("Sample"), page);
    sampleFrame->setObjectName(QStringLiteral("fraFontSample"));
    m_sample = new QLabel(QStringLiteral("AaBbYyZz"), sampleFrame);
    m_sample->setObjectName(QStringLiteral("lblFontSample"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(60);
    auto* sampleLayout = new QVBoxLayout(sampleFrame);
    sampleLayout->addWidget(m_sample);

    auto* grid = new QGridLayout(page);
    grid->addWidget(BuddyLabel("lblFont", QStringLiteral("Fon&t:"), m_fontName, page), 0, 0);
    grid->addWidget(m_fontName, 1, 0);
    grid->addWidget(BuddyLabel("lblFontSize", QStringLiteral("Font &Size:"), m_fontSize, page), 0,
                    1);
    grid->addWidget(m_fontSize, 1, 1);
    grid->addWidget(sampleFrame, 2, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    connect(m_fontName, &QComboBox::currentTextChanged, this, &OptionsDialog::UpdateSample);
    connect(m_fontSize, &QComboBox::currentTextChanged, this, &OptionsDialog::UpdateSample);
    return page;
}

QWidget* OptionsDialog::BuildEnvironmentPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("fraOptions1"));
    m_defaultDirectory = new QLineEdit(
        Text(m_settings.GetSettingText(settings::kOptionsKey, settings::kDefaultDirectory,
                                       settings::kDefaultDefaultDirectory)),
        page);
    m_defaultDirectory->setObjectName(QStringLiteral("txtDefDirectory"));
    auto* browseDirectory = new QPushButton(QStringLiteral("..."), page);
    browseDirectory->setObjectName(QStringLiteral("cmdDefDirectory"));
    m_logEditor =
        new QLineEdit(Text(m_settings.GetSettingText(settings::kOptionsKey, settings::kLogEditor,
                                                     settings::kDefaultLogEditor)),
                      page);
    m_logEditor->setObjectName(QStringLiteral("txtLogEditor"));
    auto* browseEditor = new QPushButton(QStringLiteral("..."), page);
    browseEditor->setObjectName(QStringLiteral("cmdLogEditor"));
    connect(browseDirectory, &QPushButton::clicked, this, &OptionsDialog::ChooseDefaultDirectory);
    connect(browseEditor, &QPushButton::clicked, this, &OptionsDialog::ChooseLogEditor);

    auto* grid = new QGridLayout(page);
    grid->addWidget(BuddyLabel("lblDefDirectory", QStringLiteral("&Default Directory:"),
                               m_defaultDirectory, page),
                    0, 0, 1, 2);
    grid->addWidget(m_defaultDirectory, 1, 0);
    grid->addWidget(browseDirectory, 1, 1);
    grid->addWidget(BuddyLabel("lblLogEditor", QStringLiteral("&Log Editor:"), m_logEditor, page),
                    2, 0, 1, 2);
    grid->addWidget(m_logEditor, 3, 0);
    grid->addWidget(browseEditor, 3, 1);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget* OptionsDialog::BuildConnectionPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("fraOptions2"));
    m_connectionTimeout = new QLineEdit(QString::number(m_options.ConnectionTimeout), page);
    m_connectionTimeout->setObjectName(QStringLiteral("txtConnectionTimeout"));
    m_commandTimeout = new QLineEdit(QString::number(m_options.CommandTimeout), page);
    m_commandTimeout->setObjectName(QStringLiteral("txtCommandTimeout"));
    auto* grid = new QGridLayout(page);
    grid->addWidget(BuddyLabel("lblConnectionTimeout", QStringLiteral("Connec&tion Timeout (s):"),
                               m_connectionTimeout, page),
                    0, 0);
    grid->addWidget(m_connectionTimeout, 0, 1);
    grid->addWidget(BuddyLabel("lblCommandTimeout", QStringLiteral("Comman&d Timeout (s):"),
                               m_commandTimeout, page),
                    1, 0);
    grid->addWidget(m_commandTimeout, 1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QFont OptionsDialog::SelectedFont() const {
    QFont font = m_initialFont;
    font.setFamily(m_fontName->currentText());
    bool ok = false;
    const double size = m_fontSize->currentText().trimmed().toDouble(&ok);
    if (ok && size >= 1 && size <= 400) {
        font.setPointSizeF(size);
    }
    return font;
}

void OptionsDialog::UpdateSample() {
    if (m_sample != nullptr && m_fontName != nullptr && m_fontSize != nullptr) {
        m_sample->setFont(SelectedFont());
    }
}

void OptionsDialog::ChooseLogEditor() {
    const QString path = FileDialogService::Ask(
        this, {FileDialogRequest::Kind::Open, QStringLiteral("Select Log Editor"), QString(),
               QStringLiteral("Executable Files (*.exe)|*.exe|All Type Files (*.*)|*.*")});
    if (!path.isEmpty()) {
        m_logEditor->setText(path);
    }
}

void OptionsDialog::ChooseDefaultDirectory() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Default Directory"), m_defaultDirectory->text());
    if (!folder.isEmpty()) {
        m_defaultDirectory->setText(folder);
    }
}

void OptionsDialog::accept() {
    const QFont font = SelectedFont();
    if (m_fromEditor) {
        m_chosenFont = font;
    }
    m_settings.SaveSettingText(settings::kOptionsKey, settings::kFontName,
                               font.family().toStdString());
    m_settings.SaveSettingNumber(settings::kOptionsKey, settings::kFontSize,
                                 static_cast<std::int32_t>(std::lround(font.pointSizeF())));
    m_settings.SaveSettingText(settings::kOptionsKey, settings::kDefaultDirectory,
                               m_defaultDirectory->text().toStdString());
    m_settings.SaveSettingText(settings::kOptionsKey, settings::kLogEditor,
                               m_logEditor->text().toStdString());
    if (const auto timeout = ParseTimeout(m_connectionTimeout->text())) {
        m_options.ConnectionTimeout = *timeout;
        m_settings.SaveSettingNumber(settings::kOptionsKey, settings::kConnectionTimeout, *timeout);
    }
    if (const auto timeout = ParseTimeout(m_commandTimeout->text())) {
        m_options.CommandTimeout = *timeout;
        m_settings.SaveSettingNumber(settings::kOptionsKey, settings::kCommandTimeout, *timeout);
    }
    QDialog::accept();
}

} // namespace slidesmith::ui
