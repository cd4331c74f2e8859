#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string_view>

namespace slidesmith::convert {

// Long enough for a big presentation on a slow machine; LibreOffice needs a second or two for a
// typical one, most of it starting up.
inline constexpr std::chrono::milliseconds kDefaultConvertTimeLimit{std::chrono::seconds(120)};

// LibreOffice's program on PATH: `soffice`, else `libreoffice`.
std::optional<std::filesystem::path> FindLibreOffice();

// Converts the presentation `input` with LibreOffice (headless) into the format named by
// `targetExtension` ("pdf", "odp", "ppt", "pps", "pot" or "pptx"; case and a leading dot do not
// matter) and stores the result at `outputPath`, replacing an existing file in one step, so a
// reader never sees half a file. Each call runs its own LibreOffice with its own temporary
// profile, so calls may run at the same time. Throws ConvertError when LibreOffice is not
// installed, the input is missing, the target is unknown, LibreOffice fails (its message is
// quoted) or does not finish within `timeLimit` (then it is killed with all its helpers).
void ConvertPresentation(const std::filesystem::path& input,
                         const std::filesystem::path& outputPath, std::string_view targetExtension,
                         std::chrono::milliseconds timeLimit = kDefaultConvertTimeLimit);

} // namespace slidesmith::convert
