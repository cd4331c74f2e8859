#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Lexical helpers shared by the number, date and text sections of a format text.
namespace slidesmith::fill {

// The byte length of the UTF-8 character that starts at text[pos] (1 for a stray byte), so
// that an escaped or literal character is never cut in half.
std::size_t Utf8Length(std::string_view text, std::size_t pos);

// The number of characters (code points) in a UTF-8 text; stray bytes count as one each.
std::size_t Utf8CharCount(std::string_view text);

// Walks a format text one lexical unit at a time: a quoted run, a "\"-escaped character, or
// one plain character. Quoted and escaped units are literal text.
class FormatLexer {
public:
    explicit FormatLexer(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_pos >= m_text.size(); }
    std::size_t Position() const { return m_pos; }

    // Returns true with the literal text in literal when the next unit is quoted or escaped,
    // and moves past it; otherwise returns false and stays.
    bool TakeLiteral(std::string_view& literal);

    char Peek(std::size_t ahead = 0) const {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0';
    }

    // The plain character (whole UTF-8 sequence) at the current position; moves past it.
    std::string_view TakeChar();

    // Case-insensitive test for an ASCII word at the current position.
    bool LookingAt(std::string_view word) const;

    void Skip(std::size_t count) { m_pos += count; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Splits at ";" outside quotes and escapes. At most four sections are kept (positive,
// negative, zero, null); anything after a fourth separator is ignored.
std::vector<std::string_view> SplitSections(std::string_view formatText);

// A section with "@", "&", "<", ">" or "!" formats text.
bool IsTextSection(std::string_view section);

// A section with date or time tokens (d, m, y, h, n, s, w, q, c, ttttt, AM/PM, A/P, AMPM)
// formats a date, even when the value is a number.
bool IsDateSection(std::string_view section);

} // namespace slidesmith::fill
