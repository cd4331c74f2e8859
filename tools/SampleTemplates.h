#pragma once

#include "TemplateDescription.h"

namespace slidesmith::testtools {

// Ready-made descriptions for tests.

// Four slides in three sections (one empty): a title slide; "Sales" 4x3 table with a bold
// header, a red format text "#,##0;[Red]-#,##0", a 2x1 merge in the last row and a text box
// "Note"; a title-only slide with charts "Revenue" (bar, embedded workbook), "Trend" (line,
// cache only) and "Share" (pie, workbook sheet "Data Sheet"); a blank slide with two identical
// pictures "Logo" and "Logo2" and a two-line text box "Footer". Slides 2 and 3 have speaker
// notes.
TemplateDescription SampleReportTemplate();

// One title-and-content slide holding only a rows x columns table "Table 1" whose cell texts
// are "R<row>C<column>" (1-based).
TemplateDescription SingleTableTemplate(int rows, int columns);

} // namespace slidesmith::testtools
