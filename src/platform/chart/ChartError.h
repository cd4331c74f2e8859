#pragma once

#include <stdexcept>
#include <string>

namespace slidesmith::chart {

// The chart layer's one exception type. what() names the chart part and the element or
// datasheet cell that failed, e.g. "ppt/charts/chart3.xml: c:ser 2 c:val: the reference
// 'Sheet1!$B$2:' cannot be read". Errors of the workbook and package layers underneath pass
// through as their own types.
class ChartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace slidesmith::chart
