#pragma once

#include "fill/ValueFormat.h"

#include <gtest/gtest.h>
#include <string>

// Shorthand for the value and case tables of the formatter tests.
namespace slidesmith::fill::testing {

inline odbc::FieldValue Int(std::int64_t v) {
    return odbc::FieldValue::FromInteger(v);
}
inline odbc::FieldValue Real(double v) {
    return odbc::FieldValue::FromDouble(v);
}
inline odbc::FieldValue Dec(std::string text) {
    return odbc::FieldValue::FromDecimal(std::move(text), 0);
}
inline odbc::FieldValue Text(std::string text) {
    return odbc::FieldValue::FromText(std::move(text));
}
inline odbc::FieldValue Stamp(int y, int mo, int d, int h, int mi, int s, std::uint32_t ns = 0) {
    return odbc::FieldValue::FromTimestamp({{y, mo, d}, {h, mi, s}, ns});
}

struct FormatCase {
    odbc::FieldValue value;
    std::string format;
    std::string expected;
};

inline void ExpectFormats(const std::vector<FormatCase>& cases,
                          const LocaleConventions& conventions = LocaleConventions::EnUs()) {
    for (const FormatCase& c : cases) {
        EXPECT_EQ(Format(c.value, c.format, conventions), c.expected)
            << "format \"" << c.format << "\", value " << DefaultText(c.value, conventions);
    }
}

} // namespace slidesmith::fill::testing
