#include "UiTestEnvironment.h"
#include "ui/MessageService.h"
#include "ui/OdbcConnectionOpener.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace slidesmith::ui {
namespace {

// The real driver manager and SQLite driver, against the shared sample database.
TEST(OdbcConnectionTest, ReportsTheDriversAnswer) {
    std::filesystem::path database =
        std::filesystem::path(SLIDESMITH_SHARED_FIXTURES) / "data" / "chinook.sqlite";
    if (!std::filesystem::exists(database))
        GTEST_SKIP() << "no sample database at " << database;
    ConnectionTest test = MakeOdbcConnectionTest(5);
    ScopedMessageResponder messages;
    EXPECT_TRUE(
        test.Run(nullptr, "Chinook", "", "", "Driver=SQLite3;Database=" + database.string()));
    EXPECT_EQ(messages.LastText(),
              QStringLiteral(
                  "Connect to database successfully.\nDSN=Chinook, Using a connection string."));

    EXPECT_FALSE(test.Run(nullptr, "NoSuchSource", "sa", "pw", ""));
    QString text = messages.LastText();
    EXPECT_TRUE(text.startsWith(ErrorBoxText(
        QStringLiteral("Failed to connect to data source.\nDSN=NoSuchSource\uFF0C USER=sa\n"))))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("pw;"))) << "the password is not shown";
}

} // namespace
} // namespace slidesmith::ui
