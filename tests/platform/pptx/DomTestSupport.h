#pragma once

#include "platform/pptx/PartChangeSink.h"

#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace slidesmith::pptx::test {

// Counts change notifications, as the package's part object would act on them.
class CountingSink : public PartChangeSink {
public:
    void MarkChanged() override { ++changes; }
    int changes = 0;
};

// Parses `body` inside an element that declares the usual DrawingML prefixes; returns the
// document (owning) and fails the test on a parse error.
std::unique_ptr<pugi::xml_document> ParseWithNamespaces(std::string_view body);

// The first element named `name` in the document.
pugi::xml_node Find(const pugi::xml_document& document, const char* name);

// Serialises a node without indentation.
std::string Serialise(pugi::xml_node node);

// Folder of the real presentations, or "" when the fixtures are not installed.
std::string RealFixturesFolder();

// A part of a real presentation read with `unzip -p`; "" when it cannot be read.
std::string ReadPackagePart(const std::string& file, const std::string& part);

} // namespace slidesmith::pptx::test
