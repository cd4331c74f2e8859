#include "PackageTestSupport.h"

#include "PackageChecker.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <pugixml.hpp>
#include <set>
#include <stdexcept>
#include <zip.h>

namespace slidesmith::pptx::testing {
namespace fs = std::filesystem;
namespace {

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

ZipPtr OpenZip(const fs::path& path) {
    int error = 0;
    ZipPtr archive(zip_open(path.c_str(), ZIP_RDONLY, &error));
    if (!archive)
        throw std::runtime_error(path.string() + ": cannot open as zip");
    return archive;
}

std::string ReadIndex(zip_t* archive, zip_uint64_t index, zip_flags_t flags, std::uint64_t size) {
    zip_file_t* file = zip_fopen_index(archive, index, flags);
    if (file == nullptr)
        throw std::runtime_error("cannot open a zip entry");
    std::string bytes(size, '\0');
    zip_int64_t got = zip_fread(file, bytes.data(), size);
    zip_fclose(file);
    if (got != static_cast<zip_int64_t>(size))
        throw std::runtime_error("short zip entry");
    return bytes;
}

} // namespace

fs::path RealFixtures() {
    return fs::path(SLIDESMITH_SHARED_FIXTURES) / "real";
}

std::vector<fs::path> RealPackages() {
    std::vector<fs::path> paths;
    if (!fs::is_directory(RealFixtures()))
        return paths;
    for (const auto& entry : fs::directory_iterator(RealFixtures())) {
        std::string extension = entry.path().extension().string();
        if (extension == ".pptx" || extension == ".potx")
            paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::map<std::string, RawEntry> ReadRawEntries(const fs::path& path) {
    ZipPtr archive = OpenZip(path);
    std::map<std::string, RawEntry> entries;
    zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat);
        RawEntry entry{static_cast<std::uint16_t>(stat.comp_method), stat.crc,
                       ReadIndex(archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_COMPRESSED,
                                 stat.comp_size)};
        entries.emplace(stat.name, std::move(entry));
    }
    return entries;
}

std::string ReadEntry(const fs::path& path, const std::string& name) {
    ZipPtr archive = OpenZip(path);
    zip_stat_t stat;
    if (zip_stat(archive.get(), name.c_str(), 0, &stat) != 0)
        throw std::runtime_error(path.string() + ": no entry " + name);
    return ReadIndex(archive.get(), stat.index, 0, stat.size);
}

std::vector<std::string> CheckPackage(const fs::path& path) {
    std::vector<std::string> errors;
    for (const testtools::Finding& finding : testtools::CheckPackage(path)) {
        if (finding.level == testtools::FindingLevel::Error)
            errors.push_back(testtools::Describe(finding));
    }
    return errors;
}

} // namespace slidesmith::pptx::testing
