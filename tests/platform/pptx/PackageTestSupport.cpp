#include "PackageTestSupport.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <pugixml.hpp>
#include <set>
#include <stdexcept>
#include <unistd.h>
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

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Folder(const std::string& part) {
    std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string Resolve(const std::string& source, const std::string& target) {
    std::vector<std::string> segments;
    std::string path = target.front() == '/' ? target.substr(1) : Folder(source) + target;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = std::min(path.find('/', start), path.size());
        std::string segment = path.substr(start, slash - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string joined;
    for (const std::string& segment : segments)
        joined += (joined.empty() ? "" : "/") + segment;
    return joined;
}

struct Rel {
    std::string type;
    std::string target; // resolved
    bool external;
};

// Source part -> id -> relationship.
using RelMap = std::map<std::string, std::map<std::string, Rel>>;

std::string SourceOf(const std::string& relsName) {
    if (relsName == "_rels/.rels")
        return "";
    std::size_t marker = relsName.rfind("_rels/");
    return relsName.substr(0, marker) +
           relsName.substr(marker + 6, relsName.size() - marker - 6 - 5);
}

void CheckReferences(const std::string& part, pugi::xml_node root, const RelMap& rels,
                     std::vector<std::string>& problems) {
    static const std::set<std::string> kCarriers{"r:id", "r:embed", "r:link", "r:pict",
                                                 "r:dm", "r:lo",    "r:qs",   "r:cs"};
    auto found = rels.find(part);
    std::vector<pugi::xml_node> stack{root};
    while (!stack.empty()) {
        pugi::xml_node node = stack.back();
        stack.pop_back();
        for (pugi::xml_attribute attribute : node.attributes()) {
            if (kCarriers.count(attribute.name()) == 0 || *attribute.value() == '\0')
                continue;
            if (found == rels.end() || found->second.count(attribute.value()) == 0)
                problems.push_back(part + ": " + attribute.name() + "=\"" + attribute.value() +
                                   "\" has no relationship");
        }
        for (pugi::xml_node child : node.children())
            stack.push_back(child);
    }
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

std::vector<std::pair<std::string, std::string>> ReadAllEntries(const fs::path& path) {
    ZipPtr archive = OpenZip(path);
    std::vector<std::pair<std::string, std::string>> entries;
    zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat);
        entries.emplace_back(stat.name,
                             ReadIndex(archive.get(), static_cast<zip_uint64_t>(i), 0, stat.size));
    }
    return entries;
}

std::string BuildZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    ScratchFolder folder;
    fs::path path = folder / "built.zip";
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        throw std::runtime_error("cannot create a zip");
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("cannot write a zip");
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> CheckPackage(const fs::path& path) {
    std::vector<std::string> problems;
    std::vector<std::pair<std::string, std::string>> entries = ReadAllEntries(path);
    std::map<std::string, std::string> parts; // lower-case name -> content
    for (const auto& [name, bytes] : entries) {
        if (!parts.emplace(Lower(name), bytes).second)
            problems.push_back(name + ": entry appears twice");
    }
    pugi::xml_document types;
    if (!types.load_string(parts["[content_types].xml"].c_str()))
        return {"[Content_Types].xml unreadable"};
    std::map<std::string, std::string> defaults, overrides;
    for (pugi::xml_node node : types.document_element().children("Default"))
        defaults[Lower(node.attribute("Extension").value())] =
            node.attribute("ContentType").value();
    for (pugi::xml_node node : types.document_element().children("Override")) {
        std::string name = Lower(node.attribute("PartName").value()).substr(1);
        overrides[name] = node.attribute("ContentType").value();
        if (parts.count(name) == 0)
            problems.push_back("Override for missing part /" + name);
    }
    RelMap rels;
    for (const auto& [name, bytes] : entries) {
        std::string extension = Lower(name.substr(name.rfind('.') + 1));
        if (name != "[Content_Types].xml" && overrides.count(Lower(name)) == 0 &&
            defaults.count(extension) == 0)
            problems.push_back(name + ": no content type");
        if (extension != "rels")
            continue;
        pugi::xml_document document;
        document.load_string(bytes.c_str());
        std::string source = SourceOf(name);
        for (pugi::xml_node node : document.document_element().children("Relationship")) {
            bool external = std::strcmp(node.attribute("TargetMode").value(), "External") == 0;
            Rel rel{node.attribute("Type").value(),
                    external ? "" : Resolve(source, node.attribute("Target").value()), external};
            if (!rels[source].emplace(node.attribute("Id").value(), rel).second)
                problems.push_back(name + ": id " + node.attribute("Id").value() + " twice");
            if (!external && parts.count(Lower(rel.target)) == 0)
                problems.push_back(name + ": target " + rel.target + " is missing");
        }
    }
    std::map<std::string, std::string> chartOwner;
    for (const auto& [name, bytes] : entries) {
        std::string lower = Lower(name);
        if (lower.size() < 4 || lower.substr(lower.size() - 4) != ".xml")
            continue;
        pugi::xml_document document;
        if (!document.load_buffer(bytes.data(), bytes.size())) {
            problems.push_back(name + ": not well-formed");
            continue;
        }
        CheckReferences(name, document.document_element(), rels, problems);
        bool isSlide = overrides[lower] ==
                       "application/vnd.openxmlformats-officedocument.presentationml.slide+xml";
        if (!isSlide)
            continue;
        for (const auto& [id, rel] : rels[name]) {
            std::string kind = rel.type.substr(rel.type.rfind('/') + 1);
            if (kind == "chart" && !chartOwner.emplace(rel.target, name).second)
                problems.push_back(rel.target + " is shared by " + name + " and " +
                                   chartOwner[rel.target]);
            if (kind != "notesSlide")
                continue;
            if (!chartOwner.emplace(rel.target, name).second)
                problems.push_back(rel.target + " is shared by two slides");
            bool pointsBack = false;
            for (const auto& [backId, back] : rels[rel.target])
                pointsBack = pointsBack || (back.target == name);
            if (!pointsBack)
                problems.push_back(rel.target + " does not point back at " + name);
        }
    }
    pugi::xml_document presentation;
    presentation.load_string(parts["ppt/presentation.xml"].c_str());
    std::set<unsigned long> ids;
    for (pugi::xml_node entry :
         presentation.document_element().child("p:sldIdLst").children("p:sldId")) {
        unsigned long id = entry.attribute("id").as_ullong();
        if (id < 256 || id > 2147483647 || !ids.insert(id).second)
            problems.push_back("slide id " + std::to_string(id) + " invalid or repeated");
    }
    return problems;
}

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    m_path = fs::temp_directory_path() /
             ("slidesmith-pptx-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    fs::create_directories(m_path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored; // cleaning up must not turn a passing test into a failure
    fs::remove_all(m_path, ignored);
}

} // namespace slidesmith::pptx::testing
