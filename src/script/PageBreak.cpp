#include "script/PageBreak.h"

#include "script/TextScan.h"

#include <cstdint>
#include <optional>
#include <string>

namespace slidesmith::script {
namespace {

std::string WithoutS(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != 'S')
            out += c;
    }
    return out;
}

std::optional<std::int16_t> ParseInt16(std::string_view text) {
    const std::optional<std::int64_t> number = ParseWholeNumber(text);
    if (!number || *number < INT16_MIN || *number > INT16_MAX)
        return std::nullopt;
    return static_cast<std::int16_t>(*number);
}

// A "G" item; true when accepted.
bool AcceptGroupItem(const std::string& item, const StatementRecord& record, PageBreakSpec& pb) {
    std::string rest = item.substr(item.find('G') + 1);
    if (rest.find('S') != std::string::npos) {
        pb.GroupS = true;
        rest = WithoutS(rest);
    }
    if (rest.empty()) {
        pb.GroupLevel = -1;
    } else if (const std::optional<std::int16_t> level = ParseInt16(rest)) {
        pb.GroupLevel = *level;
    }
    pb.Group = 1;
    if (pb.GroupLevel == 0 || pb.GroupLevel > static_cast<int>(record.Groups.size())) {
        pb.Group = 0;
        pb.GroupLevel = 0;
        return false;
    }
    return true;
}

// A row-count item; true when accepted.
bool AcceptRowItem(const std::string& item, PageBreakSpec& pb) {
    std::string number;
    if (const std::size_t r = item.find('R'); r != std::string::npos) {
        pb.RowsS = item.find('S') != std::string::npos;
        number = item.substr(0, r);
    } else if (item.find('S') != std::string::npos) {
        pb.RowsS = true;
        number = WithoutS(item);
    } else {
        pb.RowsS = false;
        number = item;
    }
    if (const std::optional<std::int16_t> rows = ParseInt16(number))
        pb.Rows = *rows;
    if (pb.Rows < 1) {
        pb.Rows = 0;
        return false;
    }
    return true;
}

} // namespace

bool ParsePageBreak(std::string_view pageBreakText, StatementRecord& record) {
    PageBreakSpec pb;
    bool anyAccepted = pageBreakText.empty();
    bool groupAccepted = false;
    std::size_t pos = 0;
    for (std::string token = GetToken(pageBreakText, pos, true); !token.empty();
         token = GetToken(pageBreakText, pos, true)) {
        const std::string item = ToUpperAscii(StripQuotes(token));
        if (item == ",")
            continue;
        if (item.find('G') != std::string::npos && !groupAccepted) {
            // Without a GROUP parameter there is no level to break at.
            if (record.Groups.empty())
                continue;
            groupAccepted = AcceptGroupItem(item, record, pb);
            anyAccepted = anyAccepted || groupAccepted;
            continue;
        }
        if (pb.Rows > 0)
            continue;
        anyAccepted = AcceptRowItem(item, pb) || anyAccepted;
    }
    record.PageBreak = pb;
    return anyAccepted;
}

} // namespace slidesmith::script
