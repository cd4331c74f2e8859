#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The table of report file formats ("sconv.cfg" in the application folder): which save-as code
// a ReportFileType stands for, and the extensions the configuration dialog offers.
namespace slidesmith::definition {

struct ConversionFormat {
    // Field 1: what a definition's ReportFileType names.
    std::string Name;
    // Field 2, when it is a whole number that fits 32 bits (IsNumber set).
    std::int32_t Number = 0;
    bool IsNumber = false;
    // Field 3: shown in the configuration dialog.
    std::string Description;
    // Field 4: extensions without dots, separated by blanks; the first one is given to new
    // report file names.
    std::string Extensions;
};

// A table holds at most this many rows; later lines are not read.
inline constexpr std::size_t kMaxConversionFormats = 257;

enum class CompareMode { Exact, IgnoreCase };

// Reads the table: one row per line of at least four TAB-separated fields whose first field,
// trimmed, does not begin with ";". A missing or unreadable file gives an empty table.
std::vector<ConversionFormat> ReadConversionTable(const std::filesystem::path& path);

// The index of the first row matching key, or -1. A numeric key (blanks around it allowed)
// matches a row's Number; any other key matches a row's Name under mode. An empty key matches
// nothing.
int FindConversionFormat(const std::vector<ConversionFormat>& table, std::string_view key,
                         CompareMode mode);

} // namespace slidesmith::definition
