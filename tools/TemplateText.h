#pragma once

#include "TemplateDescription.h"

#include <string>

namespace slidesmith::testtools {

// Reads the small text format make-template takes. One statement per line, '#' starts a
// comment, words are separated by blanks, "quoted text" may hold blanks and \n, \" and \\.
// Lengths are EMU, or a number followed by pt, in or cm ("1.5in"). Rows and columns count
// from 1.
//
//   template potx                       .potx instead of .pptx
//   slide-size 12192000 6858000
//   doc-title "Quarterly figures"
//   section "Intro" 1                   the next 1 slides form a section
//   slide title-and-content             title-slide | title-and-content | title-only | blank
//   notes "Speaker notes\nline two"     speaker notes of the current slide
//   placeholder title "Sales"           title | ctrTitle | subTitle | body [name="..."]
//   text Note 1in 6in 4in 0.5in "Source: ERP" size=12 bold colour=FF0000 [sections=..]
//   table Sales 3 4 0.5in 1.5in [col-width=1.5in] [row-height=0.4in] [widths=..,..]
//         [heights=..] [style={GUID}|none] [first-row=1] [band-row=1] [ids=1]
//   cell 1 1 "Region" [size=14] [bold] [colour=RRGGBB] [span=2x1]   span = columns x rows
//   cell 2 2 "#,##0;[Red]-#,##0" colour=FF0000                a format text, in red
//   cell 2 3 "#,##0;-#,##0" sections=000000,FF0000            one colour per ';' section
//   picture Logo 8in 0.2in 1in 0.5in [pixels=40x20] [colour=4472C4]
//   chart Revenue bar 1in 1.5in 6in 4in [cache-only] [sheet="Sheet 1"] [format="0.0"]
//   categories "Q1" "Q2" "Q3"
//   series "2025" 10 12.5 9
//
// Throws TestToolError naming the line on any mistake.
TemplateDescription ParseTemplateText(const std::string& text);

} // namespace slidesmith::testtools
