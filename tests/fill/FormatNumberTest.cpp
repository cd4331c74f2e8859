#include "FormatCases.h"

#include <cmath>
#include <limits>

namespace slidesmith::fill {
namespace {

using namespace testing;

TEST(FormatNumber, DigitPlaceholdersGroupingAndLiterals) {
    ExpectFormats({
        {Real(1234.5), "#,##0.00", "1,234.50"},
        {Int(1234567), "#,##0", "1,234,567"},
        {Int(12345), "$#,##0", "$12,345"},
        {Int(-12345), "$#,##0", "-$12,345"},
        {Int(5), "000", "005"},
        {Int(5), "0,000", "0,005"},
        {Int(12345), "0", "12345"},
        {Int(5551234), "000-0000", "555-1234"},
        {Int(12), "\"Total: \"0", "Total: 12"},
        {Int(12), "0 \"pcs\"", "12 pcs"},
        {Real(0.5), "#.##", ".5"},
        {Real(0.5), "0.##", "0.5"},
        {Real(1.5), ".00", "1.50"},
        {Int(0), "#", ""},
        {Int(0), "#,###", ""},
        {Int(5), "#,###", "5"},
        {Int(12345), "#,####", "12,345"},
        // The classic function keeps the decimal point when "#" leaves no fraction digits.
        {Int(1), "0.##", "1."},
        {Real(1.25), "0.0#", "1.25"},
        {Real(1.2), "0.0#", "1.2"},
    });
}

TEST(FormatNumber, CommasBeforeThePointScaleByThousands) {
    ExpectFormats({
        {Int(1234567), "#,##0,", "1,235"},
        {Int(1234567), "0.0,,", "1.2"},
        {Int(1234567890), "#,##0,,", "1,235"},
        {Int(999), "0,", "1"},
        {Int(1234567), "#,##0,.00", "1,234.57"},
        {Real(1.5), "0.0,0", "1.50"}, // commas inside the fraction are dropped
    });
}

TEST(FormatNumber, PercentMultipliesByAHundred) {
    ExpectFormats({
        {Real(0.256), "0.0%", "25.6%"},
        {Real(0.256), "0%", "26%"},
        {Real(0.5), "%0", "%50"},
        {Dec("0.12345"), "0.00%", "12.35%"},
    });
}

TEST(FormatNumber, RoundsHalfAwayFromZeroOnTheDecimalDigits) {
    ExpectFormats({
        {Real(2.5), "0", "3"},
        {Real(-2.5), "0", "-3"},
        {Real(0.5), "0", "1"},
        {Real(2.675), "0.00", "2.68"}, // 2.67499999... in binary, 2.675 to 15 digits
        {Real(1.005), "0.00", "1.01"},
        {Dec("0.125"), "0.00", "0.13"},
        {Dec("-0.125"), "0.00", "-0.13"},
        {Real(9.995), "0.00", "10.00"},
        {Real(0.04), "0.0", "0.0"},
        {Dec("99999999999999999999999999999.5"), "0", "100000000000000000000000000000"},
        {Dec("123456789012345678901234.5"), "#,##0", "123,456,789,012,345,678,901,235"},
        {Dec("0.1000000000000000000000000001"), "0.0000000000000000000000000000",
         "0.1000000000000000000000000001"},
        {Int(std::numeric_limits<std::int64_t>::min()), "#,##0", "-9,223,372,036,854,775,808"},
        {Real(0.1 + 0.2), "0.00000000000000000", "0.30000000000000000"},
    });
}

TEST(FormatNumber, ScientificNotation) {
    ExpectFormats({
        {Int(1234567), "0.00E+00", "1.23E+06"},
        {Int(1234567), "0.00e+00", "1.23e+06"},
        {Int(1234567), "0.00E-00", "1.23E06"},
        {Real(0.000123), "0.00E+00", "1.23E-04"},
        {Real(0.000123), "0.00E-00", "1.23E-04"},
        {Real(999.999), "0.00E+00", "1.00E+03"},
        {Int(0), "0.00E+00", "0.00E+00"},
        {Int(12345), "00.0E+0", "12.3E+3"},
        {Int(-12345), "0.0E+0", "-1.2E+4"},
        {Real(1e308), "0.00E+00", "1.00E+308"},
        {Real(1e-300), "0.00E+00", "1.00E-300"},
        {Real(-1e-300), "0.00", "-0.00"},
    });
}

TEST(FormatNumber, SectionsAreChosenBySignAndNegativeSectionsHaveNoMinus) {
    ExpectFormats({
        {Int(-5), "0;(0);-", "(5)"},
        {Int(0), "0;(0);-", "-"},
        {Int(5), "0;(0);-", "5"},
        {Int(0), "0;(0)", "0"},
        {Int(-5), "0;;\\Z", "-5"}, // an empty section borrows the positive one
        {Int(0), "0;(0);", "0"},
        {Int(5), ";(0)", "5"},
        {Int(-5), "0;\\-\\-0", "--5"},
        {Dec("-0.00"), "0;(0);\\z", "z"},
        // The section is chosen before rounding, as in the classic function.
        {Real(-0.4), "0", "-0"},
        {Real(-0.4), "0;(0);\\z", "(0)"},
        {Real(0.4), "0;(0);\\z", "0"},
        {Real(-0.0), "0;(0);\\z", "z"},
        {odbc::FieldValue(), "0;(0);-;\\N\\/\\A", "N/A"},
        {odbc::FieldValue(), "0;(0);-;\"Null\"", "Null"},
        {odbc::FieldValue(), "0.00", ""},
    });
}

TEST(FormatNumber, EscapesAndQuotesProtectSeparators) {
    ExpectFormats({
        {Int(5), "0\\;", "5;"},
        {Int(5), "0\\;0", "0;5"},
        {Int(5), "\"a;b\"0", "a;b5"},
        {Int(-5), "\"a;b\"0;\"c;d\"0", "c;d5"},
        {Int(5), "0\\", "5"},
        {Int(5), "\"unclosed 0", "unclosed 0"},
        {Int(5), "0 \\€", "5 €"},
    });
}

TEST(FormatNumber, NamedFormatsAnyCase) {
    ExpectFormats({
        {Real(1234.5), "General Number", "1234.5"},
        {Int(1234567), "general number", "1234567"},
        {Dec("1234.50"), "General", "1234.5"},
        {Stamp(2009, 3, 15, 0, 0, 0), "General", "3/15/2009"},
        {Real(1234.5), "Currency", "$1,234.50"},
        {Real(-1234.5), "CURRENCY", "($1,234.50)"},
        {Real(1234.567), "Fixed", "1234.57"},
        {Real(1234.567), "Standard", "1,234.57"},
        {Real(0.256), "Percent", "25.60%"},
        {Real(1234.5), "Scientific", "1.23E+03"},
        {Int(0), "Yes/No", "No"},
        {Int(5), "Yes/No", "Yes"},
        {Int(-1), "True/False", "True"},
        {Dec("0.000"), "True/False", "False"},
        {Int(0), "On/Off", "Off"},
        {Text("maybe"), "Yes/No", "maybe"},
        {odbc::FieldValue(), "Yes/No", ""},
    });
}

TEST(FormatNumber, FollowsTheHostSeparators) {
    LocaleConventions german;
    german.decimalSeparator = ",";
    german.thousandsSeparator = ".";
    german.currencySymbol = "€";
    german.currencyPrecedes = false;
    german.currencySeparatedBySpace = true;
    german.currencyNegativeInParentheses = false;
    ExpectFormats(
        {
            {Real(1234.5), "#,##0.00", "1.234,50"},
            {Real(1234.5), "Currency", "1.234,50 €"},
            {Real(-1234.5), "Currency", "-1.234,50 €"},
            {Real(1234.5), "", "1234,5"},
            {Text("1234,5"), "0.0", "1234,5"},
            {Text("1234.5"), "0.00", "1234,50"},
            {Int(1234567), "0.00E+00", "1,23E+06"},
        },
        german);
}

TEST(FormatNumber, TextThatReadsAsANumberIsFormattedAsOne) {
    ExpectFormats({
        {Text("123.4"), "0.00", "123.40"},
        {Text(" -7 "), "0;(0)", "(7)"},
        {Text("1e3"), "#,##0", "1,000"},
        {Text("abc"), "0.00", "abc"},
        {Text("12abc"), "0.00", "12abc"},
    });
}

TEST(DefaultText, WritesNumbersInTheClassicPlainForm) {
    const LocaleConventions en = LocaleConventions::EnUs();
    const std::vector<std::pair<odbc::FieldValue, std::string>> cases = {
        {Int(-42), "-42"},
        {Dec("1234.50"), "1234.5"},
        {Dec("-.5"), "-0.5"},
        {Dec("100"), "100"},
        {Dec("000.000"), "0"},
        {Dec("12345678901234567890.123456789"), "12345678901234567890.123456789"},
        {Dec("garbage"), "garbage"},
        {Real(1234.5), "1234.5"},
        {Real(0.1 + 0.2), "0.3"},
        {Real(1e15), "1E+15"},
        {Real(123456789012345.0), "123456789012345"},
        {Real(0.0001), "0.0001"},
        {Real(0.00001), "1E-05"},
        {Real(-1.5e-300), "-1.5E-300"},
        {Real(0.0), "0"},
        {Real(std::nan("")), "NaN"},
        {Real(-std::numeric_limits<double>::infinity()), "-Infinity"},
        {odbc::FieldValue::FromBinary({0x00, 0xAB, 0x10}), "0x00AB10"},
        {odbc::FieldValue(), ""},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(DefaultText(value, en), expected) << expected;
        EXPECT_EQ(Format(value, "", en), expected);
    }
}

TEST(FormatNumber, ValuesThatAreNotNumbersAreNeverFormatted) {
    const double inf = std::numeric_limits<double>::infinity();
    ExpectFormats({
        {Real(std::nan("")), "#,##0.00", "NaN"},
        {Real(inf), "0.00E+00", "Infinity"},
        {Real(-inf), "0;(0)", "-Infinity"},
        {Real(inf), "yyyy-mm-dd", "Infinity"},
        {odbc::FieldValue::FromBinary({1, 2}), "0.00", "0x0102"},
    });
}

TEST(FormatNumber, HugeValuesAndFormatsStayExactAndBounded) {
    const LocaleConventions en = LocaleConventions::EnUs();
    EXPECT_EQ(Format(Real(1e308), "0", en), "1" + std::string(308, '0'));
    EXPECT_EQ(Format(Real(-1.7976931348623157e308), "0.00E+00", en), "-1.80E+308");
    EXPECT_EQ(Format(Real(5e-324), "0.00", en), "0.00");

    const std::string manyZeros(10000, '0');
    EXPECT_EQ(Format(Int(7), manyZeros, en), std::string(9999, '0') + "7");
    EXPECT_EQ(Format(Real(0.5), "0." + manyZeros, en), "0.5" + std::string(9999, '0'));
    const std::string manyCommas = "#" + std::string(10000, ',') + "0";
    EXPECT_EQ(Format(Int(1234), manyCommas, en), "1,234");
    EXPECT_EQ(Format(Int(1), std::string(10000, ';'), en), "1");
    EXPECT_EQ(Format(Int(1), std::string(10000, '\\'), en), std::string(5000, '\\'));
    EXPECT_EQ(Format(Int(1), std::string(10000, '%'), en).size(), 10000U)
        << "every % is written; the value is scaled far beyond the digits shown";
    // Exponents in text are refused beyond what a cell could show, so this stays text.
    EXPECT_EQ(Format(Text("1E999999999"), "0", en), "1E999999999");
    EXPECT_EQ(Format(Text("1e1001"), "0", en), "1e1001");
    EXPECT_EQ(Format(Text("1e1000"), "0", en).size(), 1001U);
    EXPECT_EQ(Format(Text("1e-1000"), "0.0", en), "0.0");
}

TEST(FormatNumber, NeverFailsOnArbitraryFormats) {
    // A small deterministic fuzz over the notation's special characters.
    const std::string alphabet = "0#.,%E+-e;\\\"@&<>!dmyhnswqcAMP/: tx";
    const std::vector<odbc::FieldValue> values = {Int(0),
                                                  Int(-7),
                                                  Real(1234.5678),
                                                  Real(-0.001),
                                                  Dec("-123456789.987654321"),
                                                  Text("abc"),
                                                  Text("12"),
                                                  Stamp(2009, 3, 15, 14, 5, 9),
                                                  odbc::FieldValue(),
                                                  Stamp(9999, 12, 31, 23, 59, 59),
                                                  odbc::FieldValue::FromDate({1, 1, 1}),
                                                  odbc::FieldValue::FromDate({2009, 13, 40})};
    std::uint32_t state = 12345;
    const LocaleConventions en = LocaleConventions::EnUs();
    for (int round = 0; round < 3000; ++round) {
        std::string format;
        const int length = static_cast<int>(state % 12);
        for (int i = 0; i < length; ++i) {
            state = state * 1664525U + 1013904223U;
            format += alphabet[(state >> 8) % alphabet.size()];
        }
        state = state * 1664525U + 1013904223U;
        const odbc::FieldValue& value = values[(state >> 8) % values.size()];
        const std::string out = Format(value, format, en);
        EXPECT_LT(out.size(), 1000U) << format;
    }
}

} // namespace
} // namespace slidesmith::fill
