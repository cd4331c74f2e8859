#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace slidesmith::script {

enum class FunctionKind { ExecSql, Report, Chart };
enum class TableType { Var, Fix, Form };
enum class FillOrder { Unset, Row, Col };
enum class NoDataAction { None, DelRange, DelTable, DelSlide };

// Most entries one statement may list in CELL, IMAGE or one GROUP level, and most GROUP levels.
inline constexpr std::size_t kMaxListEntries = 1024;
inline constexpr std::size_t kMaxGroupLevels = 10;

// One GROUP parameter: its field names and the GROUPRANGE that followed it (empty when none).
struct GroupLevel {
    std::vector<std::string> Fields;
    std::string Range;
};

// PAGEBREAK decoded by ParsePageBreak: break every Rows rows (0: never), and/or at changes of
// a group level (Group 1; GroupLevel -1 when the item named no level).
struct PageBreakSpec {
    std::int16_t Rows = 0;
    bool RowsS = false;
    std::int16_t Group = 0;
    std::int16_t GroupLevel = 0;
    bool GroupS = false;
};

// The statement being run. The parser resets it at every "@" line and fills it from the
// header; the executor reads it and writes TargetOrdinal and PageBreak. Default member values
// are the reset values. Fields carry the names the executor and the fills know them by.
struct StatementRecord {
    std::string Label;
    FunctionKind Function = FunctionKind::ExecSql;
    std::string Slide;
    std::string Target; // TABLE or CHART
    std::int16_t TargetOrdinal = 0;
    script::TableType TableType = script::TableType::Var;
    script::FillOrder FillOrder = script::FillOrder::Unset;
    std::vector<std::string> Cells;
    std::string RangeText; // RANGE or COPYRANGE, the later one wins
    bool IsCopyRange = false;
    std::int16_t Reserve = 1;
    std::vector<GroupLevel> Groups;
    std::vector<std::string> Images;
    std::string PageBreakText; // every PAGEBREAK value, joined with ","
    PageBreakSpec PageBreak;
    NoDataAction NoData = NoDataAction::None;
    std::int16_t ConnectIndex = 0; // 0-based index into the data sources
    std::string SqlText;
    // "[<label>]    " and the header as parsed, quotes as written; heads every log line of
    // the statement.
    std::string LogPrefix;
};

} // namespace slidesmith::script
