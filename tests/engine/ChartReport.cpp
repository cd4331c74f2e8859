#include "ChartReport.h"

#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>

namespace slidesmith::engine::test {
namespace {

namespace fs = std::filesystem;

std::string LocalName(pugi::xml_node node) {
    const std::string name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

pugi::xml_node ChildNamed(pugi::xml_node node, const std::string& local) {
    for (pugi::xml_node child : node.children()) {
        if (LocalName(child) == local)
            return child;
    }
    return {};
}

std::string RelsOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    return part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
}

// "ppt/charts" + "../embeddings/a.xlsx" -> "ppt/embeddings/a.xlsx".
std::string Resolve(const std::string& part, const std::string& target) {
    fs::path path = fs::path(part).parent_path() / target;
    return path.lexically_normal().generic_string();
}

pugi::xml_document Parse(const std::string& bytes) {
    pugi::xml_document document;
    if (!document.load_buffer(bytes.data(), bytes.size()))
        throw std::runtime_error("not XML");
    return document;
}

std::string Serialise(const pugi::xml_document& document) {
    std::ostringstream out;
    document.save(out, "", pugi::format_raw);
    return out.str();
}

// Targets of a part's relationships whose type ends in `type`, with their TargetMode.
std::vector<std::pair<std::string, bool>>
Targets(const testtools::PartMap& parts, const std::string& part, const std::string& type) {
    std::vector<std::pair<std::string, bool>> targets;
    auto rels = parts.find(RelsOf(part));
    if (rels == parts.end())
        return targets;
    pugi::xml_document document = Parse(rels->second);
    for (pugi::xml_node rel : document.document_element().children()) {
        if (std::string(rel.attribute("Type").value()).ends_with(type)) {
            const bool external = std::string(rel.attribute("TargetMode").value()) == "External";
            targets.emplace_back(external ? rel.attribute("Target").value()
                                          : Resolve(part, rel.attribute("Target").value()),
                                 external);
        }
    }
    return targets;
}

} // namespace

std::vector<std::string> ChartReport::ValueFormulas(std::size_t slide,
                                                    const std::string& name) const {
    const std::string part = Chart(slide, name).chartPart;
    pugi::xml_document document = Parse(m_reader.Parts().at(part));
    std::vector<std::string> formulas;
    pugi::xml_node plotArea =
        ChildNamed(ChildNamed(document.document_element(), "chart"), "plotArea");
    for (pugi::xml_node plot : plotArea.children()) {
        for (pugi::xml_node series : plot.children()) {
            if (LocalName(series) != "ser")
                continue;
            pugi::xml_node values = ChildNamed(series, "val");
            if (!values)
                values = ChildNamed(series, "yVal");
            pugi::xml_node reference = ChildNamed(values, "numRef");
            formulas.emplace_back(reference ? ChildNamed(reference, "f").child_value() : "");
        }
    }
    return formulas;
}

testtools::EmbeddedWorkbook ChartReport::Workbook(std::size_t slide,
                                                  const std::string& name) const {
    const std::string part = Chart(slide, name).chartPart;
    for (const auto& [target, external] : Targets(m_reader.Parts(), part, "/package")) {
        if (!external)
            return testtools::EmbeddedWorkbook(m_reader.Parts().at(target), target);
    }
    throw std::runtime_error(part + " has no embedded workbook");
}

bool ChartReport::HasExternalLink(std::size_t slide, const std::string& name) const {
    const std::string part = Chart(slide, name).chartPart;
    for (const auto& [target, external] : Targets(m_reader.Parts(), part, "/oleObject")) {
        if (external)
            return true;
    }
    for (const auto& [target, external] : Targets(m_reader.Parts(), part, "/package")) {
        if (external)
            return true;
    }
    return false;
}

std::string CellText(const testtools::EmbeddedWorkbook& workbook, const std::string& sheet,
                     const std::string& reference) {
    std::optional<testtools::WorkbookCell> cell = workbook.Cell(sheet, reference);
    return cell ? cell->value : std::string();
}

void AddFirstSheet(const fs::path& pptx, const std::string& name) {
    testtools::PartMap parts = testtools::ReadPackage(pptx);
    for (auto& [partName, bytes] : parts) {
        if (!partName.ends_with(".xlsx"))
            continue;
        testtools::PartMap book = testtools::ReadPackageFromMemory(bytes, partName);
        pugi::xml_document workbook = Parse(book.at("xl/workbook.xml"));
        pugi::xml_node sheets = workbook.document_element().child("sheets");
        pugi::xml_node sheet = sheets.prepend_child("sheet");
        sheet.append_attribute("name") = name.c_str();
        sheet.append_attribute("sheetId") = "99";
        sheet.append_attribute("r:id") = "rIdFirst";
        book["xl/workbook.xml"] = Serialise(workbook);

        pugi::xml_document rels = Parse(book.at("xl/_rels/workbook.xml.rels"));
        pugi::xml_node rel = rels.document_element().append_child("Relationship");
        rel.append_attribute("Id") = "rIdFirst";
        rel.append_attribute("Type") = "http://schemas.openxmlformats.org/officeDocument/2006/"
                                       "relationships/worksheet";
        rel.append_attribute("Target") = "worksheets/first.xml";
        book["xl/_rels/workbook.xml.rels"] = Serialise(rels);

        pugi::xml_document types = Parse(book.at("[Content_Types].xml"));
        pugi::xml_node type = types.document_element().append_child("Override");
        type.append_attribute("PartName") = "/xl/worksheets/first.xml";
        type.append_attribute("ContentType") =
            "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
        book["[Content_Types].xml"] = Serialise(types);
        book["xl/worksheets/first.xml"] =
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
            "<dimension ref=\"A1\"/><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is>"
            "<t>note</t></is></c></row></sheetData></worksheet>";
        bytes = testtools::WritePackageToMemory(book);
    }
    testtools::WritePackage(parts, pptx);
}

void MakeFirstSeriesLiteral(const fs::path& pptx) {
    testtools::PartMap parts = testtools::ReadPackage(pptx);
    for (auto& [partName, bytes] : parts) {
        if (!partName.starts_with("ppt/charts/chart") || !partName.ends_with(".xml"))
            continue;
        pugi::xml_document chart = Parse(bytes);
        pugi::xml_node plotArea =
            ChildNamed(ChildNamed(chart.document_element(), "chart"), "plotArea");
        for (pugi::xml_node plot : plotArea.children()) {
            pugi::xml_node series = ChildNamed(plot, "ser");
            if (!series)
                continue;
            pugi::xml_node values = ChildNamed(series, "val");
            pugi::xml_node reference = ChildNamed(values, "numRef");
            pugi::xml_node cache = ChildNamed(reference, "numCache");
            pugi::xml_node literal = values.append_copy(cache);
            literal.set_name("c:numLit");
            values.remove_child(reference);
            break;
        }
        bytes = Serialise(chart);
    }
    testtools::WritePackage(parts, pptx);
}

} // namespace slidesmith::engine::test
