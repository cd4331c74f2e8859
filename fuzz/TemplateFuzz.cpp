// Feeds arbitrary bytes to the presentation reader as a template. Any outcome but a clean
// PptxError or a usable presentation is a fault: crashes, hangs, other exception types, and a
// saved result that does not open again.
#include "platform/pptx/PptxError.h"
#include "platform/pptx/Presentation.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using slidesmith::pptx::PptxError;
using slidesmith::pptx::Presentation;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string saved;
    try {
        Presentation presentation(bytes, "fuzz.pptx");
        if (presentation.SlideCount() > 0) {
            presentation.Duplicate(0);
            presentation.Slide(1).Shapes();
            presentation.Delete(0);
        }
        saved = presentation.GetPackage().Save();
    } catch (const PptxError&) {
        return 0;
    }
    try {
        Presentation reopened(saved, "saved.pptx");
    } catch (const PptxError&) {
        std::abort(); // what we wrote must read back
    }
    return 0;
}
