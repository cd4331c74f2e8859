#include "platform/chart/ChartObject.h"

#include "platform/chart/ChartError.h"
#include "platform/chart/ChartXml.h"
#include "platform/pptx/OoxmlNames.h"
#include "platform/pptx/Presentation.h"
#include "platform/pptx/SlidePart.h"

namespace slidesmith::chart {
namespace {

// Cells of the embedded workbook, as the caches are rebuilt from them.
class WorkbookCells : public CellSource {
public:
    explicit WorkbookCells(xlsx::Workbook& workbook) : m_workbook(workbook) {}

    xlsx::CellValue Value(std::string_view sheet, std::uint32_t row,
                          std::uint32_t column) const override {
        xlsx::Worksheet* found = Find(sheet);
        return found != nullptr ? found->Value(row, column) : xlsx::CellValue{};
    }
    std::string NumberFormat(std::string_view sheet, std::uint32_t row,
                             std::uint32_t column) const override {
        xlsx::Worksheet* found = Find(sheet);
        if (found == nullptr)
            return "General";
        return m_workbook.NumberFormatCode(found->StyleIndex(row, column));
    }
    bool HasSheet(std::string_view sheet) const override { return Find(sheet) != nullptr; }

private:
    // The last sheet found is remembered: a cache reads thousands of cells of one sheet.
    xlsx::Worksheet* Find(std::string_view sheet) const {
        if (m_last == nullptr || !xlsx::SameSheet(m_last->Name(), sheet))
            m_last = m_workbook.FindSheet(sheet);
        return m_last;
    }

    xlsx::Workbook& m_workbook;
    mutable xlsx::Worksheet* m_last = nullptr;
};

pugi::xml_node ExternalData(pugi::xml_node chartSpace) {
    return xml::Child(chartSpace, "externalData");
}

} // namespace

ChartObject::ChartObject(OpenKey, pptx::Presentation& presentation, std::string partName)
    : m_presentation(presentation), m_partName(std::move(partName)) {}

ChartObject::~ChartObject() {
    if (m_workbook)
        m_workbook->RemoveEditListener(*this);
}

std::unique_ptr<ChartObject> ChartObject::Open(pptx::Presentation& presentation,
                                               pptx::SlidePart& slide, const pptx::Shape& shape) {
    std::string partName = slide.ChartPart(shape);
    if (partName.empty())
        throw ChartError(slide.PartName() + ": shape \"" + std::string(shape.Name()) +
                         "\" is no native chart with a readable chart part");
    auto chart = std::make_unique<ChartObject>(OpenKey(), presentation, partName);
    chart->m_model = std::make_unique<ChartModel>(presentation.GetPackage().Xml(partName));
    chart->OpenData();
    return chart;
}

// The chart's workbook is the internal package its c:externalData names; a chart whose
// relationship points outside the presentation is linked and owns only its caches.
void ChartObject::OpenData() {
    pptx::Package& package = m_presentation.GetPackage();
    pugi::xml_node external = ExternalData(m_model->ChartSpace());
    if (!external || !package.HasRels(m_partName))
        return;
    std::string id = external.attribute("r:id").value();
    const pptx::Relationship* relationship = package.Rels(m_partName).FindById(id);
    if (relationship == nullptr || relationship->external || !package.Has(relationship->targetPart))
        return;
    std::string_view target = relationship->targetPart;
    if (!target.ends_with(".xlsx") && !target.ends_with(".xlsm"))
        return;
    m_workbookPart = relationship->targetPart;
    m_workbook = std::make_unique<xlsx::Workbook>(package.Bytes(m_workbookPart), m_workbookPart);
    m_workbook->AddEditListener(*this);
}

bool ChartObject::HasExternalLink() const {
    pptx::Package& package = m_presentation.GetPackage();
    pugi::xml_node external = ExternalData(m_model->ChartSpace());
    if (!external || !package.HasRels(m_partName))
        return false;
    const pptx::Relationship* relationship =
        package.Rels(m_partName).FindById(external.attribute("r:id").value());
    return relationship != nullptr && relationship->external;
}

xlsx::Workbook& ChartObject::Workbook() {
    if (!m_workbook)
        throw ChartError(m_partName + ": the chart has no embedded workbook");
    return *m_workbook;
}

Datasheet& ChartObject::Datasheet() {
    if (m_workbook)
        throw ChartError(m_partName +
                         ": the chart keeps its data in an embedded workbook, not a datasheet");
    if (!m_datasheet)
        m_datasheet = std::make_unique<chart::Datasheet>(*m_model);
    return *m_datasheet;
}

void ChartObject::SheetEdited(const xlsx::SheetEdit& edit) {
    m_model->FollowEdit(edit);
    m_edited = true;
}

void ChartObject::RemoveExternalLink() {
    pugi::xml_node external = ExternalData(m_model->ChartSpace());
    if (!external || !HasExternalLink())
        return;
    m_presentation.GetPackage().Rels(m_partName).Remove(external.attribute("r:id").value());
    m_model->ChartSpace().remove_child(external);
    m_model->DropBookReferences();
    m_model->MarkChanged();
}

void ChartObject::Save() {
    if (m_workbook) {
        if (!m_edited && !m_workbook->IsChanged())
            return;
        m_model->RebuildCaches(WorkbookCells(*m_workbook));
        m_presentation.GetPackage().SetBytes(m_workbookPart, m_workbook->Save());
        m_edited = false;
        return;
    }
    if (m_datasheet && m_datasheet->IsChanged()) {
        m_datasheet->Update();
        RemoveExternalLink();
    }
}

} // namespace slidesmith::chart
