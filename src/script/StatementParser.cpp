#include "script/StatementParser.h"

#include "script/TextScan.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <utility>

namespace slidesmith::script {
namespace {

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    out += text;
    out += '"';
    return out;
}

std::string UnknownValue(std::string_view value, std::string_view name) {
    return "Syntax error. Unknown value " + Quoted(value) + " for the parameter " + Quoted(name) +
           ".";
}

std::optional<TableType> FindTableType(std::string_view upper) {
    if (upper == "VAR")
        return TableType::Var;
    if (upper == "FIX")
        return TableType::Fix;
    if (upper == "FORM")
        return TableType::Form;
    return std::nullopt;
}

std::optional<FillOrder> FindFillOrder(std::string_view upper) {
    if (upper == "ROW")
        return FillOrder::Row;
    if (upper == "COL")
        return FillOrder::Col;
    return std::nullopt;
}

NoDataAction FindNoDataAction(std::string_view upper) {
    if (upper == "DELRANGE")
        return NoDataAction::DelRange;
    if (upper == "DELTABLE")
        return NoDataAction::DelTable;
    if (upper == "DELSLIDE")
        return NoDataAction::DelSlide;
    return NoDataAction::None;
}

} // namespace

StatementParser::StatementParser(const ScriptContext& context, StatementHost& host)
    : m_context(context), m_host(host), m_expander(context.Parameters) {}

void StatementParser::FeedLine(std::string_view line) {
    std::size_t pos = 0;
    if (m_commentOpen) {
        bool unterminated = false;
        SkipComment(line, pos, unterminated);
        if (unterminated)
            return;
        // Scanning resumes right after the "*/"; a statement cannot begin there.
        m_commentOpen = false;
        ContinueLine(line, pos);
        return;
    }
    SkipBlanks(line, pos);
    if (pos < line.size() && line[pos] == '@') {
        RunCollectedStatement();
        m_state = State::Label;
    }
    ContinueLine(line, pos);
}

void StatementParser::Finish() {
    RunCollectedStatement();
}

void StatementParser::ContinueLine(std::string_view line, std::size_t pos) {
    if (m_state == State::Body) {
        AppendBody(line.substr(pos));
        return;
    }
    for (;;) {
        const std::string written = GetToken(line, pos, true);
        if (written.empty())
            return;
        if (written == "/*") {
            bool unterminated = false;
            SkipComment(line, pos, unterminated);
            if (unterminated) {
                m_commentOpen = true;
                return;
            }
            continue;
        }
        if (HandleToken(written)) {
            AppendBody(line.substr(pos));
            return;
        }
    }
}

// The piece of a body line becomes part of the SQL text as StripComments would make it, but is
// built in place: bodies are most of a script, and this keeps them to one copy.
void StatementParser::AppendBody(std::string_view rest) {
    m_scratch.clear();
    bool unterminated = false;
    RemoveComments(rest, unterminated, m_scratch);
    m_commentOpen = unterminated;
    std::string& sql = m_record.SqlText;
    if (!sql.empty())
        sql += ' ';
    const std::size_t start = sql.size();
    m_expander.ExpandInto(CutAtNulView(m_scratch), sql);
    // A value may itself end in blanks or hold a NUL; and every piece starts at its first
    // non-blank character, also right after ")", a "*/" or a leading comment, so that
    // "@1=EXECSQL() x" logs the same SQL text as a body on its own line.
    const std::size_t kept = CutAtNulView(std::string_view(sql).substr(start)).size();
    sql.resize(start + kept);
    std::size_t first = start;
    SkipBlanks(sql, first);
    sql.erase(start, first - start);
}

bool StatementParser::HandleToken(const std::string& written) {
    const std::string token = StripQuotes(written);
    std::string& prefix = m_record.LogPrefix;
    switch (m_state) {
    case State::Skipping:
    case State::Body:
        return false;
    case State::Label:
        if (!token.empty() && token.front() == '@')
            BeginStatement(std::string_view(token).substr(1));
        return false;
    case State::AfterLabel:
        if (token == "=")
            m_state = State::Function;
        else
            Fail("Syntax error. Expected \"=\" after " + Quoted("@" + m_record.Label) + ".");
        return false;
    case State::Function:
        if (const std::optional<FunctionKind> function = FindFunction(ToUpperAscii(token))) {
            m_record.Function = *function;
            prefix += FunctionName(*function);
            m_state = State::Open;
        } else {
            Fail("Syntax error. Unknown function name " + Quoted(token) + ".");
        }
        return false;
    case State::Open:
        if (token == "(") {
            prefix += '(';
            m_state = State::FirstParameter;
        } else {
            Fail("Syntax error. Expected \"(\" after a function name.");
        }
        return false;
    case State::FirstParameter:
        if (token == ")") {
            prefix += ')';
            m_state = State::Body;
            return true;
        }
        BeginParameter(token, false);
        return false;
    case State::Equals:
        if (token == "=") {
            prefix += '=';
            m_state = State::Value;
        } else {
            Fail("Syntax error. Expected \"=\" after the parameter name " +
                 Quoted(m_parameterName) + ".");
        }
        return false;
    case State::Value:
        TakeValue(token, written);
        return false;
    case State::AfterValue:
        if (!ApplyValue())
            return false;
        if (token == ",") {
            if (IsListParameter(m_parameter)) {
                prefix += ',';
                m_state = State::MoreValues;
            } else {
                Fail("Syntax error. Unexpected character \",\" for the parameter " +
                     Quoted(m_parameterName) + ".");
            }
            return false;
        }
        if (token == ")") {
            prefix += ')';
            m_state = State::Body;
            return true;
        }
        BeginParameter(token, true);
        return false;
    case State::MoreValues:
        if (token == ",")
            prefix += ',';
        else
            TakeValue(token, written);
        return false;
    }
    return false;
}

void StatementParser::BeginStatement(std::string_view label) {
    std::string sql = std::move(m_record.SqlText); // empty; keeps its capacity
    m_record = StatementRecord{};
    m_record.SqlText = std::move(sql);
    m_record.Label = label;
    m_record.LogPrefix = "[" + m_record.Label + "]    ";
    m_state = State::AfterLabel;
}

void StatementParser::BeginParameter(const std::string& token, bool separated) {
    m_parameterName = ToUpperAscii(token);
    if (separated)
        m_record.LogPrefix += ' ';
    m_record.LogPrefix += m_parameterName;
    if (!IsParameterAllowed(m_record.Function, m_parameterName)) {
        Fail("Syntax error. Unknown parameter name " + Quoted(token) + ".");
        return;
    }
    m_parameter = *FindParameter(m_parameterName);
    if (m_parameter == ParameterKind::Group) {
        if (m_record.Groups.size() >= kMaxGroupLevels) {
            Fail("Too much parameter name \"GROUP\". The number of parameter \"GROUP\" can not "
                 "be more than 10.");
            return;
        }
        m_record.Groups.emplace_back();
    }
    m_state = State::Equals;
}

void StatementParser::TakeValue(std::string value, const std::string& written) {
    m_value = std::move(value);
    m_record.LogPrefix += written;
    m_state = State::AfterValue;
}

// Applies the pending value to the record; false (after logging) when it is rejected.
bool StatementParser::ApplyValue() {
    StatementRecord& r = m_record;
    switch (m_parameter) {
    case ParameterKind::Connect:
        return ApplyConnect();
    case ParameterKind::Slide:
        r.Slide = m_value;
        break;
    case ParameterKind::Table:
    case ParameterKind::Chart:
        r.Target = m_value;
        break;
    case ParameterKind::Type:
        if (const std::optional<TableType> type = FindTableType(ToUpperAscii(m_value))) {
            r.TableType = *type;
            break;
        }
        Fail(UnknownValue(m_value, m_parameterName));
        return false;
    case ParameterKind::FillOrder:
        if (const std::optional<FillOrder> order = FindFillOrder(ToUpperAscii(m_value))) {
            r.FillOrder = *order;
            break;
        }
        Fail(UnknownValue(m_value, m_parameterName));
        return false;
    case ParameterKind::Cell:
        AppendLimited(r.Cells, "CELL");
        break;
    case ParameterKind::Range:
    case ParameterKind::CopyRange:
        r.RangeText = m_value;
        r.IsCopyRange = m_parameter == ParameterKind::CopyRange;
        break;
    case ParameterKind::Reserve:
        return ApplyReserve();
    case ParameterKind::Group:
        AppendLimited(r.Groups.back().Fields, "GROUP");
        r.Groups.back().Range.clear();
        // A grouped table grows with its data, so GROUP turns a fixed table into a growing
        // one; a later TYPE can still override, and FORM is never changed.
        if (r.TableType != TableType::Form)
            r.TableType = TableType::Var;
        break;
    case ParameterKind::GroupRange:
        if (r.Groups.empty()) {
            Fail("Syntax error. Parameter \"GROUPRANGE\" must follow parameter \"GROUP\".");
            return false;
        }
        r.Groups.back().Range = m_value;
        break;
    case ParameterKind::Image:
        AppendLimited(r.Images, "IMAGE");
        break;
    case ParameterKind::PageBreak:
        if (!r.PageBreakText.empty())
            r.PageBreakText += ',';
        r.PageBreakText += m_value;
        break;
    case ParameterKind::NoData:
        r.NoData = FindNoDataAction(ToUpperAscii(m_value));
        break;
    }
    return true;
}

bool StatementParser::ApplyConnect() {
    const int index = FindDataSource(m_value, m_context.DataSourceNames);
    const std::string where = "Connection error in [" + m_record.Label + "]. ";
    if (index < 0) {
        Fail(where + "Can not find data source " + Quoted(m_value) + ".");
        return false;
    }
    if (!m_host.IsDataSourceConnected(static_cast<std::size_t>(index))) {
        Fail(where + "Can not connect to the data source " + Quoted(m_value) + ".");
        return false;
    }
    m_record.ConnectIndex = static_cast<std::int16_t>(index);
    return true;
}

bool StatementParser::ApplyReserve() {
    const std::optional<std::int64_t> reserve = ParseWholeNumber(m_value);
    if (!reserve) {
        Fail(UnknownValue(m_value, m_parameterName));
        return false;
    }
    // Beyond the 16-bit range counts as invalid rather than wrapping into some other count.
    if (*reserve <= 0 || *reserve > INT16_MAX) {
        Fail("Syntax error. Invalid value " + Quoted(m_value) + " for the parameter " +
             Quoted(m_parameterName) + ".");
        return false;
    }
    m_record.Reserve = static_cast<std::int16_t>(*reserve);
    return true;
}

void StatementParser::AppendLimited(std::vector<std::string>& list,
                                    std::string_view parameterName) {
    if (list.size() >= kMaxListEntries) {
        throw ScriptFault("The parameter " + Quoted(parameterName) + " has more than " +
                          std::to_string(kMaxListEntries) + " values.");
    }
    list.push_back(m_value);
}

void StatementParser::RunCollectedStatement() {
    if (m_record.SqlText.empty())
        return;
    m_host.ExecuteStatement(m_record);
    m_record.SqlText.clear();
}

void StatementParser::Fail(const std::string& message) {
    m_host.LogStatementError(m_record.LogPrefix, message, "");
    m_state = State::Skipping;
}

void ParseScript(ScriptLineSource& source, const ScriptContext& context, StatementHost& host) {
    StatementParser parser(context, host);
    try {
        std::string_view line;
        for (;;) {
            host.ProcessPendingEvents();
            if (host.IsInterrupted())
                return;
            if (!source.ReadLine(line))
                break;
            parser.FeedLine(line);
        }
        parser.Finish();
    } catch (const std::exception& fault) {
        host.LogError("Parse error in [" + parser.Record().Label + "].", fault.what());
    } catch (...) {
        // A run must end with a log entry, whatever the host let escape.
        host.LogError("Parse error in [" + parser.Record().Label + "].", "Unknown fault.");
    }
}

void ParseScript(std::string_view scriptText, const ScriptContext& context, StatementHost& host) {
    TextScriptSource source(scriptText);
    ParseScript(source, context, host);
}

void ParseScriptFile(const std::filesystem::path& definitionPath, const LineDecoder& decoder,
                     const ScriptContext& context, StatementHost& host) {
    DefinitionScriptSource source(definitionPath, decoder);
    ParseScript(source, context, host);
}

} // namespace slidesmith::script
