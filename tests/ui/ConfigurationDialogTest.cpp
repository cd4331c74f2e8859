#include "ui/ConfigurationDialog.h"

#include "DialogTesting.h"
#include "UiTestEnvironment.h"
#include "ui/MessageService.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <memory>

namespace slidesmith::ui {
namespace {

using testing::Child;
using testing::OnNextModal;

const std::vector<definition::ConversionFormat> kTable = {
    {"Presentation", 1, true, "PowerPoint Presentation", "pptx"},
    {"Binary", 2, true, "PowerPoint 97-2003", "ppt pps"},
    {"PDF", 32, true, "PDF Document", "pdf"},
};

class ConfigurationDialogTest : public ::testing::Test {
protected:
    ConfigurationDialogTest() {
        m_definition.TemplateFileName = "T.pptx";
        m_definition.DataSources = {{"Sales", "sa", "pw", ""}, {"Shop", "", "", "Driver=X"}};
        m_definition.Parameters = {{"$Y", "Year", "2009"}};
    }

    ConfigurationDialog& Open() {
        m_dialog = std::make_unique<ConfigurationDialog>(
            m_definition, kTable, ConnectionTest([](auto&&...) { return std::string(); }, 15),
            nullptr);
        m_dialog->show();
        return *m_dialog;
    }

    template <class Widget>
    Widget& Get(const char* name) {
        return Child<Widget>(*m_dialog, name);
    }
    QLineEdit& Field(const char* name) { return Get<QLineEdit>(name); }
    void Leave(const char* field) {
        QFocusEvent event(QEvent::FocusOut);
        QApplication::sendEvent(&Field(field), &event);
    }
    void Click(const char* button) { Get<QPushButton>(button).click(); }

    definition::ReportDefinition m_definition;
    std::unique_ptr<ConfigurationDialog> m_dialog;
};

TEST_F(ConfigurationDialogTest, FileChecksKeepTheDialogOpenOnTheFileTabWithTheFieldFocused) {
    const struct {
        const char* templateName;
        const char* report;
        const char* log;
        const char* message; // nullptr: the checks pass
        const char* focus;
    } cases[] = {
        {"  ", "R.pptx", "L.log", "Please select a report template file.", "txtTemplateFile"},
        {"T.pptx", " T.pptx ", "",
         "The report file must be different from the report template file.", "txtReportFile"},
        {"T.pptx", "", "T.pptx", "The log file must be different from the report template file.",
         "txtLogFile"},
        {"T.pptx", "R.pptx", "R.pptx", "The log file must be different from the report file.",
         "txtLogFile"},
        {"T.pptx", "", "", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        ScopedMessageResponder messages;
        Open();
        Get<QTabWidget>("tabConfiguration").setCurrentIndex(2);
        Field("txtTemplateFile").setText(QString::fromUtf8(c.templateName));
        Field("txtReportFile").setText(QString::fromUtf8(c.report));
        Field("txtLogFile").setText(QString::fromUtf8(c.log));
        Click("cmdOK");
        if (c.message == nullptr) {
            EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
            EXPECT_TRUE(messages.Shown().empty());
            continue;
        }
        EXPECT_EQ(messages.LastText(), ErrorBoxText(QString::fromUtf8(c.message)));
        EXPECT_TRUE(m_dialog->isVisible());
        EXPECT_EQ(Get<QTabWidget>("tabConfiguration").currentIndex(), 0);
        EXPECT_EQ(m_dialog->focusWidget(), &Field(c.focus));
    }
}

TEST_F(ConfigurationDialogTest, LeavingTheTemplateFillsEmptyReportAndLogNamesBesideIt) {
    m_definition.TemplateFileName.clear();
    Open();
    Field("txtTemplateFile").setText(QStringLiteral(" C:\\R\\Sales.ppt "));
    Leave("txtTemplateFile");
    EXPECT_EQ(Field("txtTemplateFile").text(), QStringLiteral("C:\\R\\Sales.ppt"));
    EXPECT_EQ(Field("txtReportFile").text(), QStringLiteral("C:\\R\\Report\\Sales.ppt"));
    EXPECT_EQ(Field("txtLogFile").text(), QStringLiteral("C:\\R\\Log\\Sales.log"));

    // A chosen file type gives new report names its first extension; filled names stay.
    Field("txtTemplateFile").setText(QStringLiteral("/srv/q/Plan.potx"));
    Field("txtReportFile").clear();
    Get<QComboBox>("cboFileType").setCurrentIndex(3);
    Leave("txtTemplateFile");
    EXPECT_EQ(Field("txtReportFile").text(), QStringLiteral("/srv/q/Report/Plan.pdf"));
    EXPECT_EQ(Field("txtLogFile").text(), QStringLiteral("C:\\R\\Log\\Sales.log"));
}

TEST_F(ConfigurationDialogTest, FileTypeBringsTheReportExtensionInLine) {
    const struct {
        int type; // index in cboFileType, 0 = "(Default)"
        const char* templateName;
        const char* report;
        const char* expected;
    } cases[] = {
        {2, "T.pptx", "Out.pps", "Out.pps"}, {2, "T.pptx", "Out.doc", "Out.ppt"},
        {2, "T.pptx", "Out.PPS", "Out.PPS"}, {0, "T.pptx", "Out.doc", "Out.pptx"},
        {0, "T", "a.b/Out.doc", "a.b/Out"},  {3, "T.pptx", "dir.x/Out", "dir.x/Out.pdf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        m_definition.TemplateFileName = c.templateName;
        m_definition.ReportFileName = c.report;
        m_definition.ReportFileType = c.type == 0 ? "" : "PDF";
        Open();
        auto& type = Get<QComboBox>("cboFileType");
        if (type.currentIndex() == c.type) {
            Leave("txtReportFile");
        } else {
            type.setCurrentIndex(c.type);
        }
        EXPECT_EQ(Field("txtReportFile").text(), QString::fromUtf8(c.expected));
    }
}

TEST_F(ConfigurationDialogTest, FileTypeShownByNameOrNumberAndSavedByName) {
    m_definition.ReportFileType = " 2 ";
    Open();
    auto& type = Get<QComboBox>("cboFileType");
    EXPECT_EQ(type.itemText(0), QStringLiteral("(Default)"));
    EXPECT_EQ(type.currentText(), QStringLiteral("PowerPoint 97-2003 (*.ppt *.pps)"));
    Click("cmdOK");
    EXPECT_EQ(m_definition.ReportFileType, "Binary");
    EXPECT_FALSE(m_definition.Modified) << "the same row stays selected";

    m_definition.ReportFileType = "pdf";
    Open();
    EXPECT_EQ(Get<QComboBox>("cboFileType").currentIndex(), 3) << "names compare ignoring case";
    Get<QComboBox>("cboFileType").setCurrentIndex(0);
    Click("cmdOK");
    EXPECT_EQ(m_definition.ReportFileType, "");
    EXPECT_TRUE(m_definition.Modified);
}

TEST_F(ConfigurationDialogTest, NewButtonsFollowTheirOwnListsCount) {
    m_definition.DataSources.resize(9, {"D", "", "", ""});
    m_definition.Parameters.resize(10, {"$P", "", ""});
    Open();
    EXPECT_TRUE(Get<QPushButton>("cmdAddDS").isEnabled());
    EXPECT_FALSE(Get<QPushButton>("cmdAddPara").isEnabled());
    EXPECT_FALSE(Get<QPushButton>("cmdModifyDS").isEnabled()) << "no row selected yet";

    OnNextModal([](QDialog& dialog) {
        QTest::keyClicks(&Child<QLineEdit>(dialog, "txtDSName"), QStringLiteral("Tenth"));
        QTest::keyClicks(&Child<QLineEdit>(dialog, "txtDSUser"), QStringLiteral("u"));
        Child<QPushButton>(dialog, "cmdOK").click();
    });
    Click("cmdAddDS");
    auto& list = Get<QListWidget>("lstDataSource");
    ASSERT_EQ(list.count(), 10);
    EXPECT_EQ(list.currentRow(), 9);
    EXPECT_FALSE(Get<QPushButton>("cmdAddDS").isEnabled());
    EXPECT_TRUE(Get<QPushButton>("cmdTestDS").isEnabled());
    Click("cmdOK");
    ASSERT_EQ(m_definition.DataSources.size(), 10u);
    EXPECT_EQ(m_definition.DataSources[9].Name, "Tenth");
    EXPECT_EQ(m_definition.DataSources[9].User, "u");
    EXPECT_TRUE(m_definition.Modified);
}

TEST_F(ConfigurationDialogTest, DeleteAsksThenSelectsTheRowThatTookItsPlace) {
    m_definition.Parameters = {{"$A", "", ""}, {"$B", "", ""}, {"$C", "", ""}};
    Open();
    auto& list = Get<QListWidget>("lstParameter");
    ScopedMessageResponder messages({kAnswerNo, kAnswerYes, kAnswerYes});
    list.setCurrentRow(2);
    Click("cmdDeletePara");
    EXPECT_EQ(list.count(), 3) << "No keeps the row";
    EXPECT_EQ(messages.LastText(), QStringLiteral("Do you want to delete the parameter?"));
    EXPECT_EQ(messages.Shown().back().Icon, MessageIcon::Question);
    Click("cmdDeletePara");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.currentRow(), 1) << "the new last row";
    list.setCurrentRow(0);
    Click("cmdDeletePara");
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("$B"));
    EXPECT_EQ(list.currentRow(), 0);

    auto& sources = Get<QListWidget>("lstDataSource");
    sources.setCurrentRow(0);
    messages.Answer(kAnswerYes);
    messages.Answer(kAnswerYes);
    Click("cmdDeleteDS");
    Click("cmdDeleteDS");
    EXPECT_EQ(sources.count(), 0);
    EXPECT_FALSE(Get<QPushButton>("cmdModifyDS").isEnabled());
    EXPECT_FALSE(Get<QPushButton>("cmdDeleteDS").isEnabled());
    EXPECT_FALSE(Get<QPushButton>("cmdTestDS").isEnabled());

    Click("cmdCancel");
    EXPECT_EQ(m_definition.Parameters.size(), 3u) << "Cancel leaves the model's lists";
    EXPECT_EQ(m_definition.DataSources.size(), 2u);
    EXPECT_FALSE(m_definition.Modified);
}

TEST_F(ConfigurationDialogTest, OkWritesRowsByTheirFormAndMarksOnlyRealChanges) {
    m_definition.DataSources[1].User = "stale"; // connection-string rows carry no user
    Open();
    Click("cmdOK");
    EXPECT_FALSE(m_definition.Modified) << "nothing was changed in the dialog";
    EXPECT_EQ(m_definition.DataSources[1].User, "");
    EXPECT_EQ(m_definition.DataSources[0].Password, "pw");

    Open();
    Field("txtLogFile").setText(QStringLiteral(" Log/x.log "));
    OnNextModal([](QDialog& dialog) {
        Child<QLineEdit>(dialog, "txtParaDefault").setText(QStringLiteral("2010"));
        Child<QPushButton>(dialog, "cmdOK").click();
    });
    Get<QListWidget>("lstParameter").setCurrentRow(0);
    Click("cmdModifyPara");
    Click("cmdOK");
    EXPECT_TRUE(m_definition.Modified);
    EXPECT_EQ(m_definition.LogFileName, "Log/x.log");
    EXPECT_EQ(m_definition.Parameters[0].Default, "2010");
    EXPECT_EQ(m_definition.Parameters[0].Title, "Year");
}

} // namespace
} // namespace slidesmith::ui
