// Feeds arbitrary bytes to the tokenizer, the comment and parameter helpers and the statement
// parser, and checks the invariants the executor and the fills rely on.
#include "script/PageBreak.h"
#include "script/StatementParser.h"
#include "script/TextScan.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace slidesmith::script;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

class CheckingHost final : public StatementHost {
public:
    bool ExecuteStatement(StatementRecord& record) override {
        Check(!record.SqlText.empty());
        Check(record.LogPrefix.starts_with("[" + record.Label + "]    "));
        Check(record.Cells.size() <= kMaxListEntries && record.Images.size() <= kMaxListEntries);
        Check(record.Groups.size() <= kMaxGroupLevels);
        for (const GroupLevel& level : record.Groups)
            Check(level.Fields.size() <= kMaxListEntries);
        Check(record.Reserve >= 1);
        Check(record.ConnectIndex >= 0 && record.ConnectIndex < 3);
        if (ParsePageBreak(record.PageBreakText, record) && !record.PageBreakText.empty()) {
            const PageBreakSpec& pb = record.PageBreak;
            Check(pb.Rows > 0 || pb.Group == 1);
        }
        return true;
    }
    bool IsDataSourceConnected(std::size_t index) const override { return index != 1; }
    void LogStatementError(std::string_view, std::string_view message, std::string_view) override {
        Check(!message.empty());
    }
    void LogError(std::string_view, std::string_view) override {}
    void ProcessPendingEvents() override {}
    bool IsInterrupted() const override { return false; }
};

void TokenizeAll(std::string_view text, bool keepQuotes) {
    std::size_t pos = 0;
    for (;;) {
        const std::size_t before = pos;
        const std::string token = GetToken(text, pos, keepQuotes);
        Check(pos <= text.size());
        if (token.empty()) {
            // Only an empty quoted run without its quotes, or the end, gives an empty token.
            Check(pos == text.size() || !keepQuotes);
            if (pos == text.size() || pos == before)
                return;
            continue;
        }
        Check(pos > before);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TokenizeAll(text, true);
    TokenizeAll(text, false);

    const ScriptContext context{{"Sales", "2", "Stock"},
                                {{"&Y", "2009"}, {"&YM", "200903"}, {"", "never"}, {"x", "&Y"}}};
    bool unterminated = false;
    const std::string stripped =
        StripComments(text, unterminated, ParameterExpander(context.Parameters));
    Check(stripped.find('\0') == std::string::npos);
    Check(stripped.empty() || !IsBlank(stripped.back()));

    CheckingHost host;
    ParseScript(text, context, host);
    return 0;
}
