#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Templates for benchmarks, which build without the test tools.
namespace slidesmith::bench {

// A slide part holding one table "Table 3" with these cell texts (rows of equal length), every
// column columnWidth EMU wide.
std::string TableSlide(const std::vector<std::vector<std::string>>& texts,
                       std::int64_t columnWidth);

// A minimal but complete template (presentation, one slide, its layout, master and theme) as
// zip bytes; slideXml is the whole slide part.
std::string MinimalTemplate(const std::string& slideXml);

} // namespace slidesmith::bench
