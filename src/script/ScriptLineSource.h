#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace slidesmith::script {

// A fault while reading the script (the definition file cannot be opened or read).
class ScriptSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Delivers the script one line at a time, so a run can start executing before a large script
// has been read.
class ScriptLineSource {
public:
    virtual ~ScriptLineSource() = default;

    // Points line at the next line, without its line end, valid until the next call; false
    // when the script has ended. Throws ScriptSourceError on a read fault.
    virtual bool ReadLine(std::string_view& line) = 0;
};

// The script held as one text (the editor's text in an interactive run), cut as NextLine cuts
// it. The text must outlive the source; lines are views into it.
class TextScriptSource final : public ScriptLineSource {
public:
    explicit TextScriptSource(std::string_view text) : m_text(text) {}
    bool ReadLine(std::string_view& line) override;

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace slidesmith::script
