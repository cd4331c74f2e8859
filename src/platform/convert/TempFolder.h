#pragma once

#include <filesystem>
#include <string_view>

namespace slidesmith::convert {

// A fresh folder of its own below the system's temporary folder, removed with everything in it
// when the object goes. Throws ConvertError when it cannot be created.
class TempFolder {
public:
    explicit TempFolder(std::string_view prefix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace slidesmith::convert
