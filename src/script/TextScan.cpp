#include "script/TextScan.h"

#include <algorithm>
#include <utility>

namespace slidesmith::script {
namespace {

bool IsOperatorChar(char c) {
    return c == '=' || c == '<' || c == '>';
}

bool IsSingleDelimiter(char c) {
    return c == '(' || c == ')' || c == ',';
}

// The next position of one character at or after a position, remembered until the scan
// passes it, so each character of a line is searched for once.
class NextOf {
public:
    NextOf(std::string_view text, char c) : m_text(text), m_char(c) {}

    std::size_t From(std::size_t pos) {
        if (!m_known || (m_at != std::string_view::npos && m_at < pos)) {
            m_at = pos < m_text.size() ? m_text.find(m_char, pos) : std::string_view::npos;
            m_known = true;
        }
        return m_at;
    }

private:
    std::string_view m_text;
    char m_char;
    std::size_t m_at = 0;
    bool m_known = false;
};

// Consumes a quoted run starting at the opening quote; the end of the text closes it too.
void CollectQuotedRun(std::string_view text, std::size_t& pos, bool keepQuotes,
                      std::string& token) {
    const char quote = text[pos++];
    if (keepQuotes)
        token += quote;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == quote) {
            if (pos + 1 < text.size() && text[pos + 1] == quote) {
                token += quote;
                token += quote;
                pos += 2;
                continue;
            }
            ++pos;
            if (keepQuotes)
                token += quote;
            return;
        }
        token += c;
        ++pos;
    }
}

} // namespace

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

std::string NextLine(std::string_view text, std::size_t& pos) {
    return std::string(NextLineView(text, pos));
}

std::string_view NextLineView(std::string_view text, std::size_t& pos) {
    if (pos >= text.size()) {
        pos = text.size();
        return {};
    }
    const std::size_t lf = text.find('\n', pos);
    const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
    std::size_t lineEnd = end;
    if (lineEnd > pos && text[lineEnd - 1] == '\r')
        --lineEnd;
    const std::string_view line = text.substr(pos, lineEnd - pos);
    pos = lf == std::string_view::npos ? text.size() : lf + 1;
    return line;
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
}

std::string GetToken(std::string_view text, std::size_t& pos, bool keepQuotes) {
    SkipBlanks(text, pos);
    std::string token;
    while (pos < text.size()) {
        const char c = text[pos];
        if (IsBlank(c))
            break;
        if (IsSingleDelimiter(c)) {
            if (token.empty()) {
                token += c;
                ++pos;
            }
            break;
        }
        if (IsOperatorChar(c)) {
            if (token.empty()) {
                token += c;
                ++pos;
                if (pos < text.size() && IsOperatorChar(text[pos]))
                    token += text[pos++];
            }
            break;
        }
        if (c == '/' && pos + 1 < text.size() && text[pos + 1] == '*') {
            if (token.empty()) {
                token = "/*";
                pos += 2;
            }
            break;
        }
        if (IsQuote(c)) {
            CollectQuotedRun(text, pos, keepQuotes, token);
            continue;
        }
        token += c;
        ++pos;
    }
    return token;
}

std::string StripQuotes(std::string_view text) {
    if (text.size() >= 2 && IsQuote(text.front()) && text.front() == text.back())
        return std::string(text.substr(1, text.size() - 2));
    return std::string(text);
}

void SkipComment(std::string_view text, std::size_t& pos, bool& unterminated) {
    const std::size_t from = pos < text.size() ? pos : text.size();
    const std::size_t close = text.find("*/", from);
    if (close == std::string_view::npos) {
        pos = text.size();
        unterminated = true;
        return;
    }
    pos = close + 2;
    unterminated = false;
}

std::string CutAtNul(std::string text) {
    text.resize(CutAtNulView(text).size());
    return text;
}

std::string_view CutAtNulView(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

void RemoveComments(std::string_view text, bool& unterminated, std::string& out) {
    unterminated = false;
    // Body lines are long and rarely hold a quote or a slash, so jump between those with
    // memchr instead of looking at every character.
    NextOf apostrophe(text, '\''), doubleQuote(text, '"'), slash(text, '/');
    std::size_t copied = 0; // text[copied, pos) is still to be copied
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at =
            std::min({apostrophe.From(pos), doubleQuote.From(pos), slash.From(pos)});
        if (at == std::string_view::npos)
            break;
        const char c = text[at];
        if (c != '/') {
            const std::size_t close = (c == '"' ? doubleQuote : apostrophe).From(at + 1);
            pos = close == std::string_view::npos ? text.size() : close + 1;
            continue;
        }
        if (at + 1 < text.size() && text[at + 1] == '*') {
            out.append(text.substr(copied, at - copied));
            pos = at + 2;
            SkipComment(text, pos, unterminated);
            copied = pos;
            continue;
        }
        pos = at + 1;
    }
    if (copied < text.size())
        out.append(text.substr(copied));
}

std::string StripComments(std::string_view text, bool& unterminated,
                          const ParameterExpander& parameters) {
    std::string stripped;
    stripped.reserve(text.size());
    RemoveComments(text, unterminated, stripped);
    stripped = CutAtNul(std::move(stripped));
    if (parameters.IsEmpty())
        return stripped;
    return parameters.Expand(stripped);
}

std::string ToUpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
    std::size_t pos = 0;
    SkipBlanks(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    const std::size_t digitsStart = pos;
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = INT64_MAX / 10 - 1;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (magnitude < kLimit)
            magnitude = magnitude * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == digitsStart)
        return std::nullopt;
    SkipBlanks(text, pos);
    if (pos != text.size())
        return std::nullopt;
    return negative ? -magnitude : magnitude;
}

} // namespace slidesmith::script
