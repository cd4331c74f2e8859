#pragma once

#include <stdexcept>
#include <string>

namespace slidesmith::xlsx {

// The workbook engine's one exception type. what() names the workbook, the part or sheet and
// the cell or reference that failed, e.g. "chart1 workbook: Sheet1: B7: cannot shift cells off
// the worksheet".
class XlsxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace slidesmith::xlsx
