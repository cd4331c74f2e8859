#include "ui/ConfigurationDialog.h"

#include "ui/DataSourceDialog.h"
#include "ui/DialogParts.h"
#include "ui/MessageService.h"
#include "ui/ParameterDialog.h"
#include "ui/ReportFileNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace slidesmith::ui {
namespace {

constexpr int kFileTab = 0;

// "PowerPoint Presentation (*.ppt *.pps)".
QString FileTypeCaption(const definition::ConversionFormat& format) {
    std::string caption = format.Description + " (";
    bool first = true;
    for (const std::string& extension : SplitExtensions(format.Extensions)) {
        caption += (first ? "*." : " *.") + extension;
        first = false;
    }
    return FromUtf8(caption + ")");
}

QFrame* MakePage(const char* objectName) {
    auto* page = new QFrame;
    page->setObjectName(QString::fromLatin1(objectName));
    return page;
}

// The row at the same position after a deletion, or the new last row.
void SelectAfterDeletion(QListWidget* list, int deletedRow) {
    int count = list->count();
    if (count == 0)
        return;
    list->setCurrentRow(deletedRow < count ? deletedRow : count - 1);
}

} // namespace

ConfigurationDialog::ConfigurationDialog(
    definition::ReportDefinition& definition,
    const std::vector<definition::ConversionFormat>& conversionTable, ConnectionTest connectionTest,
    QWidget* parent)
    : QDialog(parent), m_definition(definition), m_conversionTable(conversionTable),
      m_connectionTest(std::move(connectionTest)) {
    setObjectName(QStringLiteral("frmConfiguration"));
    setWindowTitle(QStringLiteral("Configuration"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabConfiguration"));
    m_tabs->addTab(BuildFilePage(), QStringLiteral("&File"));
    m_tabs->addTab(BuildDataSourcePage(), QStringLiteral("Data &Source"));
    m_tabs->addTab(BuildParameterPage(), QStringLiteral("P&arameter"));

    QPushButton* ok = MakeButton(this, "cmdOK", QStringLiteral("OK"));
    QPushButton* cancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    connect(m_tabs, &QTabWidget::currentChanged, this, &ConfigurationDialog::UpdateButtons);
    connect(ok, &QPushButton::clicked, this, &ConfigurationDialog::Confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Load();
}

QWidget* ConfigurationDialog::BuildFilePage() {
    QFrame* page = MakePage("fraConfiguration0");
    m_template = MakeLineEdit(page, "txtTemplateFile");
    m_report = MakeLineEdit(page, "txtReportFile");
    m_log = MakeLineEdit(page, "txtLogFile");
    m_fileType = new QComboBox(page);
    m_fileType->setObjectName(QStringLiteral("cboFileType"));
    QPushButton* browse = MakeButton(page, "cmdTemplateFile", QStringLiteral("..."));
    browse->setToolTip(QStringLiteral("Open"));
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);

    auto* grid = new QGridLayout(page);
    grid->addWidget(
        MakeLabel(page, "lblTemplateFile", QStringLiteral("&Template File:"), m_template), 0, 0);
    grid->addWidget(m_template, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(MakeLabel(page, "lblReportFile", QStringLiteral("&Report File:"), m_report), 1,
                    0);
    grid->addWidget(m_report, 1, 1);
    grid->addWidget(MakeLabel(page, "lblLogFile", QStringLiteral("&Log File:"), m_log), 2, 0);
    grid->addWidget(m_log, 2, 1);
    grid->addWidget(MakeLabel(page, "lblFileType", QStringLiteral("File T&ype:"), m_fileType), 3,
                    0);
    grid->addWidget(m_fileType, 3, 1);
    grid->setColumnMinimumWidth(1, 360);
    grid->setRowStretch(4, 1);

    m_template->installEventFilter(this);
    m_report->installEventFilter(this);
    connect(browse, &QPushButton::clicked, this, &ConfigurationDialog::BrowseTemplate);
    connect(m_fileType, &QComboBox::currentIndexChanged, this,
            &ConfigurationDialog::ApplyFileTypeRule);
    return page;
}

QWidget* ConfigurationDialog::BuildDataSourcePage() {
    QFrame* page = MakePage("fraConfiguration1");
    m_dataSourceList = new QListWidget(page);
    m_dataSourceList->setObjectName(QStringLiteral("lstDataSource"));
    m_addDataSource = MakeButton(page, "cmdAddDS", QStringLiteral("&New..."));
    m_editDataSource = MakeButton(page, "cmdModifyDS", QStringLiteral("&Edit..."));
    m_deleteDataSource = MakeButton(page, "cmdDeleteDS", QStringLiteral("&Delete"));
    m_testDataSource = MakeButton(page, "cmdTestDS", QStringLiteral("&Test"));
    m_encrypt = new QCheckBox(QStringLiteral("Enc&rypt Password"), page);
    m_encrypt->setObjectName(QStringLiteral("chkEncryptPwd"));

    auto* grid = new QGridLayout(page);
    grid->addWidget(
        MakeLabel(page, "lblDataSource", QStringLiteral("D&ata Source:"), m_dataSourceList), 0, 0);
    grid->addWidget(m_dataSourceList, 1, 0, 5, 1);
    grid->addWidget(m_addDataSource, 1, 1);
    grid->addWidget(m_editDataSource, 2, 1);
    grid->addWidget(m_deleteDataSource, 3, 1);
    grid->addWidget(m_testDataSource, 4, 1);
    grid->setRowStretch(5, 1);
    grid->addWidget(m_encrypt, 6, 0, 1, 2);

    connect(m_dataSourceList, &QListWidget::currentRowChanged, this,
            &ConfigurationDialog::UpdateButtons);
    connect(m_dataSourceList, &QListWidget::itemDoubleClicked, this,
            &ConfigurationDialog::EditDataSource);
    connect(m_addDataSource, &QPushButton::clicked, this, &ConfigurationDialog::AddDataSource);
    connect(m_editDataSource, &QPushButton::clicked, this, &ConfigurationDialog::EditDataSource);
    connect(m_deleteDataSource, &QPushButton::clicked, this,
            &ConfigurationDialog::DeleteDataSource);
    connect(m_testDataSource, &QPushButton::clicked, this, &ConfigurationDialog::TestDataSource);
    return page;
}

QWidget* ConfigurationDialog::BuildParameterPage() {
    QFrame* page = MakePage("fraConfiguration2");
    m_parameterList = new QListWidget(page);
    m_parameterList->setObjectName(QStringLiteral("lstParameter"));
    m_addParameter = MakeButton(page, "cmdAddPara", QStringLiteral("&New..."));
    m_editParameter = MakeButton(page, "cmdModifyPara", QStringLiteral("&Edit..."));
    m_deleteParameter = MakeButton(page, "cmdDeletePara", QStringLiteral("&Delete"));

    auto* grid = new QGridLayout(page);
    grid->addWidget(MakeLabel(page, "lblParameter", QStringLiteral("&Parameter:"), m_parameterList),
                    0, 0);
    grid->addWidget(m_parameterList, 1, 0, 4, 1);
    grid->addWidget(m_addParameter, 1, 1);
    grid->addWidget(m_editParameter, 2, 1);
    grid->addWidget(m_deleteParameter, 3, 1);
    grid->setRowStretch(4, 1);

    connect(m_parameterList, &QListWidget::currentRowChanged, this,
            &ConfigurationDialog::UpdateButtons);
    connect(m_parameterList, &QListWidget::itemDoubleClicked, this,
            &ConfigurationDialog::EditParameter);
    connect(m_addParameter, &QPushButton::clicked, this, &ConfigurationDialog::AddParameter);
    connect(m_editParameter, &QPushButton::clicked, this, &ConfigurationDialog::EditParameter);
    connect(m_deleteParameter, &QPushButton::clicked, this, &ConfigurationDialog::DeleteParameter);
    return page;
}

void ConfigurationDialog::Load() {
    m_dataSources = m_definition.DataSources;
    for (const definition::DataSourceEntry& entry : m_dataSources)
        m_dataSourceList->addItem(FromUtf8(entry.Name));
    m_encrypt->setChecked(m_definition.EncryptPassword);
    m_template->setText(FromUtf8(m_definition.TemplateFileName));
    m_report->setText(FromUtf8(m_definition.ReportFileName));
    m_log->setText(FromUtf8(m_definition.LogFileName));
    m_parameters = m_definition.Parameters;
    for (const definition::ParameterEntry& entry : m_parameters)
        m_parameterList->addItem(FromUtf8(entry.Name));

    // Filling the box must not run the file-type rule on the loaded report name.
    m_fileType->blockSignals(true);
    m_fileType->addItem(QStringLiteral("(Default)"));
    for (const definition::ConversionFormat& format : m_conversionTable)
        m_fileType->addItem(FileTypeCaption(format));
    int row = definition::FindConversionFormat(m_conversionTable, m_definition.ReportFileType,
                                               definition::CompareMode::IgnoreCase);
    m_fileType->setCurrentIndex(row + 1);
    m_fileType->blockSignals(false);

    m_openedEncrypt = m_encrypt->isChecked();
    m_openedTemplate = m_template->text();
    m_openedReport = m_report->text();
    m_openedLog = m_log->text();
    m_openedFileType = m_fileType->currentIndex();
    m_dataSourcesChanged = false;
    m_parametersChanged = false;
    m_tabs->setCurrentIndex(kFileTab);
    UpdateButtons();
}

void ConfigurationDialog::UpdateButtons() {
    bool dataSourceSelected = m_dataSourceList->currentRow() >= 0;
    m_addDataSource->setEnabled(m_dataSources.size() < definition::kMaxListEntries);
    m_editDataSource->setEnabled(dataSourceSelected);
    m_deleteDataSource->setEnabled(dataSourceSelected);
    m_testDataSource->setEnabled(dataSourceSelected);
    bool parameterSelected = m_parameterList->currentRow() >= 0;
    m_addParameter->setEnabled(m_parameters.size() < definition::kMaxListEntries);
    m_editParameter->setEnabled(parameterSelected);
    m_deleteParameter->setEnabled(parameterSelected);
}

bool ConfigurationDialog::eventFilter(QObject* watched, QEvent* event) {
    // The rules run when the user leaves a field, as they would on a typed-in name.
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_template && !TrimBlanks(ToUtf8(m_template->text())).empty())
            ApplyTemplateRules();
        else if (watched == m_report)
            ApplyFileTypeRule();
    }
    return QDialog::eventFilter(watched, event);
}

const definition::ConversionFormat* ConfigurationDialog::SelectedFileType() const {
    int index = m_fileType->currentIndex();
    if (index <= 0 || static_cast<std::size_t>(index) > m_conversionTable.size())
        return nullptr;
    return &m_conversionTable[static_cast<std::size_t>(index - 1)];
}

void ConfigurationDialog::ApplyTemplateRules() {
    std::string templateName = TrimBlanks(ToUtf8(m_template->text()));
    m_template->setText(FromUtf8(templateName));
    ApplyFileTypeRule();
    if (TrimBlanks(ToUtf8(m_report->text())).empty())
        m_report->setText(FromUtf8(DefaultReportName(templateName, SelectedFileType())));
    if (TrimBlanks(ToUtf8(m_log->text())).empty())
        m_log->setText(FromUtf8(DefaultLogName(templateName)));
}

void ConfigurationDialog::ApplyFileTypeRule() {
    std::string report = ToUtf8(m_report->text());
    if (report.empty())
        return;
    m_report->setText(
        FromUtf8(ApplyFileType(report, SelectedFileType(), ToUtf8(m_template->text()))));
}

void ConfigurationDialog::BrowseTemplate() {
    QString definitionFolder;
    if (!m_definition.CurrentPath.empty())
        definitionFolder = QFileInfo(FromUtf8(m_definition.CurrentPath)).absolutePath();
    QString chosen = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open"), definitionFolder,
        QStringLiteral("PowerPoint Files (*.ppt *.pptx);;All Type Files (*)"));
    if (chosen.isEmpty()) {
        m_template->setFocus();
        return;
    }
    QFileInfo file(chosen);
    bool besideDefinition = !definitionFolder.isEmpty() && file.absolutePath() == definitionFolder;
    m_template->setText(besideDefinition ? file.fileName() : file.absoluteFilePath());
    ApplyTemplateRules();
}

void ConfigurationDialog::AddDataSource() {
    if (m_dataSources.size() >= definition::kMaxListEntries)
        return;
    DataSourceDialog dialog(EditMode::New, {}, m_connectionTest, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_dataSources.push_back(dialog.Entry());
    m_dataSourceList->addItem(FromUtf8(m_dataSources.back().Name));
    m_dataSourceList->setCurrentRow(m_dataSourceList->count() - 1);
    m_dataSourcesChanged = true;
    UpdateButtons();
}

void ConfigurationDialog::EditDataSource() {
    int row = m_dataSourceList->currentRow();
    if (row < 0)
        return;
    auto index = static_cast<std::size_t>(row);
    DataSourceDialog dialog(EditMode::Edit, m_dataSources[index], m_connectionTest, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_dataSources[index] = dialog.Entry();
    m_dataSourceList->item(row)->setText(FromUtf8(m_dataSources[index].Name));
    m_dataSourcesChanged = true;
}

void ConfigurationDialog::DeleteDataSource() {
    int row = m_dataSourceList->currentRow();
    if (row < 0 ||
        MessageService::Question(this, QStringLiteral("Do you want to delete the data source?")) !=
            kAnswerYes)
        return;
    m_dataSources.erase(m_dataSources.begin() + row);
    delete m_dataSourceList->takeItem(row);
    SelectAfterDeletion(m_dataSourceList, row);
    m_dataSourcesChanged = true;
    UpdateButtons();
}

void ConfigurationDialog::TestDataSource() {
    int row = m_dataSourceList->currentRow();
    if (row < 0)
        return;
    const definition::DataSourceEntry& entry = m_dataSources[static_cast<std::size_t>(row)];
    m_connectionTest.Run(this, entry.Name, entry.User, entry.Password, entry.ConnectionString);
}

void ConfigurationDialog::AddParameter() {
    if (m_parameters.size() >= definition::kMaxListEntries)
        return;
    ParameterDialog dialog(EditMode::New, {}, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_parameters.push_back(dialog.Entry());
    m_parameterList->addItem(FromUtf8(m_parameters.back().Name));
    m_parameterList->setCurrentRow(m_parameterList->count() - 1);
    m_parametersChanged = true;
    UpdateButtons();
}

void ConfigurationDialog::EditParameter() {
    int row = m_parameterList->currentRow();
    if (row < 0)
        return;
    auto index = static_cast<std::size_t>(row);
    ParameterDialog dialog(EditMode::Edit, m_parameters[index], this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_parameters[index] = dialog.Entry();
    m_parameterList->item(row)->setText(FromUtf8(m_parameters[index].Name));
    m_parametersChanged = true;
}

void ConfigurationDialog::DeleteParameter() {
    int row = m_parameterList->currentRow();
    if (row < 0 || MessageService::Question(
                       this, QStringLiteral("Do you want to delete the parameter?")) != kAnswerYes)
        return;
    m_parameters.erase(m_parameters.begin() + row);
    delete m_parameterList->takeItem(row);
    SelectAfterDeletion(m_parameterList, row);
    m_parametersChanged = true;
    UpdateButtons();
}

bool ConfigurationDialog::FailCheck(const char* message, QLineEdit* field) {
    ShowErrorBox(this, QString::fromUtf8(message));
    m_tabs->setCurrentIndex(kFileTab);
    field->setFocus();
    return false;
}

bool ConfigurationDialog::CheckFiles() {
    std::string templateName = TrimBlanks(ToUtf8(m_template->text()));
    std::string report = TrimBlanks(ToUtf8(m_report->text()));
    std::string log = TrimBlanks(ToUtf8(m_log->text()));
    if (templateName.empty())
        return FailCheck("Please select a report template file.", m_template);
    if (report == templateName)
        return FailCheck("The report file must be different from the report template file.",
                         m_report);
    if (log == templateName)
        return FailCheck("The log file must be different from the report template file.", m_log);
    if (!report.empty() && report == log)
        return FailCheck("The log file must be different from the report file.", m_log);
    return true;
}

void ConfigurationDialog::Confirm() {
    if (!CheckFiles())
        return;
    definition::ReportDefinition& model = m_definition;
    model.EncryptPassword = m_encrypt->isChecked();
    model.DataSources.clear();
    for (const definition::DataSourceEntry& row : m_dataSources) {
        definition::DataSourceEntry entry{row.Name, {}, {}, row.ConnectionString};
        if (row.ConnectionString.empty()) {
            entry.User = row.User;
            entry.Password = row.Password;
        }
        model.DataSources.push_back(std::move(entry));
    }
    model.TemplateFileName = TrimBlanks(ToUtf8(m_template->text()));
    model.ReportFileName = TrimBlanks(ToUtf8(m_report->text()));
    model.LogFileName = TrimBlanks(ToUtf8(m_log->text()));
    model.TemplatePath.clear();
    model.ReportPath.clear();
    model.LogPath.clear();
    const definition::ConversionFormat* type = SelectedFileType();
    model.ReportFileType = type == nullptr ? std::string() : type->Name;
    model.Parameters = m_parameters;

    bool changed = m_encrypt->isChecked() != m_openedEncrypt ||
                   m_template->text() != m_openedTemplate || m_report->text() != m_openedReport ||
                   m_log->text() != m_openedLog || m_fileType->currentIndex() != m_openedFileType ||
                   m_dataSourcesChanged || m_parametersChanged;
    if (changed)
        model.Modified = true;
    accept();
}

bool ShowConfigurationDialog(QWidget* parent, definition::ReportDefinition& definition,
                             const std::vector<definition::ConversionFormat>& conversionTable,
                             ConnectionTest connectionTest) {
    ConfigurationDialog dialog(definition, conversionTable, std::move(connectionTest), parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace slidesmith::ui
