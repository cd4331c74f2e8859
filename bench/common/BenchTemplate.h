#pragma once

#include <cstddef>
#include <string>

namespace slidesmith::bench {

// The bytes of a minimal but complete template: presentation, layout, master, theme and one
// slide holding "Table 3" with `columns` columns, a header row ("Header 1".."Header n") and one
// empty data row, as a pptx file.
std::string MakeTableTemplate(std::size_t columns);

} // namespace slidesmith::bench
