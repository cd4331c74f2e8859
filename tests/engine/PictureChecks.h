#pragma once

#include "PresentationReader.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// Read-back helpers of the picture and form runs.
namespace slidesmith::engine::test {

// The pictures of a slide in shape order, except one named `except` (a template's own).
inline std::vector<testtools::ShapeView> PicturesOn(const testtools::PresentationReader& report,
                                                    std::size_t slide,
                                                    const std::string& except = {}) {
    std::vector<testtools::ShapeView> pictures;
    for (const auto& shape : report.Shapes(slide)) {
        if (shape.kind == testtools::ShapeView::Kind::Picture && shape.name != except)
            pictures.push_back(shape);
    }
    return pictures;
}

inline std::size_t MediaCount(const testtools::PresentationReader& report) {
    std::size_t count = 0;
    for (const auto& [name, bytes] : report.Parts())
        count += name.starts_with("ppt/media/") ? 1 : 0;
    return count;
}

// Copies rendered pages to $SLIDESMITH_KEEP_RENDERS when it is set, for a person to look at.
inline void KeepRenders(const std::vector<std::filesystem::path>& pages,
                        const std::string& prefix) {
    const char* keep = std::getenv("SLIDESMITH_KEEP_RENDERS");
    if (keep == nullptr)
        return;
    std::filesystem::create_directories(keep);
    for (const auto& page : pages)
        std::filesystem::copy_file(
            page, std::filesystem::path(keep) / (prefix + page.filename().string()),
            std::filesystem::copy_options::overwrite_existing);
}

} // namespace slidesmith::engine::test
