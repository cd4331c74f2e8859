#include "platform/pptx/TextBody.h"

#include "platform/pptx/ColourResolver.h"
#include "platform/pptx/XmlUtil.h"

#include <cstring>

namespace slidesmith::pptx {
namespace {

bool IsName(pugi::xml_node node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

// Length a run element contributes to the object model's text.
std::size_t RunLength(pugi::xml_node run) {
    if (IsName(run, "a:br")) {
        return 1;
    }
    if (IsName(run, "a:r") || IsName(run, "a:fld")) {
        return std::strlen(run.child("a:t").child_value());
    }
    return 0;
}

bool IsRun(pugi::xml_node node) {
    return IsName(node, "a:r") || IsName(node, "a:br") || IsName(node, "a:fld");
}

// Drops what XML 1.0 cannot carry: C0 controls other than tab, line feed and carriage return,
// and U+FFFE/U+FFFF (EF BF BE/BF in UTF-8). The vertical tab stays: it becomes an a:br.
std::string Sanitised(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' &&
            byte != static_cast<unsigned char>(TextBody::kLineBreak)) {
            continue;
        }
        if (byte == 0xEF && i + 2 < text.size() &&
            static_cast<unsigned char>(text[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE) {
            i += 2;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

// Attributes that record PowerPoint's spelling and layout state; stale after a rewrite.
void StripEditState(pugi::xml_node properties) {
    for (const char* name : {"dirty", "err", "smtClean", "smtId"}) {
        properties.remove_attribute(name);
    }
    // A link on replaced text would point the new value at the template's target.
    properties.remove_child("a:hlinkClick");
    properties.remove_child("a:hlinkMouseOver");
}

void SetRunText(pugi::xml_node run, std::string_view text) {
    pugi::xml_node t = run.child("a:t");
    if (!t) {
        t = run.append_child("a:t");
    }
    t.text().set(std::string(text).c_str());
}

// CT_TextParagraph: pPr?, (r | br | fld)*, endParaRPr?
void FillParagraph(pugi::xml_node paragraph, std::string_view line, pugi::xml_node runTemplate,
                   pugi::xml_node endTemplate) {
    std::size_t from = 0;
    while (true) {
        const std::size_t to = line.find(TextBody::kLineBreak, from);
        const std::string_view piece =
            line.substr(from, to == std::string_view::npos ? line.npos : to - from);
        if (!piece.empty()) {
            pugi::xml_node run = paragraph.append_child("a:r");
            if (runTemplate) {
                StripEditState(run.append_copy(runTemplate));
            }
            SetRunText(run, piece);
        }
        if (to == std::string_view::npos) {
            break;
        }
        pugi::xml_node lineBreak = paragraph.append_child("a:br");
        if (runTemplate) {
            StripEditState(lineBreak.append_copy(runTemplate));
        }
        from = to + 1;
    }
    if (endTemplate) {
        pugi::xml_node end = paragraph.append_copy(endTemplate);
        end.set_name("a:endParaRPr");
        StripEditState(end);
    }
}

std::vector<std::string_view> SplitParagraphs(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(from, i - from));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            from = i + 1;
        }
    }
    lines.push_back(text.substr(from));
    return lines;
}

} // namespace

TextBody::TextBody(pugi::xml_node body, PartChangeSink& sink) : m_body(body), m_sink(&sink) {}

std::string TextBody::Text() const {
    std::string text;
    bool first = true;
    for (pugi::xml_node paragraph : m_body.children("a:p")) {
        if (!first) {
            text.push_back(kParagraphBreak);
        }
        first = false;
        for (pugi::xml_node run : paragraph.children()) {
            if (IsName(run, "a:br")) {
                text.push_back(kLineBreak);
            } else if (IsName(run, "a:r") || IsName(run, "a:fld")) {
                text += run.child("a:t").child_value();
            }
        }
    }
    return text;
}

std::string TextBody::Characters(std::size_t start, std::size_t length) const {
    const std::string text = Text();
    if (start >= text.size()) {
        return {};
    }
    return text.substr(start, length);
}

pugi::xml_node TextBody::FirstParagraph() {
    pugi::xml_node paragraph = m_body.child("a:p");
    if (!paragraph) {
        paragraph = m_body.append_child("a:p");
    }
    return paragraph;
}

void TextBody::Clear() {
    pugi::xml_node first = FirstParagraph();
    pugi::xml_node source = TemplateProperties();
    // Moving the template properties instead of copying them keeps clearing free of allocations:
    // every row added to a table clears all its cells.
    if (source) {
        source = first.append_move(source);
        source.set_name("a:endParaRPr");
        StripEditState(source);
    }
    for (pugi::xml_node next = first.next_sibling("a:p"); next; next = first.next_sibling("a:p")) {
        m_body.remove_child(next);
    }
    for (pugi::xml_node child = first.first_child(); child;) {
        const pugi::xml_node following = child.next_sibling();
        if (child != source && !IsName(child, "a:pPr")) {
            first.remove_child(child);
        }
        child = following;
    }
    m_sink->MarkChanged();
}

pugi::xml_node TextBody::TemplateProperties() const {
    pugi::xml_node source = xml::FirstDescendant(m_body, "a:r").child("a:rPr");
    if (!source) {
        source = xml::FirstDescendant(m_body, "a:fld").child("a:rPr");
    }
    if (!source) {
        source = xml::FirstDescendant(m_body, "a:endParaRPr");
    }
    return source;
}

void TextBody::SetText(std::string_view text) {
    if (text.empty()) {
        Clear();
        return;
    }
    const std::string clean = Sanitised(text);
    pugi::xml_node first = FirstParagraph();

    // The template properties may sit in a paragraph about to go, so copy them into the first
    // paragraph before anything is removed; they are taken out again at the end.
    const pugi::xml_node source = TemplateProperties();
    pugi::xml_node runTemplate;
    if (source) {
        runTemplate = first.append_copy(source);
        runTemplate.set_name("a:rPr");
    }
    for (pugi::xml_node next = first.next_sibling("a:p"); next; next = first.next_sibling("a:p")) {
        m_body.remove_child(next);
    }
    for (pugi::xml_node child = first.first_child(); child;) {
        const pugi::xml_node following = child.next_sibling();
        if (child != runTemplate && !IsName(child, "a:pPr")) {
            first.remove_child(child);
        }
        child = following;
    }

    const std::vector<std::string_view> lines = SplitParagraphs(clean);
    pugi::xml_node paragraph = first;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            paragraph = m_body.insert_copy_after(first, paragraph);
            for (pugi::xml_node child = paragraph.first_child(); child;) {
                const pugi::xml_node following = child.next_sibling();
                if (!IsName(child, "a:pPr")) {
                    paragraph.remove_child(child);
                }
                child = following;
            }
        }
        FillParagraph(paragraph, lines[i], runTemplate, runTemplate);
    }
    if (runTemplate) {
        first.remove_child(runTemplate);
    }
    m_sink->MarkChanged();
}

TextBody::Location TextBody::LocationAt(std::size_t position) const {
    std::size_t offset = 0;
    Location last;
    for (pugi::xml_node paragraph : m_body.children("a:p")) {
        if (offset > position) {
            break;
        }
        last = Location{pugi::xml_node(), paragraph};
        for (pugi::xml_node run : paragraph.children()) {
            const std::size_t length = RunLength(run);
            if (!IsRun(run)) {
                continue;
            }
            if (position < offset + length) {
                return Location{run, paragraph};
            }
            if (length > 0) {
                last.run = run;
            }
            offset += length;
        }
        ++offset; // the paragraph break
    }
    return last;
}

std::vector<pugi::xml_node> TextBody::SplitRuns(std::size_t start, std::size_t length) {
    std::vector<pugi::xml_node> runs;
    if (length == 0) {
        return runs;
    }
    const std::size_t end = start + length;
    bool changed = false;
    std::size_t offset = 0;
    for (pugi::xml_node paragraph : m_body.children("a:p")) {
        for (pugi::xml_node run = paragraph.first_child(); run; run = run.next_sibling()) {
            if (!IsRun(run)) {
                continue;
            }
            std::size_t runLength = RunLength(run);
            if (offset + runLength <= start || offset >= end || runLength == 0) {
                offset += runLength;
                continue;
            }
            if (IsName(run, "a:r") && offset < start) {
                // Keep the part before the range in this run; go on with the rest.
                const std::string text = run.child("a:t").child_value();
                pugi::xml_node rest = paragraph.insert_copy_after(run, run);
                SetRunText(run, std::string_view(text).substr(0, start - offset));
                SetRunText(rest, std::string_view(text).substr(start - offset));
                offset = start;
                run = rest;
                runLength = RunLength(run);
                changed = true;
            }
            if (IsName(run, "a:r") && offset + runLength > end) {
                const std::string text = run.child("a:t").child_value();
                pugi::xml_node rest = paragraph.insert_copy_after(run, run);
                SetRunText(run, std::string_view(text).substr(0, end - offset));
                SetRunText(rest, std::string_view(text).substr(end - offset));
                runLength = end - offset;
                changed = true;
            }
            runs.push_back(run);
            offset += runLength;
        }
        ++offset;
    }
    if (changed) {
        m_sink->MarkChanged();
    }
    return runs;
}

void TextBody::SetColour(std::size_t start, std::size_t length, std::uint32_t rgb) {
    for (pugi::xml_node run : SplitRuns(start, length)) {
        pugi::xml_node properties = run.child("a:rPr");
        if (!properties) {
            properties = run.prepend_child("a:rPr");
        }
        ColourResolver::WriteSolidFill(properties, rgb);
    }
    if (start == 0 && length >= Text().size()) {
        for (pugi::xml_node paragraph : m_body.children("a:p")) {
            pugi::xml_node end = paragraph.child("a:endParaRPr");
            if (!end) {
                end = paragraph.append_child("a:endParaRPr");
            }
            ColourResolver::WriteSolidFill(end, rgb);
        }
    }
    m_sink->MarkChanged();
}

} // namespace slidesmith::pptx
