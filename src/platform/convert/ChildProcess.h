#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::convert {

struct ProcessResult {
    bool timedOut = false;
    // The exit status when the program ended by itself, -1 when a signal ended it.
    int exitStatus = -1;
    // What the program wrote to stdout and stderr, interleaved, cut to the first 64 KiB.
    std::string output;
};

// The first executable file named `name` in the folders of $PATH, as the shell would find it.
// An empty or unset PATH finds nothing.
std::optional<std::filesystem::path> FindProgram(std::string_view name);

// Runs `program` with `arguments` (no shell: each argument reaches the program as it is, blanks
// and quotes included), stdin from /dev/null, in a process group of its own. When `timeLimit`
// passes, the whole group is killed so no helper process outlives the call; helpers still
// running when the program itself ends are killed too. Throws ConvertError when the program
// cannot be started.
ProcessResult RunChildProcess(const std::filesystem::path& program,
                              const std::vector<std::string>& arguments,
                              std::chrono::milliseconds timeLimit);

} // namespace slidesmith::convert
