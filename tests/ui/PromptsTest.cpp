#include "DialogTesting.h"
#include "UiTestEnvironment.h"
#include "ui/LoginDialog.h"
#include "ui/MessageService.h"
#include "ui/ParameterPrompt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace slidesmith::ui {
namespace {

using testing::Child;
using testing::OnNextModal;

definition::ReportDefinition WithParameters(int count) {
    definition::ReportDefinition definition;
    for (int i = 0; i < count; ++i) {
        std::string number = std::to_string(i);
        definition.Parameters.push_back({"$P" + number, i == 1 ? "" : "Title " + number, number});
    }
    return definition;
}

TEST(ParameterPrompt, ShowsOnePairPerParameterAndShrinksToThem) {
    definition::ReportDefinition three = WithParameters(3);
    ParameterPrompt prompt(three, nullptr);
    prompt.show();
    EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Input Parameters"));
    EXPECT_EQ(Child<QLabel>(prompt, "lblPName0").text(), QStringLiteral("Title 0"));
    EXPECT_EQ(Child<QLabel>(prompt, "lblPName1").text(), QStringLiteral("$P1"))
        << "an empty title shows the name";
    EXPECT_EQ(Child<QLineEdit>(prompt, "txtPVaule2").text(), QStringLiteral("2"));
    EXPECT_TRUE(Child<QLineEdit>(prompt, "txtPVaule2").isVisible());
    EXPECT_FALSE(Child<QLineEdit>(prompt, "txtPVaule3").isVisible());
    EXPECT_FALSE(Child<QLabel>(prompt, "lblPName9").isVisible());
    const QRect lastBox = Child<QLineEdit>(prompt, "txtPVaule2").geometry();
    const QRect ok = Child<QPushButton>(prompt, "cmdOK").geometry();
    EXPECT_EQ(ok.top(), lastBox.bottom() + 1 + 15) << "225 twips below the last box";
    EXPECT_EQ(Child<QPushButton>(prompt, "cmdCancel").geometry().top(), ok.top());
    EXPECT_GT(prompt.height(), ok.bottom());

    definition::ReportDefinition ten = WithParameters(10);
    ParameterPrompt full(ten, nullptr);
    full.show();
    EXPECT_TRUE(Child<QLineEdit>(full, "txtPVaule9").isVisible());
    EXPECT_GT(full.height(), prompt.height());
}

TEST(ParameterPrompt, OkStoresTheValuesAndMarksModifiedOnlyForEdits) {
    definition::ReportDefinition definition = WithParameters(2);
    ParameterPrompt unchanged(definition, nullptr);
    Child<QPushButton>(unchanged, "cmdOK").click();
    EXPECT_EQ(unchanged.DialogResult(), kAnswerYes);
    EXPECT_FALSE(definition.Modified);

    ParameterPrompt edited(definition, nullptr);
    Child<QLineEdit>(edited, "txtPVaule1").setText(QStringLiteral("2010"));
    Child<QPushButton>(edited, "cmdOK").click();
    EXPECT_TRUE(definition.Modified);
    EXPECT_EQ(definition.Parameters[1].Default, "2010");
    EXPECT_EQ(definition.Parameters[0].Default, "0");

    definition.Modified = false;
    ParameterPrompt cancelled(definition, nullptr);
    cancelled.show();
    Child<QLineEdit>(cancelled, "txtPVaule0").setText(QStringLiteral("x"));
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    EXPECT_EQ(cancelled.DialogResult(), kAnswerNo);
    EXPECT_EQ(definition.Parameters[0].Default, "0");
    EXPECT_FALSE(definition.Modified);
}

TEST(LoginDialog, ShowsTheSourceWithAnEmptyMaskedPasswordAndReturnsWhatWasTyped) {
    engine::LoginRetry retry = MakeLoginRetry(nullptr);
    ScopedMessageResponder messages;
    OnNextModal([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Login"));
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtDSName").text(), QStringLiteral("Sales"));
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtDSUser").text(), QStringLiteral("sa"));
        auto& password = Child<QLineEdit>(dialog, "txtDSPassword");
        EXPECT_TRUE(password.text().isEmpty());
        EXPECT_EQ(password.echoMode(), QLineEdit::Password);
        Child<QLineEdit>(dialog, "txtDSUser").setText(QStringLiteral("report"));
        password.setText(QStringLiteral("right"));
        Child<QPushButton>(dialog, "cmdOK").click();
    });
    const std::optional<engine::LoginCredentials> typed = retry({0, "Sales", "sa", {}});
    ASSERT_TRUE(typed.has_value());
    EXPECT_EQ(typed->Name, "Sales");
    EXPECT_EQ(typed->User, "report");
    EXPECT_EQ(typed->Password, "right");
    EXPECT_TRUE(messages.Shown().empty()) << "no error box before the first try";
}

TEST(LoginDialog, AFailedRetryShowsTheErrorBoxFirstAndCancelGivesUp) {
    engine::LoginRetry retry = MakeLoginRetry(nullptr);
    ScopedMessageResponder messages;
    bool errorBoxCameFirst = false;
    OnNextModal([&](QDialog& dialog) {
        errorBoxCameFirst = messages.Shown().size() == 1;
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtDSUser").text(), QStringLiteral("u"));
        EXPECT_TRUE(Child<QLineEdit>(dialog, "txtDSPassword").text().isEmpty());
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(retry({0, "Shop", "u",
                        "Failed to connect to data source.\r\nDSN=Shop\uFF0C USER=u\r\n"
                        "[unixODBC] login failed"}));
    EXPECT_TRUE(errorBoxCameFirst);
    EXPECT_EQ(messages.LastText(),
              ErrorBoxText(QStringLiteral("Failed to connect to data source.\nDSN=Shop\uFF0C "
                                          "USER=u\n[unixODBC] login failed")));
}

} // namespace
} // namespace slidesmith::ui
