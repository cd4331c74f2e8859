#pragma once

#include <filesystem>

namespace slidesmith::pptx {

// Converts a presentation file into another format (the target's extension says which) with
// the office converter. Throws PptxError when the conversion cannot be done.
void ConvertWithLibreOffice(const std::filesystem::path& input,
                            const std::filesystem::path& output);

} // namespace slidesmith::pptx
