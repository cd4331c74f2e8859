#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Character-level helpers shared by the statement parser, the definition reader, the command
// line and the editor. Positions are 0-based byte indexes into the text and are advanced in
// place; a position at or past text.size() means "at the end".
namespace slidesmith::script {

// Space, TAB, CR and LF; nothing else counts as blank.
bool IsBlank(char c);

// Double quote or apostrophe.
bool IsQuote(char c);

// The characters from pos up to (not including) the next LF, without a CR right before that LF
// or at the very end of the text. pos moves past the LF, or to the end.
std::string NextLine(std::string_view text, std::size_t& pos);

// Moves pos over blank characters.
void SkipBlanks(std::string_view text, std::size_t& pos);

// The next token after blanks, or "" at the end of the text. Delimiters "(", ")", ","
// stand alone; "=", "<", ">" form one- or two-character operators; "/*" is a token of its own;
// quoted runs (doubled quotes stand for the quote) belong to the token, with their quotes only
// when keepQuotes is set.
std::string GetToken(std::string_view text, std::size_t& pos, bool keepQuotes);

// Removes one pair of enclosing double quotes or apostrophes, when the text has them.
std::string StripQuotes(std::string_view text);

} // namespace slidesmith::script
