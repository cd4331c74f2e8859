#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::pptx {

// One part to compress: the input view must stay valid until DeflateAll returns. A job with a
// render function gets its input from it on a worker thread (serialising XML is as costly as
// deflating it, and parts are independent).
struct DeflateJob {
    std::string_view input;
    std::function<std::string()> render;
    std::string rendered;
    std::string output;       // deflated bytes (or the input itself when stored)
    std::uint16_t method = 8; // 8 deflated, 0 stored when deflate would not shrink it
    std::uint32_t crc = 0;
};

// Compresses every job with libdeflate at level 6 on all cores; parts are independent, so
// the work splits by job. Throws PptxError when a compressor cannot be created.
void DeflateAll(std::vector<DeflateJob>& jobs);

} // namespace slidesmith::pptx
