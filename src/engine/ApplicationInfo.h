#pragma once

#include <string_view>

namespace slidesmith::engine {

// The name the program shows in window titles, message boxes and the first line of every log.
inline constexpr std::string_view kApplicationTitle = "Slidesmith";

// The version as major.minor.revision with plain integers, e.g. "2.9.1"; it comes from the build.
std::string_view ApplicationVersion();

// Title, one blank and version ("Slidesmith 2.9.1"): the opening line of a run log and the
// answer to --version.
std::string ApplicationNameAndVersion();

} // namespace slidesmith::engine
