#include "platform/pptx/ExternalConversion.h"

#include "platform/pptx/PptxError.h"

namespace slidesmith::pptx {

void ConvertWithLibreOffice(const std::filesystem::path& input,
                            const std::filesystem::path& output) {
    (void)input;
    std::string format = output.extension().string();
    if (!format.empty())
        format.erase(0, 1);
    throw PptxError("conversion to " + format + " needs LibreOffice: not available in this build");
}

} // namespace slidesmith::pptx
