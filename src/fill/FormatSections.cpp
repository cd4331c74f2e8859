#include "fill/FormatSections.h"

namespace slidesmith::fill {

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::size_t Utf8Length(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    if (lead >= 0xF0 && lead < 0xF8) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = lead < 0xF0 ? 3 : 1;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    if (pos + length > text.size()) {
        return 1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

std::size_t Utf8CharCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += Utf8Length(text, pos)) {
        ++count;
    }
    return count;
}

bool FormatLexer::TakeLiteral(std::string_view& literal) {
    if (AtEnd()) {
        return false;
    }
    if (m_text[m_pos] == '"') {
        const std::size_t close = m_text.find('"', m_pos + 1);
        // An unclosed quote runs to the end of the text.
        const std::size_t end = close == std::string_view::npos ? m_text.size() : close;
        literal = m_text.substr(m_pos + 1, end - m_pos - 1);
        m_pos = close == std::string_view::npos ? end : end + 1;
        return true;
    }
    if (m_text[m_pos] == '\\') {
        ++m_pos;
        if (AtEnd()) {
            literal = {};
            return true;
        }
        literal = TakeChar();
        return true;
    }
    return false;
}

std::string_view FormatLexer::TakeChar() {
    const std::size_t length = Utf8Length(m_text, m_pos);
    const std::string_view result = m_text.substr(m_pos, length);
    m_pos += length;
    return result;
}

bool FormatLexer::LookingAt(std::string_view word) const {
    if (m_text.size() - m_pos < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (LowerAscii(m_text[m_pos + i]) != LowerAscii(word[i])) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> SplitSections(std::string_view formatText) {
    std::vector<std::string_view> sections;
    FormatLexer lexer(formatText);
    std::size_t start = 0;
    std::string_view literal;
    while (!lexer.AtEnd()) {
        if (lexer.TakeLiteral(literal)) {
            continue;
        }
        if (lexer.Peek() == ';') {
            sections.push_back(formatText.substr(start, lexer.Position() - start));
            if (sections.size() == 4) {
                return sections;
            }
            lexer.Skip(1);
            start = lexer.Position();
            continue;
        }
        lexer.TakeChar();
    }
    sections.push_back(formatText.substr(start));
    return sections;
}

bool IsTextSection(std::string_view section) {
    FormatLexer lexer(section);
    std::string_view literal;
    while (!lexer.AtEnd()) {
        if (lexer.TakeLiteral(literal)) {
            continue;
        }
        const char c = lexer.TakeChar().front();
        if (c == '@' || c == '&' || c == '<' || c == '>' || c == '!') {
            return true;
        }
    }
    return false;
}

bool IsDateSection(std::string_view section) {
    FormatLexer lexer(section);
    std::string_view literal;
    while (!lexer.AtEnd()) {
        if (lexer.TakeLiteral(literal)) {
            continue;
        }
        if (lexer.LookingAt("am/pm") || lexer.LookingAt("a/p") || lexer.LookingAt("ampm") ||
            lexer.LookingAt("ttttt")) {
            return true;
        }
        switch (LowerAscii(lexer.TakeChar().front())) {
        case 'd':
        case 'm':
        case 'y':
        case 'h':
        case 'n':
        case 's':
        case 'w':
        case 'q':
        case 'c':
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace slidesmith::fill
