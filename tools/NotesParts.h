#pragma once

#include <string>

namespace slidesmith::testtools {

// Speaker notes as PowerPoint writes them: one notes master (with its own theme, theme2.xml)
// and a notes slide per slide that has notes, pointing back at its slide.
namespace NotesParts {

std::string NotesMaster();
std::string NotesMasterRelationships(); // -> ../theme/theme2.xml
std::string NotesSlide(const std::string& text);
std::string NotesSlideRelationships(int slideNumber);

} // namespace NotesParts
} // namespace slidesmith::testtools
