#include "platform/pptx/ParallelDeflate.h"

#include "platform/pptx/PptxError.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <libdeflate.h>
#include <memory>
#include <mutex>
#include <thread>

namespace slidesmith::pptx {
namespace {

constexpr int kLevel = 6;

struct CompressorDeleter {
    void operator()(libdeflate_compressor* compressor) const {
        libdeflate_free_compressor(compressor);
    }
};
using CompressorPtr = std::unique_ptr<libdeflate_compressor, CompressorDeleter>;

void Compress(libdeflate_compressor* compressor, DeflateJob& job) {
    if (job.render) {
        job.rendered = job.render();
        job.input = job.rendered;
    }
    job.crc = static_cast<std::uint32_t>(libdeflate_crc32(0, job.input.data(), job.input.size()));
    job.output.resize(libdeflate_deflate_compress_bound(compressor, job.input.size()));
    std::size_t written = libdeflate_deflate_compress(
        compressor, job.input.data(), job.input.size(), job.output.data(), job.output.size());
    if (written == 0 || written >= job.input.size()) {
        job.output.assign(job.input);
        job.method = 0;
        return;
    }
    job.output.resize(written);
    job.output.shrink_to_fit();
    job.method = 8;
}

} // namespace

void DeflateAll(std::vector<DeflateJob>& jobs) {
    if (jobs.empty())
        return;
    unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::size_t threadCount = std::min<std::size_t>(cores, jobs.size());
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto worker = [&]() {
        try {
            CompressorPtr compressor(libdeflate_alloc_compressor(kLevel));
            if (!compressor)
                throw PptxError("cannot create a deflate compressor: out of memory");
            for (std::size_t i = next++; i < jobs.size(); i = next++)
                Compress(compressor.get(), jobs[i]);
        } catch (...) {
            std::lock_guard<std::mutex> lock(failureLock);
            if (!failure)
                failure = std::current_exception();
            next = jobs.size();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(threadCount - 1);
    for (std::size_t i = 1; i < threadCount; ++i)
        threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads)
        thread.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace slidesmith::pptx
