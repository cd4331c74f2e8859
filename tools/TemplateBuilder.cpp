#include "TemplateBuilder.h"

#include "ChartParts.h"
#include "FixedParts.h"
#include "NotesParts.h"
#include "PngImage.h"
#include "SlideShapes.h"
#include "TestToolError.h"
#include "XmlText.h"

#include <cstdio>
#include <map>

namespace slidesmith::testtools {
namespace {

const std::string kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const std::string kPml = "application/vnd.openxmlformats-officedocument.presentationml.";
const std::string kP14 = "http://schemas.microsoft.com/office/powerpoint/2010/main";

class RelationshipList {
public:
    std::string Add(const std::string& type, const std::string& target) {
        const std::string id = "rId" + std::to_string(++m_count);
        m_entries += "<Relationship Id=\"" + id + "\" Type=\"" + type + "\" Target=\"" +
                     Escape(target) + "\"/>";
        return id;
    }
    std::string Xml() const {
        return std::string(kXmlDeclaration) +
               "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
               "relationships\">" +
               m_entries + "</Relationships>";
    }

private:
    std::string m_entries;
    std::size_t m_count = 0;
};

bool LayoutHas(Layout layout, PlaceholderShape::Type type) {
    using Type = PlaceholderShape::Type;
    switch (layout) {
    case Layout::TitleSlide:
        return type == Type::CenteredTitle || type == Type::Subtitle;
    case Layout::TitleAndContent:
        return type == Type::Title || type == Type::Body;
    case Layout::TitleOnly:
        return type == Type::Title;
    case Layout::Blank:
        return false;
    }
    return false;
}

class Assembler {
public:
    explicit Assembler(const TemplateDescription& description) : m_description(description) {}

    PartMap Build() {
        RelationshipList presentation;
        presentation.Add(kRel + "slideMaster", "slideMasters/slideMaster1.xml");
        std::string slideIds;
        std::vector<std::string> titles;
        for (std::size_t i = 0; i < m_description.slides.size(); ++i) {
            const std::string relationshipId =
                presentation.Add(kRel + "slide", "slides/slide" + std::to_string(i + 1) + ".xml");
            slideIds += "<p:sldId" + Attribute("id", 256 + static_cast<std::int64_t>(i)) +
                        Attribute("r:id", relationshipId) + "/>";
            titles.push_back(AddSlide(i + 1, m_description.slides[i]));
        }
        std::string notesMasterId;
        if (m_notes > 0) {
            notesMasterId = presentation.Add(kRel + "notesMaster", "notesMasters/notesMaster1.xml");
            AddNotesMaster();
        }
        presentation.Add(kRel + "presProps", "presProps.xml");
        presentation.Add(kRel + "viewProps", "viewProps.xml");
        presentation.Add(kRel + "theme", "theme/theme1.xml");
        presentation.Add(kRel + "tableStyles", "tableStyles.xml");
        AddFixedParts(titles);
        Put("ppt/presentation.xml",
            kPml + (m_description.asTemplate ? "template.main+xml" : "presentation.main+xml"),
            PresentationXml(slideIds, notesMasterId));
        m_parts["ppt/_rels/presentation.xml.rels"] = presentation.Xml();
        m_parts["[Content_Types].xml"] = ContentTypes();
        return std::move(m_parts);
    }

private:
    void Put(const std::string& name, const std::string& contentType, std::string bytes) {
        m_parts[name] = std::move(bytes);
        if (!contentType.empty()) {
            m_overrides[name] = contentType;
        }
    }

    void AddFixedParts(const std::vector<std::string>& titles) {
        RelationshipList package;
        package.Add(kRel + "officeDocument", "ppt/presentation.xml");
        package.Add("http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
                    "thumbnail",
                    "docProps/thumbnail.png");
        package.Add("http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
                    "core-properties",
                    "docProps/core.xml");
        package.Add(kRel + "extended-properties", "docProps/app.xml");
        m_parts["_rels/.rels"] = package.Xml();
        m_parts["docProps/thumbnail.png"] = MakePng(64, 36, 0xFFFFFF);
        Put("docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml",
            FixedParts::CoreProperties(m_description.title));
        Put("docProps/app.xml",
            "application/vnd.openxmlformats-officedocument.extended-properties+xml",
            FixedParts::AppProperties(titles, m_notes));
        Put("ppt/presProps.xml", kPml + "presProps+xml", FixedParts::PresentationProperties());
        Put("ppt/viewProps.xml", kPml + "viewProps+xml", FixedParts::ViewProperties());
        Put("ppt/tableStyles.xml", kPml + "tableStyles+xml", FixedParts::TableStyles());
        Put("ppt/theme/theme1.xml", "application/vnd.openxmlformats-officedocument.theme+xml",
            FixedParts::Theme());
        const int layouts = FixedParts::LayoutCount();
        Put("ppt/slideMasters/slideMaster1.xml", kPml + "slideMaster+xml",
            FixedParts::Master(layouts, m_description.slideWidth, m_description.slideHeight));
        m_parts["ppt/slideMasters/_rels/slideMaster1.xml.rels"] =
            FixedParts::MasterRelationships(layouts);
        for (int i = 0; i < layouts; ++i) {
            const std::string name = "slideLayouts/slideLayout" + std::to_string(i + 1) + ".xml";
            Put("ppt/" + name, kPml + "slideLayout+xml",
                FixedParts::LayoutPart(static_cast<Layout>(i), m_description.slideWidth,
                                       m_description.slideHeight));
            m_parts["ppt/slideLayouts/_rels/slideLayout" + std::to_string(i + 1) + ".xml.rels"] =
                FixedParts::LayoutRelationships();
        }
    }

    // Returns the slide's title for docProps/app.xml.
    std::string AddSlide(std::size_t number, const SlideDescription& slide) {
        RelationshipList relationships;
        relationships.Add(kRel + "slideLayout",
                          "../slideLayouts/slideLayout" +
                              std::to_string(static_cast<int>(slide.layout) + 1) + ".xml");
        std::string shapes;
        std::string title = "PowerPoint Presentation";
        int id = 2;
        for (const Shape& shape : slide.shapes) {
            if (const auto* placeholder = std::get_if<PlaceholderShape>(&shape)) {
                if (!LayoutHas(slide.layout, placeholder->type)) {
                    throw TestToolError("slide " + std::to_string(number) +
                                        ": its layout has no placeholder of that type");
                }
                if (placeholder->type == PlaceholderShape::Type::Title ||
                    placeholder->type == PlaceholderShape::Type::CenteredTitle) {
                    title = placeholder->text;
                }
                shapes += SlideShapes::Placeholder(id, *placeholder);
            } else if (const auto* text = std::get_if<TextShape>(&shape)) {
                shapes += SlideShapes::Text(id, *text);
            } else if (const auto* table = std::get_if<TableShape>(&shape)) {
                shapes += SlideShapes::Table(id, *table);
            } else if (const auto* picture = std::get_if<PictureShape>(&shape)) {
                const std::string target = AddImage(*picture);
                shapes += SlideShapes::Picture(id, *picture,
                                               relationships.Add(kRel + "image", "../" + target));
            } else if (const auto* chart = std::get_if<ChartShape>(&shape)) {
                const std::string target = AddChart(*chart);
                shapes += SlideShapes::ChartFrame(
                    id, *chart, relationships.Add(kRel + "chart", "../" + target));
            }
            ++id;
        }
        if (!slide.notes.empty()) {
            const std::string notes = std::to_string(++m_notes);
            relationships.Add(kRel + "notesSlide", "../notesSlides/notesSlide" + notes + ".xml");
            Put("ppt/notesSlides/notesSlide" + notes + ".xml", kPml + "notesSlide+xml",
                NotesParts::NotesSlide(slide.notes));
            m_parts["ppt/notesSlides/_rels/notesSlide" + notes + ".xml.rels"] =
                NotesParts::NotesSlideRelationships(static_cast<int>(number));
        }
        const std::string name = "ppt/slides/slide" + std::to_string(number) + ".xml";
        Put(name, kPml + "slide+xml",
            std::string(kXmlDeclaration) + "<p:sld" + kPresentationNamespaces +
                "><p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/>"
                "<p:nvPr/></p:nvGrpSpPr><p:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext "
                "cx=\"0\" cy=\"0\"/><a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"0\" cy=\"0\"/>"
                "</a:xfrm></p:grpSpPr>" +
                shapes +
                "</p:spTree><p:extLst><p:ext uri=\"{BB962C8B-B14F-4D97-AF65-F5344CB8AC3E}\">"
                "<p14:creationId xmlns:p14=\"" +
                kP14 + "\"" + Attribute("val", 1000 + static_cast<std::int64_t>(number)) +
                "/></p:ext></p:extLst></p:cSld><p:clrMapOvr><a:masterClrMapping/></p:clrMapOvr>"
                "</p:sld>");
        m_parts["ppt/slides/_rels/slide" + std::to_string(number) + ".xml.rels"] =
            relationships.Xml();
        return title;
    }

    void AddNotesMaster() {
        Put("ppt/notesMasters/notesMaster1.xml", kPml + "notesMaster+xml",
            NotesParts::NotesMaster());
        m_parts["ppt/notesMasters/_rels/notesMaster1.xml.rels"] =
            NotesParts::NotesMasterRelationships();
        Put("ppt/theme/theme2.xml", "application/vnd.openxmlformats-officedocument.theme+xml",
            FixedParts::Theme());
    }

    // Media parts are shared by identical pictures, as PowerPoint does.
    std::string AddImage(const PictureShape& picture) {
        std::string png =
            MakePng(picture.widthPixels, picture.heightPixels, ParseRgb(picture.colour));
        if (auto found = m_media.find(png); found != m_media.end()) {
            return found->second;
        }
        const std::string name = "media/image" + std::to_string(m_media.size() + 1) + ".png";
        m_parts["ppt/" + name] = png;
        m_media.emplace(std::move(png), name);
        return name;
    }

    std::string AddChart(const ChartShape& chart) {
        ++m_charts;
        const std::string number = std::to_string(m_charts);
        const std::string name = "charts/chart" + number + ".xml";
        Put("ppt/" + name, "application/vnd.openxmlformats-officedocument.drawingml.chart+xml",
            ChartParts::ChartXml(chart));
        if (chart.embeddedWorkbook) {
            // PowerPoint numbers embedded workbooks "", 1, 2, ... in order of creation.
            const std::string workbook =
                "embeddings/Microsoft_Excel_Worksheet" +
                (m_workbooks == 0 ? std::string() : std::to_string(m_workbooks)) + ".xlsx";
            ++m_workbooks;
            m_parts["ppt/" + workbook] = ChartParts::Workbook(chart);
            m_parts["ppt/charts/_rels/chart" + number + ".xml.rels"] =
                ChartParts::ChartRelationships("../" + workbook);
        }
        return name;
    }

    std::string PresentationXml(const std::string& slideIds,
                                const std::string& notesMasterId) const {
        std::string sections;
        if (!m_description.sections.empty()) {
            std::size_t next = 0;
            int sectionNumber = 0;
            for (const SectionDescription& section : m_description.sections) {
                std::string ids;
                for (int i = 0; i < section.slideCount; ++i, ++next) {
                    ids += "<p14:sldId" + Attribute("id", 256 + static_cast<std::int64_t>(next)) +
                           "/>";
                }
                char guid[64];
                std::snprintf(guid, sizeof guid, "{5E7C1D2A-3B4F-4C6D-8E9F-%012d}",
                              ++sectionNumber);
                sections += "<p14:section" + Attribute("name", section.name) +
                            Attribute("id", guid) + "><p14:sldIdLst>" + ids +
                            "</p14:sldIdLst></p14:section>";
            }
            if (next != m_description.slides.size()) {
                throw TestToolError("the sections hold " + std::to_string(next) +
                                    " slides, the template has " +
                                    std::to_string(m_description.slides.size()));
            }
            sections = "<p:extLst><p:ext uri=\"{521415D9-36F7-43E2-AB2F-B90AF26B5E84}\">"
                       "<p14:sectionLst xmlns:p14=\"" +
                       kP14 + "\">" + sections + "</p14:sectionLst></p:ext></p:extLst>";
        }
        return std::string(kXmlDeclaration) + "<p:presentation" + kPresentationNamespaces +
               " saveSubsetFonts=\"1\"><p:sldMasterIdLst><p:sldMasterId id=\"2147483648\" "
               "r:id=\"rId1\"/></p:sldMasterIdLst>" +
               (notesMasterId.empty()
                    ? ""
                    : "<p:notesMasterIdLst><p:notesMasterId" + Attribute("r:id", notesMasterId) +
                          "/></p:notesMasterIdLst>") +
               (slideIds.empty() ? "" : "<p:sldIdLst>" + slideIds + "</p:sldIdLst>") + "<p:sldSz" +
               Attribute("cx", m_description.slideWidth) +
               Attribute("cy", m_description.slideHeight) +
               "/><p:notesSz cx=\"6858000\" cy=\"9144000\"/><p:defaultTextStyle><a:defPPr>"
               "<a:defRPr lang=\"en-US\"/></a:defPPr><a:lvl1pPr marL=\"0\" algn=\"l\" "
               "defTabSz=\"914400\" rtl=\"0\" eaLnBrk=\"1\" latinLnBrk=\"0\" hangingPunct=\"1\">"
               "<a:defRPr sz=\"1800\" kern=\"1200\"><a:solidFill><a:schemeClr val=\"tx1\"/>"
               "</a:solidFill><a:latin typeface=\"+mn-lt\"/><a:ea typeface=\"+mn-ea\"/><a:cs "
               "typeface=\"+mn-cs\"/></a:defRPr></a:lvl1pPr></p:defaultTextStyle>" +
               sections + "</p:presentation>";
    }

    std::string ContentTypes() const {
        std::string text =
            std::string(kXmlDeclaration) +
            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
            "content-types\"><Default Extension=\"rels\" "
            "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
            "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
            "<Default Extension=\"png\" ContentType=\"image/png\"/>";
        if (m_workbooks > 0) {
            text += "<Default Extension=\"xlsx\" ContentType=\"application/"
                    "vnd.openxmlformats-officedocument.spreadsheetml.sheet\"/>";
        }
        for (const auto& [name, type] : m_overrides) {
            text += "<Override PartName=\"/" + Escape(name) + "\" ContentType=\"" + type + "\"/>";
        }
        return text + "</Types>";
    }

    const TemplateDescription& m_description;
    PartMap m_parts;
    std::map<std::string, std::string> m_overrides;
    std::map<std::string, std::string> m_media; // PNG bytes -> part name below ppt/
    int m_charts = 0;
    int m_notes = 0;
    int m_workbooks = 0;
};

} // namespace

PartMap BuildTemplateParts(const TemplateDescription& description) {
    return Assembler(description).Build();
}

void WriteTemplate(const TemplateDescription& description, const std::filesystem::path& path) {
    WritePackage(BuildTemplateParts(description), path);
}

} // namespace slidesmith::testtools
