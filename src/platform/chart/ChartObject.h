#pragma once

#include "platform/chart/ChartModel.h"
#include "platform/chart/Datasheet.h"
#include "platform/xlsx/Workbook.h"

#include <memory>
#include <string>
#include <vector>

namespace slidesmith::pptx {
class Presentation;
class SlidePart;
class Shape;
} // namespace slidesmith::pptx

namespace slidesmith::chart {

// One native chart of a slide with the data behind it: its embedded workbook when it has one,
// otherwise its datasheet (the grid of its own caches). Cells are written through Workbook() or
// Datasheet(); the model hears of every row and column the workbook inserts or deletes and moves
// the series references with them, so a fill only uses worksheet operations. Save() writes the
// chart and its workbook back into the presentation. The object borrows the presentation and
// must not outlive it.
class ChartObject : private xlsx::EditListener {
public:
    // Reads the chart part of a native chart shape and its embedded workbook. Throws ChartError
    // when the shape is no native chart or its chart part cannot be read.
    static std::unique_ptr<ChartObject> Open(pptx::Presentation& presentation,
                                             pptx::SlidePart& slide, const pptx::Shape& shape);
    // Only Open can make the key, so charts are made through it.
    class OpenKey {
        friend class ChartObject;
        OpenKey() = default;
    };
    ChartObject(OpenKey, pptx::Presentation& presentation, std::string partName);
    ~ChartObject() override;
    ChartObject(const ChartObject&) = delete;
    ChartObject& operator=(const ChartObject&) = delete;

    const std::string& PartName() const { return m_partName; }
    bool HasEmbeddedWorkbook() const { return m_workbook != nullptr; }
    // True when the chart reads its data from a workbook outside the presentation.
    bool HasExternalLink() const;
    // Throws ChartError when the chart has no embedded workbook.
    xlsx::Workbook& Workbook();
    // The grid of a chart without embedded workbook. Throws ChartError for one with a workbook.
    chart::Datasheet& Datasheet();

    // Each series as the spreadsheet program shows it, "=SERIES(name,categories,values,order)"
    // (a fifth argument with the sizes for bubbles), in plot order. Literal series give "{...}"
    // array constants, a literal name a quoted text.
    std::vector<std::string> SeriesFormulas() const { return m_model->SeriesFormulas(); }

    ChartModel& Model() { return *m_model; }

    // When anything changed: rebuilds every cache from the workbook cells (or the datasheet),
    // writes the workbook back into its part, drops the link to an outside workbook of a filled
    // datasheet chart, and marks the chart part changed. Does nothing for an untouched chart.
    void Save();

private:
    void SheetEdited(const xlsx::SheetEdit& edit) override;
    void OpenData();
    void RemoveExternalLink();

    pptx::Presentation& m_presentation;
    std::string m_partName;
    std::string m_workbookPart;
    std::unique_ptr<ChartModel> m_model;
    std::unique_ptr<xlsx::Workbook> m_workbook;
    std::unique_ptr<chart::Datasheet> m_datasheet;
    bool m_edited = false;
};

} // namespace slidesmith::chart
