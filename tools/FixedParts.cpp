#include "FixedParts.h"

#include "XmlText.h"

namespace slidesmith::testtools::FixedParts {
namespace {

constexpr const char* kRelationshipsOpen =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";

const std::string kRelType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string Scheme(const char* name, const char* colour) {
    return std::string("<a:") + name + "><a:srgbClr val=\"" + colour + "\"/></a:" + name + ">";
}

std::string FontScheme() {
    return "<a:fontScheme name=\"Office\"><a:majorFont><a:latin typeface=\"Calibri Light\" "
           "panose=\"020F0302020204030204\"/><a:ea typeface=\"\"/><a:cs typeface=\"\"/>"
           "</a:majorFont><a:minorFont><a:latin typeface=\"Calibri\" "
           "panose=\"020F0502020204030204\"/><a:ea typeface=\"\"/><a:cs typeface=\"\"/>"
           "</a:minorFont></a:fontScheme>";
}

// CT_StyleMatrix needs three entries in each list; PowerPoint refuses a theme with fewer.
std::string FormatScheme() {
    const std::string solid = "<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>";
    const std::string tinted = "<a:solidFill><a:schemeClr val=\"phClr\"><a:tint val=\"95000\"/>"
                               "<a:satMod val=\"170000\"/></a:schemeClr></a:solidFill>";
    const std::string shaded = "<a:solidFill><a:schemeClr val=\"phClr\"><a:shade val=\"98000\"/>"
                               "<a:satMod val=\"102000\"/></a:schemeClr></a:solidFill>";
    std::string lines;
    for (const char* width : {"6350", "12700", "19050"}) {
        lines += std::string("<a:ln w=\"") + width + "\" cap=\"flat\" cmpd=\"sng\" algn=\"ctr\">" +
                 solid + "<a:prstDash val=\"solid\"/><a:miter lim=\"800000\"/></a:ln>";
    }
    std::string effects;
    for (int i = 0; i < 3; ++i) {
        effects += "<a:effectStyle><a:effectLst/></a:effectStyle>";
    }
    return "<a:fmtScheme name=\"Office\"><a:fillStyleLst>" + solid + tinted + shaded +
           "</a:fillStyleLst><a:lnStyleLst>" + lines + "</a:lnStyleLst><a:effectStyleLst>" +
           effects + "</a:effectStyleLst><a:bgFillStyleLst>" + solid + tinted + shaded +
           "</a:bgFillStyleLst></a:fmtScheme>";
}

std::string Offset(std::int64_t x, std::int64_t y, std::int64_t cx, std::int64_t cy) {
    return "<a:xfrm><a:off" + Attribute("x", x) + Attribute("y", y) + "/><a:ext" +
           Attribute("cx", cx) + Attribute("cy", cy) + "/></a:xfrm>";
}

std::string PlaceholderShape(int id, const std::string& name, const std::string& ph,
                             const std::string& geometry, const std::string& bodyProperties,
                             const std::string& listStyle, const std::string& prompt) {
    return "<p:sp><p:nvSpPr><p:cNvPr" + Attribute("id", id) + Attribute("name", name) +
           "/><p:cNvSpPr><a:spLocks noGrp=\"1\"/></p:cNvSpPr><p:nvPr>" + ph +
           "</p:nvPr></p:nvSpPr><p:spPr>" + geometry + "</p:spPr><p:txBody>" + bodyProperties +
           "<a:lstStyle>" + listStyle + "</a:lstStyle><a:p><a:r><a:rPr lang=\"en-US\"/><a:t>" +
           prompt + "</a:t></a:r><a:endParaRPr lang=\"en-US\"/></a:p></p:txBody></p:sp>";
}

std::string GroupStart() {
    return "<p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/>"
           "</p:nvGrpSpPr><p:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/>"
           "<a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"0\" cy=\"0\"/></a:xfrm></p:grpSpPr>";
}

std::string Level(int level, int marginL, int indent, int size, bool bullet) {
    const std::string tag = "a:lvl" + std::to_string(level) + "pPr";
    std::string text = "<" + tag + Attribute("marL", marginL) + Attribute("indent", indent) +
                       " algn=\"l\" defTabSz=\"914400\" rtl=\"0\" eaLnBrk=\"1\" latinLnBrk=\"0\" "
                       "hangingPunct=\"1\">";
    text += bullet ? "<a:lnSpc><a:spcPct val=\"90000\"/></a:lnSpc><a:spcBef><a:spcPts "
                     "val=\"1000\"/></a:spcBef><a:buFont typeface=\"Arial\" "
                     "panose=\"020B0604020202020204\"/><a:buChar char=\"&#8226;\"/>"
                   : "<a:buNone/>";
    text += "<a:defRPr" + Attribute("sz", size) +
            " kern=\"1200\"><a:solidFill><a:schemeClr val=\"tx1\"/></a:solidFill><a:latin "
            "typeface=\"+mn-lt\"/><a:ea typeface=\"+mn-ea\"/><a:cs typeface=\"+mn-cs\"/>"
            "</a:defRPr></" +
            tag + ">";
    return text;
}

} // namespace

std::string Theme() {
    return std::string(kXmlDeclaration) +
           "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
           "name=\"Office Theme\"><a:themeElements><a:clrScheme name=\"Office\">"
           "<a:dk1><a:sysClr val=\"windowText\" lastClr=\"000000\"/></a:dk1>"
           "<a:lt1><a:sysClr val=\"window\" lastClr=\"FFFFFF\"/></a:lt1>" +
           Scheme("dk2", "44546A") + Scheme("lt2", "E7E6E6") + Scheme("accent1", "4472C4") +
           Scheme("accent2", "ED7D31") + Scheme("accent3", "A5A5A5") + Scheme("accent4", "FFC000") +
           Scheme("accent5", "5B9BD5") + Scheme("accent6", "70AD47") + Scheme("hlink", "0563C1") +
           Scheme("folHlink", "954F72") + "</a:clrScheme>" + FontScheme() + FormatScheme() +
           "</a:themeElements><a:objectDefaults/><a:extraClrSchemeLst/></a:theme>";
}

std::string Master(int layoutCount, std::int64_t slideWidth, std::int64_t slideHeight) {
    const std::int64_t margin = slideWidth * 688 / 10000;
    const std::int64_t width = slideWidth - 2 * margin;
    std::string layouts;
    for (int i = 0; i < layoutCount; ++i) {
        layouts += "<p:sldLayoutId" + Attribute("id", std::int64_t{2147483649} + i) +
                   " r:id=\"rId" + std::to_string(i + 1) + "\"/>";
    }
    std::string body;
    for (int level = 1; level <= 5; ++level) {
        body += Level(level, 228600 + (level - 1) * 457200, -228600,
                      level == 1 ? 2800 : (level == 2 ? 2400 : 2000), true);
    }
    return std::string(kXmlDeclaration) + "<p:sldMaster" + kPresentationNamespaces +
           "><p:cSld><p:bg><p:bgRef idx=\"1001\"><a:schemeClr val=\"bg1\"/></p:bgRef></p:bg>" +
           GroupStart() +
           PlaceholderShape(
               2, "Title Placeholder 1", "<p:ph type=\"title\"/>",
               Offset(margin, slideHeight * 532 / 10000, width, slideHeight * 1933 / 10000),
               "<a:bodyPr vert=\"horz\" lIns=\"91440\" tIns=\"45720\" rIns=\"91440\" "
               "bIns=\"45720\" rtlCol=\"0\" anchor=\"ctr\"><a:normAutofit/></a:bodyPr>",
               "", "Click to edit Master title style") +
           PlaceholderShape(
               3, "Text Placeholder 2", "<p:ph type=\"body\" idx=\"1\"/>",
               Offset(margin, slideHeight * 2662 / 10000, width, slideHeight * 6345 / 10000),
               "<a:bodyPr vert=\"horz\" lIns=\"91440\" tIns=\"45720\" rIns=\"91440\" "
               "bIns=\"45720\" rtlCol=\"0\"><a:normAutofit/></a:bodyPr>",
               "", "Click to edit Master text styles") +
           "</p:spTree></p:cSld><p:clrMap bg1=\"lt1\" tx1=\"dk1\" bg2=\"lt2\" tx2=\"dk2\" "
           "accent1=\"accent1\" accent2=\"accent2\" accent3=\"accent3\" accent4=\"accent4\" "
           "accent5=\"accent5\" accent6=\"accent6\" hlink=\"hlink\" folHlink=\"folHlink\"/>"
           "<p:sldLayoutIdLst>" +
           layouts +
           "</p:sldLayoutIdLst><p:txStyles><p:titleStyle><a:lvl1pPr algn=\"l\" "
           "defTabSz=\"914400\" rtl=\"0\" eaLnBrk=\"1\" latinLnBrk=\"0\" hangingPunct=\"1\">"
           "<a:lnSpc><a:spcPct val=\"90000\"/></a:lnSpc><a:spcBef><a:spcPct val=\"0\"/></a:spcBef>"
           "<a:buNone/><a:defRPr sz=\"4400\" kern=\"1200\"><a:solidFill><a:schemeClr val=\"tx1\"/>"
           "</a:solidFill><a:latin typeface=\"+mj-lt\"/><a:ea typeface=\"+mj-ea\"/><a:cs "
           "typeface=\"+mj-cs\"/></a:defRPr></a:lvl1pPr></p:titleStyle><p:bodyStyle>" +
           body + "</p:bodyStyle><p:otherStyle><a:defPPr><a:defRPr lang=\"en-US\"/></a:defPPr>" +
           Level(1, 0, 0, 1800, false) + "</p:otherStyle></p:txStyles></p:sldMaster>";
}

std::string MasterRelationships(int layoutCount) {
    std::string text = std::string(kXmlDeclaration) + kRelationshipsOpen;
    for (int i = 1; i <= layoutCount; ++i) {
        text += "<Relationship Id=\"rId" + std::to_string(i) + "\" Type=\"" + kRelType +
                "slideLayout\" Target=\"../slideLayouts/slideLayout" + std::to_string(i) +
                ".xml\"/>";
    }
    return text + "<Relationship Id=\"rId" + std::to_string(layoutCount + 1) + "\" Type=\"" +
           kRelType + "theme\" Target=\"../theme/theme1.xml\"/></Relationships>";
}

int LayoutCount() {
    return 4;
}

std::string LayoutName(Layout layout) {
    switch (layout) {
    case Layout::TitleSlide:
        return "Title Slide";
    case Layout::TitleAndContent:
        return "Title and Content";
    case Layout::TitleOnly:
        return "Title Only";
    case Layout::Blank:
        return "Blank";
    }
    return {};
}

std::string LayoutPart(Layout layout, std::int64_t slideWidth, std::int64_t slideHeight) {
    const char* type = "blank";
    std::string shapes;
    const std::string inherit = "<a:bodyPr/>";
    switch (layout) {
    case Layout::TitleSlide:
        type = "title";
        shapes = PlaceholderShape(2, "Title 1", "<p:ph type=\"ctrTitle\"/>",
                                  Offset(slideWidth / 8, slideHeight * 1636 / 10000,
                                         slideWidth * 3 / 4, slideHeight * 3481 / 10000),
                                  "<a:bodyPr anchor=\"b\"/>",
                                  "<a:lvl1pPr algn=\"ctr\"><a:defRPr sz=\"6000\"/></a:lvl1pPr>",
                                  "Click to edit Master title style") +
                 PlaceholderShape(3, "Subtitle 2", "<p:ph type=\"subTitle\" idx=\"1\"/>",
                                  Offset(slideWidth / 8, slideHeight * 5252 / 10000,
                                         slideWidth * 3 / 4, slideHeight * 2414 / 10000),
                                  inherit,
                                  "<a:lvl1pPr marL=\"0\" indent=\"0\" algn=\"ctr\"><a:buNone/>"
                                  "<a:defRPr sz=\"2400\"/></a:lvl1pPr>",
                                  "Click to edit Master subtitle style");
        break;
    case Layout::TitleAndContent:
        type = "obj";
        shapes = PlaceholderShape(2, "Title 1", "<p:ph type=\"title\"/>", "", inherit, "",
                                  "Click to edit Master title style") +
                 PlaceholderShape(3, "Content Placeholder 2", "<p:ph idx=\"1\"/>", "", inherit, "",
                                  "Click to edit Master text styles");
        break;
    case Layout::TitleOnly:
        type = "titleOnly";
        shapes = PlaceholderShape(2, "Title 1", "<p:ph type=\"title\"/>", "", inherit, "",
                                  "Click to edit Master title style");
        break;
    case Layout::Blank:
        break;
    }
    return std::string(kXmlDeclaration) + "<p:sldLayout" + kPresentationNamespaces + " type=\"" +
           type + "\" preserve=\"1\"><p:cSld name=\"" + LayoutName(layout) + "\">" + GroupStart() +
           shapes +
           "</p:spTree></p:cSld><p:clrMapOvr><a:masterClrMapping/></p:clrMapOvr>"
           "</p:sldLayout>";
}

std::string LayoutRelationships() {
    return std::string(kXmlDeclaration) + kRelationshipsOpen + "<Relationship Id=\"rId1\" Type=\"" +
           kRelType + "slideMaster\" Target=\"../slideMasters/slideMaster1.xml\"/></Relationships>";
}

std::string TableStyles() {
    const auto border = [](const char* side, const char* width) {
        return std::string("<a:") + side + "><a:ln w=\"" + width +
               "\" cmpd=\"sng\"><a:solidFill><a:schemeClr val=\"lt1\"/></a:solidFill></a:ln></a:" +
               side + ">";
    };
    const auto fill = [](const std::string& colour) {
        return "<a:fill><a:solidFill>" + colour + "</a:solidFill></a:fill>";
    };
    const std::string accent = "<a:schemeClr val=\"accent1\"/>";
    const auto tint = [](const char* value) {
        return std::string("<a:schemeClr val=\"accent1\"><a:tint val=\"") + value +
               "\"/></a:schemeClr>";
    };
    const std::string boldLight = "<a:tcTxStyle b=\"on\"><a:fontRef idx=\"minor\"><a:prstClr "
                                  "val=\"black\"/></a:fontRef><a:schemeClr val=\"lt1\"/>"
                                  "</a:tcTxStyle>";
    std::string inner;
    for (const char* side : {"left", "right", "top", "bottom", "insideH", "insideV"}) {
        inner += border(side, "12700");
    }
    const std::string banded = "<a:tcStyle><a:tcBdr/>" + fill(tint("40000")) + "</a:tcStyle>";
    const std::string plain = "<a:tcStyle><a:tcBdr/></a:tcStyle>";
    return std::string(kXmlDeclaration) +
           "<a:tblStyleLst xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
           "def=\"" +
           kMediumStyle2Accent1 + "\"><a:tblStyle styleId=\"" + kMediumStyle2Accent1 +
           "\" styleName=\"Medium Style 2 - Accent 1\"><a:wholeTbl><a:tcTxStyle><a:fontRef "
           "idx=\"minor\"><a:prstClr val=\"black\"/></a:fontRef><a:schemeClr val=\"dk1\"/>"
           "</a:tcTxStyle><a:tcStyle><a:tcBdr>" +
           inner + "</a:tcBdr>" + fill(tint("20000")) + "</a:tcStyle></a:wholeTbl><a:band1H>" +
           banded + "</a:band1H><a:band2H>" + plain + "</a:band2H><a:band1V>" + banded +
           "</a:band1V><a:band2V>" + plain + "</a:band2V><a:lastCol>" + boldLight +
           "<a:tcStyle><a:tcBdr/>" + fill(accent) + "</a:tcStyle></a:lastCol><a:firstCol>" +
           boldLight + "<a:tcStyle><a:tcBdr/>" + fill(accent) +
           "</a:tcStyle></a:firstCol><a:lastRow>" + boldLight + "<a:tcStyle><a:tcBdr>" +
           border("top", "38100") + "</a:tcBdr>" + fill(accent) +
           "</a:tcStyle></a:lastRow><a:firstRow>" + boldLight + "<a:tcStyle><a:tcBdr>" +
           border("bottom", "38100") + "</a:tcBdr>" + fill(accent) +
           "</a:tcStyle></a:firstRow></a:tblStyle></a:tblStyleLst>";
}

std::string PresentationProperties() {
    return std::string(kXmlDeclaration) + "<p:presentationPr" + kPresentationNamespaces +
           "><p:extLst><p:ext "
           "uri=\"{E76CE94A-603C-4142-B9EB-6D1370010A27}\"><p14:discardImageEditData "
           "xmlns:p14=\"http://schemas.microsoft.com/office/powerpoint/2010/main\" val=\"0\"/>"
           "</p:ext><p:ext uri=\"{D31A062A-798A-4329-ABDD-BBA856620510}\"><p14:defaultImageDpi "
           "xmlns:p14=\"http://schemas.microsoft.com/office/powerpoint/2010/main\" val=\"220\"/>"
           "</p:ext></p:extLst></p:presentationPr>";
}

std::string ViewProperties() {
    return std::string(kXmlDeclaration) + "<p:viewPr" + kPresentationNamespaces +
           "><p:normalViewPr><p:restoredLeft sz=\"15620\"/><p:restoredTop sz=\"94660\"/>"
           "</p:normalViewPr><p:slideViewPr><p:cSldViewPr snapToGrid=\"0\"><p:cViewPr "
           "varScale=\"1\"><p:scale><a:sx n=\"100\" d=\"100\"/><a:sy n=\"100\" d=\"100\"/>"
           "</p:scale><p:origin x=\"0\" y=\"0\"/></p:cViewPr><p:guideLst/></p:cSldViewPr>"
           "</p:slideViewPr><p:notesTextViewPr><p:cViewPr><p:scale><a:sx n=\"1\" d=\"1\"/><a:sy "
           "n=\"1\" d=\"1\"/></p:scale><p:origin x=\"0\" y=\"0\"/></p:cViewPr></p:notesTextViewPr>"
           "<p:gridSpacing cx=\"76200\" cy=\"76200\"/></p:viewPr>";
}

std::string CoreProperties(const std::string& title) {
    return std::string(kXmlDeclaration) +
           "<cp:coreProperties "
           "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>" +
           Escape(title) +
           "</dc:title><dc:creator>Slidesmith tests</dc:creator><cp:lastModifiedBy>Slidesmith "
           "tests</cp:lastModifiedBy><cp:revision>1</cp:revision><dcterms:created "
           "xsi:type=\"dcterms:W3CDTF\">2026-01-01T00:00:00Z</dcterms:created><dcterms:modified "
           "xsi:type=\"dcterms:W3CDTF\">2026-01-01T00:00:00Z</dcterms:modified>"
           "</cp:coreProperties>";
}

// HeadingPairs counts must add up to the TitlesOfParts size, or Office repairs the file.
std::string AppProperties(const std::vector<std::string>& slideTitles, int notes) {
    const auto count = static_cast<std::int64_t>(slideTitles.size());
    std::string pairs = "<vt:variant><vt:lpstr>Theme</vt:lpstr></vt:variant><vt:variant><vt:i4>1"
                        "</vt:i4></vt:variant>";
    std::string titles = "<vt:lpstr>Office Theme</vt:lpstr>";
    if (count > 0) {
        pairs += "<vt:variant><vt:lpstr>Slide Titles</vt:lpstr></vt:variant><vt:variant><vt:i4>" +
                 std::to_string(count) + "</vt:i4></vt:variant>";
        for (const auto& title : slideTitles) {
            titles += "<vt:lpstr>" + Escape(title) + "</vt:lpstr>";
        }
    }
    return std::string(kXmlDeclaration) +
           "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/"
           "extended-properties\" "
           "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
           "<TotalTime>0</TotalTime><Words>0</Words><Application>Slidesmith test tools"
           "</Application><PresentationFormat>On-screen Show</PresentationFormat>"
           "<Paragraphs>0</Paragraphs><Slides>" +
           std::to_string(count) + "</Slides><Notes>" + std::to_string(notes) +
           "</Notes><HiddenSlides>0</HiddenSlides><MMClips>0</MMClips>"
           "<ScaleCrop>false</ScaleCrop><HeadingPairs><vt:vector size=\"" +
           std::to_string(count > 0 ? 4 : 2) + "\" baseType=\"variant\">" + pairs +
           "</vt:vector></HeadingPairs><TitlesOfParts><vt:vector size=\"" +
           std::to_string(count + 1) + "\" baseType=\"lpstr\">" + titles +
           "</vt:vector></TitlesOfParts><LinksUpToDate>false</LinksUpToDate><SharedDoc>false"
           "</SharedDoc><HyperlinksChanged>false</HyperlinksChanged><AppVersion>16.0000"
           "</AppVersion></Properties>";
}

} // namespace slidesmith::testtools::FixedParts
