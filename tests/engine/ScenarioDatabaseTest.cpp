// The scenario databases must look alike to a fill: a column described once is classified the
// same way, and reads back the same values, on either backend.
#include "ScenarioDatabase.h"

#include "fill/FieldKind.h"
#include "platform/odbc/Connection.h"

#include <gtest/gtest.h>

namespace slidesmith::engine::test {
namespace {

using fill::ValueKind;

class ScenarioDatabaseTest : public ScenarioTest {};

TEST_P(ScenarioDatabaseTest, EachColumnTypeReachesTheFillAsTheSameKindOfValue) {
    struct Expected {
        ScenarioColumn column;
        std::string literal;
        ValueKind kind;
        bool isLong;
    };
    const std::vector<Expected> expected = {
        {{"i", ColumnType::Integer}, "-7", ValueKind::Number, false},
        {{"b", ColumnType::BigInt}, "9000000000", ValueKind::Number, false},
        {{"d", ColumnType::Decimal}, "12.5", ValueKind::Number, false},
        {{"f", ColumnType::Double}, "0.25", ValueKind::Number, false},
        {{"t", ColumnType::Text}, "'it''s'", ValueKind::Text, false},
        {{"m", ColumnType::Memo}, "'long text'", ValueKind::Text, true},
        {{"day", ColumnType::Date}, "'2026-01-31'", ValueKind::Date, false},
        // Timestamps are no Date kind for the fills (their colours and format rules differ).
        {{"at", ColumnType::Timestamp}, "'2026-01-31 13:45:00'", ValueKind::Other, false},
    };
    ScenarioTable table{"kinds"};
    table.rows.emplace_back();
    for (const Expected& e : expected) {
        table.columns.push_back(e.column);
        table.rows.back().push_back(e.literal);
    }
    database.Create(table);

    odbc::Connection connection;
    connection.Open(database.ConnectionString());
    odbc::Recordset records = connection.OpenRecordset("select * from kinds");
    ASSERT_EQ(records.FieldCount(), expected.size());
    ASSERT_EQ(records.RecordCount(), 1u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const odbc::FieldInfo& field = records.Field(i);
        EXPECT_EQ(fill::ClassifyField(field.TypeCode()), expected[i].kind) << field.name;
        EXPECT_EQ(field.IsLong(), expected[i].isLong) << field.name;
    }
    EXPECT_EQ(records.Value(0).AsInteger(), -7);
    EXPECT_EQ(records.Value(1).AsInteger(), 9000000000);
}

TEST_P(ScenarioDatabaseTest, RowsKeepTheirOrderAcrossInsertBatchesAndATableCanBeReplaced) {
    ScenarioTable numbers{"numbers", {{"n", ColumnType::Integer}}};
    for (int n = 1; n <= 1234; ++n)
        numbers.rows.push_back({std::to_string(n)});
    database.Create({"numbers", {{"n", ColumnType::Text}}, {{"'old'"}}});
    database.Create(numbers);
    const std::vector<long long> read = database.QueryIntegers("select n from numbers order by n");
    ASSERT_EQ(read.size(), 1234u);
    EXPECT_EQ(read.front(), 1);
    EXPECT_EQ(read.back(), 1234);
    EXPECT_THROW(database.Create({"bad", {{"a", ColumnType::Integer}}, {{"1", "2"}}}),
                 std::invalid_argument);
}

SLIDESMITH_SCENARIO_BACKENDS(ScenarioDatabaseTest);

} // namespace
} // namespace slidesmith::engine::test
