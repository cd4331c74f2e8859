#include "ui/DataSourceDialog.h"

#include "DialogTesting.h"
#include "UiTestEnvironment.h"
#include "ui/MessageService.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace slidesmith::ui {
namespace {

using testing::Child;

// Answers as a database would: refuses every password but "right", and remembers the calls.
struct FakeDatabase {
    std::vector<std::pair<std::string, int>> calls;
    ConnectionTest Tester() {
        return ConnectionTest(
            [this](const std::string& connectionString, int timeout) {
                calls.emplace_back(connectionString, timeout);
                return connectionString.find("Password=right") != std::string::npos ||
                               connectionString.rfind("Driver=", 0) == 0
                           ? std::string()
                           : std::string("[unixODBC] login failed");
            },
            30);
    }
};

bool Enabled(const QDialog& dialog, const char* name) {
    return Child<QWidget>(dialog, name).isEnabled();
}

TEST(DataSourceDialog, FormFollowsTheRowAndTheOptionButtons) {
    FakeDatabase database;
    ConnectionTest tester = database.Tester();
    DataSourceDialog dialog(EditMode::Edit, {"Shop", "", "", "Driver=SQLite3"}, tester, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Data Source"));
    EXPECT_TRUE(Child<QRadioButton>(dialog, "optConString").isChecked());
    for (const char* name : {"lblDSUser", "txtDSUser", "lblDSPassword", "txtDSPassword"})
        EXPECT_FALSE(Enabled(dialog, name)) << name;
    EXPECT_TRUE(Enabled(dialog, "txtDSConString"));

    Child<QRadioButton>(dialog, "optDSN").setChecked(true);
    EXPECT_TRUE(Enabled(dialog, "txtDSPassword"));
    EXPECT_FALSE(Enabled(dialog, "lblDSConString"));
    EXPECT_FALSE(Enabled(dialog, "txtDSConString"));
    EXPECT_EQ(dialog.Entry().ConnectionString, "") << "DSN form keeps no connection string";

    // OK without any edit closes as Cancel does, even after switching forms back and forth.
    Child<QRadioButton>(dialog, "optConString").setChecked(true);
    dialog.show();
    Child<QPushButton>(dialog, "cmdOK").click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    DataSourceDialog fresh(EditMode::New, {}, tester, nullptr);
    EXPECT_EQ(fresh.windowTitle(), QStringLiteral("New Data Source"));
    EXPECT_TRUE(Child<QRadioButton>(fresh, "optDSN").isChecked());
}

TEST(DataSourceDialog, OkAndTestNeedANameAndTheConnectionStringForm) {
    FakeDatabase database;
    ConnectionTest tester = database.Tester();
    DataSourceDialog dialog(EditMode::Edit, {"Sales", "sa", "pw", ""}, tester, nullptr);
    auto& name = Child<QLineEdit>(dialog, "txtDSName");
    name.setText(QStringLiteral("   "));
    EXPECT_FALSE(Enabled(dialog, "cmdOK"));
    EXPECT_FALSE(Enabled(dialog, "cmdTest"));
    name.setText(QStringLiteral("Sales"));
    EXPECT_TRUE(Enabled(dialog, "cmdOK"));

    ScopedMessageResponder messages;
    Child<QRadioButton>(dialog, "optConString").setChecked(true);
    Child<QPushButton>(dialog, "cmdTest").click();
    EXPECT_EQ(messages.LastText(),
              ErrorBoxText(QStringLiteral("Please input a connection string.")));
    EXPECT_TRUE(database.calls.empty());
    dialog.show();
    Child<QPushButton>(dialog, "cmdOK").click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), &Child<QLineEdit>(dialog, "txtDSConString"));

    // Switching an edited row to the connection-string form drops its user and password.
    QTest::keyClicks(&Child<QLineEdit>(dialog, "txtDSConString"), QStringLiteral("Driver=X"));
    Child<QPushButton>(dialog, "cmdOK").click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    definition::DataSourceEntry entry = dialog.Entry();
    EXPECT_EQ(entry.ConnectionString, "Driver=X");
    EXPECT_EQ(entry.User, "");
    EXPECT_EQ(entry.Password, "");
}

TEST(ConnectionTest, TellsTheOutcomeWithTheFormAndUser) {
    FakeDatabase database;
    ConnectionTest tester = database.Tester();
    ScopedMessageResponder messages;
    EXPECT_FALSE(tester.Run(nullptr, "Sales", "sa", "wrong", ""));
    EXPECT_EQ(database.calls.back(),
              std::make_pair(std::string("User ID=sa;Password=wrong;Data Source=Sales"), 30));
    EXPECT_EQ(messages.LastText(),
              ErrorBoxText(QStringLiteral("Failed to connect to data source.\nDSN=Sales\uFF0C "
                                          "USER=sa\n[unixODBC] login failed")));
    EXPECT_TRUE(tester.Run(nullptr, "Sales", "", "right", ""));
    EXPECT_EQ(messages.LastText(), QStringLiteral("Connect to database successfully.\nDSN=Sales"));
    EXPECT_TRUE(tester.Run(nullptr, "Shop", "ignored", "", "Driver=SQLite3"));
    EXPECT_EQ(database.calls.back().first, "Driver=SQLite3");
    EXPECT_EQ(messages.LastText(), QStringLiteral("Connect to database successfully.\nDSN=Shop, "
                                                  "Using a connection string."));
}

} // namespace
} // namespace slidesmith::ui
