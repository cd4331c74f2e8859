// The zip layer, part-name resolution, the PNG writer and the workbook reader the other tools
// stand on.
#include "PackageFiles.h"

#include "EmbeddedWorkbook.h"
#include "PackageModel.h"
#include "PngImage.h"
#include "TestToolError.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>
#include <zlib.h>

namespace slidesmith::testtools {
namespace {

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    }
    return value;
}

TEST(PackageFiles, WritesContentTypesFirstAndReadsBackEveryEntry) {
    const PartMap parts = {{"ppt/b.xml", "<b/>"},
                           {"_rels/.rels", "<r/>"},
                           {"[Content_Types].xml", "<t/>"},
                           {"a/empty.bin", ""}};
    const std::string zip = WritePackageToMemory(parts);
    // The first local file header (signature, 26 bytes of fields) names the first entry.
    ASSERT_EQ(BigEndian(zip, 0), 0x504B0304U);
    const std::size_t nameLength =
        static_cast<unsigned char>(zip[26]) |
        (static_cast<std::size_t>(static_cast<unsigned char>(zip[27])) << 8);
    EXPECT_EQ(zip.substr(30, nameLength), "[Content_Types].xml");
    EXPECT_EQ(ReadPackageFromMemory(zip, "test"), parts);
    EXPECT_EQ(zip, WritePackageToMemory(parts)) << "equal input must give equal bytes";
    EXPECT_THROW(ReadPackageFromMemory("PK but not a zip", "junk.xlsx"), TestToolError);
}

TEST(PackageFiles, ResolvesRelationshipTargetsAsOpcDoes) {
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"ppt/slides/slide1.xml", "../media/image1.png", "ppt/media/image1.png"},
        {"ppt/slides/slide1.xml", "/ppt/charts/chart1.xml", "ppt/charts/chart1.xml"},
        {"ppt/slides/slide1.xml", "./slide2.xml", "ppt/slides/slide2.xml"},
        {"ppt/slides/slide1.xml", "../media/my%20image.png", "ppt/media/my image.png"},
        {"ppt/slides/slide1.xml", "slide2.xml#anchor", "ppt/slides/slide2.xml"},
        {"", "ppt/presentation.xml", "ppt/presentation.xml"},
        {"ppt/presentation.xml", "slides/slide1.xml", "ppt/slides/slide1.xml"},
        {"ppt/slides/slide1.xml", "../../../outside.xml", "outside.xml"},
    };
    for (const auto& [source, target, expected] : cases) {
        EXPECT_EQ(ResolveTarget(source, target), expected) << source << " -> " << target;
    }
    EXPECT_EQ(PackageModel::RelsPartOf("ppt/slides/slide1.xml"),
              "ppt/slides/_rels/slide1.xml.rels");
    EXPECT_EQ(PackageModel::RelsPartOf(""), "_rels/.rels");
    EXPECT_EQ(PackageModel::SourceOfRels("ppt/_rels/presentation.xml.rels"),
              "ppt/presentation.xml");
}

// PowerPoint refuses pictures whose chunk CRCs are wrong even where LibreOffice shows them.
TEST(PngImage, WritesChunksWithCorrectLengthsCrcsAndPixels) {
    const std::string png = MakePng(5, 3, 0x336699);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::vector<std::string> types;
    std::string idat;
    for (std::size_t at = 8; at < png.size();) {
        const std::uint32_t length = BigEndian(png, at);
        const std::string typed = png.substr(at + 4, 4 + length);
        types.push_back(typed.substr(0, 4));
        EXPECT_EQ(BigEndian(png, at + 8 + length),
                  crc32(0L, reinterpret_cast<const Bytef*>(typed.data()),
                        static_cast<uInt>(typed.size())))
            << types.back();
        if (types.back() == "IHDR") {
            EXPECT_EQ(BigEndian(png, at + 8), 5U);
            EXPECT_EQ(BigEndian(png, at + 12), 3U);
        } else if (types.back() == "IDAT") {
            idat = typed.substr(4);
        }
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "pHYs", "IDAT", "IEND"}));
    std::string pixels(3 * (5 * 3 + 1), '\0');
    uLongf size = static_cast<uLongf>(pixels.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(pixels.data()), &size,
                         reinterpret_cast<const Bytef*>(idat.data()),
                         static_cast<uLong>(idat.size())),
              Z_OK);
    EXPECT_EQ(size, pixels.size());
    const std::size_t centre = (5 * 3 + 1) * 1 + 1 + 2 * 3; // row 1, after the filter byte, x 2
    EXPECT_EQ(static_cast<unsigned char>(pixels[centre]), 0x33U);
    EXPECT_EQ(static_cast<unsigned char>(pixels[centre + 2]), 0x99U);
    EXPECT_EQ(static_cast<unsigned char>(pixels[1]), 0x33U / 2) << "the frame is darker";
    EXPECT_THROW(MakePng(0, 3, 0), TestToolError);
}

TEST(EmbeddedWorkbook, ReadsSharedInlineAndRichStringsByQuotedSheetName) {
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const PartMap parts = {
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {"_rels/.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" +
             rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
         "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel +
             "\"><sheets>"
             "<sheet name=\"Bob's data\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" +
             rel +
             "/worksheet\" Target=\"/xl/worksheets/data.xml\"/>"
             "<Relationship Id=\"rId2\" Type=\"" +
             rel + "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
        {"xl/sharedStrings.xml",
         "<sst xmlns=\"" + main +
             "\"><si><t>plain</t></si><si><r><t>ri</t></r><r><t>ch</t></r></si></sst>"},
        {"xl/worksheets/data.xml", "<worksheet xmlns=\"" + main +
                                       "\"><sheetData><row r=\"1\">"
                                       "<c r=\"A1\" t=\"s\"><v>1</v></c><c r=\"B1\" "
                                       "t=\"inlineStr\"><is><t>inline</t></is></c>"
                                       "<c r=\"C1\"><v>2.5</v></c></row></sheetData></worksheet>"},
    };
    const EmbeddedWorkbook workbook(WritePackageToMemory(parts), "test.xlsx");
    ASSERT_TRUE(workbook.HasSheet("Bob's data"));
    EXPECT_EQ(workbook.Cell("Bob's data", "A1")->value, "rich");
    EXPECT_TRUE(workbook.Cell("Bob's data", "A1")->isText);
    EXPECT_EQ(workbook.Cell("Bob's data", "B1")->value, "inline");
    EXPECT_EQ(workbook.Cell("Bob's data", "C1")->value, "2.5");
    EXPECT_FALSE(workbook.Cell("Bob's data", "C1")->isText);
    EXPECT_FALSE(workbook.Cell("Bob's data", "D1"));
    EXPECT_FALSE(workbook.Cell("Sheet1", "A1"));
}

} // namespace
} // namespace slidesmith::testtools
