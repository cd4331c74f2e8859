// The same checks against Chinook in SQLite and in PostgreSQL, through their real ODBC drivers.
#include "OdbcTestDatabases.h"
#include "platform/odbc/Connection.h"
#include "platform/odbc/OdbcError.h"

#include <cctype>
#include <gtest/gtest.h>

namespace slidesmith::odbc {
namespace {

using test::ScratchFolder;

struct Backend {
    const char* name;
    const char* trackCount;   // a query returning all tracks
    const char* invoices;     // invoice id, date, total, billing state: ordered by id
    const char* invoiceLines; // every column of every invoice line
    const char* addressOfTwo; // the address of customer 2
    const char* customerByStreet;
    const char* allTrackNames; // one long text value
    const char* missingTable;
    DataType totalType; // SQLite's driver reports NUMERIC columns as double
};

const Backend kSqlite{"SQLite",
                      "select TrackId, Name from Track order by TrackId",
                      "select InvoiceId, InvoiceDate, Total, BillingState from Invoice "
                      "order by InvoiceId",
                      "select * from InvoiceLine",
                      "select Address from Customer where CustomerId = 2",
                      "select CustomerId from Customer where Address = 'Theodor-Heuss-Straße 34'",
                      "select group_concat(Name, '|') from (select Name from Track order by "
                      "TrackId)",
                      "select * from Nowhere",
                      DataType::Double};

const Backend kPostgres{
    "PostgreSQL",
    "select track_id, name from track order by track_id",
    "select invoice_id, invoice_date, total, billing_state from invoice "
    "order by invoice_id",
    "select * from invoice_line",
    "select address from customer where customer_id = 2",
    "select customer_id from customer where address = 'Theodor-Heuss-Straße 34'",
    "select string_agg(name, '|' order by track_id) from track",
    "select * from nowhere",
    DataType::Numeric};

class ChinookRecordset : public ::testing::TestWithParam<const Backend*> {
protected:
    void SetUp() override {
        if (GetParam() == &kSqlite) {
            if (test::ChinookSqliteFixture().empty()) {
                GTEST_SKIP() << "shared fixtures not found: " << SLIDESMITH_SHARED_FIXTURES;
            }
            m_connection.Open(test::SqliteConnectionString(test::CopyChinook(m_folder.Path())));
            return;
        }
        std::string why;
        const std::optional<std::string> connectionString = test::PostgresChinook(why);
        if (!connectionString) {
            GTEST_SKIP() << why;
        }
        m_connection.Open(*connectionString);
    }

    const Backend& Db() const { return *GetParam(); }

    ScratchFolder m_folder;
    Connection m_connection;
};

std::string ReadAllChunks(Recordset& records, std::size_t field, std::size_t& chunks) {
    std::string text;
    chunks = 0;
    for (;;) {
        const FieldValue piece = records.GetChunk(field, 16384);
        if (piece.IsNull() || piece.AsText().empty()) {
            return text;
        }
        ++chunks;
        text += piece.AsText();
    }
}

TEST_P(ChinookRecordset, CountsRecordsAndWalksRewindsAndRereadsThem) {
    Recordset tracks = m_connection.OpenRecordset(Db().trackCount);
    EXPECT_EQ(tracks.RecordCount(), 3503u);
    EXPECT_EQ(m_connection.OpenRecordset(Db().invoices).RecordCount(), 412u);

    std::size_t walked = 0;
    for (; !tracks.AtEnd(); tracks.MoveNext()) {
        ++walked;
    }
    EXPECT_EQ(walked, 3503u);
    EXPECT_THROW(tracks.MoveNext(), OdbcError);
    EXPECT_THROW(static_cast<void>(tracks.Value(0)), OdbcError);

    tracks.MoveFirst();
    EXPECT_EQ(tracks.Value(0), FieldValue::FromInteger(1));
    EXPECT_EQ(tracks.Value(1), FieldValue::FromText("For Those About To Rock (We Salute You)"));
}

TEST_P(ChinookRecordset, ReadsEveryColumnOfAllInvoiceLines) {
    Recordset lines = m_connection.OpenRecordset(Db().invoiceLines);
    ASSERT_EQ(lines.RecordCount(), 2240u);
    ASSERT_EQ(lines.FieldCount(), 5u);
    std::int64_t quantities = 0;
    for (; !lines.AtEnd(); lines.MoveNext()) {
        quantities += lines.Value(4).AsInteger();
    }
    EXPECT_EQ(quantities, 2240);
}

TEST_P(ChinookRecordset, GivesFieldsTheirClassicTypesAndValues) {
    Recordset invoices = m_connection.OpenRecordset(Db().invoices);
    ASSERT_EQ(invoices.FieldCount(), 4u);
    EXPECT_EQ(invoices.Field(0).type, DataType::Integer);
    EXPECT_EQ(invoices.Field(1).type, DataType::DbTimeStamp);
    EXPECT_EQ(invoices.Field(2).type, Db().totalType);
    EXPECT_EQ(invoices.Field(3).type, DataType::VarChar);
    EXPECT_FALSE(invoices.Field(3).IsLong());
    std::string upperName = invoices.Field(3).name;
    for (char& c : upperName) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(invoices.FindField(upperName), 3u) << "field names are found whatever their case";

    EXPECT_EQ(invoices.Value(0), FieldValue::FromInteger(1));
    EXPECT_EQ(invoices.Value(1), FieldValue::FromTimestamp({{2021, 1, 1}, {0, 0, 0}, 0}));
    if (Db().totalType == DataType::Numeric) {
        EXPECT_EQ(invoices.Value(2), FieldValue::FromDecimal("1.98", 2));
    } else {
        EXPECT_DOUBLE_EQ(invoices.Value(2).AsDouble(), 1.98);
    }
    EXPECT_TRUE(invoices.Value(3).IsNull()) << "invoice 1 has no billing state";
}

TEST_P(ChinookRecordset, CarriesNonAsciiTextBothWays) {
    Recordset address = m_connection.OpenRecordset(Db().addressOfTwo);
    EXPECT_EQ(address.Value(0), FieldValue::FromText("Theodor-Heuss-Straße 34"));

    Recordset customer = m_connection.OpenRecordset(Db().customerByStreet);
    ASSERT_EQ(customer.RecordCount(), 1u);
    EXPECT_EQ(customer.Value(0), FieldValue::FromInteger(2));

    // Outside the Basic Multilingual Plane, UTF-16 needs surrogate pairs.
    Recordset symbols = m_connection.OpenRecordset("select 'Ωmega 😀 ß' as \"Größe\"");
    EXPECT_EQ(symbols.Value(0).AsText(), "Ωmega 😀 ß");
    EXPECT_EQ(symbols.Field(0).name, "Größe");
}

TEST_P(ChinookRecordset, ReadsATextLongerThanAnyBufferWhole) {
    Recordset names = m_connection.OpenRecordset(Db().allTrackNames);
    const std::string& text = names.Value(0).AsText();
    EXPECT_GT(text.size(), 55000u);
    EXPECT_TRUE(text.starts_with("For Those About To Rock (We Salute You)|Balls to the Wall|"));
    EXPECT_TRUE(text.ends_with("|Koyaanisqatsi"));
}

TEST_P(ChinookRecordset, ReportsTheDriversOwnMessageForBadSql) {
    try {
        m_connection.OpenRecordset(Db().missingTable);
        FAIL() << "a missing table must fail";
    } catch (const OdbcError& error) {
        const std::string what = error.what();
        EXPECT_NE(what.find("select * from "), std::string::npos) << what;
        EXPECT_TRUE(what.find("no such table: Nowhere") != std::string::npos ||
                    what.find("relation \"nowhere\" does not exist") != std::string::npos)
            << what;
        EXPECT_EQ(what.find('\n'), std::string::npos) << "log lines are single lines";
        EXPECT_FALSE(error.State().empty());
    }
    // The connection stays usable after a failed statement.
    EXPECT_EQ(m_connection.OpenRecordset(Db().invoices).RecordCount(), 412u);
}

TEST_P(ChinookRecordset, HandsLongTextOutInChunksOfSixteenKCharacters) {
    m_connection.Execute("create temporary table notes (id integer, body text)");
    std::string body;
    for (int i = 0; body.size() < 50000; ++i) {
        body += "Straße " + std::to_string(i) + "; ";
    }
    m_connection.Execute("insert into notes values (1, '" + body + "'), (2, null), (3, 'short')");
    Recordset notes = m_connection.OpenRecordset("select body from notes order by id");
    ASSERT_TRUE(notes.Field(0).IsLong());
    EXPECT_EQ(notes.Field(0).attributes & kFieldLong, kFieldLong);

    std::size_t chunks = 0;
    EXPECT_EQ(ReadAllChunks(notes, 0, chunks), body);
    std::size_t characters = 0;
    for (char c : body) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    EXPECT_EQ(chunks, (characters + 16383) / 16384) << "chunks count characters, not bytes";
    notes.MoveNext();
    EXPECT_TRUE(notes.GetChunk(0, 16384).IsNull()) << "a null long field gives null at once";
    notes.MoveNext();
    EXPECT_EQ(ReadAllChunks(notes, 0, chunks), "short");
    notes.MoveFirst();
    EXPECT_EQ(notes.GetChunk(0, 6).AsText(), "Straße") << "moving restarts the chunks";
}

INSTANTIATE_TEST_SUITE_P(BothDrivers, ChinookRecordset, ::testing::Values(&kSqlite, &kPostgres),
                         [](const auto& testParam) { return std::string(testParam.param->name); });

} // namespace
} // namespace slidesmith::odbc
