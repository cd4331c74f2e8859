#pragma once

#include "engine/RunOptions.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The command line: the definition path first, then the options -C, -D, -I <n>, -U[<n>] <user>
// and -P[<n>] <password>, then up to ten parameter values (batch mode only).
//
// The options are read from one raw command-line text, as the desktop platform hands it over,
// so that quoting behaves the same everywhere. On Linux the shell has already split the
// arguments; BuildCommandLineText joins them back into such a text.
namespace slidesmith::app {

// The next argument of text from position (0-based, advanced past what was consumed; it stays
// on the blank that ended the argument). Leading blanks are skipped. Double quotes group blanks
// into the argument; with keepQuotes an opening quote is kept only at the start of the argument
// and a closing quote only at the end of the text or before a blank. \" is a literal quote
// anywhere; any other backslash is an ordinary character. "" at the end of the text.
std::string NextArgument(std::string_view text, std::size_t& position, bool keepQuotes);

// Joins the arguments (without the program name) with single blanks so that NextArgument
// without keepQuotes returns each one unchanged: an argument that is empty or holds a blank or
// a double quote is written in quotes with inner quotes as \", and the quotes close before any
// trailing backslashes, which would otherwise escape the closing quote.
std::string BuildCommandLineText(const std::vector<std::string>& arguments);

// True when the whole text, blanks around it aside, is a decimal number: sign, digits with an
// optional fraction, optional exponent. value receives the number.
bool IsNumericText(std::string_view text, double& value);

// Reads the text into options: DefinitionPath (made absolute against currentFolder; empty when
// the first argument is), the options, and in batch mode the parameter values. Unusable option
// values never fail: a non-numeric -I value gives 0.1 and becomes the next argument, a
// credential slot outside 1 to 11 consumes its value and sets nothing, a -U or -P followed by
// anything but a number ends the options, values beyond the tenth are ignored.
void ReadCommandLine(std::string_view text, const std::filesystem::path& currentFolder,
                     engine::RunOptions& options);

} // namespace slidesmith::app
