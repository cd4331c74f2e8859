#pragma once

#include "platform/convert/TempFolder.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Helpers for the presentation-engine tests. They read and write zips with libzip and parse XML
// with pugixml directly, never through the engine, so they judge its output independently.
namespace slidesmith::pptx::testing {

struct RawEntry {
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::string bytes; // as stored, still compressed
};

std::filesystem::path RealFixtures();
// The real .pptx/.potx files in the shared fixtures (empty when the folder is absent).
std::vector<std::filesystem::path> RealPackages();

std::map<std::string, RawEntry> ReadRawEntries(const std::filesystem::path& path);
// The inflated content of one entry; throws std::runtime_error when it is missing.
std::string ReadEntry(const std::filesystem::path& path, const std::string& name);

// The errors the independent package checker finds (what makes PowerPoint offer a repair),
// one sentence each. Empty when the package is sound.
std::vector<std::string> CheckPackage(const std::filesystem::path& path);

// A folder below the system temporary folder, removed with its contents.
class ScratchFolder : public convert::TempFolder {
public:
    ScratchFolder() : convert::TempFolder("slidesmith-pptx") {}
    std::filesystem::path operator/(const std::string& name) const { return Path() / name; }
};

} // namespace slidesmith::pptx::testing
