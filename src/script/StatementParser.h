#pragma once

#include "script/Catalogue.h"
#include "script/DefinitionScriptSource.h"
#include "script/ParameterExpander.h"
#include "script/ScriptLineSource.h"
#include "script/StatementHost.h"
#include "script/StatementRecord.h"

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::script {

// What a script may refer to, taken from the definition as plain lists.
struct ScriptContext {
    std::vector<std::string> DataSourceNames; // entries 1..count, in order
    std::vector<ScriptParameter> Parameters;  // expanded in statement bodies, in list order
};

// A statement the parser cannot hold (more than 1024 cells, images or fields of one group
// level); it ends the parse.
class ScriptFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Cuts a script into statements, line by line, and hands each complete statement with a
// non-empty body to the host as soon as the next statement begins (or the script ends), so
// statement 1 runs before statement 2 is read.
//
// Syntax and connection errors are logged through the host with the header parsed so far;
// the statement is dropped and parsing resumes at the next line that begins with "@".
class StatementParser {
public:
    StatementParser(const ScriptContext& context, StatementHost& host);

    // Processes one script line (without its line end). Throws ScriptFault when the statement
    // exceeds a limit; whatever the host throws passes through.
    void FeedLine(std::string_view line);

    // The script has ended: runs the statement collected last, if it has a body.
    void Finish();

    // The statement being collected (or the last one, after Finish).
    const StatementRecord& Record() const { return m_record; }

private:
    enum class State {
        Skipping,
        Label,
        AfterLabel,
        Function,
        Open,
        FirstParameter,
        Equals,
        Value,
        AfterValue,
        MoreValues,
        Body,
    };

    void ContinueLine(std::string_view line, std::size_t pos);
    void AppendBody(std::string_view rest);
    // Handles one header token; true when it closed the parameter list.
    bool HandleToken(const std::string& written);
    void BeginStatement(std::string_view label);
    void BeginParameter(const std::string& token, bool separated);
    void TakeValue(std::string value, const std::string& written);
    bool ApplyValue();
    bool ApplyConnect();
    bool ApplyReserve();
    void AppendLimited(std::vector<std::string>& list, std::string_view parameterName);
    void RunCollectedStatement();
    void Fail(const std::string& message);

    const ScriptContext& m_context;
    StatementHost& m_host;
    ParameterExpander m_expander;
    StatementRecord m_record;
    State m_state = State::Skipping;
    bool m_commentOpen = false;
    ParameterKind m_parameter = ParameterKind::Connect;
    std::string m_parameterName; // upper case, as the messages show it
    std::string m_value;         // the pending value, quotes stripped
    std::string m_scratch;       // a body line without its comments
};

// Parses a whole script from a line source, letting pending events run before each line and
// stopping at once, without running the statement at hand, when the host is interrupted. A
// ScriptFault or any other fault ends the parse with the log entry "Parse error in [<label>]."
// and the fault's description; statements already run stay done. Never throws.
void ParseScript(ScriptLineSource& source, const ScriptContext& context, StatementHost& host);

// The interactive form: the script is the editor's text.
void ParseScript(std::string_view scriptText, const ScriptContext& context, StatementHost& host);

// The batch form: the script is read from the definition file after its "[SQL]" line; the
// file is closed when the parse ends.
void ParseScriptFile(const std::filesystem::path& definitionPath, const LineDecoder& decoder,
                     const ScriptContext& context, StatementHost& host);

} // namespace slidesmith::script
