#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace slidesmith::testtools {

// The entries of a zip package by item name (part name without the leading '/'), bytes as
// stored after inflating. Directory entries are not kept.
using PartMap = std::map<std::string, std::string>;

// Reads every entry of the zip file at `path`. Throws TestToolError naming the file when it
// cannot be opened or an entry cannot be read.
PartMap ReadPackage(const std::filesystem::path& path);

// Reads a zip archive held in memory (an embedded workbook, for instance). Throws TestToolError
// naming `label` on failure.
PartMap ReadPackageFromMemory(const std::string& bytes, const std::string& label);

// Writes `parts` as a zip archive the way Office does: "[Content_Types].xml" first, then
// "_rels/.rels", then the rest in name order, deflated, with a fixed timestamp so equal input
// gives equal bytes. Replaces `path`. Throws TestToolError on failure.
void WritePackage(const PartMap& parts, const std::filesystem::path& path);

// The same archive as WritePackage, returned as bytes.
std::string WritePackageToMemory(const PartMap& parts);

} // namespace slidesmith::testtools
