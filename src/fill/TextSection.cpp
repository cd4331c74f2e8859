#include "fill/TextSection.h"

#include "fill/FormatSections.h"

#include <algorithm>
#include <cwctype>
#include <locale.h>
#include <vector>

namespace slidesmith::fill {

namespace {

struct Token {
    bool isPlaceholder = false;
    char placeholder = '@';
    std::string_view literal;
};

// Upper- or lower-cases a whole UTF-8 text by code point. Case mapping is locale data; the
// C.UTF-8 locale has the Unicode tables and does not depend on the host's language.
std::string ChangeCase(std::string_view text, bool upper) {
    // Created once and kept for the life of the process, like the C library's own locales.
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8Length(text, pos);
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (length == 1 && lead < 0x80) {
            // ASCII by hand: the C library's mapping would follow the process locale.
            char c = text[pos];
            if (upper && c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            } else if (!upper && c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
            out += c;
        } else if (length == 1 || unicode == locale_t{}) {
            out += text.substr(pos, length);
        } else {
            char32_t code = lead & (length == 2 ? 0x1Fu : length == 3 ? 0x0Fu : 0x07u);
            for (std::size_t i = 1; i < length; ++i) {
                code = (code << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3Fu);
            }
            const auto wide = static_cast<wint_t>(code);
            const auto mapped = static_cast<char32_t>(upper ? towupper_l(wide, unicode)
                                                            : towlower_l(wide, unicode));
            // Only a mapping that keeps the length is taken, so byte offsets stay simple.
            if (mapped != code && ((length == 2 && mapped >= 0x80 && mapped < 0x800) ||
                                   (length == 3 && mapped >= 0x800 && mapped < 0x10000))) {
                if (length == 2) {
                    out += static_cast<char>(0xC0 | (mapped >> 6));
                } else {
                    out += static_cast<char>(0xE0 | (mapped >> 12));
                    out += static_cast<char>(0x80 | ((mapped >> 6) & 0x3F));
                }
                out += static_cast<char>(0x80 | (mapped & 0x3F));
            } else {
                out += text.substr(pos, length);
            }
        }
        pos += length;
    }
    return out;
}

std::vector<std::string_view> SplitCharacters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8Length(text, pos);
        characters.push_back(text.substr(pos, length));
        pos += length;
    }
    return characters;
}

struct TextPattern {
    std::vector<Token> tokens;
    int caseChange = 0; // -1 lower, +1 upper; the last flag written wins
    bool fromLeft = false;
    std::size_t placeholders = 0;
};

TextPattern ParseTextPattern(std::string_view section) {
    TextPattern pattern;
    FormatLexer lexer(section);
    std::string_view literal;
    while (!lexer.AtEnd()) {
        if (lexer.TakeLiteral(literal)) {
            pattern.tokens.push_back({false, '@', literal});
            continue;
        }
        const std::string_view c = lexer.TakeChar();
        if (c == "@" || c == "&") {
            pattern.tokens.push_back({true, c[0], {}});
            ++pattern.placeholders;
        } else if (c == "<" || c == ">") {
            pattern.caseChange = c == "<" ? -1 : 1;
        } else if (c == "!") {
            pattern.fromLeft = true;
        } else {
            pattern.tokens.push_back({false, '@', c});
        }
    }
    if (pattern.placeholders == 0) {
        pattern.tokens.push_back({true, '&', {}});
        pattern.placeholders = 1;
    }
    return pattern;
}

// The characters each placeholder shows, by token index. Placeholders are filled in filling
// order; the last one filled takes whatever is left.
std::vector<std::string> FillPlaceholders(const TextPattern& pattern,
                                          const std::vector<std::string_view>& characters) {
    const std::size_t count = pattern.tokens.size();
    std::vector<std::string> filled(count);
    std::size_t used = 0;
    std::size_t seen = 0;
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = pattern.fromLeft ? step : count - 1 - step;
        if (!pattern.tokens[index].isPlaceholder) {
            continue;
        }
        const std::size_t left = characters.size() - used;
        const std::size_t take =
            ++seen == pattern.placeholders ? left : std::min<std::size_t>(1, left);
        for (std::size_t i = 0; i < take; ++i) {
            filled[index] += characters[pattern.fromLeft ? used + i : left - take + i];
        }
        used += take;
        if (take == 0 && pattern.tokens[index].placeholder == '@') {
            filled[index] += ' ';
        }
    }
    return filled;
}

} // namespace

std::string RenderTextSection(std::string_view section, std::string_view text) {
    const TextPattern pattern = ParseTextPattern(section);
    const std::string cased =
        pattern.caseChange == 0 ? std::string(text) : ChangeCase(text, pattern.caseChange > 0);
    const std::vector<std::string> filled = FillPlaceholders(pattern, SplitCharacters(cased));
    std::string out;
    for (std::size_t i = 0; i < pattern.tokens.size(); ++i) {
        out += pattern.tokens[i].isPlaceholder ? filled[i] : pattern.tokens[i].literal;
    }
    return out;
}

} // namespace slidesmith::fill
