#include "platform/pptx/ExternalConversion.h"

#include "platform/convert/ConvertError.h"
#include "platform/convert/Converter.h"
#include "platform/pptx/PptxError.h"

namespace slidesmith::pptx {

void ConvertWithLibreOffice(const std::filesystem::path& input,
                            const std::filesystem::path& output) {
    try {
        convert::ConvertPresentation(input, output, output.extension().string());
    } catch (const convert::ConvertError& error) {
        throw PptxError(error.what());
    }
}

} // namespace slidesmith::pptx
