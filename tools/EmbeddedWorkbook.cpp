#include "EmbeddedWorkbook.h"

#include "PackageFiles.h"
#include "PackageModel.h"
#include "TestToolError.h"

#include <pugixml.hpp>
#include <vector>

namespace slidesmith::testtools {
namespace {

pugi::xml_document Load(const PartMap& parts, const std::string& name, const std::string& label) {
    pugi::xml_document document;
    auto part = parts.find(name);
    if (part == parts.end() || !document.load_buffer(part->second.data(), part->second.size())) {
        throw TestToolError(label + ": " + name + " is missing or not XML");
    }
    return document;
}

// Text of an a rich or plain string item (CT_Rst): t, or the runs' t joined.
std::string StringItem(pugi::xml_node item) {
    if (pugi::xml_node text = item.child("t")) {
        return text.child_value();
    }
    std::string joined;
    for (pugi::xml_node run : item.children("r")) {
        joined += run.child_value("t");
    }
    return joined;
}

} // namespace

EmbeddedWorkbook::EmbeddedWorkbook(const std::string& xlsx, const std::string& label) {
    const PartMap parts = ReadPackageFromMemory(xlsx, label);
    std::vector<Finding> ignored; // the checker reports package faults; this only reads values
    PackageModel model(parts, ignored);
    std::string workbookPart;
    for (const Relationship& relationship : model.RelationshipsOf("")) {
        if (relationship.type.size() >= 15 &&
            relationship.type.compare(relationship.type.size() - 15, 15, "/officeDocument") == 0) {
            workbookPart = relationship.target;
        }
    }
    const pugi::xml_document workbook = Load(parts, workbookPart, label);
    std::map<std::string, std::string> targets;
    std::vector<std::string> shared;
    for (const Relationship& relationship : model.RelationshipsOf(workbookPart)) {
        targets[relationship.id] = relationship.target;
        if (relationship.type.find("/sharedStrings") != std::string::npos) {
            const pugi::xml_document strings = Load(parts, relationship.target, label);
            for (pugi::xml_node item : strings.document_element().children("si")) {
                shared.push_back(StringItem(item));
            }
        }
    }
    for (pugi::xml_node sheet : workbook.document_element().child("sheets").children("sheet")) {
        const std::string target = targets[sheet.attribute("r:id").value()];
        const pugi::xml_document data = Load(parts, target, label);
        auto& cells = m_sheets[sheet.attribute("name").value()];
        for (pugi::xml_node row : data.document_element().child("sheetData").children("row")) {
            for (pugi::xml_node cell : row.children("c")) {
                const std::string type = cell.attribute("t").value();
                WorkbookCell value{cell.child_value("v"),
                                   type == "s" || type == "inlineStr" || type == "str"};
                if (type == "s") {
                    const auto index = static_cast<std::size_t>(std::stoul("0" + value.value));
                    value.value = index < shared.size() ? shared[index] : std::string();
                } else if (type == "inlineStr") {
                    value.value = StringItem(cell.child("is"));
                }
                cells[cell.attribute("r").value()] = value;
            }
        }
    }
}

std::optional<WorkbookCell> EmbeddedWorkbook::Cell(const std::string& sheet,
                                                   const std::string& reference) const {
    auto found = m_sheets.find(sheet);
    if (found == m_sheets.end()) {
        return std::nullopt;
    }
    auto cell = found->second.find(reference);
    if (cell == found->second.end()) {
        return std::nullopt;
    }
    return cell->second;
}

} // namespace slidesmith::testtools
