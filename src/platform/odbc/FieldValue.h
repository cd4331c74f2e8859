#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// The value one recordset field holds for the current record, as the data access layer hands it
// to the fills. It owns its data, so it stays valid after the recordset moves on.
namespace slidesmith::odbc {

struct Date {
    int year = 1899; // proleptic Gregorian; the database may send any year it can store
    int month = 12;  // 1..12
    int day = 30;    // 1..31
    bool operator==(const Date&) const = default;
};

struct Time {
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
    int second = 0; // 0..59 (a leap second 60 is passed through)
    bool operator==(const Time&) const = default;
};

struct Timestamp {
    Date date;
    Time time;
    std::uint32_t nanoseconds = 0; // fraction of the second, 0..999,999,999
    bool operator==(const Timestamp&) const = default;
};

// An exact decimal as the driver wrote it: optional "-", digits, optional "." and fraction
// digits ("1234.50", "-0.5", ".5"). It is never converted to double, so values with more
// digits than a double keeps survive to the formatter.
struct Decimal {
    std::string text;
    int scale = 0; // digits after the point that the column declares
    bool operator==(const Decimal&) const = default;
};

struct Null {
    bool operator==(const Null&) const = default;
};

enum class FieldValueKind { Null, Integer, Decimal, Double, Text, Date, Time, Timestamp, Binary };

class FieldValue {
public:
    FieldValue() = default; // null
    static FieldValue FromInteger(std::int64_t value);
    static FieldValue FromDecimal(std::string text, int scale);
    static FieldValue FromDouble(double value);
    static FieldValue FromText(std::string utf8);
    static FieldValue FromDate(const odbc::Date& date);
    static FieldValue FromTime(const odbc::Time& time);
    static FieldValue FromTimestamp(const odbc::Timestamp& timestamp);
    static FieldValue FromBinary(std::vector<std::uint8_t> bytes);

    FieldValueKind Kind() const { return static_cast<FieldValueKind>(m_value.index()); }
    bool IsNull() const { return Kind() == FieldValueKind::Null; }

    // Accessors for the held alternative; calling one for another kind is a programmer error
    // and throws std::bad_variant_access.
    std::int64_t AsInteger() const { return std::get<std::int64_t>(m_value); }
    const odbc::Decimal& AsDecimal() const { return std::get<odbc::Decimal>(m_value); }
    double AsDouble() const { return std::get<double>(m_value); }
    const std::string& AsText() const { return std::get<std::string>(m_value); }
    const odbc::Date& AsDate() const { return std::get<odbc::Date>(m_value); }
    const odbc::Time& AsTime() const { return std::get<odbc::Time>(m_value); }
    const odbc::Timestamp& AsTimestamp() const { return std::get<odbc::Timestamp>(m_value); }
    const std::vector<std::uint8_t>& AsBinary() const {
        return std::get<std::vector<std::uint8_t>>(m_value);
    }

    // Same kind and same content; decimals compare as written ("1.50" is not "1.5").
    bool operator==(const FieldValue&) const = default;

private:
    // The order matches FieldValueKind.
    using Storage = std::variant<Null, std::int64_t, odbc::Decimal, double, std::string, odbc::Date,
                                 odbc::Time, odbc::Timestamp, std::vector<std::uint8_t>>;
    explicit FieldValue(Storage value) : m_value(std::move(value)) {}
    Storage m_value;
};

} // namespace slidesmith::odbc
