#pragma once

#include <sql.h>
#include <sqlext.h>
#include <string>
#include <string_view>

namespace slidesmith::odbc {

// Text crosses the driver boundary in two forms. Statements, connection strings, names and
// messages travel as 8-bit strings holding UTF-8: both drivers take and give those bytes as they
// are, whereas the driver manager's conversion of the wide calls for a driver without wide
// entry points (the SQLite one) uses the process locale and mangles non-ASCII under "C".
// Values are asked for as SQL_C_WCHAR (UTF-16 code units; unixODBC's SQLWCHAR is 16 bits
// whatever wchar_t is), which both drivers deliver correctly under any locale.
using WideString = std::basic_string<SQLWCHAR>;

// Invalid UTF-8 sequences become U+FFFD; never throws for bad input.
WideString Utf8ToWide(std::string_view utf8);

// Converts exactly `length` code units; an unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(const SQLWCHAR* text, std::size_t length);

// 8-bit text from a driver, taken as UTF-8; invalid sequences become U+FFFD, so whatever a
// driver sends, what reaches a log file is valid UTF-8.
std::string NarrowToUtf8(const SQLCHAR* text, std::size_t length);

} // namespace slidesmith::odbc
