#pragma once

#include "definition/ConversionTable.h"
#include "definition/ReportDefinition.h"
#include "ui/ConnectionTest.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace slidesmith::ui {

// frmConfiguration: edits the files, data sources and parameters of the open definition. The
// dialog works on copies in its own controls; only OK, after the file checks pass, writes them
// back, and it sets the definition's Modified flag when anything differs from what the dialog
// was opened with. Cancel and the window's close button leave the definition untouched.
class ConfigurationDialog : public QDialog {
    Q_OBJECT
public:
    ConfigurationDialog(definition::ReportDefinition& definition,
                        const std::vector<definition::ConversionFormat>& conversionTable,
                        ConnectionTest connectionTest, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildFilePage();
    QWidget* BuildDataSourcePage();
    QWidget* BuildParameterPage();
    void Load();
    void UpdateButtons();

    // The conversion-table row selected in cboFileType, or nullptr for "(Default)".
    const definition::ConversionFormat* SelectedFileType() const;
    void ApplyTemplateRules();
    void ApplyFileTypeRule();
    void BrowseTemplate();

    void AddDataSource();
    void EditDataSource();
    void DeleteDataSource();
    void TestDataSource();
    void AddParameter();
    void EditParameter();
    void DeleteParameter();

    // Shows the failure, brings the File tab forward and puts the focus in the field.
    bool FailCheck(const char* message, QLineEdit* field);
    bool CheckFiles();
    void Confirm();

    definition::ReportDefinition& m_definition;
    const std::vector<definition::ConversionFormat>& m_conversionTable;
    ConnectionTest m_connectionTest;

    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_template = nullptr;
    QLineEdit* m_report = nullptr;
    QLineEdit* m_log = nullptr;
    QComboBox* m_fileType = nullptr;
    QListWidget* m_dataSourceList = nullptr;
    QPushButton* m_addDataSource = nullptr;
    QPushButton* m_editDataSource = nullptr;
    QPushButton* m_deleteDataSource = nullptr;
    QPushButton* m_testDataSource = nullptr;
    QCheckBox* m_encrypt = nullptr;
    QListWidget* m_parameterList = nullptr;
    QPushButton* m_addParameter = nullptr;
    QPushButton* m_editParameter = nullptr;
    QPushButton* m_deleteParameter = nullptr;

    // The rows behind the two visible lists, in step with them (the user, password, connection
    // string, title and default that the lists do not show).
    std::vector<definition::DataSourceEntry> m_dataSources;
    std::vector<definition::ParameterEntry> m_parameters;
    bool m_dataSourcesChanged = false;
    bool m_parametersChanged = false;

    // What the dialog opened with, to tell whether OK changes the definition.
    bool m_openedEncrypt = false;
    QString m_openedTemplate;
    QString m_openedReport;
    QString m_openedLog;
    int m_openedFileType = 0;
};

// Opens the dialog modally for the definition; true when the user confirmed it.
bool ShowConfigurationDialog(QWidget* parent, definition::ReportDefinition& definition,
                             const std::vector<definition::ConversionFormat>& conversionTable,
                             ConnectionTest connectionTest);

} // namespace slidesmith::ui
