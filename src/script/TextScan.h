#pragma once

#include "script/ParameterExpander.h"

#include <cstddef>
#include <cstdint>
#include <optional>
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

// As NextLine, as a view into text.
std::string_view NextLineView(std::string_view text, std::size_t& pos);

// Moves pos over blank characters.
void SkipBlanks(std::string_view text, std::size_t& pos);

// The next token after blanks, or "" at the end of the text. Delimiters "(", ")", ","
// stand alone; "=", "<", ">" form one- or two-character operators; "/*" is a token of its own;
// quoted runs (doubled quotes stand for the quote) belong to the token, with their quotes only
// when keepQuotes is set.
std::string GetToken(std::string_view text, std::size_t& pos, bool keepQuotes);

// Removes one pair of enclosing double quotes or apostrophes, when the text has them.
std::string StripQuotes(std::string_view text);

// ASCII upper case: keywords of the statement language are ASCII, and other bytes (UTF-8 or
// code-page text) must pass through unchanged.
std::string ToUpperAscii(std::string_view text);

// A whole number: optional blanks, an optional sign, one or more digits, optional blanks.
// Magnitudes beyond the 64-bit range saturate, so callers check their own range. Anything else
// (decimals, exponents, hex) is not a number.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

// Scans from pos for the "*/" that closes a comment. Found: pos moves past it and unterminated
// is false. Not found: pos moves to the end and unterminated is true (the comment goes on in
// the next line).
void SkipComment(std::string_view text, std::size_t& pos, bool& unterminated);

// The text before its first NUL character, without trailing blanks. NULs come from binary
// junk pasted into a script; nothing after one is meaningful to a database driver.
std::string CutAtNul(std::string text);

// As CutAtNul, as a view into text.
std::string_view CutAtNulView(std::string_view text);

// Appends text to out without its comments (outside quoted runs); sets unterminated when the
// text ends inside a comment. The first step of StripComments.
void RemoveComments(std::string_view text, bool& unterminated, std::string& out);

// One body line made ready for the SQL text: comments outside quoted runs are removed without
// leaving a blank (a/* x */b gives ab), then CutAtNul, then the parameters are expanded. A
// quoted run ends at its closing quote or the end of the line. When the line ends inside a
// comment, the rest is dropped and unterminated is set so the caller skips the following lines
// up to the "*/".
std::string StripComments(std::string_view text, bool& unterminated,
                          const ParameterExpander& parameters);

} // namespace slidesmith::script
