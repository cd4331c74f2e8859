#include "script/TextScan.h"

namespace slidesmith::script {
namespace {

bool IsOperatorChar(char c) {
    return c == '=' || c == '<' || c == '>';
}

bool IsSingleDelimiter(char c) {
    return c == '(' || c == ')' || c == ',';
}

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
    if (pos >= text.size()) {
        pos = text.size();
        return {};
    }
    const std::size_t lf = text.find('\n', pos);
    const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
    std::size_t lineEnd = end;
    if (lineEnd > pos && text[lineEnd - 1] == '\r')
        --lineEnd;
    std::string line(text.substr(pos, lineEnd - pos));
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

} // namespace slidesmith::script
