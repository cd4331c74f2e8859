#include "PackageFiles.h"

#include "TestToolError.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>
#include <zip.h>

namespace slidesmith::testtools {
namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
struct SourceFreer {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveCloser>;
using FilePtr = std::unique_ptr<zip_file_t, FileCloser>;
using SourcePtr = std::unique_ptr<zip_source_t, SourceFreer>;

// 1980-01-01 00:00, the earliest DOS date: a fixed stamp keeps repeated builds byte-identical.
constexpr zip_uint16_t kDosTime = 0;
constexpr zip_uint16_t kDosDate = (1 << 5) | 1;

PartMap ReadAll(zip_t* archive, const std::string& label) {
    PartMap parts;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, index, 0, &stat) != 0 || stat.name == nullptr) {
            throw TestToolError(label + ": cannot read zip entry " + std::to_string(i));
        }
        std::string name = stat.name;
        if (!name.empty() && name.back() == '/') {
            continue;
        }
        FilePtr file(zip_fopen_index(archive, index, 0));
        if (!file) {
            throw TestToolError(label + ": cannot open zip entry " + name + ": " +
                                zip_strerror(archive));
        }
        std::string bytes(static_cast<std::size_t>(stat.size), '\0');
        if (stat.size > 0 &&
            zip_fread(file.get(), bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) {
            throw TestToolError(label + ": cannot inflate zip entry " + name);
        }
        parts.emplace(std::move(name), std::move(bytes));
    }
    return parts;
}

std::vector<const PartMap::value_type*> OfficeOrder(const PartMap& parts) {
    std::vector<const PartMap::value_type*> ordered;
    for (const char* first : {"[Content_Types].xml", "_rels/.rels"}) {
        if (auto found = parts.find(first); found != parts.end()) {
            ordered.push_back(&*found);
        }
    }
    for (const auto& entry : parts) {
        if (entry.first != "[Content_Types].xml" && entry.first != "_rels/.rels") {
            ordered.push_back(&entry);
        }
    }
    return ordered;
}

} // namespace

PartMap ReadPackage(const std::filesystem::path& path) {
    int errorCode = 0;
    ArchivePtr archive(zip_open(path.c_str(), ZIP_RDONLY, &errorCode));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, errorCode);
        std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw TestToolError(path.string() + ": not a readable zip package: " + reason);
    }
    return ReadAll(archive.get(), path.string());
}

PartMap ReadPackageFromMemory(const std::string& bytes, const std::string& label) {
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr source(zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error));
    if (!source) {
        zip_error_fini(&error);
        throw TestToolError(label + ": cannot create a zip source");
    }
    ArchivePtr archive(zip_open_from_source(source.get(), ZIP_RDONLY, &error));
    if (!archive) {
        std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw TestToolError(label + ": not a readable zip package: " + reason);
    }
    source.release(); // the archive owns the source now
    return ReadAll(archive.get(), label);
}

std::string WritePackageToMemory(const PartMap& parts) {
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer) {
        throw TestToolError("cannot create an in-memory zip buffer");
    }
    zip_source_keep(buffer.get()); // read back after zip_close releases its reference
    zip_t* archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        zip_source_free(buffer.get()); // drop the reference zip_open_from_source did not take
        throw TestToolError(std::string("cannot start a zip archive: ") +
                            zip_error_strerror(&error));
    }
    ArchivePtr guard(archive);
    for (const auto* entry : OfficeOrder(parts)) {
        zip_source_t* data =
            zip_source_buffer(archive, entry->second.data(), entry->second.size(), 0);
        const zip_int64_t index =
            data ? zip_file_add(archive, entry->first.c_str(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip_source_free(data);
            throw TestToolError("cannot add zip entry " + entry->first + ": " +
                                zip_strerror(archive));
        }
        const auto position = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(archive, position, ZIP_CM_DEFLATE, 6);
        zip_file_set_dostime(archive, position, kDosTime, kDosDate, 0);
    }
    if (zip_close(archive) != 0) {
        throw TestToolError(std::string("cannot finish the zip archive: ") + zip_strerror(archive));
    }
    guard.release(); // zip_close freed it
    if (zip_source_open(buffer.get()) != 0) {
        throw TestToolError("cannot reopen the in-memory zip buffer");
    }
    std::string bytes;
    char chunk[65536];
    for (zip_int64_t got; (got = zip_source_read(buffer.get(), chunk, sizeof chunk)) > 0;) {
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    zip_source_close(buffer.get());
    return bytes;
}

void WritePackage(const PartMap& parts, const std::filesystem::path& path) {
    const std::string bytes = WritePackageToMemory(parts);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw TestToolError(path.string() + ": cannot write the package");
    }
}

} // namespace slidesmith::testtools
