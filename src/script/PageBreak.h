#pragma once

#include "script/StatementRecord.h"

#include <string_view>

namespace slidesmith::script {

// Decodes the statement's PAGEBREAK values (joined with ",") into record.PageBreak.
//
// Items: a number of rows ("10"; "10S", "10RS" or "10R" with S marking the "S" variant), and a
// group break "G" with an optional level and S ("G", "G2", "GS2"). The first accepted item of
// each kind counts, later ones are ignored. A group item needs a GROUP parameter and a level
// between 1 and the number of levels (none given means -1); a row count must be at least 1.
// Items that fail these checks are dropped. Returns true when the text is empty or at least one
// item was accepted.
bool ParsePageBreak(std::string_view pageBreakText, StatementRecord& record);

} // namespace slidesmith::script
