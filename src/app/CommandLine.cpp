#include "app/CommandLine.h"

#include "script/TextScan.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace slidesmith::app {
namespace {

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    return upper;
}

bool NeedsQuotes(std::string_view argument) {
    if (argument.empty())
        return true;
    for (char c : argument) {
        if (script::IsBlank(c) || c == '"')
            return true;
    }
    return false;
}

std::string EscapeQuotes(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

// -U and -P: the slot named after the two option letters, or false when that text is neither
// empty nor a number (the argument then ends the options). slot may be out of range.
bool ReadCredentialSlot(std::string_view suffix, double& slot) {
    if (suffix.empty()) {
        slot = 0;
        return true;
    }
    double number = 0;
    if (!IsNumericText(suffix, number))
        return false;
    // Options count data sources from 1, slots from 0.
    slot = std::nearbyint(number) - 1;
    return true;
}

void SetCredential(engine::RunOptions& options, double slot, bool isUser, std::string value) {
    if (!(slot >= 0 && slot < static_cast<double>(engine::kCredentialSlotCount)))
        return;
    auto index = static_cast<std::size_t>(slot);
    options.CredentialGiven[index] = true;
    (isUser ? options.CredentialUser : options.CredentialPassword)[index] = std::move(value);
}

// Reads the options from position; leaves position on the first argument that is no option.
void ReadOptions(std::string_view text, std::size_t& position, engine::RunOptions& options) {
    while (position < text.size()) {
        std::size_t before = position;
        std::string argument = NextArgument(text, position, true);
        std::string upper = UpperAscii(argument);
        if (upper == "-C") {
            options.Interactive = false;
        } else if (upper == "-D") {
            options.DisplayReport = true;
        } else if (upper == "-I") {
            std::size_t beforeValue = position;
            double interval = 0;
            if (IsNumericText(NextArgument(text, position, true), interval)) {
                options.ProgressInterval = interval;
            } else {
                // A bare -I asks for progress lines at every tenth of the records.
                options.ProgressInterval = 0.1;
                position = beforeValue;
            }
        } else if (upper.starts_with("-U") || upper.starts_with("-P")) {
            double slot = 0;
            if (!ReadCredentialSlot(std::string_view(argument).substr(2), slot)) {
                position = before;
                return;
            }
            SetCredential(options, slot, upper[1] == 'U', NextArgument(text, position, false));
        } else {
            position = before;
            return;
        }
    }
}

} // namespace

std::string NextArgument(std::string_view text, std::size_t& position, bool keepQuotes) {
    script::SkipBlanks(text, position);
    std::string argument;
    bool inQuotes = false;
    while (position < text.size()) {
        char c = text[position];
        if (script::IsBlank(c) && !inQuotes)
            break;
        if (c == '\\' && position + 1 < text.size() && text[position + 1] == '"') {
            argument += '"';
            position += 2;
            continue;
        }
        if (c == '"') {
            bool atEnd = position + 1 >= text.size() || script::IsBlank(text[position + 1]);
            if (!inQuotes && keepQuotes && argument.empty())
                argument += c;
            else if (inQuotes && keepQuotes && atEnd)
                argument += c;
            inQuotes = !inQuotes;
        } else {
            argument += c;
        }
        ++position;
    }
    return argument;
}

std::string BuildCommandLineText(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty())
            text += ' ';
        if (!NeedsQuotes(argument)) {
            text += argument;
            continue;
        }
        std::size_t bodyEnd = argument.find_last_not_of('\\') + 1; // npos + 1 == 0
        std::string_view body = std::string_view(argument).substr(0, bodyEnd);
        text += '"' + EscapeQuotes(body) + '"';
        text.append(argument, bodyEnd);
    }
    return text;
}

bool IsNumericText(std::string_view text, double& value) {
    std::size_t start = 0;
    script::SkipBlanks(text, start);
    std::size_t end = text.size();
    while (end > start && script::IsBlank(text[end - 1]))
        --end;
    std::string_view number = text.substr(start, end - start);
    bool negative = false;
    if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    // from_chars takes no sign, no "inf"/"nan" worth accepting, and no hexadecimal here.
    if (number.empty() ||
        !(std::isdigit(static_cast<unsigned char>(number.front())) || number.front() == '.'))
        return false;
    double parsed = 0;
    auto [rest, error] = std::from_chars(number.data(), number.data() + number.size(), parsed,
                                         std::chars_format::general);
    if (error != std::errc() || rest != number.data() + number.size())
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

void ReadCommandLine(std::string_view text, const std::filesystem::path& currentFolder,
                     engine::RunOptions& options) {
    std::size_t position = 0;
    std::string first = NextArgument(text, position, false);
    // The first argument is always the definition, whatever it looks like.
    if (!first.empty())
        options.DefinitionPath = (currentFolder / first).lexically_normal().string();
    ReadOptions(text, position, options);
    if (options.Interactive)
        return; // an interactive start ignores the rest of the line
    while (position < text.size() &&
           options.CommandLineValues.size() < engine::kMaxCommandLineValues)
        options.CommandLineValues.push_back(NextArgument(text, position, false));
}

} // namespace slidesmith::app
