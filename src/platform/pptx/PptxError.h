#pragma once

#include <stdexcept>
#include <string>

namespace slidesmith::pptx {

// The presentation engine's one exception type. what() says which file and which part failed
// and why, e.g. "report.pptx: ppt/slides/slide3.xml: not well-formed XML at offset 120".
class PptxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace slidesmith::pptx
