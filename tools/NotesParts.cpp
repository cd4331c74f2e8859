#include "NotesParts.h"

#include "XmlText.h"

#include <sstream>

namespace slidesmith::testtools::NotesParts {
namespace {

const std::string kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string Tree(const std::string& shapes) {
    return "<p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/>"
           "</p:nvGrpSpPr><p:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/>"
           "<a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"0\" cy=\"0\"/></a:xfrm></p:grpSpPr>" +
           shapes + "</p:spTree>";
}

std::string Placeholder(int id, const char* name, const char* ph, const std::string& geometry,
                        const std::string& body) {
    return "<p:sp><p:nvSpPr><p:cNvPr" + Attribute("id", id) + Attribute("name", name) +
           "/><p:cNvSpPr><a:spLocks noGrp=\"1\"/></p:cNvSpPr><p:nvPr>" + ph +
           "</p:nvPr></p:nvSpPr><p:spPr>" + geometry + "</p:spPr>" + body + "</p:sp>";
}

std::string Geometry(int x, int y, int cx, int cy) {
    return "<a:xfrm><a:off" + Attribute("x", x) + Attribute("y", y) + "/><a:ext" +
           Attribute("cx", cx) + Attribute("cy", cy) +
           "/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>";
}

std::string Relationships(const std::string& entries) {
    return std::string(kXmlDeclaration) +
           "<Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           entries + "</Relationships>";
}

} // namespace

std::string NotesMaster() {
    const std::string body = "<p:txBody><a:bodyPr/><a:lstStyle/><a:p><a:r><a:rPr lang=\"en-US\"/>"
                             "<a:t>Click to edit Master text styles</a:t></a:r></a:p></p:txBody>";
    return std::string(kXmlDeclaration) + "<p:notesMaster" + kPresentationNamespaces +
           "><p:cSld><p:bg><p:bgRef idx=\"1001\"><a:schemeClr val=\"bg1\"/></p:bgRef></p:bg>" +
           Tree(Placeholder(2, "Slide Image Placeholder 1", "<p:ph type=\"sldImg\" idx=\"2\"/>",
                            Geometry(685800, 1143000, 5486400, 3086100), "") +
                Placeholder(3, "Notes Placeholder 2",
                            "<p:ph type=\"body\" sz=\"quarter\" idx=\"3\"/>",
                            Geometry(685800, 4400550, 5486400, 3600450), body)) +
           "</p:cSld><p:clrMap bg1=\"lt1\" tx1=\"dk1\" bg2=\"lt2\" tx2=\"dk2\" accent1=\"accent1\" "
           "accent2=\"accent2\" accent3=\"accent3\" accent4=\"accent4\" accent5=\"accent5\" "
           "accent6=\"accent6\" hlink=\"hlink\" folHlink=\"folHlink\"/><p:notesStyle><a:lvl1pPr "
           "marL=\"0\" algn=\"l\" defTabSz=\"914400\" rtl=\"0\" eaLnBrk=\"1\" latinLnBrk=\"0\" "
           "hangingPunct=\"1\"><a:defRPr sz=\"1200\" kern=\"1200\"><a:solidFill><a:schemeClr "
           "val=\"tx1\"/></a:solidFill><a:latin typeface=\"+mn-lt\"/><a:ea typeface=\"+mn-ea\"/>"
           "<a:cs typeface=\"+mn-cs\"/></a:defRPr></a:lvl1pPr></p:notesStyle></p:notesMaster>";
}

std::string NotesMasterRelationships() {
    return Relationships("<Relationship Id=\"rId1\" Type=\"" + kRel +
                         "theme\" Target=\"../theme/theme2.xml\"/>");
}

std::string NotesSlide(const std::string& text) {
    std::string paragraphs;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line, '\n');) {
        paragraphs += "<a:p><a:r><a:rPr lang=\"en-US\" dirty=\"0\"/><a:t>" + Escape(line) +
                      "</a:t></a:r></a:p>";
    }
    return std::string(kXmlDeclaration) + "<p:notes" + kPresentationNamespaces + "><p:cSld>" +
           Tree("<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"Slide Image Placeholder 1\"/>"
                "<p:cNvSpPr><a:spLocks noGrp=\"1\" noRot=\"1\" noChangeAspect=\"1\"/></p:cNvSpPr>"
                "<p:nvPr><p:ph type=\"sldImg\"/></p:nvPr></p:nvSpPr><p:spPr/></p:sp>"
                "<p:sp><p:nvSpPr><p:cNvPr id=\"3\" name=\"Notes Placeholder 2\"/><p:cNvSpPr>"
                "<a:spLocks noGrp=\"1\"/></p:cNvSpPr><p:nvPr><p:ph type=\"body\" idx=\"1\"/>"
                "</p:nvPr></p:nvSpPr><p:spPr/><p:txBody><a:bodyPr/><a:lstStyle/>" +
                paragraphs + "</p:txBody></p:sp>") +
           "</p:cSld><p:clrMapOvr><a:masterClrMapping/></p:clrMapOvr></p:notes>";
}

std::string NotesSlideRelationships(int slideNumber) {
    return Relationships("<Relationship Id=\"rId1\" Type=\"" + kRel +
                         "notesMaster\" Target=\"../notesMasters/notesMaster1.xml\"/>"
                         "<Relationship Id=\"rId2\" Type=\"" +
                         kRel + "slide\" Target=\"../slides/slide" + std::to_string(slideNumber) +
                         ".xml\"/>");
}

} // namespace slidesmith::testtools::NotesParts
