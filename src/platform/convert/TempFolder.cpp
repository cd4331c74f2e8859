#include "platform/convert/TempFolder.h"

#include "platform/convert/ConvertError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace slidesmith::convert {

TempFolder::TempFolder(std::string_view prefix) {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::string pattern = (base / (std::string(prefix) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw ConvertError("cannot create a temporary folder in " + base.string() + ": " +
                           std::strerror(errno));
    }
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code error;
    // A folder that cannot be removed is left behind in the temporary folder; failing the
    // conversion that already succeeded would be worse.
    std::filesystem::remove_all(m_path, error);
}

} // namespace slidesmith::convert
