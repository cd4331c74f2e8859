#pragma once

#include <cstdint>
#include <string>

namespace slidesmith::engine {

// How a counter is shown: a freshly reset counter shows "0", an updated one shows nothing for
// zero (the classic "#,##0" and "#,###" number formats).
enum class CountStyle { ZeroAsDigit, ZeroAsEmpty };

// The value with a comma between each group of three digits: 1234567 gives "1,234,567".
std::string FormatCount(std::int64_t value, CountStyle style);

} // namespace slidesmith::engine
