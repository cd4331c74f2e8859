#pragma once

#include "platform/pptx/PartChangeSink.h"

#include <cstddef>
#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::pptx {

// The text of a shape (p:txBody) or of a table cell (a:txBody) as the object model shows it:
// paragraphs are separated by "\r" and a line break inside a paragraph (a:br) reads as a
// vertical tab "\v", the characters PowerPoint's TextRange.Text uses. Positions are 0-based byte
// offsets into that UTF-8 text, so a caller that scans Text() can address what it found.
//
// The editor borrows the node: it must not outlive the part's XML document. Every change calls
// the sink. The body must hold at least its a:bodyPr; missing paragraphs are created on write.
class TextBody {
public:
    static constexpr char kParagraphBreak = '\r';
    static constexpr char kLineBreak = '\v';

    TextBody(pugi::xml_node body, PartChangeSink& sink);

    pugi::xml_node Node() const { return m_body; }

    std::string Text() const;

    // Replaces the whole text. "\r\n", "\r" and "\n" start a new paragraph, "\v" a line break.
    // Every paragraph keeps the first paragraph's a:pPr and every run the first run's a:rPr (of
    // a field when there is no run, else of the end-of-paragraph mark), so the text keeps its
    // look; a:endParaRPr gets the same properties so an empty text keeps its font. Characters
    // XML 1.0 forbids are dropped rather than making the part unreadable.
    void SetText(std::string_view text);

    // The part of Text() from `start` for `length` bytes, clipped to the text.
    std::string Characters(std::size_t start, std::size_t length) const;

    // Where the character at `position` lives: its run element (a:r, a:br or a:fld) and
    // paragraph. A position on a paragraph break or past the end gives the last run before it
    // in the same paragraph, or no run (then the paragraph's a:endParaRPr describes the text).
    struct Location {
        pugi::xml_node run;
        pugi::xml_node paragraph;
    };
    Location LocationAt(std::size_t position) const;

    // The run elements that hold exactly the characters [start, start + length): runs that
    // straddle a boundary are split in two, both halves keeping the run's properties. Fields
    // are never split. An empty range gives no runs.
    std::vector<pugi::xml_node> SplitRuns(std::size_t start, std::size_t length);

    // Gives the characters [start, start + length) a solid RGB font colour (0xRRGGBB). A range
    // that covers the whole text also colours the end-of-paragraph marks, so text typed later
    // into the cell has the colour too.
    void SetColour(std::size_t start, std::size_t length, std::uint32_t rgb);

private:
    void Clear();
    pugi::xml_node TemplateProperties() const;
    pugi::xml_node FirstParagraph();

    pugi::xml_node m_body;
    PartChangeSink* m_sink;
};

} // namespace slidesmith::pptx
