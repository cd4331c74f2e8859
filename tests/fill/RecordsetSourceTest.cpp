#include "fill/RecordsetSource.h"

#include "TableFillHarness.h"
#include "platform/odbc/Connection.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace slidesmith::fill::testing {
namespace {

// A real query through the SQLite ODBC driver into a growing table: types, values and the
// recordset's lifetime as the engine will hand them over.
TEST(RecordsetSourceTest, ChinookInvoicesFillAGrowingTable) {
    const std::filesystem::path chinook =
        std::filesystem::path(SLIDESMITH_SHARED_FIXTURES) / "data" / "chinook.sqlite";
    FillHarness harness;
    if (!std::filesystem::exists(chinook) || !harness.Open()) {
        GTEST_SKIP() << "shared fixtures not found";
    }
    // The driver may write a journal beside the database: work on a copy.
    const std::filesystem::path copy = std::filesystem::temp_directory_path() /
                                       ("slidesmith-fill-chinook-" + std::to_string(::getpid()));
    std::filesystem::copy_file(chinook, copy, std::filesystem::copy_options::overwrite_existing);
    odbc::Connection connection;
    try {
        connection.Open("Driver=SQLite3;Database=" + copy.string());
    } catch (const std::exception& error) {
        std::filesystem::remove(copy);
        GTEST_SKIP() << "SQLite ODBC driver not usable: " << error.what();
    }
    odbc::Recordset recordset = connection.OpenRecordset(
        "SELECT InvoiceId, Total, BillingCity FROM Invoice WHERE CustomerId = 2 "
        "ORDER BY InvoiceId");
    RecordsetSource source(recordset);
    harness.ShapeTable(kSecondTableSlide, {{"No.", "Total", "City"}, {"0", "#,##0.00", "@"}});
    harness.statement.Cells = {"A2"};

    TableFillContext context{harness.statement,
                             harness.Presentation(),
                             kSecondTableSlide,
                             FindTableShape(harness.Presentation().Slide(kSecondTableSlide), 1),
                             source,
                             harness.reporter,
                             harness.options};
    const TableFillResult result = FillGrowingTable(context);

    EXPECT_TRUE(result.success);
    EXPECT_FALSE(recordset.IsOpen());
    EXPECT_EQ(harness.reporter.lines,
              std::vector<std::string>{"[t]    Returns 7 records from the data source."});
    harness.SaveAndReopen();
    const TableTexts texts = harness.Texts(kSecondTableSlide);
    ASSERT_EQ(texts.size(), 8U);
    EXPECT_EQ(texts[1], (std::vector<std::string>{"1", "1.98", "Stuttgart"}));
    EXPECT_EQ(texts[2], (std::vector<std::string>{"12", "13.86", "Stuttgart"}));
    EXPECT_EQ(texts[7], (std::vector<std::string>{"293", "0.99", "Stuttgart"}));
    connection.Close();
    std::filesystem::remove(copy);
}

} // namespace
} // namespace slidesmith::fill::testing
