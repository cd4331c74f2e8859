#pragma once

#include "script/StatementRecord.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The functions of the statement language and the parameters each accepts.
namespace slidesmith::script {

enum class ParameterKind {
    Connect,
    Slide,
    Table,
    Chart,
    Type,
    FillOrder,
    Cell,
    Range,
    CopyRange,
    Reserve,
    Group,
    GroupRange,
    Image,
    PageBreak,
    NoData,
};

// The function named by an upper-case name (EXECSQL, REPORT, CHART), if any.
std::optional<FunctionKind> FindFunction(std::string_view upperName);

// The upper-case name of a function, as the log shows it.
std::string_view FunctionName(FunctionKind function);

// The parameter named by an upper-case name, whichever function it belongs to.
std::optional<ParameterKind> FindParameter(std::string_view upperName);

// CELL, GROUP, IMAGE and PAGEBREAK take further values after commas; the others take one.
bool IsListParameter(ParameterKind parameter);

// Whether the function accepts the parameter with this upper-case name. Pure: the parser opens
// the new group level of a GROUP itself.
bool IsParameterAllowed(FunctionKind function, std::string_view upperName);

// The 0-based index of the data source a CONNECT value names, or -1. Names are compared
// exactly first, so a data source named "2" wins over the second one; then a whole number n
// with 1 <= n <= count selects entry n.
int FindDataSource(std::string_view text, std::span<const std::string> dataSourceNames);

} // namespace slidesmith::script
