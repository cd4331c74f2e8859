#include "platform/odbc/FieldValue.h"

#include <utility>

namespace slidesmith::odbc {

FieldValue FieldValue::FromInteger(std::int64_t value) {
    return FieldValue(Storage(value));
}

FieldValue FieldValue::FromDecimal(std::string text, int scale) {
    return FieldValue(Storage(odbc::Decimal{std::move(text), scale}));
}

FieldValue FieldValue::FromDouble(double value) {
    return FieldValue(Storage(value));
}

FieldValue FieldValue::FromText(std::string utf8) {
    return FieldValue(Storage(std::in_place_type<std::string>, std::move(utf8)));
}

FieldValue FieldValue::FromDate(const odbc::Date& date) {
    return FieldValue(Storage(date));
}

FieldValue FieldValue::FromTime(const odbc::Time& time) {
    return FieldValue(Storage(time));
}

FieldValue FieldValue::FromTimestamp(const odbc::Timestamp& timestamp) {
    return FieldValue(Storage(timestamp));
}

FieldValue FieldValue::FromBinary(std::vector<std::uint8_t> bytes) {
    return FieldValue(Storage(std::move(bytes)));
}

} // namespace slidesmith::odbc
