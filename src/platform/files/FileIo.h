#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace slidesmith::files {

// Thrown by the file helpers; what() names the file and the failing step.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a whole file as bytes. Throws FileError when it cannot be opened or read.
std::string ReadWholeFile(const std::filesystem::path& path);

// Writes bytes to a temporary file in the target's folder, then renames it over the target, so a
// reader never sees a half-written file and two writers never interleave. Throws FileError; on
// failure the target is unchanged and the temporary file is removed.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace slidesmith::files
