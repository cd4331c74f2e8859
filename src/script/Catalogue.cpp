#include "script/Catalogue.h"

#include "script/TextScan.h"

#include <array>

namespace slidesmith::script {
namespace {

constexpr unsigned kExecSql = 1U << static_cast<unsigned>(FunctionKind::ExecSql);
constexpr unsigned kReport = 1U << static_cast<unsigned>(FunctionKind::Report);
constexpr unsigned kChart = 1U << static_cast<unsigned>(FunctionKind::Chart);

struct ParameterEntry {
    std::string_view name;
    ParameterKind kind;
    unsigned functions; // bit set of the functions that accept it
    bool isList;
};

constexpr std::array kParameters{
    ParameterEntry{"CONNECT", ParameterKind::Connect, kExecSql | kReport | kChart, false},
    ParameterEntry{"SLIDE", ParameterKind::Slide, kReport | kChart, false},
    ParameterEntry{"TABLE", ParameterKind::Table, kReport, false},
    ParameterEntry{"CHART", ParameterKind::Chart, kChart, false},
    ParameterEntry{"TYPE", ParameterKind::Type, kReport | kChart, false},
    ParameterEntry{"FILLORDER", ParameterKind::FillOrder, kReport | kChart, false},
    ParameterEntry{"CELL", ParameterKind::Cell, kReport | kChart, true},
    ParameterEntry{"RANGE", ParameterKind::Range, kReport | kChart, false},
    ParameterEntry{"COPYRANGE", ParameterKind::CopyRange, kReport | kChart, false},
    ParameterEntry{"RESERVE", ParameterKind::Reserve, kReport | kChart, false},
    ParameterEntry{"GROUP", ParameterKind::Group, kReport, true},
    ParameterEntry{"GROUPRANGE", ParameterKind::GroupRange, kReport, false},
    ParameterEntry{"IMAGE", ParameterKind::Image, kReport, true},
    ParameterEntry{"PAGEBREAK", ParameterKind::PageBreak, kReport, true},
    ParameterEntry{"NODATA", ParameterKind::NoData, kReport, false},
};

const ParameterEntry* FindEntry(std::string_view upperName) {
    for (const ParameterEntry& entry : kParameters) {
        if (entry.name == upperName)
            return &entry;
    }
    return nullptr;
}

} // namespace

std::optional<FunctionKind> FindFunction(std::string_view upperName) {
    for (FunctionKind kind : {FunctionKind::ExecSql, FunctionKind::Report, FunctionKind::Chart}) {
        if (FunctionName(kind) == upperName)
            return kind;
    }
    return std::nullopt;
}

std::string_view FunctionName(FunctionKind function) {
    switch (function) {
    case FunctionKind::ExecSql:
        return "EXECSQL";
    case FunctionKind::Report:
        return "REPORT";
    case FunctionKind::Chart:
        return "CHART";
    }
    return "EXECSQL";
}

std::optional<ParameterKind> FindParameter(std::string_view upperName) {
    const ParameterEntry* entry = FindEntry(upperName);
    if (entry == nullptr)
        return std::nullopt;
    return entry->kind;
}

bool IsListParameter(ParameterKind parameter) {
    for (const ParameterEntry& entry : kParameters) {
        if (entry.kind == parameter)
            return entry.isList;
    }
    return false;
}

bool IsParameterAllowed(FunctionKind function, std::string_view upperName) {
    const ParameterEntry* entry = FindEntry(upperName);
    return entry != nullptr && (entry->functions & (1U << static_cast<unsigned>(function))) != 0;
}

int FindDataSource(std::string_view text, std::span<const std::string> dataSourceNames) {
    for (std::size_t i = 0; i < dataSourceNames.size(); ++i) {
        if (dataSourceNames[i] == text)
            return static_cast<int>(i);
    }
    const std::optional<std::int64_t> number = ParseWholeNumber(text);
    if (number && *number >= 1 && *number <= static_cast<std::int64_t>(dataSourceNames.size()))
        return static_cast<int>(*number - 1);
    return -1;
}

} // namespace slidesmith::script
