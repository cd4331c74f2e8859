#include "BenchTemplate.h"

#include "platform/pptx/ZipWriter.h"

#include <libdeflate.h>
#include <utility>
#include <vector>

namespace slidesmith::bench {

using pptx::ZipWriter;

namespace {

std::string Cell(const std::string& text) {
    return "<a:tc><a:txBody><a:bodyPr/><a:lstStyle/><a:p><a:r><a:rPr lang=\"en-US\" sz=\"1200\"/>"
           "<a:t>" +
           text + "</a:t></a:r></a:p></a:txBody><a:tcPr/></a:tc>";
}

std::string TableSlide(std::size_t columns) {
    std::string rows = "<a:tr h=\"370840\">";
    for (std::size_t c = 0; c < columns; ++c)
        rows += Cell("Header " + std::to_string(c + 1));
    rows += "</a:tr><a:tr h=\"370840\">";
    for (std::size_t c = 0; c < columns; ++c)
        rows += Cell("");
    rows += "</a:tr>";
    std::string grid;
    for (std::size_t c = 0; c < columns; ++c)
        grid += "<a:gridCol w=\"2032000\"/>";
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
           R"(<p:sld xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
           R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" )"
           R"(xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main">)"
           R"(<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id="1" name=""/><p:cNvGrpSpPr/><p:nvPr/>)"
           R"(</p:nvGrpSpPr><p:grpSpPr/><p:graphicFrame><p:nvGraphicFramePr>)"
           R"(<p:cNvPr id="4" name="Table 3"/><p:cNvGraphicFramePr><a:graphicFrameLocks noGrp="1"/>)"
           R"(</p:cNvGraphicFramePr><p:nvPr/></p:nvGraphicFramePr><p:xfrm><a:off x="457200" y="457200"/>)"
           R"(<a:ext cx="8128000" cy="741680"/></p:xfrm><a:graphic><a:graphicData )"
           R"(uri="http://schemas.openxmlformats.org/drawingml/2006/table"><a:tbl>)"
           R"(<a:tblPr firstRow="1" bandRow="1"/><a:tblGrid>)" +
           grid + "</a:tblGrid>" + rows +
           R"(</a:tbl></a:graphicData></a:graphic></p:graphicFrame></p:spTree></p:cSld></p:sld>)";
}

} // namespace

std::string MakeTableTemplate(std::size_t columns) {
    const std::string ns =
        R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" )"
        R"(xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main")";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    const std::string ct = "application/vnd.openxmlformats-officedocument.";
    auto rels = [&](const std::vector<std::pair<std::string, std::string>>& targets) {
        std::string xml =
            R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
        int id = 1;
        for (const auto& [type, target] : targets)
            xml += "<Relationship Id=\"rId" + std::to_string(id++) + "\" Type=\"" + rel + type +
                   "\" Target=\"" + target + "\"/>";
        return xml + "</Relationships>";
    };
    const std::string tree =
        R"(<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id="1" name=""/>)"
        R"(<p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/></p:spTree></p:cSld>)";
    std::vector<std::pair<std::string, std::string>> parts{
        {"[Content_Types].xml",
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
         R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
         R"(<Default Extension="xml" ContentType="application/xml"/>)"
         "<Override PartName=\"/ppt/presentation.xml\" ContentType=\"" +
             ct +
             "presentationml.presentation.main+xml\"/>"
             "<Override PartName=\"/ppt/slides/slide1.xml\" ContentType=\"" +
             ct +
             "presentationml.slide+xml\"/>"
             "<Override PartName=\"/ppt/slideLayouts/slideLayout1.xml\" ContentType=\"" +
             ct +
             "presentationml.slideLayout+xml\"/>"
             "<Override PartName=\"/ppt/slideMasters/slideMaster1.xml\" ContentType=\"" +
             ct +
             "presentationml.slideMaster+xml\"/>"
             "<Override PartName=\"/ppt/theme/theme1.xml\" ContentType=\"" +
             ct + "theme+xml\"/></Types>"},
        {"_rels/.rels", rels({{"officeDocument", "ppt/presentation.xml"}})},
        {"ppt/presentation.xml",
         "<p:presentation " + ns +
             R"(><p:sldMasterIdLst><p:sldMasterId id="2147483648" r:id="rId1"/></p:sldMasterIdLst>)"
             R"(<p:sldIdLst><p:sldId id="256" r:id="rId2"/></p:sldIdLst>)"
             R"(<p:sldSz cx="9144000" cy="6858000"/><p:notesSz cx="6858000" cy="9144000"/></p:presentation>)"},
        {"ppt/_rels/presentation.xml.rels", rels({{"slideMaster", "slideMasters/slideMaster1.xml"},
                                                  {"slide", "slides/slide1.xml"},
                                                  {"theme", "theme/theme1.xml"}})},
        {"ppt/slides/slide1.xml", TableSlide(columns)},
        {"ppt/slides/_rels/slide1.xml.rels",
         rels({{"slideLayout", "../slideLayouts/slideLayout1.xml"}})},
        {"ppt/slideLayouts/slideLayout1.xml", "<p:sldLayout " + ns + ">" + tree + "</p:sldLayout>"},
        {"ppt/slideLayouts/_rels/slideLayout1.xml.rels",
         rels({{"slideMaster", "../slideMasters/slideMaster1.xml"}})},
        {"ppt/slideMasters/slideMaster1.xml",
         "<p:sldMaster " + ns + ">" + tree +
             R"(<p:clrMap bg1="lt1" tx1="dk1" bg2="lt2" tx2="dk2" accent1="accent1" )"
             R"(accent2="accent2" accent3="accent3" accent4="accent4" accent5="accent5" )"
             R"(accent6="accent6" hlink="hlink" folHlink="folHlink"/>)"
             R"(<p:sldLayoutIdLst><p:sldLayoutId id="2147483649" r:id="rId1"/></p:sldLayoutIdLst></p:sldMaster>)"},
        {"ppt/slideMasters/_rels/slideMaster1.xml.rels",
         rels({{"slideLayout", "../slideLayouts/slideLayout1.xml"},
               {"theme", "../theme/theme1.xml"}})},
        {"ppt/theme/theme1.xml",
         R"(<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" name="Bench">)"
         R"(<a:themeElements><a:clrScheme name="Bench"><a:dk1><a:srgbClr val="000000"/></a:dk1>)"
         R"(<a:lt1><a:srgbClr val="FFFFFF"/></a:lt1></a:clrScheme></a:themeElements></a:theme>)"},
    };
    ZipWriter writer("template");
    for (const auto& [name, bytes] : parts)
        writer.AddEntry(name, 0,
                        static_cast<std::uint32_t>(libdeflate_crc32(0, bytes.data(), bytes.size())),
                        bytes.size(), bytes);
    return writer.Finish();
}

} // namespace slidesmith::bench
