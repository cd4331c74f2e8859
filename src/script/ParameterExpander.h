#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::script {

// One run-time parameter as the script sees it: every occurrence of Name is replaced by Value
// (the definition's default, or what the user typed at the prompt).
struct ScriptParameter {
    std::string Name;
    std::string Value;
};

// Replaces parameter names in texts (statement bodies, file names, image settings).
//
// At each position the parameters are tried in list order and the first whose name starts
// there wins, so with "&Y" before "&YM" the text "&YM" becomes the value of &Y followed by
// "M": list order, not longest match, because definitions rely on it. Names compare exactly,
// are found anywhere (inside words and quoted literals too), and an empty name never matches.
// One pass: a value that contains a name is not expanded again.
//
// Build it once per run: it indexes the first bytes of the names so that scanning a long body
// costs one table lookup per character.
class ParameterExpander {
public:
    ParameterExpander() = default;
    explicit ParameterExpander(std::span<const ScriptParameter> parameters);

    bool IsEmpty() const { return m_parameters.empty(); }

    // The text with every name replaced, then cut by CutAtNul.
    std::string Expand(std::string_view text) const;

    // As Expand, appending the result to out (no cut at NUL, no trimming).
    void ExpandInto(std::string_view text, std::string& out) const;

private:
    std::vector<ScriptParameter> m_parameters; // non-empty names only, in list order
    std::array<bool, 256> m_startsName{};
    int m_firstByteCount = 0; // distinct first bytes; with one, memchr finds the candidates
    char m_firstByte = 0;
};

// Convenience for a single text: ParameterExpander(parameters).Expand(text).
std::string ExpandParameters(std::string_view text, std::span<const ScriptParameter> parameters);

} // namespace slidesmith::script
