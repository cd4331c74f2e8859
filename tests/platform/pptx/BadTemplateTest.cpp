#include "PackageFiles.h"
#include "platform/pptx/PptxError.h"
#include "platform/pptx/Presentation.h"

#include <fstream>
#include <gtest/gtest.h>

namespace slidesmith::pptx {
namespace {

namespace fs = std::filesystem;
using testtools::PartMap;

const std::string kTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/ppt/presentation.xml" ContentType="application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml"/>)"
    R"(<Override PartName="/ppt/slides/slide1.xml" ContentType="application/vnd.openxmlformats-officedocument.presentationml.slide+xml"/>)"
    R"(</Types>)";
const std::string kRootRels =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="ppt/presentation.xml"/>)"
    R"(</Relationships>)";
const std::string kPresentation =
    R"(<p:presentation xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<p:sldIdLst><p:sldId id="256" r:id="rId2"/></p:sldIdLst></p:presentation>)";
const std::string kPresentationRels =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/slide" Target="slides/slide1.xml"/>)"
    R"(</Relationships>)";
const std::string kSlide =
    R"(<p:sld xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main"><p:cSld><p:spTree/></p:cSld></p:sld>)";

PartMap MinimalPackage() {
    return {{"[Content_Types].xml", kTypes},
            {"_rels/.rels", kRootRels},
            {"ppt/presentation.xml", kPresentation},
            {"ppt/_rels/presentation.xml.rels", kPresentationRels},
            {"ppt/slides/slide1.xml", kSlide}};
}

PartMap Without(PartMap parts, const std::string& name) {
    parts.erase(name);
    return parts;
}

PartMap With(PartMap parts, const std::string& name, const std::string& bytes) {
    parts[name] = bytes;
    return parts;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

// Rewrites a size the central directory gives for one entry: the uncompressed one (offset 24)
// or the compressed one (offset 20).
std::string WithDirectorySize(std::string bytes, const std::string& name, std::uint32_t size,
                              std::size_t field = 24) {
    const std::string signature("PK\x01\x02", 4);
    for (std::size_t at = bytes.find(signature); at != std::string::npos;
         at = bytes.find(signature, at + 4)) {
        std::size_t nameLength =
            static_cast<unsigned char>(bytes[at + 28]) |
            static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 29])) << 8;
        if (bytes.compare(at + 46, nameLength, name) != 0)
            continue;
        for (int i = 0; i < 4; ++i)
            bytes[at + field + static_cast<std::size_t>(i)] =
                static_cast<char>((size >> (8 * i)) & 0xff);
    }
    return bytes;
}

struct BadCase {
    const char* label;
    std::string bytes;
    const char* expected; // part of what()
};

std::string OpenFailure(const std::string& bytes) {
    try {
        Presentation presentation(bytes, "bad.pptx");
    } catch (const PptxError& error) {
        return error.what();
    }
    return "(opened)";
}

TEST(BadTemplate, EachDefectGivesAPreciseError) {
    std::string good = testtools::WritePackageToMemory(MinimalPackage());
    const std::vector<BadCase> cases{
        {"not a zip", "this is a text file, not a presentation", "bad.pptx: not a valid zip"},
        {"empty file", "", "bad.pptx: the file is empty"},
        {"truncated zip", good.substr(0, good.size() / 2), "bad.pptx"},
        {"no content types",
         testtools::WritePackageToMemory(Without(MinimalPackage(), "[Content_Types].xml")),
         "[Content_Types].xml is missing"},
        {"no package relationships",
         testtools::WritePackageToMemory(Without(MinimalPackage(), "_rels/.rels")), "_rels/.rels"},
        {"no presentation part",
         testtools::WritePackageToMemory(Without(MinimalPackage(), "ppt/presentation.xml")),
         "ppt/presentation.xml: the presentation part is missing"},
        {"a word document",
         testtools::WritePackageToMemory(With(MinimalPackage(), "[Content_Types].xml",
                                              Replace(kTypes, "presentationml.presentation.main",
                                                      "wordprocessingml.document.main"))),
         "not a presentation"},
        {"slide relationship missing",
         testtools::WritePackageToMemory(With(MinimalPackage(), "ppt/presentation.xml",
                                              Replace(kPresentation, "rId2", "rId9"))),
         "slide id 256 refers to relationship \"rId9\""},
        {"slide part missing",
         testtools::WritePackageToMemory(Without(MinimalPackage(), "ppt/slides/slide1.xml")),
         "points at the missing part ppt/slides/slide1.xml"},
        {"broken XML",
         testtools::WritePackageToMemory(
             With(MinimalPackage(), "ppt/presentation.xml", "<p:presentation")),
         "ppt/presentation.xml: not well-formed XML"},
        {"repeated slide id",
         testtools::WritePackageToMemory(
             With(MinimalPackage(), "ppt/presentation.xml",
                  Replace(kPresentation, "</p:sldIdLst>",
                          R"(<p:sldId id="256" r:id="rId2"/></p:sldIdLst>)"))),
         "slide id 256 is invalid or used twice"},
        {"claims an absurd inflated size",
         WithDirectorySize(good, "ppt/slides/slide1.xml", 600u << 20),
         "ppt/slides/slide1.xml: inflated size of 629145600 bytes is too large"},
        {"claims more compressed bytes than the file has",
         WithDirectorySize(good, "ppt/slides/slide1.xml", 3u << 30, 20),
         "ppt/slides/slide1.xml: the directory claims more bytes than the file holds"},
        {"claims an impossible compression ratio",
         WithDirectorySize(good, "ppt/slides/slide1.xml", 300u << 20),
         "ppt/slides/slide1.xml: compression ratio is impossible"},
        {"inflates to fewer bytes than the directory claims",
         WithDirectorySize(good, "ppt/presentation.xml",
                           static_cast<std::uint32_t>(kPresentation.size() - 10)),
         "ppt/presentation.xml: entry size does not match"},
    };
    for (const BadCase& badCase : cases) {
        std::string message = OpenFailure(badCase.bytes);
        EXPECT_NE(message.find(badCase.expected), std::string::npos)
            << badCase.label << ": " << message;
    }
}

TEST(BadTemplate, EntityDeclarationsAreNotExpanded) {
    // The billion-laughs pattern: a reader that expands entities would need gigabytes.
    std::string laughs =
        R"(<?xml version="1.0"?><!DOCTYPE p:presentation [<!ENTITY a "aaaaaaaaaa">)";
    for (int level = 1; level < 10; ++level) {
        laughs += "<!ENTITY " + std::string(1, static_cast<char>('a' + level)) + " \"";
        for (int i = 0; i < 10; ++i)
            laughs += "&" + std::string(1, static_cast<char>('a' + level - 1)) + ";";
        laughs += "\">";
    }
    laughs += "]>" + Replace(kPresentation, "<p:sldIdLst>", "<p:sldIdLst>&j;");
    std::string bytes =
        testtools::WritePackageToMemory(With(MinimalPackage(), "ppt/presentation.xml", laughs));
    Presentation presentation(bytes, "laughs.pptx");
    EXPECT_EQ(presentation.SlideCount(), 1u);
}

TEST(BadTemplate, MissingFileIsReportedWithItsName) {
    try {
        Presentation::Open("/nonexistent/folder/template.pptx");
        FAIL() << "expected PptxError";
    } catch (const PptxError& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/folder/template.pptx"),
                  std::string::npos);
    }
}

} // namespace
} // namespace slidesmith::pptx
