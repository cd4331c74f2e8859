#include "PackageModel.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace slidesmith::testtools {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string PercentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// XML 1.0 forbids most C0 controls even as character references; pugixml accepts them, Office
// refuses the file.
std::optional<std::size_t> ForbiddenCharacter(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            return i;
        }
        if (c == '&' && i + 2 < bytes.size() && bytes[i + 1] == '#') {
            const bool hex = bytes[i + 2] == 'x' || bytes[i + 2] == 'X';
            const std::size_t end = bytes.find(';', i);
            if (end == std::string::npos || end > i + 12) {
                continue;
            }
            const std::string digits = bytes.substr(i + (hex ? 3 : 2), end - i - (hex ? 3 : 2));
            if (digits.empty() ||
                digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") !=
                    std::string::npos) {
                continue;
            }
            const unsigned long code = std::stoul(digits, nullptr, hex ? 16 : 10);
            if ((code < 0x20 && code != 0x9 && code != 0xA && code != 0xD) || code == 0xFFFE ||
                code == 0xFFFF || (code >= 0xD800 && code <= 0xDFFF)) {
                return i;
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::string ResolveTarget(const std::string& source, const std::string& target) {
    std::string decoded = PercentDecode(target.substr(0, target.find('#')));
    std::string joined;
    if (!decoded.empty() && decoded.front() == '/') {
        joined = decoded.substr(1);
    } else {
        const std::size_t slash = source.rfind('/');
        joined =
            (slash == std::string::npos ? std::string() : source.substr(0, slash + 1)) + decoded;
    }
    std::vector<std::string> segments;
    std::stringstream stream(joined);
    for (std::string segment; std::getline(stream, segment, '/');) {
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
    }
    std::string resolved;
    for (const auto& segment : segments) {
        resolved += (resolved.empty() ? "" : "/") + segment;
    }
    return resolved;
}

PackageModel::PackageModel(const PartMap& parts, std::vector<Finding>& findings)
    : m_parts(parts), m_findings(findings) {
    for (const auto& entry : m_parts) {
        m_lowerNames.emplace(Lower(entry.first), entry.first);
    }
    ReadContentTypes();
}

void PackageModel::Add(FindingKind kind, const std::string& part, const std::string& message) {
    m_findings.push_back({kind, FindingLevel::Error, part, message});
}

void PackageModel::ReadContentTypes() {
    const pugi::xml_document* types = Xml("[Content_Types].xml");
    if (types == nullptr) {
        if (!Find("[Content_Types].xml")) {
            Add(FindingKind::MissingContentType, "[Content_Types].xml",
                "The package has no [Content_Types].xml, so no part has a content type.");
        }
        return;
    }
    for (pugi::xml_node node : types->document_element().children()) {
        const std::string local = LocalName(node);
        if (local == "Default") {
            const std::string extension = Lower(node.attribute("Extension").value());
            if (!m_defaults.emplace(extension, node.attribute("ContentType").value()).second) {
                Add(FindingKind::DuplicateContentType, "[Content_Types].xml",
                    "[Content_Types].xml has two Default elements for extension \"" + extension +
                        "\".");
            }
        } else if (local == "Override") {
            std::string name = node.attribute("PartName").value();
            if (!name.empty() && name.front() == '/') {
                name.erase(0, 1);
            }
            if (!m_overrides.emplace(Lower(name), node.attribute("ContentType").value()).second) {
                Add(FindingKind::DuplicateContentType, "[Content_Types].xml",
                    "[Content_Types].xml has two Override elements for /" + name + ".");
            }
            if (!Find(name)) {
                Add(FindingKind::OverrideForMissingPart, name,
                    "[Content_Types].xml has an Override for /" + name +
                        ", but the package has no such part.");
            }
        }
    }
}

std::optional<std::string> PackageModel::Find(const std::string& name) const {
    if (m_parts.count(name) != 0) {
        return name;
    }
    if (auto found = m_lowerNames.find(Lower(name)); found != m_lowerNames.end()) {
        return found->second;
    }
    return std::nullopt;
}

std::string PackageModel::ContentType(const std::string& name) const {
    if (auto found = m_overrides.find(Lower(name)); found != m_overrides.end()) {
        return found->second;
    }
    const std::size_t dot = name.rfind('.');
    const std::size_t slash = name.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    if (auto found = m_defaults.find(Lower(name.substr(dot + 1))); found != m_defaults.end()) {
        return found->second;
    }
    return {};
}

bool PackageModel::HasOverride(const std::string& name) const {
    return m_overrides.count(Lower(name)) != 0;
}

bool PackageModel::IsXmlPart(const std::string& name) const {
    if (name == "[Content_Types].xml" || IsRelsPart(name)) {
        return true;
    }
    const std::string type = ContentType(name);
    if (type.empty()) {
        const std::string lower = Lower(name);
        return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".xml") == 0;
    }
    return type == "application/xml" || type == "text/xml" ||
           (type.size() > 4 && type.compare(type.size() - 4, 4, "+xml") == 0);
}

const pugi::xml_document* PackageModel::Xml(const std::string& name) {
    if (auto cached = m_xml.find(name); cached != m_xml.end()) {
        return cached->second.get();
    }
    auto part = m_parts.find(name);
    if (part == m_parts.end() || m_malformed.count(name) != 0) {
        return nullptr;
    }
    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result =
        document->load_buffer(part->second.data(), part->second.size(), pugi::parse_default);
    if (!result) {
        m_malformed.insert(name);
        Add(FindingKind::MalformedXml, name,
            name + " is not well-formed XML: " + result.description() + " at byte " +
                std::to_string(result.offset) + ".");
        return nullptr;
    }
    if (auto at = ForbiddenCharacter(part->second)) {
        m_malformed.insert(name);
        Add(FindingKind::MalformedXml, name,
            name + " holds a character XML 1.0 forbids at byte " + std::to_string(*at) + ".");
        return nullptr;
    }
    return m_xml.emplace(name, std::move(document)).first->second.get();
}

const std::vector<Relationship>& PackageModel::RelationshipsOf(const std::string& source) {
    if (auto cached = m_relationships.find(source); cached != m_relationships.end()) {
        return cached->second;
    }
    std::vector<Relationship>& list = m_relationships[source];
    const std::string relsPart = RelsPartOf(source);
    const auto stored = Find(relsPart);
    const pugi::xml_document* rels = stored ? Xml(*stored) : nullptr;
    if (rels == nullptr) {
        return list;
    }
    for (pugi::xml_node node : rels->document_element().children()) {
        if (LocalName(node) != "Relationship") {
            continue;
        }
        Relationship relationship;
        relationship.id = node.attribute("Id").value();
        relationship.type = node.attribute("Type").value();
        relationship.rawTarget = node.attribute("Target").value();
        relationship.external = std::string(node.attribute("TargetMode").value()) == "External";
        if (!relationship.external) {
            relationship.target = ResolveTarget(source, relationship.rawTarget);
        }
        list.push_back(std::move(relationship));
    }
    return list;
}

std::vector<std::string> PackageModel::PartsOfType(const std::string& contentType) const {
    std::vector<std::string> names;
    for (const auto& entry : m_parts) {
        if (ContentType(entry.first) == contentType) {
            names.push_back(entry.first);
        }
    }
    return names;
}

std::string PackageModel::RelsPartOf(const std::string& source) {
    const std::size_t slash = source.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : source.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? source : source.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

bool PackageModel::IsRelsPart(const std::string& name) {
    const std::string lower = Lower(name);
    const bool inRelsFolder =
        lower.rfind("_rels/", 0) == 0 || lower.find("/_rels/") != std::string::npos;
    return inRelsFolder && lower.size() > 5 && lower.compare(lower.size() - 5, 5, ".rels") == 0;
}

std::string PackageModel::SourceOfRels(const std::string& relsPart) {
    const std::size_t marker = relsPart.rfind("_rels/");
    const std::string folder = relsPart.substr(0, marker);
    const std::string file = relsPart.substr(marker + 6);
    return folder + file.substr(0, file.size() - 5);
}

std::string PackageModel::LocalName(const pugi::xml_node& node) {
    const char* name = node.name();
    const char* colon = std::strchr(name, ':');
    return colon == nullptr ? name : colon + 1;
}

} // namespace slidesmith::testtools
